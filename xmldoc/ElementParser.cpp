#include "xmldoc/ElementParser.h"

#include <exception>
#include <memory>
#include <utility>

#include "xmldoc/Node.h"

namespace ferrox::xml {
namespace {

constexpr auto npos = std::wstring_view::npos;
constexpr std::wstring_view kBlanks = L" \t\r\n";
constexpr std::wstring_view kUnquotedEnd = L" \t\r\n>";

bool IsBlank(wchar_t c) { return kBlanks.find(c) != npos; }

bool AllBlank(std::wstring_view s) {
  return s.find_first_not_of(kBlanks) == npos;
}

wchar_t LowerAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; }

// Instructions, comments and CDATA sections: how they open and close.
struct Markup {
  std::wstring_view open;
  std::wstring_view close;
  NodeType type;
};
constexpr Markup kMarkups[] = {
    {L"<?", L"?>", NodeType::ProcessingInstruction},
    {L"<!--", L"-->", NodeType::Comment},
    {L"<![CDATA[", L"]]>", NodeType::Cdata},
};

// An instruction's target runs to the first blank; one blank after it separates the content.
std::unique_ptr<Node> MakeMarkupNode(NodeType type, std::wstring_view content) {
  switch (type) {
    case NodeType::Comment:
      return std::make_unique<Node>(type, std::wstring(Node::kCommentName), std::wstring(content));
    case NodeType::Cdata:
      return std::make_unique<Node>(type, std::wstring(Node::kCdataName), std::wstring(content));
    default: {
      const auto blank = content.find_first_of(kBlanks);
      if (blank == npos) return std::make_unique<Node>(type, std::wstring(content));
      return std::make_unique<Node>(type, std::wstring(content.substr(0, blank)),
                                    std::wstring(content.substr(blank + 1)));
    }
  }
}

}  // namespace

std::optional<std::size_t> ElementParser::LoadOne(Node& node, std::size_t from) {
  try {
    const Step step = Load(node, from, 1);
    if (step.outcome == Outcome::NoElement || step.outcome == Outcome::Failed) return std::nullopt;
    return step.next;
  } catch (const std::exception&) {
    RecordOutOfMemory();
    return std::nullopt;
  }
}

bool ElementParser::LoadDocument(Node& document) {
  try {
    std::size_t i = 0;
    for (;;) {
      auto child = std::make_unique<Node>();
      child->parent_ = &document;
      child->document_ = document.document_;
      const Step step = Load(*child, i, 1);
      switch (step.outcome) {
        case Outcome::Failed:
          return false;
        case Outcome::NoElement:
          return true;
        case Outcome::Element:
          document.children_.push_back(std::move(child));
          break;
        case Outcome::Markup:
          break;
        case Outcome::ClosingTag: {
          // A closing tag that closes nothing: the document's own name stands for the element.
          const ClosingTag tag = ReadClosingTag(step.next);
          if (!options_.forceParsing) {
            Fail(kWrongClosingTag, step.next,
                 L"'<" + document.name_ + L"> ... </" + tag.name + L">' is not wel-formed.");
            return false;
          }
          if (!tag.end) return true;
          i = *tag.end;
          continue;
        }
      }
      i = step.next;
    }
  } catch (const std::exception&) {
    RecordOutOfMemory();
    return false;
  }
}

ElementParser::Step ElementParser::Load(Node& node, std::size_t from, int depth) {
  node.Clear();
  // In an element's content one instruction, comment or CDATA section is a step of its
  // own, so that the text after it can still become the element's value.
  const bool inContent = node.parent_ && node.parent_->type_ == NodeType::Element;
  std::size_t p = from;
  for (;;) {
    const std::size_t lt = text_.find(L'<', p);
    if (lt == npos) return {Outcome::NoElement, text_.size()};
    if (At(lt, L"</")) return {Outcome::ClosingTag, lt};
    const std::optional<Step> markup = LoadMarkup(node, lt);
    if (!markup) {
      if (depth > kMaxElementDepth)
        return Fail(kTooDeep, lt,
                    L"Elements are nested more than " + std::to_wstring(kMaxElementDepth) + L" deep.");
      return LoadElement(node, lt, depth);
    }
    if (markup->outcome == Outcome::Failed || inContent) return *markup;
    p = markup->next;
  }
}

