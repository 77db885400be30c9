#pragma once

#include <CLI/CLI.hpp>

#include "cli/Command.h"

#include "cli/RequestOptions.h"

namespace ferrox::cli {

// ferrox6plus-cli distribution: the same inputs as equity.
class DistributionCommand : public Command {
 public:
  explicit DistributionCommand(CLI::App& app);
  int Run() const override;

 private:
  RequestOptions options_;
};

}  // namespace ferrox::cli
