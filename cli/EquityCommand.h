#pragma once

#include <CLI/CLI.hpp>

#include "cli/Command.h"

#include "cli/RequestOptions.h"

namespace ferrox::cli {

// ferrox6plus-cli equity (--hero TEXT --op TEXT... [--board] [--dead] | --hand FILE) [--rules]
//   [--enumerate | --montecarlo] [--runs N] [--seed N] [--json]
class EquityCommand : public Command {
 public:
  explicit EquityCommand(CLI::App& app);
  int Run() const override;

 private:
  RequestOptions options_;
};

}  // namespace ferrox::cli
