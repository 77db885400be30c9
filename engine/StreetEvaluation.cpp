#include "engine/StreetEvaluation.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "quillet/Equity.h"
#include "quillet/EquityProblem.h"
#include "quillet/HandValue.h"
#include "quillet/Parallel.h"

namespace ferrox {
namespace {

using quillet::Spec;

// Below this much exact work handing it to another thread costs more than the street itself.
constexpr double kInlineSeconds = 100e-6;

struct StreetInput {
  const Spec* hero;
  std::vector<Spec> opponents;  // non-empty ranges, in opponent order
  std::vector<int> board;
  std::vector<int> dead;
  StreetSettings settings;
  bool enumerate;
  Progress* progress;
};

std::wstring Printf(const char* format, auto... args) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return std::wstring(buffer, buffer + std::char_traits<char>::length(buffer));
}

// 10000 as "10,000".
std::wstring GroupedCount(int64_t count) {
  std::wstring digits = std::to_wstring(count);
  for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > (digits.front() == L'-' ? 1 : 0); at -= 3)
    digits.insert(static_cast<std::size_t>(at), L",");
  return digits;
}

// A cell that shows an equity found by sampling; text: the cell's StreetCellText.
bool SampledEquity(const StreetTask& task, const std::wstring& text) {
  return task.sampled && !text.empty() && text != L"none";
}

// A street weighs its runs: a sampled one has counted each game it played, an exact one
// counts whole once done.
void CountStreetDone(const StreetInput& in, bool sampled, int64_t played) {
  if (!in.progress) return;
  const int64_t rest = in.settings.runs - (sampled ? played : 0);
  in.progress->AddDone(static_cast<uint64_t>(std::max<int64_t>(0, rest)));
}

const std::atomic<bool>* StopFlag(const StreetInput& in) {
  return in.progress ? in.progress->StopFlag() : nullptr;
}

// Monte-Carlo over the street's problem; games: the run count on entry, the games played
// on return. Fills the opponents' equities and every standard error.
double Sample(StreetTask& task, const StreetInput& in, int target, uint64_t seed, int64_t& games) {
  quillet::EquityProblem problem;
  problem.AddPlayer(*in.hero);
  for (const Spec& opponent : in.opponents) problem.AddPlayer(opponent);
  for (int card : in.board) problem.board |= quillet::CardBit(card);
  for (int card : in.dead) problem.dead |= quillet::CardBit(card);
  problem.target = target;
  problem.rules = in.settings.rules == RuleSet::StraightBeatsSet ? 1 : 0;
  problem.stop = StopFlag(in);
  const int64_t wanted = in.settings.runs > 0 ? in.settings.runs : games;
  games = 0;
  if (wanted <= 0 || !problem.Prepare()) return quillet::kNoEquity;
  const quillet::EquityCounts counts = quillet::SampleEquity(problem, static_cast<uint64_t>(wanted), seed, in.progress);
  for (std::size_t p = 0; p < problem.players.size(); ++p) task.standardError[p] = counts.StandardError(static_cast<int>(p));
  games = static_cast<int64_t>(counts.games());
  if (games == 0) return quillet::kNoEquity;
  for (std::size_t i = 1; i < problem.players.size(); ++i) task.opponentEquity[i - 1] = counts.Equity(static_cast<int>(i));
  return counts.Equity(0);
}

