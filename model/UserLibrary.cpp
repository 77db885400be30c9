#include "model/UserLibrary.h"

#include <system_error>
#include <utility>

#include "core/WideText.h"
#include "quillet/Files.h"
#include "xmldoc/Document.h"

namespace ferrox {

namespace {

using xml::Node;
using xml::NodeType;

// Names the edits create carry one trailing blank, as the library files always had them.
constexpr wchar_t kNewRange[] = L"Range ";
constexpr wchar_t kNewFolder[] = L"Folder ";
constexpr wchar_t kOnlyFolder[] = L"Folder";
constexpr wchar_t kFolderNameAttr[] = L"name ";
constexpr wchar_t kRangeNameAttr[] = L"RangeName ";
constexpr wchar_t kValueAttr[] = L"value ";
constexpr wchar_t kPercentAttr[] = L"percent ";

std::wstring KeyOf(const Node& element) {
  const auto& attributes = element.Attributes();
  return attributes.empty() ? element.Name() : attributes.front()->Value();
}

Node* ChildWithKey(const Node& parent, std::wstring_view key) {
  for (const auto& child : parent.Children())
    if (child->Type() == NodeType::Element && KeyOf(*child) == key) return child.get();
  return nullptr;
}

// The first child element whose first attribute is name, or null.
Node* ChildNamed(const Node& parent, std::wstring_view name) {
  for (const auto& child : parent.Children())
    if (child->Type() == NodeType::Element && !child->Attributes().empty() &&
        child->Attributes().front()->Value() == name)
      return child.get();
  return nullptr;
}

// The sibling element before (or after) node, or null.
Node* SiblingElement(const Node& node, bool before) {
  const auto& siblings = node.Parent()->Children();
  Node* found = nullptr;
  bool passed = false;
  for (const auto& child : siblings) {
    if (child.get() == &node) {
      if (before) return found;
      passed = true;
    } else if (child->Type() == NodeType::Element) {
      if (passed) return child.get();
      found = child.get();
    }
  }
  return nullptr;
}

// The child after node among all children, or null when node is the last.
const Node* NextChild(const Node& node) {
  const auto& siblings = node.Parent()->Children();
  for (std::size_t i = 0; i + 1 < siblings.size(); ++i)
    if (siblings[i].get() == &node) return siblings[i + 1].get();
  return nullptr;
}

std::unique_ptr<Node> NewRange(const std::wstring& name, const std::wstring& value, const std::wstring& percent) {
  auto range = Node::NewNode(kNewRange);
  range->AddAttribute(kRangeNameAttr, name);
  range->AddAttribute(kValueAttr, value);
  range->AddAttribute(kPercentAttr, percent);
  return range;
}

// Sets the n-th attribute, adding it (under name) when the element has fewer; returns the
// old value.
std::wstring SetAttributeAt(Node& element, std::size_t n, const wchar_t* name, std::wstring value) {
  while (element.Attributes().size() <= n) element.AddAttribute(name, {});
  auto& attribute = *element.Attributes()[n];
  std::wstring old = attribute.Value();
  attribute.SetValue(std::move(value));
  return old;
}

std::wstring PathText(const std::filesystem::path& file) { return FromUtf8(file.string()); }

// The file's lines joined without their line ends, in place: a large library's text is
// the biggest thing a load holds, so it is never copied.
void JoinLines(std::wstring& text) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\n') continue;
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
    text[kept++] = text[i];
  }
  text.resize(kept);
}

// The file's text, its bytes freed as soon as they are decoded.
std::optional<xml::FileText> ReadLibraryText(const std::filesystem::path& file) {
  auto bytes = quillet::ReadRegularFile(file, kUserLibraryMaxBytes);
  if (!bytes) return std::nullopt;
  xml::FileText text = xml::DecodeFileText(*bytes);
  bytes.reset();
  JoinLines(text.text);
  return text;
}

// Why a file read as `text` could not be written back as it was; empty when it could.
std::wstring EncodingError(const xml::FileText& text, const std::filesystem::path& file) {
  const std::wstring head = L"The range library <" + PathText(file) + L"> cannot be changed: ";
  if (text.charset == xml::Charset::Unknown)
    return head + L"it is written in an encoding this program cannot write (\"" + FromUtf8(text.declared) + L"\").";
  if (!text.exact)
    return head + L"it holds bytes that are no text of its encoding (" +
           (text.declared.empty() ? std::wstring(L"UTF-8") : FromUtf8(text.declared)) +
           L"), which a rewrite would lose.";
  return {};
}

}  // namespace

