#include "model/PredefinedRanges.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <cmath>
#include <cstdlib>
#include <cwctype>
#include <filesystem>
#include <optional>
#include <utility>

#include "quillet/Files.h"
#include "xmldoc/FileText.h"

namespace ferrox {

namespace {

// QDom recurses per level and slows down badly on deep nesting; a rankings file is five
// levels deep.
constexpr int kMaxDepth = 256;

std::wstring W(const QString& text) { return text.toStdWString(); }
QString Q(const std::wstring& text) { return QString::fromStdWString(text); }

bool NameIs(const QString& name, QLatin1String what) { return name.compare(what, Qt::CaseInsensitive) == 0; }

const QLatin1String kEquilab("Equilab");
const QLatin1String kUserDefined("User-defined-ranges");
const QLatin1String kFolder("Folder");
const QLatin1String kRange("Range");
const QLatin1String kRangeName("RangeName");
const QLatin1String kValue("Value");
const QLatin1String kPercent("Percent");

bool IsRankingPart(const QDomNode& node) {
  if (!node.isElement()) return node.isText() && node.nodeValue().trimmed().isEmpty();
  const QString name = node.toElement().tagName();
  return NameIs(name, kRange) || NameIs(name, kRangeName) || NameIs(name, kValue) || NameIs(name, kPercent);
}

// A file may list a folder's rankings after the folder rather than inside it: deleting the
// folder takes them too, or they would fall to the folder before it.
void RemoveFollowingRankings(const QDomNode& folder) {
  QDomNode parent = folder.parentNode();
  for (QDomNode next = folder.nextSibling(); !next.isNull() && IsRankingPart(next);) {
    const QDomNode after = next.nextSibling();
    parent.removeChild(next);
    next = after;
  }
}

// The next node in document order inside root, or a null node.
QDomNode NextInOrder(QDomNode node, const QDomNode& root) {
  if (!node.firstChild().isNull()) return node.firstChild();
  while (!node.isNull() && node != root) {
    if (!node.nextSibling().isNull()) return node.nextSibling();
    node = node.parentNode();
  }
  return {};
}

// The reason when the text nests deeper than kMaxDepth; other faults are left to QDom.
template <typename Input>
std::optional<QString> TooDeep(const Input& input) {
  QXmlStreamReader reader(input);
  int depth = 0;
  while (!reader.atEnd()) {
    const auto token = reader.readNext();
    if (token == QXmlStreamReader::StartElement && ++depth > kMaxDepth)
      return QStringLiteral("elements nested more than %1 deep at line %2, column %3")
          .arg(kMaxDepth)
          .arg(reader.lineNumber())
          .arg(reader.columnNumber());
    if (token == QXmlStreamReader::EndElement) --depth;
  }
  return std::nullopt;
}

// An element's text for the edits: its first text child.
QDomText FirstText(const QDomElement& element) {
  for (auto child = element.firstChild(); !child.isNull(); child = child.nextSibling())
    if (child.isText()) return child.toText();
  return {};
}

QString TextOf(const QDomElement& element) { return FirstText(element).data(); }

void SetTextOf(QDomElement element, const QString& text) {
  auto first = FirstText(element);
  if (!first.isNull()) first.setData(text);
  else element.insertBefore(element.ownerDocument().createTextNode(text), element.firstChild());
}

// The first element in document order inside root (root included) that matches.
template <typename Match>
QDomElement FindElement(const QDomNode& root, Match match) {
  for (QDomNode node = root; !node.isNull(); node = NextInOrder(node, root))
    if (node.isElement() && match(node.toElement())) return node.toElement();
  return {};
}

QDomElement ElementWithText(const QDomNode& root, QLatin1String kind, const QString& text) {
  return FindElement(root, [&](const QDomElement& e) { return NameIs(e.tagName(), kind) && TextOf(e) == text; });
}

// The "RangeName" element of folder's ranking name, found the way the reader files it: the
// folder is the text of the last "Folder" element met before it.
QDomElement RankingElementIn(const QDomNode& root, const QString& folder, const QString& name) {
  QString element, current;
  for (QDomNode node = root; !node.isNull(); node = NextInOrder(node, root)) {
    if (node.isText() && NameIs(element, kFolder)) current = node.toText().data();
    if (!node.isElement()) continue;
    element = node.toElement().tagName();
    if (NameIs(element, kRangeName) && current == folder && TextOf(node.toElement()) == name) return node.toElement();
  }
  return {};
}

// Elements are shared handles: parent is changed in place.
QDomElement AppendTextElement(QDomElement parent, QLatin1String name, const QString& text) {
  auto element = parent.ownerDocument().createElement(name);
  element.appendChild(parent.ownerDocument().createTextNode(text));
  parent.appendChild(element);
  return element;
}

// The first "User-defined-ranges" element, appended to the top element when there is none.
QDomElement UserRoot(QDomDocument document) {
  auto top = document.documentElement();
  auto root = FindElement(top, [](const QDomElement& e) { return NameIs(e.tagName(), kUserDefined); });
  if (root.isNull()) {
    root = document.createElement(kUserDefined);
    top.appendChild(root);
  }
  return root;
}

// Characters XML 1.0 can hold; others would make a file that no longer loads.
bool XmlChar(wchar_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
         (c >= 0x10000 && c <= 0x10FFFF);
}

// Empty or blank-only texts are dropped when the file is read again.
std::optional<std::wstring> BadText(const std::wstring& text, const wchar_t* what) {
  bool blank = true;
  for (const wchar_t c : text) {
    if (!XmlChar(c)) return std::wstring(what) + L" holds a character the file cannot keep.";
    if (!std::iswspace(static_cast<wint_t>(c))) blank = false;
  }
  if (blank) return std::wstring(what) + L" is empty.";
  return std::nullopt;
}

std::optional<RankingElement> KindNamed(const std::wstring& kind) {
  const QString name = Q(kind);
  if (NameIs(name, kFolder)) return RankingElement::Folder;
  if (NameIs(name, kRangeName)) return RankingElement::RangeName;
  return std::nullopt;
}

QLatin1String KindName(RankingElement kind) { return kind == RankingElement::Folder ? kFolder : kRangeName; }

// The parser's reason when text does not load into document.
template <typename Input>
std::optional<QString> SetContent(QDomDocument& document, const Input& text) {
  if (auto deep = TooDeep(text)) return deep;
  QString message;
  int line = 0;
  int column = 0;
  if (document.setContent(text, &message, &line, &column)) return std::nullopt;
  return QStringLiteral("%1 (line %2, column %3)").arg(message).arg(line).arg(column);
}

std::optional<QString> ParseInto(QDomDocument& document, const QByteArray& bytes) {
  // Old files say windows-1251, and Qt only reads that where it was built with ICU.
  const std::string_view raw(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  if (xml::DeclaredCharset(raw) == xml::Charset::Windows1251)
    return SetContent(document, QString::fromStdWString(xml::DecodeFileText(raw).text));
  return SetContent(document, bytes);
}

bool IsPlainText(const QDomNode& node) { return node.isText() && !node.isCDATASection(); }

// Two text nodes side by side are written as one and read back as one, which the reading
// rules may take for another folder: where an edit removed what stood between them, an
// empty comment keeps them apart.
void KeepTextsApart(QDomDocument& document) {
  const QDomElement root = document.documentElement();
  for (QDomNode node = root; !node.isNull(); node = NextInOrder(node, root))
    if (IsPlainText(node) && IsPlainText(node.nextSibling()))
      node.parentNode().insertAfter(document.createComment(QString()), node);
}

// Qt writes UTF-8 whatever the declaration says, so the declaration must say so; when the
// file starts with something declaration-like that is not one, a declaration goes first.
void DeclareUtf8(QDomDocument& document) {
  const QString declaration = QStringLiteral("version=\"1.0\" encoding=\"UTF-8\"");
  auto first = document.firstChild();
  if (!first.isProcessingInstruction()) return;
  const QString target = first.toProcessingInstruction().target();
  if (target == u"xml") first.toProcessingInstruction().setData(declaration);
  else if (target.startsWith(QLatin1String("xml"), Qt::CaseInsensitive))
    document.insertBefore(document.createProcessingInstruction(QStringLiteral("xml"), declaration), first);
}

// The reading rules' state while the nodes are visited in document order.
struct Reader {
  Reader(CategoryTable& c, FolderTable& f) : categories(c), folders(f) {}

  CategoryTable& categories;
  FolderTable& folders;
  int category = kEquilabCategory;
  QString element;
  std::wstring folder;
  std::optional<RankingKey> key;
  std::wstring lastValue;

  void Element(const QString& name) {
    element = name;
    if (NameIs(name, kEquilab)) category = kEquilabCategory;
    else if (NameIs(name, kUserDefined)) category = kUserDefinedCategory;
    else return;
    categories[category];
  }
  void Text(const std::wstring& text) {
    if (NameIs(element, kFolder)) {
      folder = text;
      folders[folder];
    } else if (NameIs(element, kRangeName)) {
      key = RankingKey(folder, text);
      Ranking().name = text;
    } else if (NameIs(element, kValue)) {
      lastValue = text;
      if (key) Ranking().value = text;
    } else if (NameIs(element, kPercent)) {
      const double percent = LeadingNumber(text);
      folders[folder].Texts()[percent] = lastValue;
      if (key) Ranking().percent = percent;
    }
  }
  CRange& Ranking() { return categories[category].ranges[*key]; }
};

std::filesystem::path LocalPath(const QString& file) { return QFile::encodeName(file).toStdString(); }

}  // namespace

double LeadingNumber(const std::wstring& text) {
  std::size_t i = 0;
  while (i < text.size() && std::iswspace(static_cast<wint_t>(text[i]))) ++i;
  const std::size_t start = i;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) ++i;
  const auto digits = [&] {
    const std::size_t from = i;
    while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') ++i;
    return i - from;
  };
  std::size_t mantissa = digits();
  if (i < text.size() && text[i] == L'.') {
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0) return 0;
  std::size_t end = i;
  if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
    ++i;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) ++i;
    if (digits() > 0) end = i;
  }
  // The accepted characters are ASCII, and strtod of them cannot stop early.
  const std::string number(text.begin() + static_cast<std::ptrdiff_t>(start),
                           text.begin() + static_cast<std::ptrdiff_t>(end));
  const double value = std::strtod(number.c_str(), nullptr);
  return std::isfinite(value) ? value : 0.0;
}

