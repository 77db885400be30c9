// The predefined rankings file: a file that loads is written back and loads again as the
// same tables (or, when the written text would not load, is refused and left as it was);
// so does the file after each edit that succeeds; a failed edit leaves the file as it was;
// a file that does not load takes no edit and is never written. Each folder's
// interpolation gives its stored rankings at their percents and nothing outside them.
//
// Input: the file's bytes up to a zero byte, then edits of three bytes each: the edit
// (low 3 bits), a first and a second name (an existing folder or ranking name, or a few
// random characters, reserved ones included).
#include <cmath>
#include <string>
#include <vector>

#include <QFile>

#include "fuzz/FuzzSupport.h"
#include "model/PredefinedRanges.h"

namespace {

using namespace ferrox;

bool SameTables(const PredefinedRanges& a, const PredefinedRanges& b) {
  if (a.Folders().size() != b.Folders().size() || a.Categories().size() != b.Categories().size()) return false;
  for (auto x = a.Categories().begin(), y = b.Categories().begin(); x != a.Categories().end(); ++x, ++y) {
    if (x->first != y->first || x->second.ranges.size() != y->second.ranges.size()) return false;
    for (auto r = x->second.ranges.begin(), s = y->second.ranges.begin(); r != x->second.ranges.end(); ++r, ++s)
      if (r->first != s->first || r->second.name != s->second.name || r->second.value != s->second.value ||
          r->second.percent != s->second.percent)
        return false;
  }
  for (auto x = a.Folders().begin(), y = b.Folders().begin(); x != a.Folders().end(); ++x, ++y)
    if (x->first != y->first || x->second.Texts() != y->second.Texts()) return false;
  return true;
}

void CheckInterpolation(const quillet::CUserFolder& folder) {
  quillet::Spec all;
  for (const auto& [percent, spec] : folder.Specs()) {
    FUZZ_CHECK(folder.RangeAt(percent).combos() == spec.combos());
    all.AddAll(spec);
  }
  for (double percent : {-1.0, 0.5, 3.0, 17.5, 50.0, 99.9}) {
    const auto range = folder.RangeAt(percent);
    for (const auto& combo : range.combos()) FUZZ_CHECK(all.contains(combo.first, combo.second));
  }
}

std::vector<std::wstring> KnownNames(const PredefinedRanges& ranges) {
  std::vector<std::wstring> names = ranges.FolderNames();
  for (const auto& [category, all] : ranges.Categories())
    for (const auto& entry : all.ranges) names.push_back(entry.second.name);
  return names;
}

std::wstring PickName(uint8_t choice, const std::vector<std::wstring>& known, fuzz::Bytes& bytes) {
  if (choice & 0x80 && !known.empty()) return known[(choice & 0x7F) % known.size()];
  static const std::wstring alphabet = L"aZ09 &<>\"'\\/=%;\t\r\n\u00E9\u0436\u20AC\U0001F600\x01";
  std::wstring name;
  for (int n = choice % 6; n > 0; --n) name += alphabet[bytes.Byte() % alphabet.size()];
  return name;
}

std::string FileBytes(const QString& file) {
  return quillet::ReadRegularFile(QFile::encodeName(file).toStdString(), kPredefinedRangesMaxBytes)
      .value_or("<unreadable>");
}

bool RunEdit(PredefinedRanges& ranges, uint8_t op, const std::wstring& first, const std::wstring& second,
             const RangeParser& parser) {
  switch (op & 7) {
    case 0: return ranges.AddFolder(first);
    case 1: return ranges.AddRanking(first, second, L"AA,KQs", (op >> 3) * 3.3333, &parser);
    case 2: return ranges.Rename(RankingElement::Folder, first, second);
    case 3: return ranges.Rename(RankingElement::RangeName, first, second);
    case 4: return ranges.Delete(RankingElement::Folder, first);
    case 5: return ranges.Delete(RankingElement::RangeName, first);
    case 6: return ranges.AddRanking(first, second, second, (op >> 3) - 2.5);
    default: return ranges.Save();
  }
}

void CheckReload(const PredefinedRanges& ranges) {
  PredefinedRanges again(ranges.FilePath());
  FUZZ_CHECK_TEXT(again.LoadPredefinedRanges(), again.ParseError());
  FUZZ_CHECK(SameTables(ranges, again));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static const OrderingRanges orderings = [] {
    OrderingRanges o;
    o.standard.SetOrdering(quillet::AllClassesInMatrixOrder());
    return o;
  }();
  const RangeParser parser(orderings, quillet::kRulesStandard);

  fuzz::Bytes bytes(data, size);
  const auto file = fuzz::WriteScratch("Range6Plus.xml", bytes.Until('\0'));
  const QString path = QFile::decodeName(file.c_str());
  PredefinedRanges ranges(path);
  const bool loaded = ranges.BuildRankingTables(parser);
  FUZZ_CHECK(loaded == ranges.ParseError().empty());
  if (loaded) {
    for (const auto& entry : ranges.Folders()) CheckInterpolation(entry.second);
    // Refused only when the written text would not load, which Save checks first.
    const std::string before = FileBytes(path);
    if (ranges.Save()) CheckReload(ranges);
    else FUZZ_CHECK_TEXT(ranges.LastError().find(L"would not load") != std::wstring::npos, ranges.LastError());
    FUZZ_CHECK(ranges.Loaded());
    if (!ranges.LastError().empty()) FUZZ_CHECK(FileBytes(path) == before);
  } else {
    FUZZ_CHECK(ranges.Categories().empty() && ranges.Folders().empty());
  }

  for (int edits = 0; !bytes.empty() && edits < 8; ++edits) {
    const uint8_t op = bytes.Byte();
    const auto known = KnownNames(ranges);
    const std::wstring first = PickName(bytes.Byte(), known, bytes);
    const std::wstring second = PickName(bytes.Byte(), known, bytes);
    const std::string before = FileBytes(path);
    if (!RunEdit(ranges, op, first, second, parser)) {
      FUZZ_CHECK(!ranges.LastError().empty());
      FUZZ_CHECK(FileBytes(path) == before);
      continue;
    }
    FUZZ_CHECK(loaded);
    CheckReload(ranges);
  }
  return 0;
}
