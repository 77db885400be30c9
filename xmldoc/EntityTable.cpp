#include "xmldoc/EntityTable.h"

#include <cstdint>
#include <optional>

namespace ferrox::xml {
namespace {

struct Numeric {
  wchar_t character;
  std::size_t length;  // of the whole reference, "&#" to ";"
};

int DigitValue(wchar_t c, int base) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (base == 16 && c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (base == 16 && c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// The numeric reference at the start of text ("&#" digits ";" or "&#x" hex digits ";"),
// when it names a character XML allows.
std::optional<Numeric> NumericAt(std::wstring_view text) {
  if (!text.starts_with(L"&#")) return std::nullopt;
  const int base = text.size() > 2 && text[2] == L'x' ? 16 : 10;
  std::size_t i = base == 16 ? 3 : 2;
  const std::size_t first = i;
  std::uint32_t value = 0;
  for (int digit; i < text.size() && (digit = DigitValue(text[i], base)) >= 0; ++i) {
    value = value * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(digit);
    if (value > 0x10FFFF) return std::nullopt;
  }
  if (i == first || i >= text.size() || text[i] != L';') return std::nullopt;
  const auto c = static_cast<wchar_t>(value);
  if (!IsXmlCharacter(c)) return std::nullopt;
  return Numeric{c, i + 1};
}

const Entity* EntityAt(std::wstring_view text, const EntityTable& table) {
  for (const Entity& e : table)
    if (!e.reference.empty() && text.starts_with(e.reference)) return &e;
  return nullptr;
}

std::wstring Decode(std::wstring_view text, const EntityTable& table, bool numeric) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::wstring_view rest = text.substr(i);
    if (const Entity* match = EntityAt(rest, table)) {
      out += match->character;
      i += match->reference.size();
    } else if (const auto reference = numeric ? NumericAt(rest) : std::nullopt) {
      out += reference->character;
      i += reference->length;
    } else {
      out += text[i++];
    }
  }
  return out;
}

}  // namespace

const EntityTable& DefaultEntities() {
  static const EntityTable table = {
      {L'&', L"&amp;"}, {L'"', L"&quot;"}, {L'\'', L"&apos;"}, {L'<', L"&lt;"}, {L'>', L"&gt;"},
  };
  return table;
}

std::wstring DecodeEntities(std::wstring_view text, const EntityTable& table) {
  return Decode(text, table, false);
}

std::wstring DecodeReferences(std::wstring_view text, const EntityTable& table) {
  return Decode(text, table, true);
}

bool IsXmlCharacter(wchar_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
         (c >= 0x10000 && c <= 0x10FFFF);
}

std::wstring NumericReference(wchar_t c) {
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring digits;
  auto value = static_cast<std::uint32_t>(c);
  do {
    digits.insert(digits.begin(), kHex[value % 16]);
    value /= 16;
  } while (value != 0);
  return L"&#x" + digits + L";";
}

std::wstring EncodeEntities(std::wstring_view text, const EntityTable& table) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    const Entity* match = nullptr;
    for (const Entity& e : table) {
      if (e.character == c) {
        match = &e;
        break;
      }
    }
    if (match) out += match->reference;
    else out += c;
  }
  return out;
}

}  // namespace ferrox::xml
