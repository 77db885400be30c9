#pragma once
// The input options shared by equity, hotness and distribution: ranges, board, dead cards,
// rules and the way of computing. They go through the same validation as the program's.

#include <CLI/CLI.hpp>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/HandsInput.h"
#include "engine/RequestValidation.h"
#include "engine/StreetEvaluation.h"

namespace ferrox::cli {

class RequestOptions {
 public:
  void AddTo(CLI::App* command, bool computeOptions);

  int rules = 0;
  bool json = false;
  uint64_t seed = 0;

  // Fills the calculator document and validates, then checks that a deal is possible. On
  // a refusal prints the message and returns false with the exit code set.
  bool Validate(HandsInput& hands, RequestData& request, int& exitCode) const;
  StreetSettings Settings() const;
  std::vector<CardIndex> Board() const { return board_; }
  const std::string& HeroText() const { return hero_; }
  const std::vector<std::string>& OpponentTexts() const { return ops_; }

 private:
  // Board and dead cards, strictly: every piece a card of the short deck, none twice.
  bool ReadCards(int& exitCode) const;

  std::string hero_;
  std::vector<std::string> ops_;
  std::string boardText_;
  std::string dead_;
  bool enumerate_ = false;
  bool montecarlo_ = false;
  bool forceExact_ = false;
  int runs_ = 10'000;
  mutable std::vector<CardIndex> board_;
};

}  // namespace ferrox::cli
