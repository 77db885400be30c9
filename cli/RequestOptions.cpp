#include "cli/RequestOptions.h"

#include <limits>

#include "cli/CliSupport.h"
#include "cli/IntegerOption.h"
#include "core/CardText.h"
#include "core/WideText.h"
#include "engine/DealCheck.h"
#include "engine/HandRequest.h"
#include "engine/RefusalReason.h"

namespace ferrox::cli {

void RequestOptions::AddTo(CLI::App* command, bool computeOptions) {
  handOption_ = command->add_option(
      "--hand", handFile_, "Hand file (.f6hand) saved by the program, in place of --hero, --op, --board and --dead");
  heroOption_ = command->add_option("--hero", hero_, "Hero range, e.g. \"AA,KK,AKs\" (required without --hand)");
  opOption_ = command->add_option("--op", ops_, "Opponent range (repeat for Op1..Op5; required without --hand)")
                  ->allow_extra_args(false);
  auto* board = command->add_option("--board", boardText_, "Board cards, e.g. AhKd7c");
  auto* dead = command->add_option("--dead", dead_, "Dead cards, e.g. \"Ah,Kd\"");
  for (CLI::Option* typed : {heroOption_, opOption_, board, dead}) handOption_->excludes(typed);
  rulesOption_ = AddRulesOption(command, rules_);
  command->add_flag("--json", json, "Print JSON");
  AddIntegerOption(command, "--seed", seed, uint64_t{0}, std::numeric_limits<uint64_t>::max(),
                   "Seed for Monte-Carlo (repeatable results); 0: from the clock");
  if (!computeOptions) return;
  enumerateOption_ = command->add_flag("--enumerate", enumerate_, "Exact enumeration (the default)");
  montecarloOption_ = command->add_flag("--montecarlo", montecarlo_, "Monte-Carlo sampling");
  enumerateOption_->excludes(montecarloOption_);
  command->add_flag("--force-exact", forceExact_,
                    "With exact enumeration: never give way to Monte-Carlo, however long it takes")
      ->excludes(montecarloOption_);
  runsOption_ = AddIntegerOption(command, "--runs", runs_, kMinRuns, kMaxRuns, "Monte-Carlo games, 1000 to 1000000000");
}

bool RequestOptions::RangesGiven(int& exitCode) const {
  if (!Given(heroOption_)) exitCode = Fail("--hero is required (or --hand FILE)");
  else if (!Given(opOption_)) exitCode = Fail("--op is required (or --hand FILE)");
  return Given(heroOption_) && Given(opOption_);
}

bool RequestOptions::ReadCards(int& exitCode) const {
  if (ops_.size() > 5) {
    exitCode = Fail("At most five opponents (--op) are allowed");
    return false;
  }
  std::wstring error;
  const auto board = ParseCardList(FromUtf8(boardText_), error);
  if (!board) {
    exitCode = Fail(error);
    return false;
  }
  if (board->size() > 5) {
    exitCode = Fail(ExplainBoardError(board->size(), ReasonPlace::SameLine));
    return false;
  }
  // The program reads dead cards leniently, skipping what it cannot read; a script gets
  // told instead of a result computed without the cards it meant.
  if (!ParseCardList(FromUtf8(dead_), error)) {
    exitCode = Fail(L"--dead: " + error);
    return false;
  }
  board_ = *board;
  return true;
}

bool RequestOptions::Validate(HandsInput& hands, RequestData& request, int& exitCode) const {
  if (!(Given(handOption_) ? ValidateHand(hands, request, exitCode) : ValidateTyped(hands, request, exitCode)))
    return false;
  if (!DealPossible(request)) {
    exitCode = Fail(L"No deal is possible: " + NoDealReason(request));
    return false;
  }
  return true;
}

bool RequestOptions::ValidateTyped(HandsInput& hands, RequestData& request, int& exitCode) const {
  if (!RangesGiven(exitCode) || !ReadCards(exitCode)) return false;
  TableCardStore table;
  for (CardIndex c : board_) table.AppendBoardCard(c);

  hands.texts[0] = FromUtf8(hero_);
  for (std::size_t i = 0; i < ops_.size() && i < 5; ++i) hands.texts[i + 1] = FromUtf8(ops_[i]);
  hands.texts[kDeadTextSlot] = FromUtf8(dead_);
  const RangeParser parser(Orderings(), Rules());
  RequestFailure failure;
  if (!ValidateRequest(table, hands, NoRangeLinks(), parser, request, failure)) {
    exitCode = Fail(ExplainRefusal(failure, hands, parser, board_, ReasonPlace::SameLine));
    return false;
  }
  return true;
}

bool RequestOptions::ValidateHand(HandsInput& hands, RequestData& request, int& exitCode) const {
  std::string error;
  hand_ = ReadHandFile(handFile_, error);
  if (!hand_) {
    exitCode = Fail(error);
    return false;
  }
  board_ = hand_->board;
  const RangeParser parser(Orderings(), Rules());
  TableCardStore table;
  RequestFailure failure;
  if (!BuildHandRequest(*hand_, parser, table, hands, request, failure)) {
    exitCode = Fail(ExplainRefusal(failure, hands, parser, board_, ReasonPlace::SameLine));
    return false;
  }
  return true;
}

quillet::Rules RequestOptions::Rules() const {
  return hand_ && !Given(rulesOption_) ? hand_->rules : RulesOf(rules_);
}

StreetSettings RequestOptions::Settings() const {
  const bool methodGiven = Given(enumerateOption_) || Given(montecarloOption_);
  const bool enumerate = hand_ && !methodGiven ? hand_->enumerate : !montecarlo_;
  const int runs = hand_ && !Given(runsOption_) ? hand_->runs : runs_;
  return {enumerate, runs, Rules(), seed, forceExact_};
}

}  // namespace ferrox::cli
