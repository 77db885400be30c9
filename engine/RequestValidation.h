#pragma once
// Turning what the user entered into a checked request, with the program's messages.

#include <array>
#include <string>
#include <vector>

#include "core/Cards.h"
#include "core/RangeParser.h"
#include "engine/HandsInput.h"
#include "engine/RangeLinks.h"
#include "engine/TableCardStore.h"

namespace ferrox {

struct RequestData {
  // One list per player slot: each combination of the player's range as a card mask.
  std::array<std::vector<CardMask>, 6> handLists;
  int opponentCount = 0;
  CardMask boardMask = 0;
  CardMask deadMask = 0;

  // Same players, board and dead cards: a result computed for one holds for the other.
  bool operator==(const RequestData&) const = default;
};

// A refused request: the message box to show. Timed boxes close by themselves.
struct RequestFailure {
  std::wstring message;
  std::wstring caption;
  bool timed = false;
  int opponent = 0;  // 1..5 for "Error in Op%1d %s": the row at fault
};

inline constexpr const wchar_t* kErrorBoard = L"Error board";
inline constexpr const wchar_t* kBadHeroRange = L"Bad Hero range!";
inline constexpr const wchar_t* kOpponentAbsent = L"A opponent range is absent!";
inline constexpr const wchar_t* kReenterRanges = L"Please reenter card ranges!";
inline constexpr const wchar_t* kWrongRanges = L"Wrong ranges";
inline constexpr const wchar_t* kReenterDead = L"Please reenter dead cards!";
inline constexpr const wchar_t* kWrongDead = L"Wrong dead cards";
// "Error in Op%1d %s"
std::wstring OpponentError(int opponent, const std::wstring& text);

// Checks, in order: board size, hero range, opponent ranges, at least one opponent, that
// the ranges can be dealt around the board, the dead cards. Parsed ranges are left in
// hands.specs. Typed dead cards join the calculator document (table) when it holds none.
bool ValidateRequest(TableCardStore& table, HandsInput& hands, const RangeLinks& links, const RangeParser& parser,
                     RequestData& request, RequestFailure& failure);

// Cards of a dead-card text: names written together or separated by spaces or commas
// ("AhKd", "Ah Kd", "Ah,Kd", "Ah, Kd"); each card once, anything else skipped.
std::vector<CardIndex> ReadDeadCards(const std::wstring& text);

// Hand masks of a range, in its set order.
std::vector<CardMask> HandList(const quillet::Spec& spec);

}  // namespace ferrox
