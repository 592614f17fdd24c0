#include "combat/turns/least_services.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <iterator>

#include "combat/actions/casting_checks.h"
#include "engine/random.h"
#include "map/area_shapes.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "map/path_finding.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/combat_action.h"
#include "state/inventory_state.h"
#include "state/turn_order.h"

namespace {

bool AbleCombatant(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  return c.present == 1 && c.hitPoints > 0 && !HasCondition(creature, kCondDead);
}

// The able combatants of the turn order that pass the test, the first best by the score.
template <typename Test, typename Score>
int BestCombatant(Test test, Score score) {
  int best = -1;
  int32_t bestScore = 0;
  const int count = TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries;
  for (int i = 0; i < count; ++i) {
    const int c = TurnOrder[i].creature;
    if (!AbleCombatant(c) || !test(c)) continue;
    const int32_t s = score(c);
    if (best == -1 || s > bestScore) {
      best = c;
      bestScore = s;
    }
  }
  return best;
}

}  // namespace

bool CanCastSpells(int creature, int* outIndex) {
  static const uint32_t kBlocking[] = {97, 89, 85, 84, 157, 86, 82, 118, 100, 98, 122,
                                       123, 115, 95, 103, 94, 87, 88, 104, 148, 114};
  if (outIndex) *outIndex = -1;
  if (!IsValidCreature(creature)) return false;
  for (uint32_t id : kBlocking) {
    const int index = FindCondition(creature, id);
    if (index >= 0) {
      if (outIndex) *outIndex = index;
      return false;
    }
  }
  return true;
}

bool IsGroupSpell10(int spell) {
  switch (spell) {
    case 107: case 119: case 133: case 144: case 162: case 109: case 120: case 134: case 145: case 161:
      return true;
    default:
      return false;
  }
}

int RangeClassSquared(int spell) {
  if (spell < 0 || spell >= kSpellRows) return -1;
  switch (SpellTable[spell].range) {
    case 0: case 1: return 0;
    case 2: return 2;
    case 3: return 9;
    case 4: return 49;
    case 5: return 144;
    default: return -1;
  }
}


bool CanStillCastSpells(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  const int highest = MaxSpellLevel(creature);
  for (int level = 1; level <= highest; ++level)
    if (c.spellsLeft[level - 1] > 0) return true;
  return c.special[kSpecialSpellLike] > 0 && c.special[kSpecialUsesLeft] > 0;
}



namespace {

int TurnEntries() { return std::clamp<int>(TurnEntryCount, 0, kTurnOrderEntries); }

bool InList(int spell, std::initializer_list<int> ids) {
  for (int id : ids)
    if (id == spell) return true;
  return false;
}

int EntryOfCreature(int creature) {
  for (int i = 0; i < TurnEntries(); ++i)
    if (TurnOrder[i].creature == creature) return i;
  return -1;
}

bool InCollapseGroup(int32_t spell, int group) {
  switch (group) {
    case 0: return spell >= 114 && spell <= 117;
    case 1: return spell == 45 || spell == 46;
    default: return spell == 66 || spell == 67;
  }
}

}  // namespace

int CountAllies(int creature) {
  int n = 0;
  for (int i = 0; i < TurnEntries(); ++i) {
    const int c = TurnOrder[i].creature;
    if (c != creature && AreAllies(creature, c)) ++n;
  }
  return n;
}

int CountAlliesHoldingReady(int creature) {
  int n = 0;
  for (int i = 0; i < TurnEntries(); ++i) {
    const TurnOrderEntry& e = TurnOrder[i];
    if (e.creature == creature || !AreAllies(creature, e.creature)) continue;
    if (e.plannedAction == 23 || e.plannedAction == 22 || e.plannedAction == 9) ++n;
  }
  return n;
}

bool HasAllyNotHelpless(int creature) {
  for (int i = 0; i < TurnEntries(); ++i) {
    const int c = TurnOrder[i].creature;
    if (c != creature && AreAllies(creature, c) && !IsHelplessTarget(c, 1)) return true;
  }
  return false;
}

bool IsSpellInLevelGroup(int spell, int group) {
  switch (group) {
    case 2: return InList(spell, {4, 7, 114, 115, 116, 117});
    case 3: return InList(spell, {15, 17, 129, 130});
    case 4: return InList(spell, {31, 36, 39, 136, 138});
    case 5: return InList(spell, {31, 41, 43, 51, 145, 146});
    case 6: return InList(spell, {41, 57, 58, 59, 60, 157, 159});
    case 7: return InList(spell, {57, 69, 72, 161});
    case 8: return InList(spell, {77, 81, 83, 161});
    case 9: return InList(spell, {87, 88, 171});
    default: return false;
  }
}

bool IsAiSpellListed(int spell) {
  return InList(spell, {4,   5,   6,   11,  14,  18,  20,  24,  31,  32,  35,  39,  47,  48,  49,  51,  58,  60,  65,
                        69,  72,  73,  81,  82,  84,  88,  89,  90,  91,  92,  95,  99,  100, 101, 106, 107, 109, 119,
                        120, 129, 130, 133, 134, 138, 144, 145, 146, 155, 158, 161, 162, 164, 166, 170, 171, 173});
}

int CollapseIconRuns(int count, int32_t* list) {
  int out = 0;
  for (int i = 0; i < count;) {
    int group = -1;
    for (int g = 0; g < 3 && group < 0; ++g)
      if (InCollapseGroup(list[i], g)) group = g;
    int run = 1;
    if (group >= 0)
      while (i + run < count && InCollapseGroup(list[i + run], group)) ++run;
    list[out++] = run > 1 ? list[i + static_cast<int>(RandomUpTo(static_cast<uint32_t>(run - 1)))] : list[i];
    i += run;
  }
  return out;
}

int ScriptedSpellTarget(int creature) {
  if (InCombat == 0 || CombatAction.scriptedSpellPlanned == 0 || !IsValidCreature(creature)) return -1;
  const int spell = CombatAction.scriptedSpell;
  if (spell < 0 || spell >= kSpellRows) return -1;
  const int32_t kind = SpellTable[spell].target;
  if (kind != 3 && kind != 4 && kind != 9) return -1;
  const int32_t named = Creatures[creature].scriptWords[kScriptWordTarget];
  return named >= 1 && EntryOfCreature(named) >= 0 ? named : -1;
}

bool HasOnlyDistantTargets(int, int, int) { return false; }

int IssueEscape() {
  CombatActionState& a = CombatAction;
  if (!(a.fullRoundActionLeft == 1 || (a.singleActionTurn != 0 && a.standardActionLeft == 1))) {
    CombatState = kStateNextFighter;
    return 0;
  }
  if (InCombat != 0) {
    a.moveActionLeft = a.fullRoundActionLeft = a.standardActionLeft = 0;
    a.movementClosed = 1;
  }
  a.fiveFootStepLeft = 0;
  a.actionCode = 14;
  CombatState = kStatePlayerTurn;
  return 1;
}

void PresentFrameNow() {}

bool IsReachableThisTurn(int creature, int x, int y) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  if (FindCreaturePath(creature, c.squareX, c.squareY, x, y, 1, 1, 0, 0, nullptr, nullptr) == kPathNone) return false;
  return PathCostFeet <= CombatAction.movesLeft;
}

void ResetTurnLeastServicesState() {}
