// Map files: read as a stored map, then entered, as the party does on
// arrival (the squares prepared, the party and the monster groups placed).
#include <cstring>

#include "state/encounters.h"
#include "state/turn_order.h"
#include "engine/random.h"
#include "engine/settings.h"
#include "fuzz/fuzz_target.h"
#include "map/map_record.h"
#include "map/map_switching.h"
#include "rules/creature_record.h"
#include "state/party_leader.h"

GH_FUZZ_TARGET(map) {
  WriteScratchFile("Map.dat", data, size);
  MapRecord& target = StoredMaps[7];
  if (ReadMapFile("Map.dat", &target) != kMapFileRead) return;
  SeedRandomForTests(7);
  PartyLeader = 0;
  InCombat = 0;
  TurnEntryCount = 0;
  WorldTravelDirection = 0;
  EncounterRequestCount = 0;
  OptionWords[30] = 0;
  for (int i = 0; i < kCreatureCount; ++i) Creatures[i].present = 0;
  for (int i = 0; i < kPartySize; ++i) {
    CreatureRecord& c = Creatures[i];
    std::memset(&c, 0, sizeof c);
    c.present = 1;
    c.allegiance = 1;
    c.footprintWidth = c.footprintHeight = {1, 1};
    c.fighterSlot = -1;
  }
  std::memset(&CurrentMap, 0, sizeof CurrentMap);
  CurrentMap.width = CurrentMap.height = 10;
  CurrentMapNumber = 6;
  SwitchLocalMap(7, 1, 1, 1, 0, 0);
}
