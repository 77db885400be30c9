#pragma once
// The input options shared by equity, hotness and distribution: ranges, board, dead cards,
// rules and the way of computing, or a hand file (--hand) that holds them. They go through
// the same validation as the program's.

#include <CLI/CLI.hpp>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/HandsInput.h"
#include "engine/RequestValidation.h"
#include "engine/SavedHand.h"
#include "engine/StreetEvaluation.h"

namespace ferrox::cli {

class RequestOptions {
 public:
  void AddTo(CLI::App* command, bool computeOptions);

  bool json = false;
  uint64_t seed = 0;

  // Fills the calculator document and validates, then checks that a deal is possible. On
  // a refusal prints the message and returns false with the exit code set.
  bool Validate(HandsInput& hands, RequestData& request, int& exitCode) const;
  // After Validate: with --hand, the file's rule set and evaluation where the command line
  // gives none, and its board.
  StreetSettings Settings() const;
  quillet::Rules Rules() const;
  std::vector<CardIndex> Board() const { return board_; }
  const std::string& HeroText() const { return hero_; }
  const std::vector<std::string>& OpponentTexts() const { return ops_; }

 private:
  // --hero and --op without --hand.
  bool RangesGiven(int& exitCode) const;
  // Board and dead cards, strictly: every piece a card of the short deck, none twice.
  bool ReadCards(int& exitCode) const;
  bool ValidateTyped(HandsInput& hands, RequestData& request, int& exitCode) const;
  // The request of the hand file, as the program's Evaluate builds it on opening the file.
  bool ValidateHand(HandsInput& hands, RequestData& request, int& exitCode) const;
  static bool Given(const CLI::Option* option) { return option && option->count() > 0; }

  int rules_ = 0;
  std::string handFile_;
  CLI::Option* handOption_ = nullptr;
  CLI::Option* heroOption_ = nullptr;
  CLI::Option* opOption_ = nullptr;
  CLI::Option* rulesOption_ = nullptr;
  CLI::Option* enumerateOption_ = nullptr;
  CLI::Option* montecarloOption_ = nullptr;
  CLI::Option* runsOption_ = nullptr;
  std::string hero_;
  std::vector<std::string> ops_;
  std::string boardText_;
  std::string dead_;
  bool enumerate_ = false;
  bool montecarlo_ = false;
  bool forceExact_ = false;
  int runs_ = 10'000;
  // What Validate read.
  mutable std::vector<CardIndex> board_;
  mutable std::optional<SavedHand> hand_;
};

}  // namespace ferrox::cli
