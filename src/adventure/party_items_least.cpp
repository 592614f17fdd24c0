// A least version of the party's item question, standing until the
// adventure's item commands replace it: the four members' carried pairs,
// ammunition and equipment are looked through.
#include "adventure/party_items.h"

#include "rules/creature_record.h"

bool PartyHasItem(uint32_t code) {
  if (code < 5001) return false;
  for (int m = 0; m < kPartySize; ++m) {
    const CreatureRecord& c = Creatures[m];
    for (const ItemPair& pair : c.carried)
      if (pair.code == code && pair.count > 0) return true;
    if (c.ammunition.code == code && c.ammunition.count > 0) return true;
    for (uint32_t item : c.equipment)
      if (item == code) return true;
  }
  return false;
}
