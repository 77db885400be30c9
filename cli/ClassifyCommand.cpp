#include "cli/ClassifyCommand.h"

#include "cli/CliSupport.h"
#include "cli/IntegerOption.h"
#include "core/CardText.h"
#include "core/MadeHand.h"
#include "core/WideText.h"

namespace ferrox::cli {

ClassifyCommand::ClassifyCommand(CLI::App& app) {
  command_ = app.add_subcommand("classify", "Made hand, pair kind, draws and outs on a board");
  AddRulesOption(command_, rules_);
  command_->add_option("hole", hole_, "Two hole cards, e.g. AhKd")->required();
  command_->add_option("board", board_, "Three to five board cards, e.g. Kc7s6d")->required();
}

int ClassifyCommand::Run() const {
  std::wstring error;
  const auto hole = ParseCardList(FromUtf8(hole_), error);
  if (!hole) return Fail(error);
  const auto board = ParseCardList(FromUtf8(board_), error);
  if (!board) return Fail(error);
  if (hole->size() != 2) return Fail("The hole must hold exactly two cards");
  if (board->size() < 3 || board->size() > 5) return Fail("The board must hold 3 to 5 cards");
  for (CardIndex c : *board)
    if (c == (*hole)[0] || c == (*hole)[1])
      return Fail(L"Card " + std::wstring(CardNameTable[c]) + L" is both in the hole and on the board");

  const quillet::Rules rules = RulesOf(rules_);
  const int boardCount = static_cast<int>(board->size());
  MadeHand hand;
  ClassifyMadeHand(hole->data(), board->data(), boardCount, rules, hand);
  Json json{{"category", hand.category},
            {"name", ToUtf8(hand.names.front())},
            {"kind", hand.kind},
            {"draws", hand.draws}};
  if (boardCount < 5) {
    int outs[kCategoryCount];
    CountOuts(hole->data(), board->data(), boardCount, rules, outs);
    json["outs"] = std::vector<int>(outs, outs + kCategoryCount);
  }
  Print(json);
  return kExitOk;
}

}  // namespace ferrox::cli