void RunStreet(StreetTask& task, const StreetInput& in) {
  if (in.progress && in.progress->StopRequested()) return;  // asked before this street began
  const int n = task.boardSize;
  const int rules = in.settings.rules == RuleSet::StraightBeatsSet ? 1 : 0;
  const int opps = static_cast<int>(in.opponents.size());
  const bool singleHand = in.hero->size() == 1;
  int hand[2] = {-1, -1};
  if (singleHand) hand[0] = in.hero->combos().begin()->first, hand[1] = in.hero->combos().begin()->second;
  const int boardCount = static_cast<int>(in.board.size());
  const int deadCount = static_cast<int>(in.dead.size());
  const uint64_t seed = in.settings.seed ? in.settings.seed + static_cast<uint64_t>(n) : 0;
  int64_t games = task.games;
  double hero;
  bool headsUpResult = false;
  bool sampledGames = false;

  if (boardCount == 0 && opps == 1 && deadCount == 0) {
    hero = singleHand ? quillet::getProbabilityOfWinBySpectrWithNoBoard6Plus(hand, in.opponents[0], n, rules, &games)
                      : quillet::getEquityRangeVsRangeWithNoBoard6Plus(*in.hero, in.opponents[0], n, rules, &games);
    headsUpResult = true;
  } else if (rules == 0 && !in.enumerate && opps == 1 && singleHand && deadCount == 0) {
    // One hand against one range is cheap to count exactly.
    const auto single = n == 5 ? quillet::getProbabilityOfWinBySpectr6Plus
                      : n == 4 ? quillet::getProbabilityOfWinBySpectrToTurn6Plus
                               : quillet::getProbabilityOfWinBySpectrToFlop6Plus;
    hero = single(hand, in.board.data(), boardCount, in.opponents[0], &games);
    headsUpResult = true;
  } else {
    const auto routine = in.enumerate ? (rules ? quillet::getProbabilityOfWinHoldem6PlusChinaEnumerate
                                               : quillet::getProbabilityOfWinHoldem6PlusEnumerate)
                                      : nullptr;
    if (routine) {
      hero = routine(*in.hero, in.board.data(), boardCount, n, in.opponents.data(), opps, in.dead.data(),
                     deadCount, task.opponentEquity.data(), games, in.settings.runs, StopFlag(in));
    } else {
      hero = Sample(task, in, n, seed, games);
      sampledGames = true;
    }
  }
  if (in.progress && in.progress->StopRequested()) return;  // incomplete counts are no result
  CountStreetDone(in, sampledGames, games);
  if (headsUpResult && hero != quillet::kNoEquity) task.opponentEquity[0] = 1.0 - hero;
  task.games = games;
  task.heroEquity = hero;
  task.sampled = sampledGames;
}

std::vector<Spec> NonEmptyOpponents(const std::array<Spec, 6>& specs) {
  std::vector<Spec> opponents;
  for (int i = 1; i < 6; ++i)
    if (!specs[i].empty()) opponents.push_back(specs[i]);
  return opponents;
}

// Heads-up preflop without dead cards: the preflop tables answer every street.
bool FromTables(const std::vector<int>& board, const std::vector<Spec>& opponents, const std::vector<int>& dead) {
  return board.empty() && opponents.size() == 1 && dead.empty();
}

}  // namespace

double PredictStreetSeconds(const std::array<Spec, 6>& specs, const std::vector<CardIndex>& board,
                            uint64_t deadMask) {
  const std::vector<Spec> opponents = NonEmptyOpponents(specs);
  const std::vector<int> dead = CardsOfMask(deadMask), cards(board.begin(), board.end());
  if (specs[0].empty() || opponents.empty() || FromTables(cards, opponents, dead)) return 0;
  double seconds = 0;
  for (int target = 5; target >= std::max<int>(3, static_cast<int>(cards.size())); --target)
    seconds += quillet::PredictEnumerateSeconds(specs[0], cards.data(), static_cast<int>(cards.size()), target,
                                                opponents.data(), static_cast<int>(opponents.size()), dead.data(),
                                                static_cast<int>(dead.size()));
  return seconds;
}

