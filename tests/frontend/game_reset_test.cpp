// Resetting the whole game state puts every module's words back to the values
// the program starts with, and leaves the tables read at start-up alone.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "adventure/scripts.h"
#include "combat/actions/action_executor.h"
#include "combat/resolution/area_targets.h"
#include "combat/turns/combat_cycle.h"
#include "frontend/game_reset.h"
#include "map/map_record.h"
#include "map/path_finding.h"
#include "map/square_entry.h"
#include "rules/creature_record.h"
#include "rules/inventory_slots.h"
#include "rules/item_tables.h"
#include "screens/game/map_mouse_words.h"
#include "screens/game/shared_routines.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/encounters.h"
#include "state/game_progress.h"
#include "state/game_screen_words.h"
#include "state/inventory_state.h"
#include "state/map_view_state.h"
#include "state/turn_order.h"

namespace {

// The bytes of a global, to compare it with its start-up value.
template <typename T>
std::vector<unsigned char> Bytes(const T& object) {
  const auto* p = reinterpret_cast<const unsigned char*>(&object);
  return {p, p + sizeof object};
}

// The words as the program starts, taken before main() so that the tests run
// earlier in the same process have no say in them.
const struct StartUpWords {
  std::vector<unsigned char> turnOrder = Bytes(TurnOrder), action = Bytes(CombatAction),
                             events = Bytes(CombatEvents), tint = Bytes(TintTarget), cursor = Bytes(CursorStack),
                             recent = Bytes(RecentSpells), creature = Bytes(Creatures[7]), map = Bytes(CurrentMap),
                             folder = Bytes(AdventureFolder);
} kAtStart;

TEST(GameReset, EveryWordReturnsToItsStartUpValue) {
  const auto& [turnOrder, action, events, tint, cursor, recent, creature, map, folder] = kAtStart;

  TurnOrder[3] = {12, 1, 1, 1, 9, 4, 4, 5, 6, 7};
  TurnEntryCount = 4;
  InCombat = 1;
  CombatAction.currentEntry = 3;
  CombatAction.reactingCreature = 9;
  CombatEvents[2].type = kEventDeath;
  TintTarget[1] = 40;
  CursorStack = {5, 2, 22};
  RecentSpells[2][1] = {17, 3};
  std::strcpy(Creatures[7].name, "Orc");
  CurrentMap.At(kLayerWalls, 4, 4) = 46;
  IntroductoryAdventureFlag = 1;
  SetAdventureFolder();
  GameRunningFlag = 1;
  MenuReturnMode = 22;
  FollowTarget = 3;
  PathLength = 12;
  HazardEventCreature = 8;
  AreaTargetList[0] = 5;
  CombatPause = 1;
  EventMember = 2;
  EncounterRequestCount = 3;
  ChosenItem = 44;
  PartyGold = 900;
  RefusedOrdersThisTurn = 1;  // a computer fighter's refused order, mid-turn
  HoverMarksHidden = 1;       // the mouse last on a battle's panels
  SidePanelRows = 10;         // a battle's action list the last frame drew

  ResetGameState();

  EXPECT_EQ(Bytes(TurnOrder), turnOrder);
  EXPECT_EQ(TurnOrder[3].creature, -1);
  EXPECT_EQ(TurnEntryCount, 0);
  EXPECT_EQ(InCombat, 0u);
  EXPECT_EQ(Bytes(CombatAction), action);
  EXPECT_EQ(Bytes(CombatEvents), events);
  EXPECT_EQ(Bytes(TintTarget), tint);
  EXPECT_EQ(Bytes(CursorStack), cursor);
  EXPECT_EQ(Bytes(RecentSpells), recent);
  EXPECT_EQ(Bytes(Creatures[7]), creature);
  EXPECT_EQ(Bytes(CurrentMap), map);
  EXPECT_EQ(IntroductoryAdventureFlag, kBuiltAdventureFlag);
  EXPECT_EQ(GameRunningFlag, 0);
  EXPECT_EQ(MenuReturnMode, 0u);
  EXPECT_EQ(Bytes(AdventureFolder), folder);
  EXPECT_EQ(FollowTarget, -1);
  EXPECT_EQ(PathLength, 0);
  EXPECT_EQ(HazardEventCreature, -1);
  EXPECT_EQ(AreaTargetList[0], 0);
  EXPECT_EQ(CombatPause, 0);
  EXPECT_EQ(EventMember, -1);
  EXPECT_EQ(EncounterRequestCount, 0);
  EXPECT_EQ(ChosenItem, -1);
  EXPECT_EQ(PartyGold, 0u);
  EXPECT_EQ(RefusedOrdersThisTurn, 0) << "the next battle's first refused order would end its turn";
  EXPECT_EQ(HoverMarksHidden, 0) << "the hovered fighter would never blink";
  EXPECT_EQ(SidePanelRows, 0) << "a click on the map under the old list would be taken by it";
}

TEST(GameReset, TheTablesReadAtStartUpStay) {
  ItemTable[3].bonus = 2;
  SpellTable[5].school = 4;
  ResetGameState();
  EXPECT_EQ(ItemTable[3].bonus, 2);
  EXPECT_EQ(SpellTable[5].school, 4);
  ResetItemTablesState();
  EXPECT_EQ(ItemTable[3].bonus, 0);
  EXPECT_EQ(SpellTable[5].school, 0);
}

}  // namespace
