#include "state/party_leader.h"

#include <utility>

#include "state/fighter_slots.h"
#include "rules/creature_record.h"
#include "state/game_screen_words.h"

void SwapPartyMembers(int a, int b) {
  if (a < 0 || b < 0 || a >= kPartySize || b >= kPartySize || a == b) return;
  std::swap(Creatures[a], Creatures[b]);
  std::swap(Creatures[a].fighterSlot, Creatures[b].fighterSlot);
  std::swap(FighterSlots[a], FighterSlots[b]);
  std::swap(FighterSlots[a].creature, FighterSlots[b].creature);
  std::swap(RecentSpells[a], RecentSpells[b]);
}
