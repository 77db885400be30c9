#pragma once
// Entity references: the characters XML reserves and how they are written. One table serves
// both ways, reading (references to characters) and writing (characters to references).

#include <string>
#include <string_view>
#include <vector>

namespace ferrox::xml {

struct Entity {
  wchar_t character;
  std::wstring reference;  // "&amp;"
};

using EntityTable = std::vector<Entity>;

// "&" "&amp;", '"' "&quot;", "'" "&apos;", "<" "&lt;", ">" "&gt;".
const EntityTable& DefaultEntities();

// Each reference of the table replaced by its character, in one pass from the front, so
// "&amp;lt;" reads "&lt;". An "&" that starts no reference stays as it is.
std::wstring DecodeEntities(std::wstring_view text, const EntityTable& table);

// The same, and numeric character references too ("&#233;", "&#xE9;") in the same pass.
// One to a character XML does not allow (0, a surrogate, beyond U+10FFFF, ...), or without
// its ";", is no reference and stays as it is written.
std::wstring DecodeReferences(std::wstring_view text, const EntityTable& table);

// Whether XML allows c in a document, and so a numeric reference to it.
bool IsXmlCharacter(wchar_t c);

// "&#xE9;" for U+00E9.
std::wstring NumericReference(wchar_t c);

// Each character of the table replaced by its reference.
std::wstring EncodeEntities(std::wstring_view text, const EntityTable& table);

}  // namespace ferrox::xml
