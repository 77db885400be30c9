#include "model/RangeHistory.h"

#include <utility>

namespace ferrox {

void RangeHistory::Record(RangeSnapshot before, Step step) {
  const bool band = step == Step::Band;
  redo_.clear();
  if (band && lastWasBand_ && !undo_.empty()) return;  // the drag's first state is kept
  lastWasBand_ = band;
  undo_.push_back(std::move(before));
  if (undo_.size() > limit_) undo_.pop_front();
}

bool RangeHistory::Undo(RangeSnapshot& current) {
  if (undo_.empty()) return false;
  redo_.push_back(std::move(current));
  current = std::move(undo_.back());
  undo_.pop_back();
  lastWasBand_ = false;
  return true;
}

bool RangeHistory::Redo(RangeSnapshot& current) {
  if (redo_.empty()) return false;
  undo_.push_back(std::move(current));
  current = std::move(redo_.back());
  redo_.pop_back();
  lastWasBand_ = false;
  return true;
}

void RangeHistory::Clear() {
  undo_.clear();
  redo_.clear();
  lastWasBand_ = false;
}

}  // namespace ferrox
