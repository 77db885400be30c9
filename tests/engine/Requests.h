#pragma once
// Checked requests written by hand for the engine's tests: player ranges ("AsKh QQ AKs",
// the hero first), the board and the dead cards as card names.

#include <string>
#include <vector>

#include "engine/RequestValidation.h"
#include "tests/support/Ranges.h"

namespace ferrox::testing {

inline RequestData RequestOf(const std::vector<std::string>& ranges, const std::string& board,
                             const std::string& dead = "") {
  RequestData request;
  for (std::size_t i = 0; i < ranges.size(); ++i) request.handLists[i] = ListOf(ranges[i]);
  request.opponentCount = static_cast<int>(ranges.size()) - 1;
  request.boardMask = quillet::VecToInt64(CardsOf(board));
  request.deadMask = quillet::VecToInt64(CardsOf(dead));
  return request;
}

}  // namespace ferrox::testing
