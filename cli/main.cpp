// ferrox6plus-cli: the calculator's engine from a shell, with JSON output.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <vector>

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
  std::vector<std::unique_ptr<Command>> commands;
  commands.push_back(std::make_unique<RangeCommand>(app));
  commands.push_back(std::make_unique<ClassifyCommand>(app));
  commands.push_back(std::make_unique<EquityCommand>(app));
  commands.push_back(std::make_unique<HeatmapCommand>(app));
  commands.push_back(std::make_unique<HotnessCommand>(app));
  commands.push_back(std::make_unique<DistributionCommand>(app));

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
  for (const auto& command : commands)
    if (command->Chosen()) return command->Run();
  return kExitBadInput;
}
