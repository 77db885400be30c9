#pragma once
// Whole documents: a node of type Document holding what the text has at its top level
// (instructions, comments, CDATA sections and elements, in order).

#include <memory>
#include <string_view>

#include "xmldoc/Node.h"

namespace ferrox::xml {

std::unique_ptr<Node> NewDocument();

// Reads the whole text. Starts a new error record in options. Null on an error (the record
// tells which); a document without elements when the text holds none. Text outside the
// elements is skipped; several top-level elements are kept in order.
std::unique_ptr<Node> ParseDocument(std::wstring_view text, ParseOptions& options);

}  // namespace ferrox::xml
