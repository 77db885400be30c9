#pragma once
// A hand as the player set it up, as one file keeps it: the six range texts, the board,
// the dead cards, each player's picked hand, the rule set, the mode, how to evaluate, and
// each open range editor's range and band. The program saves and opens it; the
// command-line tool computes from it what the program's Evaluate would.
//
// The file is JSON (UTF-8), described in the README under "Hand files". Reading is strict:
// a file of a newer format, a damaged one, one with a field this version does not know or
// with a value out of its range is refused with a message naming what is wrong, and
// nothing is read from it.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Cards.h"
#include "quillet/HandValue.h"
#include "quillet/Spec.h"

namespace ferrox {

inline constexpr int kHandFormatVersion = 1;
inline constexpr const char* kHandFormatName = "ferrox6plus-hand";
inline constexpr const char* kHandFileExtension = "f6hand";
inline constexpr const char* kHandFileFilter = "Ferrox6Plus hands (*.f6hand)";
inline constexpr const char* kHandMimeType = "application/x-ferrox6plus-hand";
// Larger files are refused unread: a hand is a few kilobytes.
inline constexpr std::uintmax_t kMaxHandFileBytes = 4u << 20;
// Longest range or dead-card text a file may hold, in characters.
inline constexpr std::size_t kMaxHandTextLength = 20'000;

// An open range editor of a player.
struct SavedEditor {
  int player = 0;        // 0 the Hero, 1..5 Op1..Op5
  std::wstring text;     // the text the editor holds its range under (the box it agreed with)
  quillet::Spec range;   // the range as built, before the known cards are taken out
  double bandLow = 0;    // the percentile band, 0 <= low <= high <= 100
  double bandHigh = 0;

  bool operator==(const SavedEditor& other) const;
};

struct SavedHand {
  std::array<std::wstring, 6> ranges;  // the boxes of the Hero and Op1..Op5, as typed
  std::wstring deadText;               // the dead-card box
  std::vector<CardIndex> board;        // 0..5 cards, in the order dealt
  std::vector<CardIndex> dead;         // the dead cards the table holds
  std::array<std::vector<CardIndex>, 6> playerCards;  // a picked hand: none or two cards
  quillet::Rules rules = quillet::kRulesStandard;
  bool useMode = true;                 // "Use mode"; false: "Create mode"
  bool enumerate = true;               // exact; false: Monte-Carlo
  int runs = 10'000;                   // Monte-Carlo games
  std::vector<SavedEditor> editors;    // at most one per player, in player order

  bool operator==(const SavedHand& other) const;
};

// The file's text: JSON, one field a line (a player on one line), ending in a newline.
// Editors are written in the order given; ParseHandJson takes them in player order only.
std::string HandJson(const SavedHand& hand);
// nullopt with the reason in error ("not a hand file: parse error at line 3, column 5: ...",
// "unknown field 'x' in players[2]", "written by a newer version ...") for anything but a
// hand this version writes. Never throws.
std::optional<SavedHand> ParseHandJson(std::string_view text, std::string& error);

// Reads a regular file of at most kMaxHandFileBytes, never waiting on a FIFO. The error
// names the file: "Cannot read /x/y.f6hand: <why>".
std::optional<SavedHand> ReadHandFile(const std::filesystem::path& file, std::string& error);
// Replaces the file whole (temporary file and rename), as a file the user keeps: a link at
// the name is followed, the old file's permissions are kept. A hand that would not read
// back as it is (a text with a line break, a card that is none) is refused and nothing is
// written: "Cannot write /x/y.f6hand: <why>".
bool WriteHandFile(const std::filesystem::path& file, const SavedHand& hand, std::string& error);

}  // namespace ferrox
