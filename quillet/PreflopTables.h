#pragma once
// Heads-up preflop tables: for every ordered pair of disjoint hands, the boards of each
// target size (5, 4, 3 cards from the 32 unseen) that the first hand wins and ties, under
// both rule sets. Computed once with suit symmetry and kept in a cache file.

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "quillet/Spec.h"

namespace quillet {

inline constexpr int kMatchups = 353430;  // 630 hands x 561 disjoint opponents

namespace fsm5 {
// Matchup keys, ascending: byte 0 the lower hero card index, byte 1 the higher, byte 2 the
// lower opponent card, byte 3 the higher.
extern const uint32_t* ET2I_6;
// Wins at 2k and ties at 2k + 1 for the matchup at ET2I_6[k], five-card boards:
// standard rules and straight-beats-set rules.
extern const uint32_t* FT2R_6;
extern const uint32_t* FT2R_6C;

// Builds the key table; returns the number of keys.
int load_2_index();
// Loads (from the cache, or computes and caches) the table of one target (3..5) and rule
// set (0, 1); the five-card tables are then published as FT2R_6 / FT2R_6C whatever the
// kind. Returns the number of matchups, 0 on failure. Safe from any thread: one thread
// computes while the others wait for it; lookups never wait.
int load_2(int target, int rules, int kind);
// Index of key in table[first .. first + count), or -1.
int bsearch(const uint32_t* table, int first, int count, uint32_t key);
}  // namespace fsm5

uint32_t MatchupKey(int hero1, int hero2, int opp1, int opp2);
// Where the cache is read and written: $FERROX_CACHE_DIR when set, else the program's
// data folder, else the user's cache folder.
std::filesystem::path PreflopCacheFile();
// Every place the cache may be written, in the order tried.
std::vector<std::filesystem::path> PreflopCacheFiles();
// Counts table of a target and rule set; nullptr until loaded.
const uint32_t* PreflopCounts(int target, int rules);
// Position of a matchup in the tables, -1 when the hands are not two disjoint deck hands.
int MatchupIndex(const Combo& hero, const Combo& opponent);
// Boards of a target size from the 32 cards the two hands leave.
uint32_t PreflopBoards(int target);
// Releases the tables (fsm5::Free does this too). Only when no lookup can run: at shutdown.
void FreePreflopTables();
// True only for a whole, consistent image of the cache file; changes nothing loaded.
bool PreflopCacheImageValid(std::string_view image);

// Boards won and tied by a hero range against an opponent range, over every disjoint pair.
struct PreflopTally {
  uint64_t wins = 0;
  uint64_t ties = 0;
  uint64_t boards = 0;  // pairs x boards per pair
  uint64_t pairs = 0;
  double Equity() const { return boards ? (wins + 0.5 * ties) / static_cast<double>(boards) : 0.0; }
};
// Needs load_2 of the target and rule set; an empty tally without it.
PreflopTally TallyPreflop(const Spec& hero, const Spec& opponent, int target, int rules);

}  // namespace quillet