std::optional<ElementParser::Step> ElementParser::LoadMarkup(Node& node, std::size_t lt) {
  for (const Markup& m : kMarkups) {
    if (!AtIgnoringCase(lt, m.open)) continue;
    const std::size_t begin = lt + m.open.size();
    const std::size_t end = text_.find(m.close, begin);
    if (end == npos)
      return Fail(kMarkupNotClosed, lt,
                  L"'" + std::wstring(m.open) + L"' is not closed with '" + std::wstring(m.close) + L"'.");
    Node* owner = node.parent_;
    if (!owner && m.type == NodeType::Comment) owner = node.document_;
    if (owner) owner->AddChild(MakeMarkupNode(m.type, text_.substr(begin, end - begin)));
    return Step{Outcome::Markup, end + m.close.size()};
  }
  return std::nullopt;
}

ElementParser::Step ElementParser::LoadElement(Node& node, std::size_t lt, int depth) {
  std::size_t i = lt + 1;
  while (i < text_.size() && !IsBlank(text_[i]) && text_[i] != L'/' && text_[i] != L'>') ++i;
  node.name_ = DecodeName(text_.substr(lt + 1, i - lt - 1));
  if (!LoadAttributes(node, i)) return {Outcome::Failed, i};
  if (text_[i] == L'/') {
    if (At(i + 1, L">")) return {Outcome::Element, i + 2};
    return Fail(kElementNotClosed, i, L"Element must be closed.");
  }
  ++i;  // after ">"
  const std::size_t next = FindUnescaped(i, L"<");
  if (next == npos)
    return Fail(kClosingTagMissing, lt, node.name_ + L" must be closed with </" + node.name_ + L">");
  TakeText(node, i, next);
  return LoadContent(node, lt, next, depth);
}

// Leaves i at the "/" or ">" that ends the start tag.
bool ElementParser::LoadAttributes(Node& node, std::size_t& i) {
  for (;;) {
    i = SkipBlanks(i);
    if (i >= text_.size()) {
      Fail(kElementNotClosed, i, L"Element must be closed.");
      return false;
    }
    if (text_[i] == L'>' || text_[i] == L'/') return true;
    const std::size_t start = i;
    while (i < text_.size() && !IsBlank(text_[i]) && text_[i] != L'=' && text_[i] != L'>' &&
           text_[i] != L'/')
      ++i;
    std::wstring name = DecodeName(text_.substr(start, i - start));
    const auto broken = [&] {
      Fail(kAttributeError, start, L"<" + node.name_ + L"> attribute has error ");
      return false;
    };
    i = SkipBlanks(i);
    if (i >= text_.size()) return broken();
    std::wstring value;
    if (text_[i] == L'=') {
      i = SkipBlanks(i + 1);
      if (i >= text_.size()) return broken();
      const wchar_t quote = text_[i];
      if (quote == L'"' || quote == L'\'') {
        const std::size_t end = FindUnescaped(i + 1, std::wstring_view(&quote, 1));
        if (end == npos) return broken();
        value = Copy(text_.substr(i + 1, end - i - 1));
        i = end + 1;
      } else {
        const std::size_t end = FindUnescaped(i, kUnquotedEnd);
        if (end == npos) return broken();
        value = Copy(text_.substr(i, end - i));
        i = end;
      }
    }
    node.AddAttribute(std::move(name), std::move(value));
  }
}

