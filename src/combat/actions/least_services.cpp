#include "combat/actions/least_services.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "combat/actions/casting_checks.h"
#include "combat/resolution/area_targets.h"
#include "combat/resolution/special_attacks.h"
#include "engine/message_log.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "map/square_grids.h"
#include "rules/adjacency.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "rules/recompute_creature.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/map_view_state.h"
#include "state/queued_actions.h"
#include "state/turn_order.h"

namespace {

int EntryOf(int creature) {
  const int count = TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries;
  for (int i = 0; i < count; ++i)
    if (TurnOrder[i].creature == creature) return i;
  return -1;
}

}  // namespace



void AimSpellAndScroll() {
  const int caster = SpellCaster, target = AreaTargetList[0];
  if (!IsValidCreature(caster) || !IsValidCreature(target)) return;
  const int spell = SpellInProgress;
  if (InCombat == 1 && spell >= 0 && spell < kSpellRows) {
    const int entry = EntryOf(caster);
    const int32_t kind = SpellCategory[spell];
    if (entry >= 0 && (kind == 1 || kind == 7 || kind == 3 || kind == 5 || kind == 9)) {
      TurnOrder[entry].plannedAction = kind == 1 || kind == 7 ? 5 : 7;
      TurnOrder[entry].plannedTarget = target;
      TurnOrder[entry].plannedParameter = -1;
    }
  }
  const CreatureRecord& c = Creatures[caster];
  const GridSquare near = NearestFootprintSquare(target, c.squareX, c.squareY);
  MapCursorX = near.x;
  MapCursorY = near.y;
  MissileFrame(caster, near.x, near.y);
}
