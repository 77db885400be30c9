#include "xmldoc/Document.h"

#include "xmldoc/ElementParser.h"

namespace ferrox::xml {

std::unique_ptr<Node> NewDocument() {
  return std::make_unique<Node>(NodeType::Document);
}

std::unique_ptr<Node> ParseDocument(std::wstring_view text, ParseOptions& options) {
  options.error = {};
  std::unique_ptr<Node> document = NewDocument();
  if (!ElementParser(text, options).LoadDocument(*document)) return nullptr;
  return document;
}

}  // namespace ferrox::xml
