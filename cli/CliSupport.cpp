#include "cli/CliSupport.h"

#include <iostream>

#include "core/Orderings.h"
#include "core/WideText.h"
#include "quillet/Evaluator.h"

namespace ferrox::cli {

int Fail(const std::string& message) {
  std::cerr << message << '\n';
  return kExitBadInput;
}

int Fail(const std::wstring& message) { return Fail(ToUtf8(message)); }

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
