#pragma once

#include <CLI/CLI.hpp>

#include "cli/Command.h"

#include "cli/RequestOptions.h"

namespace ferrox::cli {

// ferrox6plus-cli hotness (--hero TEXT --op TEXT --board CARDS [--dead TEXT] | --hand FILE) [--rules R] [--json]
class HotnessCommand : public Command {
 public:
  explicit HotnessCommand(CLI::App& app);
  int Run() const override;

 private:
  RequestOptions options_;
};

}  // namespace ferrox::cli