StreetEvaluation EvaluateStreets(const std::array<Spec, 6>& specs, const RequestData& request,
                                 const std::vector<CardIndex>& board, const StreetSettings& settings,
                                 const std::function<void()>& meanwhile, Progress* progress) {
  const auto start = std::chrono::steady_clock::now();
  StreetEvaluation result;
  for (int i = 0; i < 3; ++i) result.tasks[i] = {5 - i, request.opponentCount, settings.runs, kNotComputed, {}};

  StreetInput input{&specs[0], NonEmptyOpponents(specs), std::vector<int>(board.begin(), board.end()),
                    CardsOfMask(request.deadMask), settings, settings.enumerate, progress};
  if (settings.enumerate) {
    result.predictedSeconds = settings.predictedSeconds >= 0 ? settings.predictedSeconds
                                                             : PredictStreetSeconds(specs, board, request.deadMask);
    if (!settings.forceExact && result.predictedSeconds > kEnumerationSecondsLimit) {
      input.enumerate = false;
      result.switchedToMonteCarlo = true;
    }
  }
  const bool tables = FromTables(input.board, input.opponents, input.dead);
  const bool inline_ = (input.enumerate || tables) && result.predictedSeconds <= kInlineSeconds;

  if (!specs[0].empty()) {
    if (progress)
      for (const StreetTask& task : result.tasks)
        if (task.boardSize >= static_cast<int>(board.size())) progress->AddTotal(static_cast<uint64_t>(settings.runs));
    std::vector<StreetTask*> streets;
    for (StreetTask& task : result.tasks)
      if (task.boardSize >= static_cast<int>(board.size())) streets.push_back(&task);  // else the board is past it
    // Exact streets run one after another, each on every core; sampled ones run side by side,
    // as a sample splits over the cores only when it is long.
    std::vector<std::vector<StreetTask*>> groups;
    if (inline_ || input.enumerate || tables) groups.push_back(streets);
    else
      for (StreetTask* task : streets) groups.push_back({task});
    auto run = [&input](const std::vector<StreetTask*>& group) {
      for (StreetTask* task : group) RunStreet(*task, input);
    };
    if (inline_) {
      for (const auto& group : groups) run(group);
      if (meanwhile) meanwhile();
    } else {
      // The groups, and meanwhile, on this thread and the pool's helpers.
      const int pieces = static_cast<int>(groups.size()) + (meanwhile ? 1 : 0);
      quillet::ParallelFor(pieces, pieces, [&](int piece, int) {
        if (piece < static_cast<int>(groups.size())) run(groups[static_cast<std::size_t>(piece)]);
        else meanwhile();
      });
    }
  } else if (meanwhile) {
    meanwhile();
  }
  result.elapsedMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  return result;
}

std::wstring PercentText(double fraction) { return Printf("%.2lf%%", fraction * 100.0); }

std::wstring StreetCellText(const StreetTask& task, int column) {
  if (column > task.opponentCount) return L"";
  if (task.games == 0 || task.heroEquity <= -10.0) return L"none";
  return PercentText(column == 0 ? task.heroEquity : task.opponentEquity[column - 1]);
}

std::wstring StreetCellShownText(const StreetTask& task, int column) {
  const std::wstring text = StreetCellText(task, column);
  return SampledEquity(task, text) ? kSampledMark + text : text;
}

std::wstring SamplingLine(const StreetEvaluation& evaluation) {
  int64_t games = 0;
  double largestError = 0;
  bool sampled = false;
  for (const StreetTask& task : evaluation.tasks)
    for (int column = 0; column <= task.opponentCount && column < 6; ++column) {
      if (!SampledEquity(task, StreetCellText(task, column))) continue;
      sampled = true;
      games = std::max(games, task.games);
      largestError = std::max(largestError, task.standardError[static_cast<std::size_t>(column)]);
    }
  if (!sampled) return L"";
  return L"Monte-Carlo, " + GroupedCount(games) + Printf(" games, standard error up to %.2lf%%", largestError * 100.0);
}

std::wstring StreetCellToolTip(const StreetTask& task, int column) {
  const std::wstring text = StreetCellText(task, column);
  if (text.empty() || text == L"none") return L"";
  const auto games = static_cast<long long>(task.games);
  if (!task.sampled) return Printf("Exact: %lld games counted", games);
  return Printf("Monte-Carlo: %lld games, standard error %.2lf%%", games,
                task.standardError[static_cast<std::size_t>(column)] * 100.0);
}

std::wstring StreetOutputLine(const StreetEvaluation& evaluation) {
  const StreetTask& river = evaluation.tasks[0];
  if (StreetCellText(river, 0) == L"none")
    return Printf("0 river games time = %.3lf sec. No deal is possible.\n", evaluation.elapsedMs * 0.001);
  return Printf("%ld river games time = %.3lf sec. River equity = %.2lf%%\n", static_cast<long>(river.games),
                evaluation.elapsedMs * 0.001, river.heroEquity * 100.0);
}

}  // namespace ferrox
