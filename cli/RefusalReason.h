#pragma once
// Why the program refused a request, in words a script can act on. The program's own
// messages stay as they are and come first; the reason follows in parentheses.

#include <string>
#include <vector>

#include "core/Cards.h"
#include "core/RangeParser.h"
#include "engine/HandsInput.h"
#include "engine/RequestValidation.h"

namespace ferrox::cli {

// failure's message, with the reason after it for "Bad Hero range!" (the text not
// understood), "Please reenter card ranges!" and "Please reenter dead cards!" (the cards
// or players at fault). hands: as validation left them, with the parsed ranges.
std::wstring ExplainRefusal(const RequestFailure& failure, const HandsInput& hands, const RangeParser& parser,
                            const std::vector<CardIndex>& board, const std::vector<CardIndex>& dead);

}  // namespace ferrox::cli
