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

namespace {

// CLI11 says only that a command is required; a script needs the word it did not know.
std::string CommandReason(const CLI::App& app, int argc, char** argv) {
  std::string names;
  for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; }))
    names += (names.empty() ? "" : ", ") + command->get_name();
  const std::string commands = "the commands are " + names;
  if (argc < 2) return " (" + commands + ")";
  return " (" + ferrox::cli::Shown(argv[1]) + " is not a command; " + commands + ")";
}

}  // namespace

int main(int argc, char** argv) {
  using namespace ferrox::cli;
  GuardStandardStreams();
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
    return DeliverResult(app.exit(e));
  } catch (const CLI::CallForAllHelp& e) {
    return DeliverResult(app.exit(e));
  } catch (const CLI::ParseError& e) {
    const bool noCommand = app.get_subcommands().empty();
    return Fail(e.what() + (noCommand ? CommandReason(app, argc, argv) : std::string()));
  }

  if (!LoadTables()) return kExitNoTables;
  for (const auto& command : commands)
    if (command->Chosen()) return DeliverResult(command->Run());
  return kExitBadInput;
}