ElementParser::Step ElementParser::LoadContent(Node& node, std::size_t lt, std::size_t i, int depth) {
  const auto unclosed = [&] {
    return Fail(kClosingTagMissing, lt, L"it must be closed with </" + node.name_ + L">");
  };
  for (;;) {
    auto child = std::make_unique<Node>();
    child->parent_ = &node;
    child->document_ = node.document_;
    const Step step = Load(*child, i, depth + 1);
    switch (step.outcome) {
      case Outcome::Failed:
        return step;
      case Outcome::NoElement:
        return unclosed();
      case Outcome::Markup:
        i = step.next;
        break;
      case Outcome::Element:
        node.children_.push_back(std::move(child));
        i = step.next;
        break;
      case Outcome::ClosingTag: {
        const ClosingTag tag = ReadClosingTag(step.next);
        if (!tag.end) return unclosed();
        if (tag.name == node.name_) return {Outcome::Element, *tag.end};
        if (!options_.forceParsing)
          return Fail(kWrongClosingTag, step.next,
                      L"'<" + node.name_ + L"> ... </" + tag.name + L">' is not wel-formed.");
        i = *tag.end;
        break;
      }
    }
    const std::size_t next = FindUnescaped(i, L"<");
    if (next == npos) return unclosed();
    TakeText(node, i, next);
    i = next;
  }
}

void ElementParser::TakeText(Node& node, std::size_t from, std::size_t end) {
  if (!node.value_.empty() || end <= from) return;
  const std::wstring_view raw = text_.substr(from, end - from);
  const bool wholeContent = node.children_.empty() && At(end, L"</");
  if (!wholeContent && AllBlank(raw)) return;
  node.value_ = Copy(raw);
}

ElementParser::ClosingTag ElementParser::ReadClosingTag(std::size_t at) const {
  std::size_t i = at + 2;
  while (i < text_.size() && !IsBlank(text_[i]) && text_[i] != L'>') ++i;
  ClosingTag tag{DecodeName(text_.substr(at + 2, i - at - 2)), std::nullopt};
  const std::size_t gt = text_.find(L'>', i);
  if (gt != npos) tag.end = gt + 1;
  return tag;
}

bool ElementParser::At(std::size_t i, std::wstring_view marker) const {
  return i <= text_.size() && text_.substr(i, marker.size()) == marker;
}

bool ElementParser::AtIgnoringCase(std::size_t i, std::wstring_view marker) const {
  if (i > text_.size() || text_.size() - i < marker.size()) return false;
  for (std::size_t k = 0; k < marker.size(); ++k)
    if (LowerAscii(text_[i + k]) != LowerAscii(marker[k])) return false;
  return true;
}

std::size_t ElementParser::SkipBlanks(std::size_t i) const {
  while (i < text_.size() && IsBlank(text_[i])) ++i;
  return i;
}

std::size_t ElementParser::FindUnescaped(std::size_t from, std::wstring_view stops) const {
  const wchar_t escape = options_.escape;
  for (std::size_t i = from; i < text_.size(); ++i) {
    if (escape != 0 && text_[i] == escape) ++i;
    else if (stops.find(text_[i]) != npos) return i;
  }
  return npos;
}

std::wstring ElementParser::Copy(std::wstring_view raw) const {
  if (options_.trimValues) {
    const auto first = raw.find_first_not_of(kBlanks);
    raw = first == npos ? std::wstring_view() : raw.substr(first, raw.find_last_not_of(kBlanks) - first + 1);
  }
  std::wstring plain;
  plain.reserve(raw.size());
  const wchar_t escape = options_.escape;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (escape != 0 && raw[i] == escape) {
      if (++i < raw.size()) plain += raw[i];
    } else {
      plain += raw[i];
    }
  }
  return options_.decodeEntities ? DecodeReferences(plain, options_.entities) : plain;
}

std::wstring ElementParser::DecodeName(std::wstring_view raw) const {
  return options_.decodeEntities ? DecodeEntities(raw, options_.entities) : std::wstring(raw);
}

ElementParser::Step ElementParser::Fail(int code, std::size_t position, std::wstring text) {
  ParseError& e = options_.error;
  if (!e.occurred) {
    e.occurred = true;
    e.position = position;
    e.code = code;
    e.text = std::move(text);
  }
  return {Outcome::Failed, position};
}

void ElementParser::RecordOutOfMemory() {
  Fail(kOutOfMemory, 0, L"Not enough memory to read the text.");
}

}  // namespace ferrox::xml
