// A battle on a small drawn map for the action executor's tests: fighters
// with a sword (or a bow), a turn order in fighter-table order, the acting
// fighter's full turn, and frames stepped one call of the executor at a time.
#pragma once
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "combat/actions/action_executor.h"
#include "engine/message_log.h"
#include "engine/random.h"
#include "frontend/game_reset.h"
#include "map/map_fixture.h"
#include "map/path_finding.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/current_cast.h"
#include "state/inventory_state.h"
#include "state/turn_order.h"

namespace executorfixture {

constexpr uint32_t kSword = 10;
constexpr uint32_t kBow = 11;

inline void MakeWeapons() {
  CraftedWeaponRecord& sword = CraftedWeapons[kSword];
  std::memset(&sword, 0, sizeof sword);
  std::snprintf(sword.name, sizeof sword.name, "Longsword");
  sword.itemType = 19;
  sword.handling = 2;
  sword.proficiency = 1;
  sword.size = 3;
  sword.dieCount = 1;
  sword.dieSides = 8;
  sword.damageKind = 1;
  sword.critLow = 20;
  sword.critMultiplier = 2;
  CraftedWeaponRecord& bow = CraftedWeapons[kBow];
  bow = sword;
  std::snprintf(bow.name, sizeof bow.name, "Longbow");
  bow.itemType = 32;
  bow.handling = 4;
  bow.place = 12;
  bow.damageKind = 3;
  bow.range = 100;
}

// A plain fighter of the given side on (x, y).
inline void MakeFighter(int id, const char* name, int x, int y, int32_t allegiance, int bab = 30, int hp = 100) {
  mapfixture::PlaceFighter(id, x, y);
  CreatureRecord& c = Creatures[id];
  std::snprintf(c.name, sizeof c.name, "%s", name);
  c.creatureClass = 1;
  c.level = c.effectiveLevel = 1;
  c.baseAttack = {bab, bab};
  for (StatPair* p : {&c.strength, &c.dexterity, &c.constitution, &c.intelligence, &c.wisdom, &c.charisma})
    *p = {10, 10};
  c.size = {3, 3};
  c.speed = {30, 30};
  c.baseHitPoints = c.maxHitPoints = c.hitPoints = hp;
  c.allegiance = allegiance;
  c.destinationX = c.destinationY = -1;
  c.pixelX = x * 24;
  c.pixelY = y * 24;
  c.facing = 3;
  c.attacksOfOpportunity = c.attacksOfOpportunityLeft = 1;
  c.equipment[kSlotRightHand - 1] = kSword;
  RecomputeCreature(id, 1);
}

// A battle of the placed fighters, the given one acting with a fresh full turn
// of a computer-controlled fighter; events are shown two frames each.
inline void StartBattle(int acting) {
  mapfixture::StartTestCombat();
  for (int i = 0; i < TurnEntryCount; ++i)
    if (TurnOrder[i].creature == acting) CurrentTurnIndex = i;
  BuildOccupancyGrids(acting);
  CombatActionState& a = CombatAction;
  a.movesLeft = 2 * Creatures[acting].speed.current;
  a.moveActionLeft = a.fullRoundActionLeft = a.standardActionLeft = 1;
  a.fiveFootStepLeft = a.fiveFootStepAllowed = 1;
  a.movementClosed = 0;
  a.playerControlled = 0;
  a.reactingCreature = -1;
  FramesPerEvent = 2;
  EventDisplayTime = 2;
  CombatState = kStateActionUnderWay;
  ActingCreature = acting;
}

// Orders an attack of that code on the target.
inline void Order(int32_t code, int target) {
  ActionTarget = target;
  CombatAction.actionCode = code;
  g_ProcessingAttackNumber = -1;
  CombatState = kStateActionUnderWay;
}

// Steps the executor until the condition holds (or the limit); the frames taken.
inline int RunUntil(const std::function<bool()>& done, int limit = 2000) {
  int frames = 0;
  while (frames < limit && !done()) {
    mapfixture::StepCamera();
    ExecuteCombatAction();
    ++frames;
  }
  return frames;
}

// Until the action is over and the turn has been handed on.
inline int RunAction(int limit = 2000) {
  return RunUntil([] { return CombatAction.actionCode == 0 && CombatState != kStateActionUnderWay; }, limit);
}

inline std::string Log() { return MessageLogText; }
inline int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

}  // namespace executorfixture