UserLibrary::UserLibrary(std::filesystem::path outputFile)
    : outputFile_(std::move(outputFile)), document_(xml::NewDocument()) {}

UserLibrary::~UserLibrary() = default;

UserLibraryLoad UserLibrary::Load(const std::filesystem::path& file) {
  added_ = nullptr;
  document_ = xml::NewDocument();
  loaded_ = false;
  parseError_.clear();
  encodingError_.clear();
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return {false, L"File not found! <" + PathText(file) + L">!"};
  const auto size = std::filesystem::file_size(file, ec);
  if (!ec && size > kUserLibraryMaxBytes)
    return {false, L"The range library <" + PathText(file) + L"> is larger than 16 MB and was not read."};
  auto text = ReadLibraryText(file);
  if (!text) return {};
  xml::ParseOptions options;
  auto document = xml::ParseDocument(text->text, options);
  std::wstring().swap(text->text);
  if (options.error.occurred) {
    parseError_ = L"Error loading XML structure with error. " + options.error.text;
    return {false, parseError_};
  }
  // A text without any element holds no library at all.
  if (!document || !document->FirstElement()) return {};
  document_ = std::move(document);
  loaded_ = true;
  charset_ = text->charset;
  byteOrderMark_ = text->byteOrderMark;
  encodingError_ = EncodingError(*text, file);
  return {true, {}};
}

std::optional<std::filesystem::path> UserLibrary::OutputLinkTarget() const {
  const auto target = quillet::ResolveLinks(outputFile_);
  return target != outputFile_ ? target : std::nullopt;
}

bool UserLibrary::RemoveNode(const UserLibraryPath& path) {
  Node* node = Resolve(path);
  if (!node) return false;
  // Without its root no path could ever resolve again.
  if (node->Parent() == document_.get()) return Fail(L"The library's root cannot be deleted.");
  Node* parent = node->Parent();
  const Node* next = NextChild(*node);
  auto removed = std::make_shared<std::unique_ptr<Node>>(parent->DetachChild(node));
  return Commit([parent, next, removed] {
    if (next) parent->InsertChildAt(std::move(*removed), next, true);
    else parent->AddChild(std::move(*removed));
  });
}

bool UserLibrary::RenameNode(const UserLibraryPath& path, const std::wstring& newName, int kind) {
  if (kind != kFolderItem && kind != kRangeItem) return Fail(L"Only folders and ranges can be renamed.");
  Node* node = Resolve(path);
  if (!node) return false;
  if (node->Attributes().empty()) return Fail(L"The item has no name to change.");
  auto& attribute = *node->Attributes().front();
  std::wstring old = attribute.Value();
  attribute.SetValue(newName);
  return Commit([&attribute, old] { attribute.SetValue(old); });
}

bool UserLibrary::InsertFolder(const UserLibraryPath& path, const std::wstring& name, InsertWhere where) {
  Node* node = Resolve(path);
  if (!node) return false;
  const bool only = where == InsertWhere::FirstChild && node->ChildCount() == 0;
  auto folder = Node::NewNode(only ? kOnlyFolder : kNewFolder);
  folder->AddAttribute(kFolderNameAttr, name);
  Node* parent = node;
  Node* added = nullptr;
  if (where == InsertWhere::FirstChild) {
    added = only ? node->AddChild(std::move(folder))
                 : node->InsertChildAt(std::move(folder), node->Children().front().get(), true);
  } else {
    parent = node->Parent();
    if (parent == document_.get()) return Fail(L"Nothing can stand beside the library's root.");
    added = parent->InsertChildAt(std::move(folder), node, where == InsertWhere::Before);
  }
  return Added(added, Commit([parent, added] { parent->DeleteChild(added); }));
}

bool UserLibrary::PutRange(const UserLibraryPath& path, const std::wstring& name, const std::wstring& value,
                           const std::wstring& percent, int kind, bool overwrite, InsertWhere where) {
  if (kind != kLibraryRootItem && kind != kFolderItem && kind != kRangeItem)
    return Fail(L"A range goes into a folder, the root, or beside a range.");
  if (kind == kRangeItem && !overwrite && where == InsertWhere::FirstChild)
    return Fail(L"A range holds no ranges.");
  Node* node = Resolve(path);
  if (!node) return false;
  if (overwrite) {
    Node* range = kind == kRangeItem ? node : ChildNamed(*node, name);
    if (!range) return Fail(L"No range of that name.");
    std::wstring oldValue = SetAttributeAt(*range, 1, kValueAttr, value);
    std::wstring oldPercent = SetAttributeAt(*range, 2, kPercentAttr, percent);
    return Commit([range, oldValue, oldPercent] {
      range->Attributes()[1]->SetValue(oldValue);
      range->Attributes()[2]->SetValue(oldPercent);
    });
  }
  Node* parent = node;
  Node* added = nullptr;
  if (kind == kRangeItem) {
    parent = node->Parent();
    if (parent == document_.get()) return Fail(L"Nothing can stand beside the library's root.");
    added = parent->InsertChildAt(NewRange(name, value, percent), node, where == InsertWhere::Before);
  } else {
    added = node->AddChild(NewRange(name, value, percent));
  }
  return Added(added, Commit([parent, added] { parent->DeleteChild(added); }));
}

