#pragma once

#include "core/Cards.h"
#include "engine/HandsInput.h"
#include "engine/TableCardStore.h"

namespace ferrox {

// The board and dead cards of the calculator document, and both cards of every other
// player (of the first playerCount) whose range is a single hand.
CardMask KnownCardMask(const TableCardStore& table, int playerSlot, const quillet::Spec* playerSpecs, int playerCount);

// out = source without every combination that touches a card of KnownCardMask. Always true.
bool ExcludeKnownCards(const TableCardStore& table, int playerSlot, const quillet::Spec* playerSpecs, int playerCount,
                       const quillet::Spec& source, quillet::Spec& out);

}  // namespace ferrox
