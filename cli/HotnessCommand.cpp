#include "cli/HotnessCommand.h"

#include <chrono>
#include <cstdio>

#include "cli/CliSupport.h"
#include "cli/ProgressLine.h"
#include "core/WideText.h"
#include "engine/Hotness.h"

namespace ferrox::cli {
namespace {

Json EntriesJson(const std::vector<HotnessEntry>& entries) {
  Json list = Json::array();
  for (const HotnessEntry& e : entries)
    list.push_back({{"card", ToUtf8(CardNameTable[quillet::kSixPlusDeck[e.card]])}, {"equity", e.equity / 100.0}});
  return list;
}

void PrintEntries(const std::wstring& label, const std::vector<HotnessEntry>& entries) {
  std::printf("%s\n", ToUtf8(label).c_str());
  for (std::size_t i = 0; i < entries.size(); ++i)
    std::printf("%3zu  %s  %.2lf\n", i + 1, ToUtf8(CardNameTable[quillet::kSixPlusDeck[entries[i].card]]).c_str(),
                entries[i].equity);
}

}  // namespace

HotnessCommand::HotnessCommand(CLI::App& app) {
  command_ = app.add_subcommand("hotness", "How each next board card changes Hero's and the opponent's equity");
  options_.AddTo(command_, false);
}

int HotnessCommand::Run() const {
  HandsInput hands;
  RequestData request;
  int exitCode = kExitOk;
  if (!options_.Validate(hands, request, exitCode)) return exitCode;
  if (!HotnessApplies(true, request.opponentCount, static_cast<int>(options_.Board().size())))
    return Fail("Hotness needs one opponent and a flop or a turn on the board");

  const auto start = std::chrono::steady_clock::now();
  HotnessResult result;
  std::string error;
  const RunOutcome outcome = RunWithProgress("hotness", [&](Progress& progress) {
    result = ComputeRequestHotness(request, options_.Board(), options_.Rules(), hands.texts, kHotnessRuns,
                                   options_.seed, &progress);
  }, &error);
  if (outcome != RunOutcome::Done) return ReportOutcome(outcome, error);
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  if (options_.json) {
    Print(Json{{"caption", ToUtf8(result.caption)},
               {"hero", EntriesJson(result.hero)},
               {"op1", EntriesJson(result.opponent)},  // the one opponent's, whichever --op gave it
               {"opponent", "Op" + std::to_string(result.opponentSlot)},
               {"exact", !result.sampled},  // every river counted, else sampled per card
               {"ms", ms}});
    return kExitOk;
  }
  std::printf("%s\n", ToUtf8(result.caption).c_str());
  PrintEntries(result.heroLabel, result.hero);
  PrintEntries(result.opponentLabel, result.opponent);
  return kExitOk;
}

}  // namespace ferrox::cli
