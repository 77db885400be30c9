// ferrox6plus-cli: the calculator's engine from a shell, with JSON output.
#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/ClassifyCommand.h"
#include "cli/CliSupport.h"
#include "cli/DistributionCommand.h"
#include "cli/EquityCommand.h"
#include "cli/HeatmapCommand.h"
#include "cli/HotnessCommand.h"
#include "cli/RangeCommand.h"

int main(int argc, char** argv) {
  using namespace ferrox::cli;
  CLI::App app{"Ferrox6Plus command-line tool: Six-Plus Hold'em ranges and hands", "ferrox6plus-cli"};
  app.require_subcommand(1);
  const RangeCommand range(app);
  const ClassifyCommand classify(app);
  const EquityCommand equity(app);
  const HeatmapCommand heatmap(app);
  const HotnessCommand hotness(app);
  const DistributionCommand distribution(app);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    return Fail(e.what());
  }

  if (!LoadTables()) return kExitNoTables;
  if (range.Chosen()) return range.Run();
  if (classify.Chosen()) return classify.Run();
  if (equity.Chosen()) return equity.Run();
  if (heatmap.Chosen()) return heatmap.Run();
  if (hotness.Chosen()) return hotness.Run();
  if (distribution.Chosen()) return distribution.Run();
  return kExitBadInput;
}
