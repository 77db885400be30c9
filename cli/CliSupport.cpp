#include "cli/CliSupport.h"

#include <cwchar>
#include <iostream>

#include "core/Orderings.h"
#include "core/WideText.h"
#include "quillet/Evaluator.h"

namespace ferrox::cli {
namespace {

constexpr std::size_t kShownInput = 60;
constexpr std::size_t kLongestLine = 240;

std::wstring Cut(std::wstring_view text, std::size_t most) {
  if (text.size() <= most) return std::wstring(text);
  return std::wstring(text.substr(0, most)) + L"...";
}

std::wstring Code(const wchar_t* format, wchar_t c) {
  wchar_t text[8];
  std::swprintf(text, 8, format, static_cast<unsigned>(c));
  return text;
}

// Control characters (C0, DEL, C1) as escapes, so that input can neither break the line
// nor drive the terminal.
std::wstring Escaped(std::wstring_view text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'\n') out += L"\\n";
    else if (c == L'\r') out += L"\\r";
    else if (c == L'\t') out += L"\\t";
    else if (c < 0x20 || c == 0x7F) out += Code(L"\\x%02x", c);
    else if (c >= 0x80 && c <= 0x9F) out += Code(L"\\u%04x", c);
    else out += c;
  }
  return out;
}

}  // namespace

std::wstring Shown(std::wstring_view input) { return L"'" + Escaped(Cut(input, kShownInput)) + L"'"; }

std::string Shown(std::string_view input) { return ToUtf8(Shown(FromUtf8(input))); }

int Fail(const std::wstring& message) {
  std::wstring_view line = message;
  while (!line.empty() && line.back() == L'\n') line.remove_suffix(1);
  std::cerr << ToUtf8(Escaped(Cut(line, kLongestLine))) << '\n';
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
