#pragma once

#include <CLI/CLI.hpp>

#include "cli/RequestOptions.h"

namespace ferrox::cli {

// ferrox6plus-cli hotness --hero TEXT --op TEXT --board CARDS [--dead TEXT] [--rules R] [--json]
class HotnessCommand {
 public:
  explicit HotnessCommand(CLI::App& app);
  bool Chosen() const { return command_->parsed(); }
  int Run() const;

 private:
  CLI::App* command_;
  RequestOptions options_;
};

}  // namespace ferrox::cli
