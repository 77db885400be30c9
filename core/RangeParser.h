#pragma once
// The range notation: "AKs", "77+", "KQo-K9o", "99-66", "AsKh", "20%", "r" (every hand).
// Texts beginning with a lower-case "t" or "h" are heatmap requests, not ranges.

#include <string>
#include <vector>

#include "core/Cards.h"
#include "quillet/Spec.h"

namespace ferrox {

enum ParseResult : int { kParseRejected = 0, kParseOk = 1, kParseHeatmap = 2 };

// The two orderings from which percent ranges are cut, one per rule set.
struct OrderingRanges {
  quillet::Spec standard;
  quillet::Spec straightBeatsSet;
};

class RangeParser {
 public:
  RangeParser(const OrderingRanges& orderings, RuleSet rules)
      : orderings_(&orderings), rules_(rules) {}

  void SetRules(RuleSet rules) { rules_ = rules; }
  RuleSet Rules() const { return rules_; }

  // Empties spec, then fills it from text. Returns a ParseResult; on rejection spec keeps
  // what the tokens before the failing one added. notUnderstood, when given, receives the
  // tokens skipped as unknown and the one that made the text rejected, in text order.
  int ParseRange(const std::wstring& text, quillet::Spec& spec,
                 std::vector<std::wstring>* notUnderstood = nullptr) const;
  // Top percent of the current rule set's ordering (101: every hand) and its range text.
  void ResolvePercent(double percent, quillet::Spec& spec, std::wstring& outText) const;

 private:
  const quillet::Spec& Ordering() const;

  const OrderingRanges* orderings_;
  RuleSet rules_;
};

}  // namespace ferrox
