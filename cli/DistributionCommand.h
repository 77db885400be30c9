#pragma once

#include <CLI/CLI.hpp>

#include "cli/RequestOptions.h"

namespace ferrox::cli {

// ferrox6plus-cli distribution: the same inputs as equity.
class DistributionCommand {
 public:
  explicit DistributionCommand(CLI::App& app);
  bool Chosen() const { return command_->parsed(); }
  int Run() const;

 private:
  CLI::App* command_;
  RequestOptions options_;
};

}  // namespace ferrox::cli
