#pragma once
// What every command of the command-line tool shares.

#include <nlohmann/json.hpp>
#include <string>

#include "core/Cards.h"
#include "core/RangeParser.h"

namespace ferrox::cli {

using Json = nlohmann::ordered_json;

inline constexpr int kExitOk = 0;
inline constexpr int kExitBadInput = 2;
inline constexpr int kExitNoTables = 3;

// One line on stderr; returns kExitBadInput.
int Fail(const std::string& message);
int Fail(const std::wstring& message);
// Loads the evaluation tables; false after telling why on stderr.
bool LoadTables();
// The orderings shipped next to the executable.
const OrderingRanges& Orderings();
RuleSet RulesOf(int rules);
void Print(const Json& json);

}  // namespace ferrox::cli
