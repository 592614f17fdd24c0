// Two groups of created creatures on a drawn map, and the frames of a battle.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "combat/actions/combat_actions.h"
#include "combat/actions/start_of_combat.h"
#include "combat/turns/combat_cycle.h"
#include "creatures/creation_fixture.h"
#include "creatures/creature_kinds.h"
#include "engine/frame.h"
#include "engine/game_speeds.h"
#include "engine/message_log.h"
#include "engine/settings.h"
#include "map/fighter_table.h"
#include "map/map_fixture.h"
#include "map/square_grids.h"
#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "state/turn_order.h"

class BattleTest : public CreationTest {
 protected:
  static constexpr int kFoeA = 601, kFoeB = 602;

  void SetUp() override {
    CreationTest::SetUp();
    Prepare();
  }
  // The game state cleared again (the loaded tables stay), on the drawn map.
  static void Fresh() {
    ResetGameState();
    Prepare();
  }
  static void Prepare() {
    OptionWords[kOptionMusicVolume] = 0;
    FramesPerEvent = 2;
    mapfixture::DrawMap({"..........", "..........", "..........", "..........", "..........",
                         "..........", "..........", "..........", "..........", ".........."});
    CurrentMapNumber = 3;
  }

  // Party members 0 and 1 (humans) facing two gnolls of one group; all see
  // everyone and all are alert.
  void MeetTwoGroups(uint32_t seed) {
    Create(seed, kKindHuman, kClassWarrior, 3, 0, 0, 0, 0, 0);
    Create(seed + 1, kKindHuman, kClassWarrior, 3, 0, 0, 0, 0, 1);
    Create(seed + 2, kKindGnoll, 0, 0, 0, 0, 0, 0, kFoeA);
    Create(seed + 3, kKindGnoll, 0, 0, 0, 0, 0, 0, kFoeB);
    Place(0, 1, 1, kAllegianceParty);
    Place(1, 2, 1, kAllegianceParty);
    Place(kFoeA, 6, 6, kAllegianceEnemy);
    Place(kFoeB, 7, 6, kAllegianceEnemy);
    Creatures[kFoeA].leader = Creatures[kFoeB].leader = kFoeA;
    EveryoneSeesEveryone();
  }

  // The fighter table and grids of the placed creatures; all see everyone
  // and all are alert.
  static void EveryoneSeesEveryone() {
    BuildFighterTable();
    BuildOccupancyGrids(0);
    for (int s = 0; s < FighterCount; ++s) {
      for (int32_t& v : FighterSlots[s].visible) v = 1;
      FighterSlots[s].alert = 1;
    }
  }

  static void Place(int id, int x, int y, int32_t side) {
    CreatureRecord& c = Creatures[id];
    c.map = 3;
    c.present = 1;
    c.allegiance = side;
    c.squareX = c.nextX = x;
    c.squareY = c.nextY = y;
  }

  // One frame of the state machine and the action executor, as the game's
  // frame runs them; a party member's turn is ended at once, as the end-turn
  // key does.
  static void Frame() {
    if (CombatState == kStatePlayerTurn && CombatAction.playerControlled) CombatState = kStateNextFighter;
    mapfixture::StepCamera();
    CombatCycle();
    ExecuteCombatAction();
  }
  template <typename Done>
  static int FramesUntil(Done done, int limit = 2000) {
    int n = 0;
    while (InCombat == 1 && !done() && n < limit) {
      Frame();
      ++n;
    }
    return n;
  }
  // Frames until the creature's turn has begun (its upkeep is over: the
  // player's orders are awaited, or the computer has decided); false when
  // it never came.
  static bool UntilTurnOf(int creature) {
    const int limit = 2000;
    return FramesUntil(
               [creature] {
                 return CurrentFighter() == creature && PlaybackCreature == -1 &&
                        (CombatState == kStatePlayerTurn || CombatState == kStateComputerDecision ||
                         CombatState == kStateNextFighter);
               },
               limit) < limit;
  }

  static std::string Log() { return std::string(MessageLogText); }
  static int IndexOf(int creature) {
    for (int i = 0; i < TurnEntryCount; ++i)
      if (TurnOrder[i].creature == creature) return i;
    return -1;
  }
};
