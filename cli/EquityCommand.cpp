#include "cli/EquityCommand.h"

#include <iostream>

#include "cli/CliSupport.h"
#include "cli/ProgressLine.h"
#include "engine/PreflopTableLoading.h"
#include "core/WideText.h"

namespace ferrox::cli {
namespace {

constexpr const char* kStreetNames[3] = {"river", "turn", "flop"};

Json StreetJson(const StreetTask& task) {
  if (StreetCellText(task, 0) == L"none") return nullptr;
  Json ops = Json::array(), opsError = Json::array();
  for (int i = 0; i < task.opponentCount; ++i) {
    ops.push_back(task.opponentEquity[i]);
    opsError.push_back(task.standardError[i + 1]);
  }
  // hero_se, ops_se: standard errors of the equities, 0 when counted exactly.
  return Json{{"hero", task.heroEquity}, {"ops", ops}, {"games", task.games},
              {"hero_se", task.standardError[0]}, {"ops_se", opsError}};
}

void PrintTable(const StreetEvaluation& result) {
  std::cout << "       " << "Hero    ";
  for (int i = 1; i <= result.tasks[0].opponentCount; ++i) std::cout << " Op" << i << "     ";
  std::cout << '\n';
  const char* rows[3] = {"River  ", "Turn   ", "Flop   "};
  for (int s = 0; s < 3; ++s) {
    std::cout << rows[s];
    for (int c = 0; c <= result.tasks[s].opponentCount; ++c) {
      std::string cell = ToUtf8(StreetCellText(result.tasks[s], c));
      cell.resize(9, ' ');
      std::cout << cell;
    }
    std::cout << '\n';
  }
  std::cout << ToUtf8(StreetOutputLine(result)) << ToUtf8(FallbackOutputLine(result));
}

// null without a fallback to Monte-Carlo; the streets' games and standard errors are theirs.
Json FallbackJson(const StreetEvaluation& result) {
  if (!result.switchedToMonteCarlo) return nullptr;
  return Json{{"target_se", result.fallbackStandardError},
              {"limit_s", result.fallbackSeconds},
              {"stopped_by", FallbackReachedTarget(result) ? "target" : "time"}};
}

}  // namespace

EquityCommand::EquityCommand(CLI::App& app) {
  command_ = app.add_subcommand("equity", "Equity of each player on river, turn and flop");
  options_.AddTo(command_, true);
}

int EquityCommand::Run() const {
  HandsInput hands;
  RequestData request;
  int exitCode = kExitOk;
  if (!options_.Validate(hands, request, exitCode)) return exitCode;
  bool tables = true;
  StreetEvaluation result;
  std::string error;
  const RunOutcome outcome = RunWithProgress("equity", [&](Progress& progress) {
    tables = !options_.Board().empty() || LoadPreflopTables() != 0;
    if (tables) result = EvaluateStreets(hands.specs, request, options_.Board(), options_.Settings(), {}, &progress);
  }, &error);
  if (outcome != RunOutcome::Done) return ReportOutcome(outcome, error);
  if (!tables) return Fail("Cannot load the preflop tables");
  if (result.switchedToMonteCarlo && !options_.json) std::cerr << ToUtf8(kMonteCarloNotice);
  if (!options_.json) {
    PrintTable(result);
    return kExitOk;
  }
  Json streets = Json::object();
  for (int s = 0; s < 3; ++s) streets[kStreetNames[s]] = StreetJson(result.tasks[s]);
  std::string notice = result.switchedToMonteCarlo ? ToUtf8(kMonteCarloNotice) : "";
  if (!notice.empty() && notice.back() == '\n') notice.pop_back();
  Print(Json{{"streets", streets}, {"notice", notice}, {"ms", result.elapsedMs}, {"fallback", FallbackJson(result)}});
  return kExitOk;
}

}  // namespace ferrox::cli
