#pragma once

#include "engine/HandsInput.h"

namespace ferrox {

// out = source without every combination that touches a known card: the board and dead
// cards of the calculator document, and both cards of every other player (of the first
// playerCount) whose range is a single hand. Always true.
bool ExcludeKnownCards(int playerSlot, const quillet::Spec* playerSpecs, int playerCount,
                       const quillet::Spec& source, quillet::Spec& out);

}  // namespace ferrox
