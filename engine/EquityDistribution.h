#pragma once
// How the hero's equity is spread over the cards the next street can bring: a histogram
// over deals and the 101 points of its inverse cumulative curve.

#include <array>
#include <cstdint>
#include <string>

#include "engine/Progress.h"
#include "engine/RequestValidation.h"

namespace ferrox {

struct ChartPoint {
  double x = 0;
  double y = 0;
};

struct Distribution {
  std::array<int, 101> histogram{};  // index 100 - trunc(100 x equity), equity capped at 99%
  int deals = 0;
};

inline constexpr int kSampledDeals = 1'000;

// Next-street deals: every flop preflop, every next card on a flop or turn, the board itself
// on the river; with sampling, 1,000 random ones. Cards of the board, the dead cards and
// single-hand ranges are never dealt. With enumeration each deal's equity to the river is
// counted exactly, unless that would take longer than about two seconds and longer than
// sampling each deal; otherwise it comes from the Monte-Carlo engine with `runs` games. A
// deal on which no hands can be dealt is left out. progress, when given, expects `runs`
// units per deal; a stop asked through it ends the work early with fewer deals.
Distribution ComputeDistribution(const RequestData& request, quillet::Rules rules, bool enumerate, int runs,
                                 uint64_t seed = 0, Progress* progress = nullptr);

// 101 points from (0, 100) to (100, 0): each equity level holds its share of the deals.
std::array<ChartPoint, 101> DistributionCurve(const Distribution& distribution);

struct CurveStyle {
  std::wstring name;
  uint32_t colour;  // red in the low byte
};
// "Flop", "Turn" or "River" by the board size when the run starts.
CurveStyle CurveStyleFor(int boardCards);

}  // namespace ferrox
