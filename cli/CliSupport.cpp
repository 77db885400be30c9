#include "cli/CliSupport.h"

#include <iostream>

#include "core/EchoedText.h"
#include "core/Orderings.h"
#include "core/WideText.h"
#include "quillet/Evaluator.h"

namespace ferrox::cli {
namespace {

constexpr std::size_t kLongestLine = 240;

}  // namespace

std::wstring Shown(std::wstring_view input) { return QuotedInput(input); }

std::string Shown(std::string_view input) { return ToUtf8(Shown(FromUtf8(input))); }

int Fail(const std::wstring& message) {
  std::wstring_view line = message;
  while (!line.empty() && line.back() == L'\n') line.remove_suffix(1);
  std::cerr << ToUtf8(EscapedText(CutText(line, kLongestLine))) << '\n';
  return kExitBadInput;
}

int Fail(const std::string& message) { return Fail(FromUtf8(message)); }

bool LoadTables() {
  if (quillet::fsm5::load_fsm7() && quillet::fsm5::load_fsm5()) return true;
  std::cerr << "Cannot build the hand evaluation tables\n";
  return false;
}

const OrderingRanges& Orderings() { return OrderingsNextToProgram(); }

RuleSet RulesOf(int rules) {
  return rules == 1 ? RuleSet::StraightBeatsSet : RuleSet::Standard;
}

void Print(const Json& json) { std::cout << json.dump() << '\n'; }

}  // namespace ferrox::cli