bool UserLibrary::MoveRange(const UserLibraryPath& path, const std::wstring& /*name*/,
                            const std::wstring& /*value*/, const std::wstring& /*percent*/, bool up) {
  Node* node = Resolve(path);
  if (!node) return false;
  Node* parent = node->Parent();
  if (parent == document_.get()) return Fail(L"The library's root cannot move.");
  Node* neighbour = SiblingElement(*node, up);
  if (!neighbour) return Fail(up ? L"The range is already the first." : L"The range is already the last.");
  const Node* next = NextChild(*node);
  auto moved = parent->DetachChild(node);
  Node* placed = parent->InsertChildAt(std::move(moved), neighbour, up);
  return Commit([parent, placed, next] {
    auto back = parent->DetachChild(placed);
    if (next) parent->InsertChildAt(std::move(back), next, true);
    else parent->AddChild(std::move(back));
  });
}

std::wstring UserLibrary::AttributeAt(const Node& element, std::size_t n) {
  const auto& attributes = element.Attributes();
  return n < attributes.size() ? attributes[n]->Value() : std::wstring();
}

UserRangeTexts UserLibrary::RangeTexts(const Node& element) {
  return {AttributeAt(element, 0), AttributeAt(element, 1), AttributeAt(element, 2)};
}

int UserLibrary::ItemKindOf(const Node& element) {
  if (element.Type() != NodeType::Element) return -1;
  const auto& name = element.Name();
  if (name == L"Ranges") return kRangesContainerItem;
  if (name == L"Tavi") return kTaviContainerItem;
  if (name == kUserLibraryRoot) return kLibraryRootItem;
  if (element.Attributes().empty()) return -1;
  if (name == L"Folder") return kFolderItem;
  if (name == L"Range") return kRangeItem;
  return -1;
}

bool UserLibrary::CanEdit() {
  if (!parseError_.empty()) return Fail(parseError_);
  if (!encodingError_.empty()) return Fail(encodingError_);
  if (!loaded_) return Fail(L"No range library is loaded.");
  return true;
}

const Node* UserLibrary::Find(const UserLibraryPath& path) const {
  if (path.empty() || path.back() != kUserLibraryRoot) return nullptr;
  const Node* current = document_.get();
  for (auto entry = path.rbegin(); current && entry != path.rend(); ++entry) current = ChildWithKey(*current, *entry);
  return current;
}

Node* UserLibrary::Resolve(const UserLibraryPath& path) {
  added_ = nullptr;
  if (!CanEdit()) return nullptr;
  // The pane's paths always end at the root; anything else names no item of the library.
  if (path.empty() || path.back() != kUserLibraryRoot) {
    Fail(L"The item is not in the range library.");
    return nullptr;
  }
  Node* current = document_.get();
  for (auto entry = path.rbegin(); entry != path.rend(); ++entry) {
    current = ChildWithKey(*current, *entry);
    if (!current) {
      Fail(L"The item [" + *entry + L"] is not in the range library.");
      return nullptr;
    }
  }
  return current;
}

bool UserLibrary::Commit(const std::function<void()>& undo) {
  xml::WriteOptions options;
  options.charset = charset_;
  const auto bytes = xml::EncodeFileText(document_->ToText(options), charset_, byteOrderMark_);
  std::string reason = "a name in it has a character its encoding cannot hold";
  if (bytes && quillet::ReplaceUserFile(outputFile_, *bytes, reason)) {
    error_.clear();
    return true;
  }
  undo();
  return Fail(L"The range library could not be written to <" + PathText(outputFile_) + L">: " + FromUtf8(reason));
}

bool UserLibrary::Added(const Node* node, bool committed) {
  added_ = committed ? node : nullptr;
  return committed;
}

bool UserLibrary::Fail(std::wstring reason) {
  added_ = nullptr;
  error_ = std::move(reason);
  return false;
}

}  // namespace ferrox
