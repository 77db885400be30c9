#pragma once
// How a tree is written as text.

#include "xmldoc/EntityTable.h"
#include "xmldoc/FileText.h"

namespace ferrox::xml {

struct WriteOptions {
  bool newLines = true;           // CR LF and one tab per level before every node but the first
  // Reserved characters of names and values as references; in texts and values also line
  // ends (a reader may join lines) and characters the charset cannot hold, as numeric ones.
  bool entityReferences = true;
  wchar_t quote = L'"';           // around attribute values
  EntityTable entities = DefaultEntities();
  int indentation = 0;            // level of the node written
  // Written before itself in values, so that the reader's escape character reads back as
  // itself; 0 for none.
  wchar_t escape = L'\\';
  Charset charset = Charset::Utf8;  // what the text will be encoded in
};

}  // namespace ferrox::xml
