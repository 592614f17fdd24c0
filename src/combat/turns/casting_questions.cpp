#include "combat/turns/casting_questions.h"

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

bool CanCastSpells(int creature, int* outIndex) {
  if (outIndex) *outIndex = -1;
  if (!IsValidCreature(creature)) return false;
  for (uint32_t id : kCastingBlockers) {
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
  return RangeKindReach(SpellTable[spell].range);
}

int32_t RangeKindReach(int32_t range) {
  switch (range) {
    case 0: case 1: return 0;
    case 2: return 2;
    case 3: return 9;
    case 4: return 49;
    case 5: return 144;
    default: return -1;
  }
}


bool IsReachableThisTurn(int creature, int x, int y) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  if (FindCreaturePath(creature, c.squareX, c.squareY, x, y, 1, 1, 0, 0, nullptr, nullptr) == kPathNone) return false;
  return PathCostFeet <= CombatAction.movesLeft;
}

void ResetCastingQuestionsState() {}
