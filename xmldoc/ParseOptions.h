#pragma once
// How a text is read, and the error record the reading fills.

#include "xmldoc/EntityTable.h"
#include "xmldoc/ParseError.h"

namespace ferrox::xml {

// Elements nested deeper than this are refused (kTooDeep): the reader goes down one call
// per level, and a hostile file must not be able to exhaust the stack.
inline constexpr int kMaxElementDepth = 256;

struct ParseOptions {
  bool trimValues = false;      // blanks, tabs and line ends cut from both ends of values
  bool decodeEntities = true;   // references of the table (and numeric ones in values) turned into characters
  EntityTable entities = DefaultEntities();
  wchar_t escape = L'\\';       // makes the next character ordinary in values; 0 for none
  bool forceParsing = false;    // a wrong closing tag is skipped instead of failing
  ParseError error;             // only the first error is recorded
};

}  // namespace ferrox::xml
