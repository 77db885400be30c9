#include "cli/HeatmapCommand.h"

#include <cstdio>
#include <iostream>

#include "cli/CliSupport.h"
#include "cli/IntegerOption.h"
#include "cli/ProgressLine.h"
#include "engine/PreflopTableLoading.h"
#include "cli/RequestOptions.h"
#include "core/WideText.h"
#include "engine/Heatmap.h"
#include "engine/RefusalReason.h"

namespace ferrox::cli {

HeatmapCommand::HeatmapCommand(CLI::App& app) {
  command_ = app.add_subcommand("heatmap", "Preflop equity of all 81 hand classes against one range");
  command_->add_option("--op", op_, "Op1's range")->required();
  AddRulesOption(command_, rules_);
  command_->add_option("--out", out_, "Write the table to this .hmp file");
  command_->add_flag("--json", json_, "Print JSON");
}

int HeatmapCommand::Run() const {
  const RangeParser parser(Orderings(), RulesOf(rules_));
  const std::wstring opText = FromUtf8(op_);
  quillet::Spec op1;
  if (parser.ParseRange(opText, op1) == kParseRejected || op1.empty())
    return Fail(ExplainOpponentError(1, opText, parser, ReasonPlace::SameLine));
  bool tables = false;
  double ms = 0;
  std::vector<HeatmapRow> rows;
  std::string error;
  const RunOutcome outcome = RunWithProgress("heatmap", [&](Progress& progress) {
    tables = LoadPreflopTables() != 0;
    if (tables) rows = ComputeHeatmap(op1, parser, &ms, &progress);
  }, &error);
  if (outcome != RunOutcome::Done) return ReportOutcome(outcome, error);
  if (!tables) return Fail("Cannot load the preflop tables");
  if (!out_.empty()) {
    std::wstring error;
    if (!WriteHeatmapFile(out_, opText, rows, error)) return Fail(error);
  }
  if (json_) {
    Json list = Json::array();
    for (const HeatmapRow& r : rows)
      list.push_back(Json{{"hand", ToUtf8(r.hand)}, {"equity", r.equity}, {"wins", r.wins},
                          {"splits", r.splits}, {"losses", r.losses}, {"combos", r.combos}});
    Print(Json{{"rows", list}, {"ms", ms}});
    return kExitOk;
  }
  std::printf("Hand   Equity    Wins      Splits    Losses    Combos\n");
  for (const HeatmapRow& r : rows) {
    std::printf("%-5s  %-8s  %-8s  %-8s  %-8s  %d\n", ToUtf8(r.hand).c_str(), ToUtf8(PercentText(r.equity)).c_str(),
                ToUtf8(PercentText(r.wins)).c_str(), ToUtf8(PercentText(r.splits)).c_str(),
                ToUtf8(PercentText(r.losses)).c_str(), r.combos);
  }
  std::printf("CPU equity calculation completed in %llu milliseconds.\n", static_cast<unsigned long long>(ms));
  return kExitOk;
}

}  // namespace ferrox::cli
