#pragma once
// The range notation: "AKs", "77+", "KQo-K9o", "99-66", "AsKh", "20%", "r" (every hand).
// Texts beginning with a lower-case "t" or "h" are heatmap requests, not ranges.

#include <string>
#include <vector>

#include "core/Cards.h"
#include "quillet/Spec.h"

namespace ferrox {

enum ParseResult : int { kParseRejected = 0, kParseOk = 1, kParseHeatmap = 2 };

// The two orderings from which percent ranges are cut, one per rule set. An ordering that
// did not load is empty (its file stays named in it) and its problem says why.
struct OrderingRanges {
  quillet::Spec standard;
  quillet::Spec straightBeatsSet;
  std::wstring standardProblem;
  std::wstring straightBeatsSetProblem;
};

class RangeParser {
 public:
  RangeParser(const OrderingRanges& orderings, quillet::Rules rules)
      : orderings_(&orderings), rules_(rules) {}

  void SetRules(quillet::Rules rules) { rules_ = rules; }
  quillet::Rules Rules() const { return rules_; }

  // Empties spec, then fills it from text. Returns a ParseResult; on rejection spec keeps
  // what the tokens before the failing one added. notUnderstood, when given, receives the
  // tokens skipped as unknown and the one that made the text rejected, in text order.
  // A percent range is rejected while the rule set's ordering is empty: it would name no
  // hand for a reason the text does not show.
  int ParseRange(const std::wstring& text, quillet::Spec& spec,
                 std::vector<std::wstring>* notUnderstood = nullptr) const;
  // Top percent of the current rule set's ordering (101: every hand) and its range text.
  void ResolvePercent(double percent, quillet::Spec& spec, std::wstring& outText) const;

  // Whether text is a percent range, cut from the rule set's ordering.
  static bool IsPercentRange(const std::wstring& text);
  // Why text cannot be read with the orderings at hand: "'20%' is cut from the ordering
  // file F, which did not load: why". Empty for any other text, or when the ordering loaded.
  std::wstring OrderingRefusal(const std::wstring& text) const;

 private:
  const quillet::Spec& Ordering() const;
  bool OrderingLoaded() const { return !Ordering().ordering().empty(); }

  const OrderingRanges* orderings_;
  quillet::Rules rules_;
};

}  // namespace ferrox
