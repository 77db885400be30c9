#include "engine/StreetEvaluation.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "quillet/Cards.h"
#include "quillet/Equity.h"
#include "quillet/EquityProblem.h"
#include "quillet/Parallel.h"
#include "quillet/PreflopTables.h"

namespace ferrox {
namespace {

using quillet::Spec;

// Below this much exact work handing it to another thread costs more than the street itself.
constexpr double kInlineSeconds = 100e-6;

struct StreetInput {
  const Spec* hero;
  std::vector<Spec> opponents;  // non-empty ranges, in opponent order
  uint64_t board;
  uint64_t dead;
  StreetSettings settings;
  bool enumerate;
  Progress* progress;
  bool precise = false;  // sampling in place of an exact count: on past the runs
  SamplingBudget::Clock::time_point start{};  // of the evaluation, on the fallback's clock
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

// What the sampled cells shown hold: the fewest and most games of their streets, the
// largest standard error.
struct SampledCells {
  bool any = false;
  int64_t fewest = 0;
  int64_t most = 0;
  double largestError = 0;
};

SampledCells SampledCellsOf(const StreetEvaluation& evaluation) {
  SampledCells cells;
  for (const StreetTask& task : evaluation.tasks)
    for (int column = 0; column <= task.opponentCount && column < 6; ++column) {
      if (!SampledEquity(task, StreetCellText(task, column))) continue;
      cells.fewest = cells.any ? std::min(cells.fewest, task.games) : task.games;
      cells.most = std::max(cells.most, task.games);
      cells.any = true;
      cells.largestError = std::max(cells.largestError, task.standardError[static_cast<std::size_t>(column)]);
    }
  return cells;
}

// "10,000 games, standard error up to 0.44%"; "812,000 to 901,000 games, ..." when the
// streets played different numbers.
std::wstring SampledText(const SampledCells& cells) {
  std::wstring games = GroupedCount(cells.most);
  if (cells.fewest != cells.most) games = GroupedCount(cells.fewest) + L" to " + games;
  return games + Printf(" games, standard error up to %.2lf%%", cells.largestError * 100.0);
}

// A street weighs its runs: a sampled one has counted as it went, an exact one counts
// whole once done.
void CountStreetDone(const StreetInput& in, uint64_t counted) {
  if (!in.progress) return;
  const int64_t rest = in.settings.runs - static_cast<int64_t>(counted);
  in.progress->AddDone(static_cast<uint64_t>(std::max<int64_t>(0, rest)));
}

const std::atomic<bool>* StopFlag(const StreetInput& in) {
  return in.progress ? in.progress->StopFlag() : nullptr;
}

quillet::EquityProblem ProblemOf(const Spec& hero, const std::vector<Spec>& opponents, uint64_t board,
                                 uint64_t dead, int target) {
  quillet::EquityProblem problem;
  problem.AddPlayer(hero);
  for (const Spec& opponent : opponents) problem.AddPlayer(opponent);
  problem.board = board;
  problem.dead = dead;
  problem.target = target;
  return problem;
}

quillet::EquityProblem ProblemOf(const StreetInput& in, int target) {
  quillet::EquityProblem problem = ProblemOf(*in.hero, in.opponents, in.board, in.dead, target);
  problem.rules = in.settings.rules;
  problem.stop = StopFlag(in);
  return problem;
}

// The games counted and each opponent's equity; returns the hero's, kNoEquity when no game
// was counted.
double Report(const quillet::EquityCounts& counts, StreetTask& task, int64_t& games) {
  games = static_cast<int64_t>(counts.games());
  if (games == 0) return quillet::kNoEquity;
  for (int p = 1; p < counts.players(); ++p) task.opponentEquity[static_cast<std::size_t>(p - 1)] = counts.Equity(p);
  return counts.Equity(0);
}

// Every deal and board of the street, counted.
double Count(StreetTask& task, const StreetInput& in, int target, int64_t& games) {
  quillet::EquityProblem problem = ProblemOf(in, target);
  games = 0;
  if (!problem.Prepare()) return quillet::kNoEquity;
  return Report(quillet::EnumerateEquity(problem), task, games);
}

// `wanted` games, or in place of an exact count at least that many and on to the
// fallback's target; counted: the units of progress counted meanwhile.
quillet::EquityCounts Play(StreetTask& task, const StreetInput& in, const quillet::EquityProblem& problem,
                           uint64_t wanted, uint64_t seed, uint64_t& counted) {
  if (!in.precise) {
    quillet::EquityCounts counts = quillet::SampleEquity(problem, wanted, seed, in.progress);
    counted = counts.games();
    return counts;
  }
  PreciseSample sample = SampleToPrecision(problem, wanted, seed, in.settings.fallback, in.start, in.progress);
  task.reachedTarget = sample.reachedTarget;
  counted = sample.units;
  return std::move(sample.counts);
}

// Monte-Carlo; games: the run count on entry, the games played on return. Fills every
// standard error too.
double Sample(StreetTask& task, const StreetInput& in, int target, uint64_t seed, int64_t& games,
              uint64_t& counted) {
  quillet::EquityProblem problem = ProblemOf(in, target);
  const int64_t wanted = in.settings.runs > 0 ? in.settings.runs : games;
  games = 0;
  if (wanted <= 0 || !problem.Prepare()) return quillet::kNoEquity;
  const quillet::EquityCounts counts = Play(task, in, problem, static_cast<uint64_t>(wanted), seed, counted);
  for (int p = 0; p < counts.players(); ++p) task.standardError[static_cast<std::size_t>(p)] = counts.StandardError(p);
  return Report(counts, task, games);
}

// Heads-up preflop without dead cards, from the tables (loaded on first use).
double Tally(const StreetInput& in, int target, int64_t& games) {
  games = 0;
  if (!quillet::fsm5::load_2(target, in.settings.rules, 0)) return quillet::kNoEquity;
  const quillet::PreflopTally tally = quillet::TallyPreflop(*in.hero, in.opponents[0], target, in.settings.rules);
  games = static_cast<int64_t>(tally.boards);
  return tally.pairs ? tally.Equity() : quillet::kNoEquity;
}

// Heads-up preflop without dead cards: the preflop tables answer every street.
bool FromTables(uint64_t board, const std::vector<Spec>& opponents, uint64_t dead) {
  return board == 0 && opponents.size() == 1 && dead == 0;
}

// One hand against one range is cheap to count exactly, even when sampling was asked for.
bool OneHandAgainstOneRange(const StreetInput& in) {
  return in.settings.rules == quillet::kRulesStandard && in.opponents.size() == 1 && in.hero->size() == 1 && in.dead == 0;
}

void RunStreet(StreetTask& task, const StreetInput& in) {
  if (in.progress && in.progress->StopRequested()) return;  // asked before this street began
  const int target = task.boardSize;
  const uint64_t seed = in.settings.seed ? in.settings.seed + static_cast<uint64_t>(target) : 0;
  int64_t games = task.games;
  uint64_t counted = 0;  // units of progress
  double hero;
  bool headsUp = true;  // the opponent has what the hero has not
  bool sampled = false;
  if (FromTables(in.board, in.opponents, in.dead)) {
    hero = Tally(in, target, games);
  } else if (in.enumerate || OneHandAgainstOneRange(in)) {
    headsUp = !in.enumerate;
    hero = Count(task, in, target, games);
  } else {
    headsUp = false;
    sampled = true;
    hero = Sample(task, in, target, seed, games, counted);
  }
  if (in.progress && in.progress->StopRequested()) return;  // incomplete counts are no result
  CountStreetDone(in, counted);
  if (headsUp && hero != quillet::kNoEquity) task.opponentEquity[0] = 1.0 - hero;
  task.games = games;
  task.heroEquity = hero;
  task.sampled = sampled;
}

std::vector<Spec> NonEmptyOpponents(const std::array<Spec, 6>& specs) {
  std::vector<Spec> opponents;
  for (int i = 1; i < 6; ++i)
    if (!specs[i].empty()) opponents.push_back(specs[i]);
  return opponents;
}

}  // namespace

double PredictStreetSeconds(const std::array<Spec, 6>& specs, const std::vector<CardIndex>& board,
                            uint64_t deadMask) {
  const std::vector<Spec> opponents = NonEmptyOpponents(specs);
  const uint64_t boardMask = quillet::VecToInt64(board);
  if (specs[0].empty() || opponents.empty() || FromTables(boardMask, opponents, deadMask)) return 0;
  double seconds = 0;
  for (int target = 5; target >= std::max<int>(3, static_cast<int>(board.size())); --target) {
    quillet::EquityProblem problem = ProblemOf(specs[0], opponents, boardMask, deadMask, target);
    if (problem.Prepare()) seconds += quillet::PredictEnumerationSeconds(problem);
  }
  return seconds;
}

StreetEvaluation EvaluateStreets(const std::array<Spec, 6>& specs, const RequestData& request,
                                 const std::vector<CardIndex>& board, const StreetSettings& settings,
                                 const std::function<void()>& meanwhile, Progress* progress) {
  const auto start = std::chrono::steady_clock::now();
  StreetEvaluation result;
  for (int i = 0; i < 3; ++i) result.tasks[i] = {5 - i, request.opponentCount, settings.runs, kNotComputed, {}};

  StreetInput input{&specs[0], NonEmptyOpponents(specs), quillet::VecToInt64(board), request.deadMask, settings,
                    settings.enumerate, progress};
  if (settings.enumerate) {
    result.predictedSeconds = settings.predictedSeconds >= 0 ? settings.predictedSeconds
                                                             : PredictStreetSeconds(specs, board, request.deadMask);
    if (!settings.forceExact && result.predictedSeconds > kEnumerationSecondsLimit) {
      input.enumerate = false;
      input.precise = true;
      input.start = settings.fallback.Now();
      result.switchedToMonteCarlo = true;
      result.fallbackStandardError = settings.fallback.standardError;
      result.fallbackSeconds = settings.fallback.seconds;
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
  const SampledCells cells = SampledCellsOf(evaluation);
  return cells.any ? L"Monte-Carlo, " + SampledText(cells) : L"";
}

bool FallbackReachedTarget(const StreetEvaluation& evaluation) {
  return std::ranges::all_of(evaluation.tasks, [](const StreetTask& task) {
    return !task.sampled || task.games == 0 || task.reachedTarget;
  });
}

std::wstring FallbackOutputLine(const StreetEvaluation& evaluation) {
  const SampledCells cells = SampledCellsOf(evaluation);
  if (!evaluation.switchedToMonteCarlo || !cells.any) return L"";
  return Printf("Monte-Carlo until standard error under %.2lf%% or %g s: ", evaluation.fallbackStandardError * 100.0,
                evaluation.fallbackSeconds) +
         SampledText(cells) + (FallbackReachedTarget(evaluation) ? L", target reached\n" : L", time limit reached\n");
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
