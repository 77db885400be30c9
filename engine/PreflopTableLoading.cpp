#include "engine/PreflopTableLoading.h"

#include "quillet/PreflopTables.h"

namespace ferrox {

int LoadPreflopTables() {
  int sum = quillet::fsm5::load_2_index();
  if (sum == 0) return 0;
  const int triples[8][3] = {{5, 0, 0}, {5, 1, 0}, {4, 0, 0}, {4, 1, 0}, {3, 0, 0}, {3, 1, 0}, {5, 0, 1}, {5, 1, 1}};
  for (const auto& t : triples) {
    const int loaded = quillet::fsm5::load_2(t[0], t[1], t[2]);
    if (loaded == 0) return 0;
    sum += loaded;
  }
  return sum;
}

}  // namespace ferrox
