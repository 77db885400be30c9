#pragma once

#include <CLI/CLI.hpp>

namespace ferrox::cli {

// ferrox6plus-cli classify [--rules 0|1] HOLE BOARD
class ClassifyCommand {
 public:
  explicit ClassifyCommand(CLI::App& app);
  bool Chosen() const { return command_->parsed(); }
  int Run() const;

 private:
  CLI::App* command_;
  int rules_ = 0;
  std::string hole_;
  std::string board_;
};

}  // namespace ferrox::cli
