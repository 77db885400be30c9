#pragma once
// A folder of percent rankings: range texts and their parsed ranges by percent, and the
// ranges in between, interpolated so any percent gives a range of about that size.

#include <map>
#include <string>
#include <vector>

#include "quillet/Spec.h"

namespace quillet {

class CUserFolder {
 public:
  // Filled by the caller: percent -> range text, percent -> parsed range.
  std::map<double, std::wstring>& Texts() { return texts_; }
  const std::map<double, std::wstring>& Texts() const { return texts_; }
  std::map<double, Spec>& Specs() { return specs_; }
  const std::map<double, Spec>& Specs() const { return specs_; }

  // Prepares RangeAt from Specs(); call again after changing them.
  void MakeInterpolation6Plus();
  bool Interpolated() const { return interpolated_; }

  // The range for a percent of all starting hands. At a stored percent exactly that
  // ranking; between two, the lower plus the first part of what the upper adds to it (in
  // the upper's combination order), sized linearly in the percent; below the first a
  // prefix of the first; above the last the last. Empty without rankings or before
  // MakeInterpolation6Plus.
  Spec RangeAt(double percent) const;

 private:
  // From lowPercent (exclusive) up to highPercent: base plus the first part of added.
  struct Segment {
    double lowPercent = 0;
    double highPercent = 0;
    Spec base;
    std::vector<Combo> added;
  };

  std::map<double, std::wstring> texts_;
  std::map<double, Spec> specs_;
  std::vector<Segment> segments_;
  bool interpolated_ = false;
};

}  // namespace quillet
