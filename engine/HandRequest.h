#pragma once
// What the program's Evaluate computes for a hand just opened, without a window: the same
// table, the same ranges (an open editor's range stands for its player, less the cards
// that player knows of, as in the editor) and the same checks. The program opens a hand
// through OpenedHand too, so both start from the same state.

#include <array>

#include "core/RangeParser.h"
#include "engine/HandsInput.h"
#include "engine/RequestValidation.h"
#include "engine/SavedHand.h"
#include "engine/TableCardStore.h"

namespace ferrox {

// The hand as opening it leaves it. A player whose box says something other than the text
// their editor holds (typed after the editor last agreed) has the box's range in the
// editor when the box reads as a range, as Evaluate would take it: less the cards the
// player knows of (in either mode), row by row, and with the box's text; the band stays.
// A box that does not read stays as it is, and Evaluate will refuse it. Opening an opened
// hand changes nothing. The parser's rule set is the one the hand is computed with.
SavedHand OpenedHand(const SavedHand& hand, const RangeParser& parser);

// The players' ranges as opening the hand leaves them: an editor's range as built for a
// player with an editor, what the box reads as for the others (empty when it does not).
std::array<quillet::Spec, 6> OpenedSpecs(const SavedHand& hand, const RangeParser& parser);

// Fills table (a new, empty store) with the hand's board, dead cards and picked hands.
// False when the hand's cards cannot all be held (which a parsed hand never has).
bool FillTable(const SavedHand& hand, TableCardStore& table);

// The request Evaluate builds for the hand as OpenedHand leaves it: input and request as
// ValidateRequest fills them. An editor's range stands for its player less the cards the
// player knows of in use mode, whole in create mode; the dead-card box is input.texts[6].
// False with the program's message in failure (ExplainRefusal gives its reason).
bool BuildHandRequest(const SavedHand& hand, const RangeParser& parser, TableCardStore& table, HandsInput& input,
                      RequestData& request, RequestFailure& failure);

}  // namespace ferrox
