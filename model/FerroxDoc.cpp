#include "model/FerroxDoc.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "quillet/HandClass.h"

namespace ferrox {
namespace {

using quillet::HandClass;
using quillet::Spec;

constexpr int kCells = kMatrixSide * kMatrixSide;

std::optional<HandClass> ClassAt(int cell) {
  if (cell < 0 || cell >= kCells) return std::nullopt;
  return quillet::AllClassesInMatrixOrder()[cell];
}

int CellOf(int column, int row) {
  const bool inside = column >= 0 && column < kMatrixSide && row >= 0 && row < kMatrixSide;
  return inside ? kMatrixSide * row + column : -1;
}

Spec WholeClass(const HandClass& hc) {
  Spec spec;
  spec.AddClass(hc);
  return spec;
}

int CountOfClass(const Spec& range, const HandClass& hc) {
  return static_cast<int>(std::count_if(range.combos().begin(), range.combos().end(), [&](const quillet::Combo& c) {
    return quillet::ClassOfCombo(c.first, c.second) == hc;
  }));
}

Spec Minus(const Spec& a, const Spec& b) {
  Spec out = a;
  out.Remove(b);
  return out;
}

Spec Intersection(const Spec& a, const Spec& b) {
  Spec out;
  for (const auto& c : a.combos())
    if (b.combos().count(c)) out.combos().insert(c);
  return out;
}

// Top percent of the ordering; 0 is the empty range.
Spec Top(double percent, const RangeParser& parser) {
  Spec spec;
  std::wstring scratch;
  if (percent > 0) parser.ResolvePercent(percent, spec, scratch);
  return spec;
}

// 0.1 steps: repeated spin steps must not drift past a class boundary.
double BandValue(double v) { return std::clamp(std::round(v * 10.0) / 10.0, 0.0, 100.0); }

bool SameRange(const RangeSnapshot& a, const RangeSnapshot& b) {
  return a.hasRange == b.hasRange && a.text == b.text && a.range.combos() == b.range.combos();
}

bool SameBand(const RangeSnapshot& a, const RangeSnapshot& b) {
  return a.bandLow == b.bandLow && a.bandHigh == b.bandHigh && a.bandStarted == b.bandStarted;
}

void TakeBuiltText(RangeSnapshot& s) { s.text = s.range.MakeString6Plus(); }

}  // namespace

CFerroxDoc::CFerroxDoc(int playerSlot, QObject* parent) : QObject(parent), slot_(playerSlot) {}

QString CFerroxDoc::CountText() const { return QString::asprintf("%d/%d", Count(), quillet::kTotalCombos); }

QString CFerroxDoc::ShareText() const {
  return QString::asprintf("%.2f%%", Count() * 100.0 / quillet::kTotalCombos);
}

QString CFerroxDoc::RangeText() const {
  return QString::fromStdWString(Count() > 1 ? state_.range.MakeString6Plus() : state_.text);
}

QString CFerroxDoc::TitleText() const {
  return QString::fromStdWString(WrapTitleText(RangeText().toStdWString()));
}

void CFerroxDoc::SetTitle(const QString& title) {
  if (title == title_) return;
  title_ = title;
  emit titleChanged();
}

int CFerroxDoc::ClassCount(int column, int row) const {
  const auto hc = ClassAt(CellOf(column, row));
  return hc ? CountOfClass(state_.range, *hc) : 0;
}

template <class Change>
bool CFerroxDoc::Commit(RangeHistory::Step step, Change change, bool userEdit) {
  RangeSnapshot next = state_;
  change(next);
  if (SameRange(next, state_) && SameBand(next, state_)) return false;
  history_.Record(state_, step);
  RangeSnapshot before = std::exchange(state_, std::move(next));
  // Marked before the announcement: a listener that refreshes must see an edit.
  if (userEdit) edited_ = true;
  Announce(before);
  return true;
}

void CFerroxDoc::Announce(const RangeSnapshot& before) {
  if (!SameRange(before, state_)) emit rangeChanged();
  if (!SameBand(before, state_)) emit bandChanged();
  emit undoStateChanged();
}

void CFerroxDoc::SetRange(const Spec& range, const QString& text) {
  Commit(RangeHistory::Step::Edit, [&](RangeSnapshot& s) {
    s.range = range;
    s.hasRange = true;
    s.text = text.toStdWString();
  }, false);
}

void CFerroxDoc::Clear() {
  Commit(RangeHistory::Step::Edit, [](RangeSnapshot& s) {
    s.range.clear();
    s.text.clear();
    s.bandLow = s.bandHigh = 0;
  }, false);
  if (editedCell_ != -1) {
    editedCell_ = -1;
    emit suitEditingChanged();
  }
}

bool CFerroxDoc::ToggleClass(int column, int row, const KnownCardFilter& filter) {
  const auto hc = ClassAt(CellOf(column, row));
  if (!hc) return false;
  const Spec whole = WholeClass(*hc);
  const bool changed = Commit(RangeHistory::Step::Edit, [&](RangeSnapshot& s) {
    if (CountOfClass(s.range, *hc) > 0) {
      s.range.Remove(whole);
    } else {
      s.range.AddAll(filter ? Intersection(filter(whole), whole) : whole);
      s.hasRange = true;
    }
    TakeBuiltText(s);
  });
  return changed;
}

bool CFerroxDoc::PickClass(int column, int row) {
  const int cell = CellOf(column, row);
  if (cell < 0) return false;
  editedCell_ = cell;
  const bool selected = IsSelected(column, row);
  if (selected) edited_ = true;
  emit suitEditingChanged();
  return selected;
}

QString CFerroxDoc::SuitCaption() const {
  const auto hc = ClassAt(editedCell_);
  if (!hc) return QStringLiteral("      ");
  return QString::fromStdWString(quillet::ClassLabel(*hc)).leftJustified(4, QLatin1Char(' '));
}

quillet::SuitFlags CFerroxDoc::SuitAvailable() const {
  const auto hc = ClassAt(editedCell_);
  return hc ? quillet::MakeSuitMatrix(hc->kind) : quillet::SuitFlags{};
}

quillet::SuitFlags CFerroxDoc::SuitSelected() const {
  quillet::SuitFlags selected{};
  const auto hc = ClassAt(editedCell_);
  if (!hc) return selected;
  const quillet::SuitFlags available = quillet::MakeSuitMatrix(hc->kind);
  for (int k = 0; k < 16; ++k)
    selected[k] = available[k] && state_.range.contains(quillet::MakeCardIndex(hc->high, k / 4),
                                                         quillet::MakeCardIndex(hc->low, k % 4));
  return selected;
}

bool CFerroxDoc::ToggleSuit(int flag) {
  const auto hc = ClassAt(editedCell_);
  if (!hc || flag < 0 || flag >= 16 || !SuitAvailable()[flag]) return false;
  quillet::SuitFlags flags = SuitSelected();
  flags[flag] = !flags[flag];
  const Spec rebuilt = quillet::SpecBySuitMatrix(hc->kind, hc->high, hc->low, flags);
  const Spec whole = WholeClass(*hc);
  const bool changed = Commit(RangeHistory::Step::Edit, [&](RangeSnapshot& s) {
    s.range.Remove(whole);
    s.range.AddAll(rebuilt);
    s.hasRange = true;
    TakeBuiltText(s);
  });
  emit suitEditingChanged();
  return changed;
}

// Keeps the range equal to Top(high) - Top(low) when it was before; hands edited by hand
// outside the moved stretch stay as they are.
void CFerroxDoc::MoveHigh(RangeSnapshot& s, double high, const RangeParser& parser) const {
  if (high == s.bandHigh) return;
  const Spec now = Top(high, parser), before = Top(s.bandHigh, parser);
  if (high > s.bandHigh) s.range.AddAll(Minus(Minus(now, before), Top(s.bandLow, parser)));
  else s.range.Remove(Minus(before, now));
  s.bandHigh = high;
}

void CFerroxDoc::MoveLow(RangeSnapshot& s, double low, const RangeParser& parser) const {
  if (low == s.bandLow) return;
  const Spec now = Top(low, parser), before = Top(s.bandLow, parser);
  if (low > s.bandLow) s.range.Remove(Minus(now, before));
  else s.range.AddAll(Intersection(Minus(before, now), Top(s.bandHigh, parser)));
  s.bandLow = low;
}

void CFerroxDoc::SetBand(double low, double high, const RangeParser& parser) {
  low = BandValue(low);
  high = BandValue(high);
  Commit(RangeHistory::Step::Band, [&](RangeSnapshot& s) {
    if (!s.bandStarted) {
      s.range.clear();
      s.bandLow = s.bandHigh = 0;
      s.bandStarted = true;
    }
    MoveHigh(s, high, parser);
    MoveLow(s, low, parser);
    s.hasRange = true;
    TakeBuiltText(s);
  });
}

void CFerroxDoc::Refresh() {
  if (!edited_ && Count() > 0) {
    const double high = std::min(100.0, Count() * 100.0 / quillet::kTotalCombos);
    if (high != state_.bandHigh || state_.bandLow != 0) {
      state_.bandHigh = high;
      state_.bandLow = 0;
      emit bandChanged();
    }
  }
  edited_ = false;
}

bool CFerroxDoc::Undo() {
  const RangeSnapshot before = state_;
  if (!history_.Undo(state_)) return false;
  edited_ = true;
  Announce(before);
  return true;
}

bool CFerroxDoc::Redo() {
  const RangeSnapshot before = state_;
  if (!history_.Redo(state_)) return false;
  edited_ = true;
  Announce(before);
  return true;
}

BoardStatistics CFerroxDoc::Statistics(const std::vector<CardIndex>& board, RuleSet rules) const {
  return CountBoardStatistics(state_.range, board, rules);
}

std::wstring CFerroxDoc::WrapTitleText(const std::wstring& text) {
  constexpr std::size_t kLine = 50;
  std::wstring out;
  std::size_t line = 0;
  for (wchar_t c : text) {
    out += c;
    if (++line >= kLine && c == L',') {
      out += L"\r\n";
      line = 0;
    }
  }
  return out + L"\r\n";
}

}  // namespace ferrox
