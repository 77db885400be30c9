#pragma once

#include <CLI/CLI.hpp>

namespace ferrox::cli {

// ferrox6plus-cli range [--rules 0|1] TEXT
class RangeCommand {
 public:
  explicit RangeCommand(CLI::App& app);
  bool Chosen() const { return command_->parsed(); }
  int Run() const;

 private:
  CLI::App* command_;
  int rules_ = 0;
  std::string text_;
};

}  // namespace ferrox::cli