PredefinedRanges::PredefinedRanges(QString file, QObject* parent) : QObject(parent), file_(std::move(file)) {}

bool PredefinedRanges::LoadPredefinedRanges() {
  fileError_.clear();
  if (!QFileInfo::exists(file_)) CreateDefaultFile();
  loaded_ = ReadDocument();
  if (loaded_) ApplyReadingRules();
  return loaded_;
}

bool PredefinedRanges::BuildRankingTables(const RangeParser& parser) {
  categories_.clear();
  folders_.clear();
  parsed_.clear();
  const bool ok = LoadPredefinedRanges();
  for (auto& [name, folder] : folders_) FillSpecs(folder, &parser);
  emit tablesChanged();
  return ok;
}

bool PredefinedRanges::CreateDefaultFile() {
  QFile file(file_);
  if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
    const QByteArray bytes(kDefaultPredefinedRanges);
    if (file.write(bytes) == bytes.size() && file.flush()) return true;
    file.remove();
  }
  fileError_ = L"The rankings file <" + W(file_) + L"> could not be created: " + W(file.errorString());
  return false;
}

bool PredefinedRanges::ReadDocument() {
  document_ = QDomDocument();
  parseError_.clear();
  const auto fail = [this](const QString& reason) {
    document_ = QDomDocument();
    parseError_ = L"The rankings file <" + W(file_) + L"> could not be read: " + W(reason);
    return false;
  };
  const QFileInfo info(file_);
  if (info.exists() && info.size() > kPredefinedRangesMaxBytes) return fail(QStringLiteral("it is larger than 16 MB."));
  std::string reason;
  const auto bytes = quillet::ReadRegularFile(LocalPath(file_), kPredefinedRangesMaxBytes, &reason);
  if (!bytes) return fail(QString::fromStdString(reason.empty() ? std::string("not a readable file") : reason));
  const QByteArray raw = QByteArray::fromStdString(*bytes);

  if (const auto error = ParseInto(document_, raw)) return fail(*error);
  if (document_.documentElement().isNull()) return fail(QStringLiteral("it holds no element."));
  return true;
}

