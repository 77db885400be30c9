#include "xmldoc/TreeWriter.h"

#include <algorithm>
#include <vector>

#include "xmldoc/Node.h"

namespace ferrox::xml {
namespace {

bool AllBlank(std::wstring_view s) {
  return s.find_first_not_of(L" \t\r\n") == std::wstring_view::npos;
}

}  // namespace

std::wstring TreeWriter::Write(const Node& top) {
  struct Frame {
    const Node* node;
    int level;
    std::size_t next;
  };
  std::vector<Frame> stack;
  const auto visit = [&](const Node& node, int level) {
    if (Enter(node, level)) stack.push_back({&node, level, 0});
  };
  // A document writes nothing itself: its children stand at the document's level.
  visit(top, top.Type() == NodeType::Document ? options_.indentation - 1 : options_.indentation);
  while (!stack.empty()) {
    Frame& frame = stack.back();
    if (frame.next < frame.node->Children().size()) {
      const Node& child = *frame.node->Children()[frame.next++];
      const int level = frame.level + 1;
      visit(child, level);
    } else {
      Leave(*frame.node, frame.level);
      stack.pop_back();
    }
  }
  return std::move(out_);
}

bool TreeWriter::Enter(const Node& node, int level) {
  const bool hasChildren = node.ChildCount() > 0;
  switch (node.Type()) {
    case NodeType::Document:
      return hasChildren;
    case NodeType::ProcessingInstruction:
      NewLine(level);
      out_ += L"<?";
      out_ += node.Name();
      if (!node.Value().empty()) out_ += L' ' + node.Value();
      out_ += L"?>";
      return false;
    case NodeType::Comment:
      NewLine(level);
      out_ += L"<!--" + node.Value() + L"-->";
      return false;
    case NodeType::Cdata:
      NewLine(level);
      out_ += L"<![CDATA[" + node.Value() + L"]]>";
      return false;
    case NodeType::Element:
      break;
  }
  NewLine(level);
  out_ += L'<';
  Name(node.Name());
  if (!node.Attributes().empty()) {
    out_ += L' ';
    for (const auto& a : node.Attributes()) {
      Name(a->Name());
      out_ += L'=';
      AttributeValue(a->Value());
      out_ += L' ';
    }
  }
  if (!hasChildren && node.Value().empty()) {
    // "</>" would read as a closing tag.
    if (node.Name().empty() && node.Attributes().empty()) out_ += L' ';
    out_ += L"/>";
    return false;
  }
  out_ += L'>';
  if (hasChildren) return true;
  Leave(node, level);
  return false;
}

void TreeWriter::Leave(const Node& node, int level) {
  if (node.Type() != NodeType::Element) return;
  const bool hasChildren = node.ChildCount() > 0;
  if (hasChildren && node.Value().empty()) NewLine(level);
  else Text(node.Value(), hasChildren);
  out_ += L"</";
  Name(node.Name());
  out_ += L'>';
}

void TreeWriter::NewLine(int level) {
  if (first_) {
    first_ = false;
    return;
  }
  if (!options_.newLines) return;
  out_ += L"\r\n";
  out_.append(static_cast<std::size_t>(std::max(level, 0)), L'\t');
}

void TreeWriter::Name(std::wstring_view name) {
  out_ += options_.entityReferences ? Encoded(name) : std::wstring(name);
}

void TreeWriter::Text(std::wstring_view text, bool besideChildren) {
  const wchar_t escape = options_.escape;
  const std::wstring encoded = options_.entityReferences ? EncodedValue(text) : std::wstring(text);
  // Blanks alone next to children read as layout; an escaped first one keeps them.
  if (besideChildren && escape != 0 && AllBlank(encoded)) out_ += escape;
  for (wchar_t c : encoded) {
    if (escape != 0 && (c == escape || c == L'<')) out_ += escape;
    out_ += c;
  }
}

void TreeWriter::AttributeValue(std::wstring_view value) {
  const wchar_t escape = options_.escape;
  const wchar_t quote = options_.quote;
  const std::wstring encoded = options_.entityReferences ? EncodedValue(value) : std::wstring(value);
  out_ += quote;
  for (wchar_t c : encoded) {
    if (escape != 0 && (c == escape || c == quote)) out_ += escape;
    out_ += c;
  }
  out_ += quote;
}

std::wstring TreeWriter::Encoded(std::wstring_view text) const {
  return EncodeEntities(text, options_.entities);
}

std::wstring TreeWriter::EncodedValue(std::wstring_view text) const {
  std::wstring out;
  for (const wchar_t c : Encoded(text)) {
    const bool lineEnd = c == L'\r' || c == L'\n';
    if (lineEnd || (!Holds(options_.charset, c) && IsXmlCharacter(c))) out += NumericReference(c);
    else out += c;
  }
  return out;
}

}  // namespace ferrox::xml
