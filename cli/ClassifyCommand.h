#pragma once

#include <CLI/CLI.hpp>

#include "cli/Command.h"

namespace ferrox::cli {

// ferrox6plus-cli classify [--rules 0|1] HOLE BOARD
class ClassifyCommand : public Command {
 public:
  explicit ClassifyCommand(CLI::App& app);
  int Run() const override;

 private:
  int rules_ = 0;
  std::string hole_;
  std::string board_;
};

}  // namespace ferrox::cli