void PredefinedRanges::ApplyReadingRules() {
  Reader reader{categories_, folders_};
  const QDomElement root = document_.documentElement();
  for (QDomNode node = root; !node.isNull(); node = NextInOrder(node, root)) {
    if (node.isElement()) reader.Element(node.toElement().tagName());
    else if (node.isText()) reader.Text(W(node.toText().data()));
  }
}

void PredefinedRanges::FillSpecs(quillet::CUserFolder& folder, const RangeParser* parser) {
  folder.Specs().clear();
  for (const auto& [percent, text] : folder.Texts()) {
    auto known = parsed_.find(text);
    if (known == parsed_.end()) {
      if (!parser) continue;
      quillet::Spec spec;
      const bool ok = parser->ParseRange(text, spec) == kParseOk;
      known = parsed_.emplace(text, ok ? std::optional<quillet::Spec>(std::move(spec)) : std::nullopt).first;
    }
    if (known->second) folder.Specs()[percent] = *known->second;
  }
  folder.MakeInterpolation6Plus();
}

void PredefinedRanges::RebuildTables(const RangeParser* parser) {
  categories_.clear();
  folders_.clear();
  ApplyReadingRules();
  for (auto& [name, folder] : folders_) FillSpecs(folder, parser);
}

std::optional<std::filesystem::path> PredefinedRanges::LinkTarget() const {
  const auto local = LocalPath(file_);
  const auto target = quillet::ResolveLinks(local);
  return target != local ? target : std::nullopt;
}

