#pragma once
// The heads-up preflop tables every preflop computation reads: the pair tables for the
// river, turn and flop under both rule sets, and the two five-card tables of the heatmap.

namespace ferrox {

// Loads (or builds and caches) them all; the sum of the library's load results, 0 when one
// failed.
int LoadPreflopTables();

}  // namespace ferrox
