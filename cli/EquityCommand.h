#pragma once

#include <CLI/CLI.hpp>

#include "cli/RequestOptions.h"

namespace ferrox::cli {

// ferrox6plus-cli equity --hero TEXT --op TEXT... [--board] [--dead] [--rules]
//   [--enumerate | --montecarlo] [--runs N] [--seed N] [--json]
class EquityCommand {
 public:
  explicit EquityCommand(CLI::App& app);
  bool Chosen() const { return command_->parsed(); }
  int Run() const;

 private:
  CLI::App* command_;
  RequestOptions options_;
};

}  // namespace ferrox::cli
