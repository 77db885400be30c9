#pragma once
// Undo and redo of a range document: whole snapshots, small enough (a range is at most 630
// combinations) to keep a hundred of them. QUndoStack lives in Qt Gui since Qt 6; the
// model stays Qt Core only.

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "quillet/Spec.h"

namespace ferrox {

// Everything an edit of a range document can change.
struct RangeSnapshot {
  quillet::Spec range;
  bool hasRange = false;
  std::wstring text;
  double bandLow = 0;
  double bandHigh = 0;
  bool bandStarted = false;
};

class RangeHistory {
 public:
  // Kinds of steps: consecutive band moves merge into one step, as a slider drag is one edit.
  enum class Step { Edit, Band };

  explicit RangeHistory(std::size_t limit = 100) : limit_(limit) {}

  // Records the state before a step; clears what could be redone.
  void Record(RangeSnapshot before, Step step);
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // Exchanges current for the state to go back (or forward) to; false when there is none.
  bool Undo(RangeSnapshot& current);
  bool Redo(RangeSnapshot& current);
  void Clear();

 private:
  std::deque<RangeSnapshot> undo_;
  std::vector<RangeSnapshot> redo_;
  std::size_t limit_;
  bool lastWasBand_ = false;
};

}  // namespace ferrox
