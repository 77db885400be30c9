#pragma once
// Whether a validated request can be played out at all. The request checks accept some
// requests that leave no deal (too few cards for the rest of the board); the program shows
// "none" for them, and a tool that must answer can refuse them with the reason.

#include <string>

#include "engine/RequestValidation.h"

namespace ferrox {

// A hand for each player with a range, apart from each other and from the board and the
// dead cards, with enough cards left to complete the board to five.
bool DealPossible(const RequestData& request);

// Why no deal is possible, naming the cards or players at fault ("Ks of Hero's hand AsKs
// is on the board"); empty when a deal is possible.
std::wstring NoDealReason(const RequestData& request);

}  // namespace ferrox
