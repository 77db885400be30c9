// Range texts under both rule sets and their orderings: what is parsed is a set of real
// short-deck hands, and its canonical text parses back to the same hands.
#include <cstdio>
#include <cstdlib>

#include "core/Orderings.h"
#include "core/RangeParser.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace ferrox;
using quillet::Spec;

void CheckHands(const Spec& spec) {
  for (const auto& [first, second] : spec.combos()) {
    FUZZ_CHECK(quillet::IsDeckCard(first) && quillet::IsDeckCard(second));
    FUZZ_CHECK(first != second);
    FUZZ_CHECK(quillet::MakeCombo(first, second) == quillet::Combo(first, second));
  }
}

void CheckParse(const RangeParser& parser, const RangeParser& other, const std::wstring& text) {
  Spec spec;
  const int result = parser.ParseRange(text, spec);
  FUZZ_CHECK(result == kParseRejected || result == kParseOk || result == kParseHeatmap);
  CheckHands(spec);
  const bool heatmapText = !text.empty() && (text[0] == L't' || text[0] == L'h');
  FUZZ_CHECK((result == kParseHeatmap) == heatmapText);
  if (result == kParseHeatmap) FUZZ_CHECK(spec.empty());

  // What the range held before is gone, and the same text gives the same hands.
  Spec again;
  again.AddPair(quillet::kAceRank);
  again.AddSuit(quillet::kLowestRank, quillet::kLowestRank + 1);
  FUZZ_CHECK(parser.ParseRange(text, again) == result);
  FUZZ_CHECK(again.combos() == spec.combos());
  if (result != kParseOk) return;

  const std::wstring canonical = spec.MakeString6Plus();
  Spec back;
  const int backResult = parser.ParseRange(canonical, back);
  FUZZ_CHECK(back.combos() == spec.combos());
  FUZZ_CHECK(backResult == (spec.empty() ? kParseRejected : kParseOk));
  // A canonical text holds no percent form, so the rule set does not matter.
  Spec otherBack;
  other.ParseRange(canonical, otherBack);
  FUZZ_CHECK(otherBack.combos() == spec.combos());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const fuzz::Parsers& parsers = fuzz::ShippedParsers("fuzz_range_parser");
  fuzz::Bytes bytes(data, size);
  const int mode = bytes.Byte();
  const std::wstring text = fuzz::WideOf(bytes.Rest(), mode);
  CheckParse(parsers.standard, parsers.straightBeatsSet, text);
  CheckParse(parsers.straightBeatsSet, parsers.standard, text);
  return 0;
}
