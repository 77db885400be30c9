// Computes the heads-up preflop tables into the cache file of a folder, replacing any old
// one, so that the programs find them ready.  usage: make_preflop_cache FOLDER
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "quillet/Evaluator.h"
#include "quillet/PreflopTables.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_preflop_cache FOLDER\n";
    return 2;
  }
  ::setenv("FERROX_CACHE_DIR", argv[1], 1);
  std::error_code ec;
  std::filesystem::remove(quillet::PreflopCacheFile(), ec);
  if (!quillet::fsm5::load_fsm7() || !quillet::fsm5::load_2_index() || !quillet::fsm5::load_2(5, 0, 0) ||
      !std::filesystem::exists(quillet::PreflopCacheFile())) {
    std::cerr << "Cannot compute or write the preflop tables in " << argv[1] << "\n";
    return 1;
  }
  return 0;
}
