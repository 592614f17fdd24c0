#include "state/party_leader.h"

#include <utility>

#include "map/fighter_table.h"
#include "rules/creature_record.h"
#include "state/fighter_slots.h"
#include "state/game_progress.h"
#include "state/game_screen_words.h"
#include "state/map_view_state.h"

void SwapPartyMembers(int a, int b) {
  if (a < 0 || b < 0 || a >= kPartySize || b >= kPartySize || a == b) return;
  std::swap(Creatures[a], Creatures[b]);
  std::swap(Creatures[a].fighterSlot, Creatures[b].fighterSlot);
  std::swap(FighterSlots[a], FighterSlots[b]);
  std::swap(FighterSlots[a].creature, FighterSlots[b].creature);
  std::swap(RecentSpells[a], RecentSpells[b]);
  // A fallen member's body lies where it lay.
  std::swap(FallenPlaces[a], FallenPlaces[b]);
  // The hit dice rolled for each level go with their member.
  constexpr int kLevels = kHitDieRollCount / kPartySize;
  std::swap_ranges(HitDieRolls + a * kLevels, HitDieRolls + (a + 1) * kLevels, HitDieRolls + b * kLevels);
  BuildFighterTable();
}
