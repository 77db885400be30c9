#include "engine/RangeResolution.h"

#include "engine/TableCardStore.h"

namespace ferrox {

CardMask KnownCardMask(int playerSlot, const quillet::Spec* playerSpecs, int playerCount) {
  CardMask known = 0;
  {
    TableCardStoreRef store;
    for (CardIndex c : store->Board()) known |= CardMaskOf(c);
    for (CardIndex c : store->Dead()) known |= CardMaskOf(c);
  }
  for (int k = 0; k < playerCount; ++k)
    if (k != playerSlot && playerSpecs[k].size() == 1)
      known |= quillet::ComboMask(*playerSpecs[k].combos().begin());
  return known;
}

bool ExcludeKnownCards(int playerSlot, const quillet::Spec* playerSpecs, int playerCount,
                       const quillet::Spec& source, quillet::Spec& out) {
  source.Exclude(KnownCardMask(playerSlot, playerSpecs, playerCount), out);
  return true;
}

}  // namespace ferrox
