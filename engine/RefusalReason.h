#pragma once
// Why the program refused a request, in words that say what to fix. The program's own
// message stays as it is and comes first; the reason follows it. The program's boxes and
// the command-line tool say the same.

#include <string>
#include <vector>

#include "core/Cards.h"
#include "core/RangeParser.h"
#include "engine/HandsInput.h"
#include "engine/RequestValidation.h"

namespace ferrox {

// What the Hands pane puts before a row's text when applying it left no hand.
inline constexpr const wchar_t* kNoHandLeftMark = L"Error spectr:  ";

// Where the reason goes: "message (reason)" on one line, or on a line of its own.
enum class ReasonPlace { SameLine, OwnLine };

// Why `text` gives player `slot` (0 the Hero, 1..5 Op1..Op5) no range: the tokens not
// understood, a heatmap request, no hand named; or, for a text that does give a range,
// that the player's range editor holds none.
std::wstring RangeTextReason(int slot, const std::wstring& text, const RangeParser& parser);

// Why a board of boardCards cards is refused with "Error board": how many it has, and
// that a board has three to five cards, or none.
std::wstring BoardReason(std::size_t boardCards);

// The reason for a refusal; empty where the message says it all ("A opponent range is
// absent!"). hands: as validation left them, texts and the ranges read so far; board: the
// request's.
std::wstring RefusalReason(const RequestFailure& failure, const HandsInput& hands, const RangeParser& parser,
                           const std::vector<CardIndex>& board);

// message followed by reason in its place; the message alone when there is no reason.
std::wstring WithReason(const std::wstring& message, const std::wstring& reason, ReasonPlace place);

// A refused request's message with its reason.
std::wstring ExplainRefusal(const RequestFailure& failure, const HandsInput& hands, const RangeParser& parser,
                            const std::vector<CardIndex>& board, ReasonPlace place);

// "Error board" with its reason.
std::wstring ExplainBoardError(std::size_t boardCards, ReasonPlace place);

// "Error in Op%1d %s" with its reason, for a check of the opponents' texts alone.
std::wstring ExplainOpponentError(int opponent, const std::wstring& text, const RangeParser& parser,
                                  ReasonPlace place);

}  // namespace ferrox
