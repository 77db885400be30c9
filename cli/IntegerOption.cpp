#include "cli/IntegerOption.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "cli/CliSupport.h"

namespace ferrox::cli {
namespace {

template <class T>
std::optional<T> ReadInteger(std::string_view text) {
  T value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);  // base 10, no sign for unsigned
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

template <class T>
CLI::Option* AddBounded(CLI::App* command, const std::string& name, T& value, T least, T most,
                        const std::string& help) {
  const std::string range = std::to_string(least) + " to " + std::to_string(most);
  CLI::Option* option = command->add_option_function<std::string>(
      name, [&value](const std::string& text) { value = ReadInteger<T>(text).value_or(value); }, help);
  option->check(CLI::Validator(
      [least, most, range](std::string& text) -> std::string {
        const std::optional<T> read = ReadInteger<T>(text);
        if (read && *read >= least && *read <= most) return {};
        return Shown(text) + " is not a whole number from " + range;
      },
      ""));
  option->type_name("INT");
  return option;
}

}  // namespace

CLI::Option* AddIntegerOption(CLI::App* command, const std::string& name, int& value, int least, int most,
                              const std::string& help) {
  return AddBounded(command, name, value, least, most, help);
}

CLI::Option* AddIntegerOption(CLI::App* command, const std::string& name, uint64_t& value, uint64_t least,
                              uint64_t most, const std::string& help) {
  return AddBounded(command, name, value, least, most, help);
}

CLI::Option* AddRulesOption(CLI::App* command, int& rules) {
  return AddIntegerOption(command, "--rules", rules, 0, 1, "0: standard 6+ rules, 1: straight beats set");
}

}  // namespace ferrox::cli
