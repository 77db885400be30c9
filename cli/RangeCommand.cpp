#include "cli/RangeCommand.h"

#include "cli/CliSupport.h"
#include "core/WideText.h"

namespace ferrox::cli {

RangeCommand::RangeCommand(CLI::App& app) {
  command_ = app.add_subcommand("range", "Parse a range and print its combinations");
  command_->add_option("--rules", rules_, "0: standard 6+ rules, 1: straight beats set")
      ->check(CLI::IsMember({0, 1}));
  command_->add_option("text", text_, "Range text, e.g. \"77+,AJs+,KQo-K9o,AsKh\" or 20%")
      ->required();
}

int RangeCommand::Run() const {
  const RangeParser parser(Orderings(), RulesOf(rules_));
  quillet::Spec spec;
  const int result = parser.ParseRange(FromUtf8(text_), spec);
  Json combos = Json::array();
  for (const auto& combo : spec.combos()) combos.push_back(ToUtf8(quillet::ComboName(combo)));
  Print(Json{{"result", result},
             {"count", spec.size()},
             {"text", ToUtf8(spec.MakeString6Plus())},
             {"combos", combos}});
  return kExitOk;
}

}  // namespace ferrox::cli
