#include "engine/RangeResolution.h"

#include "engine/TableCardStore.h"

namespace ferrox {

CardMask KnownCardMask(const TableCardStore& table, int playerSlot, const quillet::Spec* playerSpecs, int playerCount) {
  CardMask known = 0;
  for (CardIndex c : table.Board()) known |= quillet::CardBit(c);
  for (CardIndex c : table.Dead()) known |= quillet::CardBit(c);
  for (int k = 0; k < playerCount; ++k)
    if (k != playerSlot && playerSpecs[k].size() == 1)
      known |= quillet::ComboMask(*playerSpecs[k].combos().begin());
  return known;
}

bool ExcludeKnownCards(const TableCardStore& table, int playerSlot, const quillet::Spec* playerSpecs,
                       int playerCount, const quillet::Spec& source, quillet::Spec& out) {
  source.Exclude(KnownCardMask(table, playerSlot, playerSpecs, playerCount), out);
  return true;
}

}  // namespace ferrox
