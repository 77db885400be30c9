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

// Each character of the table replaced by its reference.
std::wstring EncodeEntities(std::wstring_view text, const EntityTable& table);

}  // namespace ferrox::xml
