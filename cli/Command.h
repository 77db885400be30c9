#pragma once
// One sub-command of the command-line tool.

#include <CLI/CLI.hpp>

namespace ferrox::cli {

class Command {
 public:
  virtual ~Command() = default;
  bool Chosen() const { return command_ && command_->parsed(); }
  // The exit code: 0, or 2 for input the user can fix.
  virtual int Run() const = 0;

 protected:
  CLI::App* command_ = nullptr;
};

}  // namespace ferrox::cli
