#pragma once

#include <CLI/CLI.hpp>

#include "cli/Command.h"

namespace ferrox::cli {

// ferrox6plus-cli range [--rules 0|1] TEXT
class RangeCommand : public Command {
 public:
  explicit RangeCommand(CLI::App& app);
  int Run() const override;

 private:
  int rules_ = 0;
  std::string text_;
};

}  // namespace ferrox::cli