std::vector<std::wstring> PredefinedRanges::FolderNames() const {
  std::vector<std::wstring> names;
  names.reserve(folders_.size());
  for (const auto& entry : folders_) names.push_back(entry.first);
  return names;
}

bool PredefinedRanges::IsFolder(const std::wstring& name) const { return folders_.count(name) > 0; }

const quillet::CUserFolder* PredefinedRanges::Folder(const std::wstring& name) const {
  const auto found = folders_.find(name);
  return found == folders_.end() ? nullptr : &found->second;
}

std::vector<FolderRanking> PredefinedRanges::RankingsOf(const std::wstring& folder) const {
  std::vector<FolderRanking> rankings;
  for (const auto& [category, all] : categories_)
    for (auto it = all.ranges.lower_bound(RankingKey(folder, L"")); it != all.ranges.end() && it->first.first == folder; ++it)
      rankings.push_back({category, it->second});
  std::stable_sort(rankings.begin(), rankings.end(), [](const FolderRanking& a, const FolderRanking& b) {
    return a.range.name < b.range.name;
  });
  return rankings;
}

const CRange* PredefinedRanges::Find(int category, const std::wstring& folder, const std::wstring& name) const {
  const auto all = categories_.find(category);
  if (all == categories_.end()) return nullptr;
  const auto found = all->second.ranges.find(RankingKey(folder, name));
  return found == all->second.ranges.end() ? nullptr : &found->second;
}

std::optional<std::wstring> PredefinedRanges::RangeText(int category, const std::wstring& folder,
                                                        const std::wstring& name) const {
  if (const CRange* range = Find(category, folder, name)) return range->value;
  for (const auto& entry : categories_)
    if (const CRange* range = Find(entry.first, folder, name)) return range->value;
  return std::nullopt;
}

bool PredefinedRanges::AddFolder(const std::wstring& folder) {
  if (const auto bad = BadText(folder, L"The folder name")) return Fail(*bad);
  return RunEdit([&] {
    auto root = UserRoot(document_);
    AppendTextElement(root, kFolder, Q(folder));
    return true;
  });
}

bool PredefinedRanges::AddRanking(const std::wstring& folder, const std::wstring& name, const std::wstring& value,
                                  double percent, const RangeParser* parser) {
  for (const auto& [text, what] : {std::pair{&folder, L"The folder name"}, {&name, L"The ranking's name"},
                                   {&value, L"The range text"}})
    if (const auto bad = BadText(*text, what)) return Fail(*bad);
  if (!std::isfinite(percent)) return Fail(L"The percent is not a number.");
  return RunEdit(
      [&] {
        auto root = UserRoot(document_);
        const QString wanted = Q(folder);
        // Only the text before the first blank is compared, so a name with a blank never
        // matches and gets a folder element of its own.
        auto target = FindElement(root, [&](const QDomElement& e) {
          return NameIs(e.tagName(), kFolder) && TextOf(e).section(QLatin1Char(' '), 0, 0) == wanted;
        });
        if (target.isNull()) target = AppendTextElement(root, kFolder, wanted);
        auto range = document_.createElement(kRange);
        AppendTextElement(range, kRangeName, Q(name));
        AppendTextElement(range, kValue, Q(value));
        AppendTextElement(range, kPercent, QString::number(percent, 'f', 2));
        target.appendChild(range);
        return true;
      },
      parser);
}

