#pragma once
// Whole-number options read strictly: decimal digits only (a leading minus where the range
// allows it), within their range. Anything else, "1e4", "0x10", "-1" for a count, a value
// past 2^64, is refused with one line naming the option, never wrapped or cut.

#include <CLI/CLI.hpp>
#include <cstdint>
#include <string>

namespace ferrox::cli {

CLI::Option* AddIntegerOption(CLI::App* command, const std::string& name, int& value, int least, int most,
                              const std::string& help);
CLI::Option* AddIntegerOption(CLI::App* command, const std::string& name, uint64_t& value, uint64_t least,
                              uint64_t most, const std::string& help);
// "--rules 0|1", the same on every command.
CLI::Option* AddRulesOption(CLI::App* command, int& rules);

}  // namespace ferrox::cli
