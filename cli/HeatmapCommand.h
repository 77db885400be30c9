#pragma once

#include <CLI/CLI.hpp>

#include "cli/Command.h"
#include <string>

namespace ferrox::cli {

// ferrox6plus-cli heatmap --op TEXT [--rules R] [--out FILE.hmp] [--json]
class HeatmapCommand : public Command {
 public:
  explicit HeatmapCommand(CLI::App& app);
  int Run() const override;

 private:
  std::string op_;
  int rules_ = 0;
  std::string out_;
  bool json_ = false;
};

}  // namespace ferrox::cli