bool PredefinedRanges::Rename(RankingElement kind, const std::wstring& oldText, const std::wstring& newText) {
  return RenameElement(ElementWithText(document_.documentElement(), KindName(kind), Q(oldText)), kind, oldText, newText);
}

bool PredefinedRanges::RenameRanking(const std::wstring& folder, const std::wstring& oldName, const std::wstring& newName) {
  return RenameElement(RankingElementIn(document_.documentElement(), Q(folder), Q(oldName)), RankingElement::RangeName,
                       oldName, newName);
}

bool PredefinedRanges::DeleteRanking(const std::wstring& folder, const std::wstring& name) {
  return DeleteElement(RankingElementIn(document_.documentElement(), Q(folder), Q(name)), RankingElement::RangeName, name);
}

bool PredefinedRanges::RenameElement(QDomElement element, RankingElement kind, const std::wstring& oldText,
                                     const std::wstring& newText) {
  if (const auto bad = BadText(newText, L"The new name")) return Fail(*bad);
  return RunEdit([&] {
    if (element.isNull()) return Fail(L"There is no " + W(KindName(kind)) + L" [" + oldText + L"] to rename.");
    SetTextOf(element, Q(newText));
    return true;
  });
}

bool PredefinedRanges::Delete(RankingElement kind, const std::wstring& text) {
  return DeleteElement(ElementWithText(document_.documentElement(), KindName(kind), Q(text)), kind, text);
}

bool PredefinedRanges::DeleteElement(QDomElement element, RankingElement kind, const std::wstring& text) {
  return RunEdit([&] {
    if (element.isNull()) return Fail(L"There is no " + W(KindName(kind)) + L" [" + text + L"] to delete.");
    QDomNode doomed = element;
    const auto parent = element.parentNode();
    if (kind == RankingElement::RangeName && parent.isElement() && NameIs(parent.toElement().tagName(), kRange))
      doomed = parent;
    if (doomed == document_.documentElement()) return Fail(L"The file's top element cannot be deleted.");
    if (kind == RankingElement::Folder) RemoveFollowingRankings(doomed);
    doomed.parentNode().removeChild(doomed);
    return true;
  });
}

bool PredefinedRanges::Rename(const std::wstring& kind, const std::wstring& oldText, const std::wstring& newText) {
  const auto known = KindNamed(kind);
  if (!known) return Fail(L"Only folders and rankings can be renamed.");
  return Rename(*known, oldText, newText);
}

bool PredefinedRanges::Delete(const std::wstring& kind, const std::wstring& text) {
  const auto known = KindNamed(kind);
  if (!known) return Fail(L"Only folders and rankings can be deleted.");
  return Delete(*known, text);
}

bool PredefinedRanges::Save() {
  return RunEdit([] { return true; });
}

bool PredefinedRanges::CanEdit() {
  if (!parseError_.empty()) return Fail(parseError_);
  if (!loaded_) return Fail(L"The rankings file is not loaded.");
  return true;
}

bool PredefinedRanges::RunEdit(const std::function<bool()>& edit, const RangeParser* parser) {
  if (!CanEdit()) return false;
  const QDomDocument before = document_.cloneNode(true).toDocument();
  if (!edit() || !WriteDocument()) {
    document_ = before;
    return false;
  }
  lastError_.clear();
  RebuildTables(parser);
  emit tablesChanged();
  return true;
}

bool PredefinedRanges::WriteDocument() {
  DeclareUtf8(document_);
  KeepTextsApart(document_);
  const QByteArray bytes = document_.toByteArray(-1);
  // Qt reads some things at the start of a file that it refuses elsewhere: never write a
  // file that would not load.
  QDomDocument check;
  if (const auto error = ParseInto(check, bytes))
    return Fail(L"The rankings file <" + W(file_) + L"> was not written: it would not load again: " + W(*error));
  std::string reason;
  if (quillet::ReplaceUserFile(LocalPath(file_), std::string_view(bytes.constData(), bytes.size()), reason))
    return true;
  return Fail(L"The rankings file <" + W(file_) + L"> could not be written: " + W(QString::fromStdString(reason)));
}

bool PredefinedRanges::Fail(std::wstring reason) {
  lastError_ = std::move(reason);
  return false;
}

}  // namespace ferrox
