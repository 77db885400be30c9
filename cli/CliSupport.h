#pragma once
// What every command of the command-line tool shares.

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "core/Cards.h"
#include "core/RangeParser.h"

namespace ferrox::cli {

using Json = nlohmann::ordered_json;

inline constexpr int kExitOk = 0;
inline constexpr int kExitBadInput = 2;
inline constexpr int kExitNoTables = 3;
// The result could not be written: stdout closed, full, or failing.
inline constexpr int kExitOutputLost = 4;

// One line on stderr; returns kExitBadInput. Control characters are shown escaped and an
// overlong line is cut, whatever input the message echoes.
int Fail(const std::string& message);
int Fail(const std::wstring& message);
// Input for a message: quoted, control characters escaped ("\n", "\x1b"), cut after 60
// characters with "...".
std::string Shown(std::string_view input);
std::wstring Shown(std::wstring_view input);
// Loads the evaluation tables; false after telling why on stderr.
bool LoadTables();
// The orderings shipped next to the executable.
const OrderingRanges& Orderings();
quillet::Rules RulesOf(int rules);
void Print(const Json& json);

// Call first: a closed stdin, stdout or stderr is held by /dev/null, so no file the tool
// opens takes its number and receives the output; a closed stdout is remembered as lost.
void GuardStandardStreams();
// Call last, with the command's exit code: flushes and closes stdout. When a result was
// to be printed (exitCode 0) and did not get out, says so on stderr and returns
// kExitOutputLost; otherwise returns exitCode.
int DeliverResult(int exitCode);

}  // namespace ferrox::cli
