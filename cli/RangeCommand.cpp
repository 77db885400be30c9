#include "cli/RangeCommand.h"

#include "cli/CliSupport.h"
#include "cli/IntegerOption.h"
#include "core/WideText.h"

namespace ferrox::cli {

RangeCommand::RangeCommand(CLI::App& app) {
  command_ = app.add_subcommand("range", "Parse a range and print its combinations");
  AddRulesOption(command_, rules_);
  command_->add_option("text", text_, "Range text, e.g. \"77+,AJs+,KQo-K9o,AsKh\" or 20%")
      ->required();
}

int RangeCommand::Run() const {
  const RangeParser parser(Orderings(), RulesOf(rules_));
  const std::wstring text = FromUtf8(text_);
  // Without its ordering a percent range has no answer; "result" 0 would blame the text.
  if (const std::wstring refusal = parser.OrderingRefusal(text); !refusal.empty()) return Fail(refusal);
  quillet::Spec spec;
  std::vector<std::wstring> notUnderstood;
  const int result = parser.ParseRange(text, spec, &notUnderstood);
  Json combos = Json::array();
  for (const auto& combo : spec.combos()) combos.push_back(ToUtf8(quillet::ComboName(combo)));
  Json skipped = Json::array();
  for (const std::wstring& token : notUnderstood) skipped.push_back(ToUtf8(token));
  // A refused text still lists what was read before the refusal: "kept" says whether the
  // combinations are the range the program would use.
  Print(Json{{"result", result},
             {"count", spec.size()},
             {"text", ToUtf8(spec.MakeString6Plus())},
             {"combos", combos},
             {"kept", result == kParseOk},
             {"skipped", skipped}});
  return kExitOk;
}

}  // namespace ferrox::cli
