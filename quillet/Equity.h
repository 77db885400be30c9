#pragma once
// The equity routines. "Target" is the board size the board is completed to (3 flop,
// 4 turn, 5 river); each player is judged on hole cards plus that board and a k-way tie
// gives each 1/k. Over ranges, every deal of disjoint hands avoiding the board and the
// dead cards counts once.
//
// All return the hero's equity as a fraction, or kNoEquity when nothing could be counted
// (no valid deal, a board past the target, missing tables).

#include <atomic>
#include <cstdint>

#include "quillet/Spec.h"

namespace quillet {

inline constexpr double kNoEquity = -100.0;

// Exact. games receives the number of deals x boards counted; runs is not used.
// stop, when given and set by another thread, ends any of these four early with
// incomplete counts: the caller discards the result.
double getProbabilityOfWinHoldem6PlusEnumerate(const Spec& hero, const int* board, int boardCount,
                                               int target, const Spec* opponents, int opponentCount,
                                               const int* dead, int deadCount, double* opponentEquity,
                                               int64_t& games, int runs,
                                               const std::atomic<bool>* stop = nullptr);
double getProbabilityOfWinHoldem6PlusChinaEnumerate(const Spec& hero, const int* board, int boardCount,
                                                    int target, const Spec* opponents, int opponentCount,
                                                    const int* dead, int deadCount,
                                                    double* opponentEquity, int64_t& games, int runs,
                                                    const std::atomic<bool>* stop = nullptr);

// Monte-Carlo: plays `runs` games (games on entry when runs is not positive); games
// receives the number played. seed 0 seeds from the clock. played, when given, grows by
// the games played while they are played. standardErrors, when given, receives the
// standard error of each equity, the hero's first, then each opponent's.
double getProbabilityOfWinHoldem6PlusCommon(const Spec& hero, const int* board, int boardCount,
                                            int target, const Spec* opponents, int opponentCount,
                                            const int* dead, int deadCount, double* opponentEquity,
                                            int64_t& games, int runs, uint64_t seed = 0,
                                            std::atomic<uint64_t>* played = nullptr,
                                            const std::atomic<bool>* stop = nullptr,
                                            double* standardErrors = nullptr);
double getProbabilityOfWinHoldem6PlusChinaCommon(const Spec& hero, const int* board, int boardCount,
                                                 int target, const Spec* opponents, int opponentCount,
                                                 const int* dead, int deadCount, double* opponentEquity,
                                                 int64_t& games, int runs, uint64_t seed = 0,
                                                 std::atomic<uint64_t>* played = nullptr,
                                                 const std::atomic<bool>* stop = nullptr,
                                                 double* standardErrors = nullptr);

// One hero hand against a range, exact, standard rules: to the river, turn and flop.
// games, when given, receives the number of deals x boards counted.
double getProbabilityOfWinBySpectr6Plus(const int hero[2], const int* board, int boardCount,
                                        const Spec& opponent, int64_t* games = nullptr);
double getProbabilityOfWinBySpectrToTurn6Plus(const int hero[2], const int* board, int boardCount,
                                              const Spec& opponent, int64_t* games = nullptr);
double getProbabilityOfWinBySpectrToFlop6Plus(const int hero[2], const int* board, int boardCount,
                                              const Spec& opponent, int64_t* games = nullptr);

// Heads-up without a board, from the preflop tables (rules 0 or 1).
double getProbabilityOfWinBySpectrWithNoBoard6Plus(const int hero[2], const Spec& opponent, int target,
                                                   int rules, int64_t* games = nullptr);
double getEquityRangeVsRangeWithNoBoard6Plus(const Spec& hero, const Spec& opponent, int target, int rules,
                                             int64_t* games = nullptr);

}  // namespace quillet
