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
  return QString::fromStdWString(state_.range.size() > 1 ? state_.range.MakeString6Plus() : state_.text);
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
  return hc ? CountOfClass(shown_, *hc) : 0;
}

quillet::Spec CFerroxDoc::Free(const Spec& spec) const {
  if (!known_) return spec;
  Spec free;
  spec.Exclude(known_, free);
  return free;
}

void CFerroxDoc::UpdateShown() { shown_ = Free(state_.range); }

void CFerroxDoc::SetKnownCards(CardMask known) {
  if (known == known_) return;
  known_ = known;
  const Spec before = std::exchange(shown_, Free(state_.range));
  if (shown_.combos() != before.combos()) emit rangeChanged();
  // The suit pairs free for the class being edited may differ.
  if (editedCell_ != -1) emit suitEditingChanged();
}

template <class Change>
bool CFerroxDoc::Commit(RangeHistory::Step step, Change change, bool userEdit) {
  RangeSnapshot next = state_;
  change(next);
  if (SameRange(next, state_) && SameBand(next, state_)) return false;
  history_.Record(state_, step);
  RangeSnapshot before = std::exchange(state_, std::move(next));
  const Spec shownBefore = shown_;
  UpdateShown();
  // Marked before the announcement: a listener that refreshes must see an edit.
  if (userEdit) edited_ = true;
  Announce(before, shownBefore, userEdit);
  return true;
}

void CFerroxDoc::Announce(const RangeSnapshot& before, const Spec& shownBefore, bool userEdit) {
  const bool rangeMoved = !SameRange(before, state_);
  if (rangeMoved || shown_.combos() != shownBefore.combos()) emit rangeChanged();
  if (!SameBand(before, state_)) emit bandChanged();
  if (rangeMoved && userEdit) emit rangeEdited();
  emit undoStateChanged();
}

void CFerroxDoc::SetRange(const Spec& range, const QString& text) {
  const bool changed = Commit(RangeHistory::Step::Edit, [&](RangeSnapshot& s) {
    s.range = range;
    s.hasRange = true;
    s.text = text.toStdWString();
  }, false);
  if (changed) emit rangeGiven();
}

void CFerroxDoc::Restore(const Spec& range, const QString& text, double bandLow, double bandHigh) {
  RangeSnapshot before = std::exchange(state_, RangeSnapshot{});
  state_.range = range;
  state_.hasRange = true;
  state_.text = text.toStdWString();
  // As kept: a band taken from a range's share is not on the slider's 0.1 steps.
  state_.bandLow = std::clamp(bandLow, 0.0, 100.0);
  state_.bandHigh = std::clamp(bandHigh, state_.bandLow, 100.0);
  history_.Clear();
  const Spec shownBefore = shown_;
  UpdateShown();
  edited_ = true;
  Announce(before, shownBefore, false);
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
  emit cleared();
}

bool CFerroxDoc::ToggleClass(int column, int row) {
  const auto hc = ClassAt(CellOf(column, row));
  if (!hc) return false;
  const Spec whole = WholeClass(*hc);
  const bool selected = CountOfClass(shown_, *hc) > 0;
  return Commit(RangeHistory::Step::Edit, [&](RangeSnapshot& s) {
    if (selected) {
      s.range.Remove(whole);
    } else {
      s.range.AddAll(Free(whole));
      s.hasRange = true;
    }
    TakeBuiltText(s);
  });
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

quillet::SuitFlags CFerroxDoc::SuitPairs() const {
  const auto hc = ClassAt(editedCell_);
  return hc ? quillet::MakeSuitMatrix(hc->kind) : quillet::SuitFlags{};
}

quillet::SuitFlags CFerroxDoc::SuitAvailable() const {
  quillet::SuitFlags available = SuitPairs();
  const auto hc = ClassAt(editedCell_);
  for (int k = 0; hc && k < 16; ++k) {
    const CardMask pair = quillet::CardBit(quillet::MakeCardIndex(hc->high, k / 4)) |
                          quillet::CardBit(quillet::MakeCardIndex(hc->low, k % 4));
    available[k] = available[k] && !(pair & known_);
  }
  return available;
}

quillet::SuitFlags CFerroxDoc::SuitSelected() const {
  quillet::SuitFlags selected{};
  const auto hc = ClassAt(editedCell_);
  if (!hc) return selected;
  const quillet::SuitFlags pairs = SuitPairs();
  for (int k = 0; k < 16; ++k)
    selected[k] = pairs[k] && shown_.contains(quillet::MakeCardIndex(hc->high, k / 4),
                                              quillet::MakeCardIndex(hc->low, k % 4));
  return selected;
}

bool CFerroxDoc::ToggleSuit(int flag) {
  const auto hc = ClassAt(editedCell_);
  if (!hc || flag < 0 || flag >= 16 || !SuitAvailable()[flag]) return false;
  quillet::SuitFlags flags = SuitSelected();
  flags[flag] = !flags[flag];
  const Spec whole = WholeClass(*hc);
  // The class's combinations hidden by known cards stay as they were.
  Spec rebuilt = quillet::SpecBySuitMatrix(hc->kind, hc->high, hc->low, flags);
  rebuilt.AddAll(Minus(Intersection(state_.range, whole), Free(whole)));
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
  if (high > s.bandHigh) s.range.AddAll(Free(Minus(Minus(now, before), Top(s.bandLow, parser))));
  else s.range.Remove(Minus(before, now));
  s.bandHigh = high;
}

void CFerroxDoc::MoveLow(RangeSnapshot& s, double low, const RangeParser& parser) const {
  if (low == s.bandLow) return;
  const Spec now = Top(low, parser), before = Top(s.bandLow, parser);
  if (low > s.bandLow) s.range.Remove(Minus(now, before));
  else s.range.AddAll(Free(Intersection(Minus(before, now), Top(s.bandHigh, parser))));
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

bool CFerroxDoc::Undo() { return Step(&RangeHistory::Undo); }

bool CFerroxDoc::Redo() { return Step(&RangeHistory::Redo); }

bool CFerroxDoc::Step(bool (RangeHistory::*move)(RangeSnapshot&)) {
  const RangeSnapshot before = state_;
  if (!(history_.*move)(state_)) return false;
  const Spec shownBefore = shown_;
  UpdateShown();
  edited_ = true;
  Announce(before, shownBefore, true);
  return true;
}

BoardStatistics CFerroxDoc::Statistics(const std::vector<CardIndex>& board, quillet::Rules rules) const {
  return CountBoardStatistics(shown_, board, rules);
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
