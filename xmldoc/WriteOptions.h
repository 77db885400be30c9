#pragma once
// How a tree is written as text.

#include "xmldoc/EntityTable.h"

namespace ferrox::xml {

struct WriteOptions {
  bool newLines = true;           // CR LF and one tab per level before every node but the first
  bool entityReferences = true;   // reserved characters of names and values as references
  wchar_t quote = L'"';           // around attribute values
  EntityTable entities = DefaultEntities();
  int indentation = 0;            // level of the node written
  // Written before itself in values, so that the reader's escape character reads back as
  // itself; 0 for none.
  wchar_t escape = L'\\';
};

}  // namespace ferrox::xml
