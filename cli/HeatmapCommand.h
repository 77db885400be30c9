#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace ferrox::cli {

// ferrox6plus-cli heatmap --op TEXT [--rules R] [--out FILE.hmp] [--json]
class HeatmapCommand {
 public:
  explicit HeatmapCommand(CLI::App& app);
  bool Chosen() const { return command_->parsed(); }
  int Run() const;

 private:
  CLI::App* command_;
  std::string op_;
  int rules_ = 0;
  std::string out_;
  bool json_ = false;
};

}  // namespace ferrox::cli
