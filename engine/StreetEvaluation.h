#pragma once
// The street evaluation: each player's equity on the river, the turn and the flop, the
// three streets computed in parallel, exactly or by Monte-Carlo.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/Cards.h"
#include "engine/PreciseSampling.h"
#include "engine/Progress.h"
#include "engine/RequestValidation.h"
#include "quillet/Spec.h"

namespace ferrox {

inline constexpr double kNotComputed = -100.0;
// Exact work longer than this (all streets together, predicted) gives way to Monte-Carlo.
inline constexpr double kEnumerationSecondsLimit = 2.0;
inline constexpr const wchar_t* kMonteCarloNotice =
    L"Calculation time will be very long! Monte-Carlo option will be used!\n";
inline constexpr int kMinRuns = 1'000;
inline constexpr int kMaxRuns = 1'000'000'000;

struct StreetTask {
  int boardSize = 5;  // 5 river, 4 turn, 3 flop
  int opponentCount = 0;
  int64_t games = 0;  // run count on entry, games counted on return
  double heroEquity = kNotComputed;
  std::array<double, 5> opponentEquity{};
  // Standard error of each equity, hero first; 0 for a street counted exactly.
  std::array<double, 6> standardError{};
  bool sampled = false;  // by Monte-Carlo
  bool reachedTarget = false;  // sampled in a fallback until every standard error was under its target
};

struct StreetSettings {
  bool enumerate = true;
  int runs = 10'000;
  quillet::Rules rules = quillet::kRulesStandard;
  uint64_t seed = 0;  // 0: from the clock
  bool forceExact = false;  // enumerate whatever the predicted time
  double predictedSeconds = -1;  // PredictStreetSeconds of the request when known, else -1
  SamplingBudget fallback{};  // how long and how closely a fallback to Monte-Carlo samples
};

struct StreetEvaluation {
  std::array<StreetTask, 3> tasks;  // river, turn, flop
  bool switchedToMonteCarlo = false;
  // When switched: the standard error and the seconds the sampling went on for.
  double fallbackStandardError = 0;
  double fallbackSeconds = 0;
  double predictedSeconds = 0;  // of exact work, when enumeration was asked for
  double elapsedMs = 0;
};

// Seconds the exact evaluation of every street the board has not passed is expected to take;
// streets answered from the preflop tables cost nothing.
double PredictStreetSeconds(const std::array<quillet::Spec, 6>& specs, const std::vector<CardIndex>& board,
                            uint64_t deadMask);

// Runs the streets the board has not passed on worker threads, with the ranges and cards of
// a validated request; `meanwhile` runs on the calling thread while the workers do.
// Above kEnumerationSecondsLimit exact enumeration gives way to Monte-Carlo for this run,
// which plays at least `runs` games a street and goes on as settings.fallback allows.
// progress, when given, expects `runs` units per street: sampled streets count as they go,
// exact ones count whole when done. A stop asked through progress ends the
// work early; the incomplete result is the caller's to discard.
StreetEvaluation EvaluateStreets(const std::array<quillet::Spec, 6>& specs, const RequestData& request,
                                 const std::vector<CardIndex>& board, const StreetSettings& settings,
                                 const std::function<void()>& meanwhile = {}, Progress* progress = nullptr);

// Text of one result cell: column 0 the hero, 1..5 the opponents. "%.2lf%%", "none" for
// a street not computed, "" for an opponent beyond the opponent count.
std::wstring StreetCellText(const StreetTask& task, int column);
// Marks the value of a sampled cell: "≈54.08%".
inline constexpr const wchar_t* kSampledMark = L"\u2248";
// What a result cell shows: StreetCellText, after kSampledMark when the street was sampled.
std::wstring StreetCellShownText(const StreetTask& task, int column);
// The line under the results when a street was sampled: "Monte-Carlo, 10,000 games, standard
// error up to 0.44%", with the games of the run ("812,000 to 901,000" when the streets
// played different numbers) and the largest standard error of the cells shown; empty when
// every street was counted exactly.
std::wstring SamplingLine(const StreetEvaluation& evaluation);
// Tooltip of a result cell: how the equity was found and, for a sampled one, its standard
// error; empty where the cell holds no equity.
std::wstring StreetCellToolTip(const StreetTask& task, int column);
// "%ld river games time = %.3lf sec. River equity = %.2lf%%\n"; when no river game could
// be dealt, "0 river games time = %.3lf sec. No deal is possible.\n".
std::wstring StreetOutputLine(const StreetEvaluation& evaluation);
// The Output pane's line after a fallback to Monte-Carlo: "Monte-Carlo until standard error
// under 0.10% or 2 s: 196,608 games, standard error up to 0.10%, target reached\n", or
// ", time limit reached\n"; empty without a fallback or a sampled street.
std::wstring FallbackOutputLine(const StreetEvaluation& evaluation);
// After a fallback: every sampled street got under the standard error aimed at in time.
bool FallbackReachedTarget(const StreetEvaluation& evaluation);
// "%.2lf%%" of a fraction.
std::wstring PercentText(double fraction);

}  // namespace ferrox
