#include "app/services/RegImport.h"

#include <QStringDecoder>
#include <optional>
#include <system_error>

#include "quillet/Files.h"

namespace ferrox {

namespace {

constexpr QStringView kRootKey = u"HKEY_CURRENT_USER\\Software\\Halvard\\Ferrox6Plus";
constexpr std::uintmax_t kMaxFileBytes = 16 * 1024 * 1024;

struct ImportState {
  bool inProgramKey = false;  // values belong to a key of ours
  QString group;              // its QSettings group, "" for the root key
  bool continuing = false;    // inside a value continued with a trailing backslash
  int written = 0;
};

std::optional<QString> ReadRegText(const std::filesystem::path& path) {
  // Never waits: a FIFO in the file's place must not hold up the start.
  const auto read = quillet::ReadRegularFile(path, kMaxFileBytes);
  if (!read) return std::nullopt;
  const QByteArray bytes = QByteArray::fromStdString(*read);
  // The registry editor writes UTF-16LE with a byte order mark; hand-made files are UTF-8.
  const bool utf16 = bytes.startsWith("\xFF\xFE");
  QStringDecoder decoder(utf16 ? QStringDecoder::Utf16LE : QStringDecoder::Utf8);
  return QString(decoder(bytes));
}

bool IsHeader(QStringView line) {
  return line == u"Windows Registry Editor Version 5.00" || line == u"REGEDIT4";
}

// Group of a key path below the program's root key; nothing for any other key.
std::optional<QString> GroupOf(QStringView keyPath) {
  if (!keyPath.startsWith(kRootKey, Qt::CaseInsensitive)) return std::nullopt;
  QStringView rest = keyPath.mid(kRootKey.size());
  if (!rest.isEmpty() && !rest.startsWith(u'\\')) return std::nullopt;
  while (rest.startsWith(u'\\')) rest = rest.mid(1);
  while (rest.endsWith(u'\\')) rest.chop(1);
  return rest.toString().replace(u'\\', u'/');
}

void HandleKeyLine(QStringView line, QSettings& settings, ImportState& state) {
  const auto close = line.lastIndexOf(u']');
  const bool deletion = line.startsWith(u"[-");
  const QStringView path = line.mid(deletion ? 2 : 1, close - (deletion ? 2 : 1));
  const std::optional<QString> group = close > 0 ? GroupOf(path) : std::nullopt;
  state.inProgramKey = group.has_value() && !deletion;
  state.group = group.value_or(QString());
  if (group && deletion) settings.remove(*group);
}

// Reads a quoted text starting at pos, undoing the \\ and \" escapes; pos ends past the
// closing quote.
std::optional<QString> ReadQuoted(QStringView text, qsizetype& pos) {
  if (pos >= text.size() || text[pos] != u'"') return std::nullopt;
  QString result;
  for (++pos; pos < text.size(); ++pos) {
    const QChar c = text[pos];
    if (c == u'"') {
      ++pos;
      return result;
    }
    const bool escape = c == u'\\' && pos + 1 < text.size() &&
                        (text[pos + 1] == u'\\' || text[pos + 1] == u'"');
    if (escape) ++pos;
    result += text[pos];
  }
  return std::nullopt;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

std::optional<QVariant> ParseDword(QStringView digits) {
  if (digits.isEmpty() || digits.size() > 8) return std::nullopt;
  quint32 bits = 0;
  for (const QChar c : digits) {
    const int digit = HexDigit(c.unicode());
    if (digit < 0) return std::nullopt;
    bits = bits << 4 | static_cast<quint32>(digit);
  }
  return QVariant(static_cast<qint32>(bits));
}

std::optional<QVariant> ParseData(QStringView data) {
  if (data.startsWith(u"dword:", Qt::CaseInsensitive)) return ParseDword(data.mid(6));
  qsizetype pos = 0;
  const std::optional<QString> text = ReadQuoted(data, pos);
  if (!text || !data.mid(pos).trimmed().isEmpty()) return std::nullopt;
  return QVariant(*text);
}

void HandleValueLine(QStringView line, QSettings& settings, ImportState& state) {
  qsizetype pos = 0;
  const std::optional<QString> name = ReadQuoted(line, pos);
  const QStringView rest = line.mid(pos).trimmed();
  // Names with a slash would turn into groups of their own.
  if (!name || name->isEmpty() || name->contains(u'/') || name->contains(u'\\') ||
      !rest.startsWith(u'='))
    return;
  const QString key = state.group.isEmpty() ? *name : state.group + u'/' + *name;
  const QStringView data = rest.mid(1).trimmed();
  if (data == u"-") {
    settings.remove(key);
    return;
  }
  if (const std::optional<QVariant> value = ParseData(data)) {
    settings.setValue(key, *value);
    ++state.written;
  }
}

void HandleLine(QStringView line, QSettings& settings, ImportState& state) {
  if (state.continuing) {
    state.continuing = line.endsWith(u'\\');
    return;
  }
  if (line.isEmpty() || line.startsWith(u';')) return;
  if (line.startsWith(u'[')) {
    HandleKeyLine(line, settings, state);
    return;
  }
  if (line.endsWith(u'\\')) {
    state.continuing = true;  // binary data spread over lines: not ours to import
    return;
  }
  if (state.inProgramKey && line.startsWith(u'"')) HandleValueLine(line, settings, state);
}

}  // namespace

int ImportRegFile(const std::filesystem::path& regFile, QSettings& settings) {
  const std::optional<QString> text = ReadRegText(regFile);
  if (!text) return -1;
  ImportState state;
  bool headerSeen = false;
  for (QStringView line : QStringView(*text).split(u'\n')) {
    line = line.trimmed();
    if (!headerSeen) {
      if (line.isEmpty()) continue;
      if (!IsHeader(line)) return -1;
      headerSeen = true;
      continue;
    }
    HandleLine(line, settings, state);
  }
  if (!headerSeen) return -1;
  settings.sync();
  return state.written;
}

}  // namespace ferrox
