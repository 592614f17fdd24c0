#include "combat/actions/attack_actions.h"
#include "combat/turns/turn_routines.h"

#include <initializer_list>

#include "combat/actions/combat_actions.h"
#include "map/movement_rules.h"
#include "state/turn_order.h"
#include "engine/message_log.h"
#include "engine/frame.h"
#include "engine/settings.h"
#include "map/map_record.h"
#include "map/square_grids.h"
#include "rules/attack_profile.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/recompute_creature.h"
#include "state/camera.h"
#include "state/map_view_state.h"
#include "map/map_view.h"
#include "combat/turns/computer_decision.h"
#include "engine/graphics.h"
#include "map/fighter_tests.h"

namespace {
constexpr int32_t kBrazierSmall = 2015;
constexpr int32_t kBrazierLarge = 2016;

bool IsConfusedOrInsane(int creature) {
  return FindAnyCondition(creature, kCondConfused, kCondInsane) >= 0;
}
}  // namespace

bool MayTakeFiveFootStep(int creature) {
  if (InCombat != 1 || creature < 0 || creature != CurrentFighter()) return false;
  return CombatAction.fiveFootStepLeft == 1 && CombatAction.fiveFootStepAllowed == 1;
}

bool ReleaseFriendlyGrapple(int creature) {
  if (!IsValidCreature(creature)) return false;
  const int entry = FindCondition(creature, kCondGrappling);
  if (entry < 0) return false;
  const int partner = Creatures[creature].conditions[entry].value;
  if (!IsValidCreature(partner) || AreEnemies(creature, partner)) return false;
  if (IsConfusedOrInsane(creature) || IsConfusedOrInsane(partner)) return false;
  // Both count free at once: the one that was pinned has its Dexterity back.
  for (int c : {creature, partner}) {
    RemoveCondition(c, kCondPinned);
    RemoveCondition(c, kCondGrappling);
    RecomputeCreature(c, 0);
  }
  return true;
}

int CountGrapplingAttacks() {
  const int creature = CurrentFighter();
  if (!IsValidCreature(creature)) return 1;
  static AttackProfile profile;
  const bool grappling = FindCondition(creature, kCondGrappling) >= 0;
  BuildAttackProfile(&profile, creature, CombatAction.useAlternateAttack, -1, grappling ? 1 : 0, 0);
  // The melee attacks are those of the entries before the first ranged or
  // empty one; the shots those of the first ranged entry, wherever it stands
  // (entry 1 when nothing else was built).
  int melee = 0, shots = 0;
  for (const AttackProfileEntry& e : profile.entries) {
    if (e.kind == kEntryNone || e.kind == kEntryRanged) break;
    melee += e.attackCount.total;
  }
  const int ranged = FirstRangedEntry(profile);
  if (!grappling && ranged >= 0) shots = profile.entries[ranged].attackCount.total;
  CombatAction.meleeAttacksAllowed = melee;
  CombatAction.shotsAllowed = shots;
  if (grappling && DebugMode == 1) LogMessage("Number of grappling attacks: %i \r", melee);
  return 1;
}

void PlaceBrazierFires() {
  for (int x = 0; x < kMapSide; ++x) {
    for (int y = 0; y < kMapSide; ++y) {
      SquareEffectCell& cell = MagicAreaGrid[SquareIndex(x, y)];
      cell = {};
      const int32_t floor = CurrentMap.At(kLayerFloor, x, y);
      if (floor == kBrazierSmall || floor == kBrazierLarge) cell = {kEffectFire, 1000, 0};
    }
  }
}

bool IsOnDifficultTerrain(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  if (c.size.current > 3 || c.squareX < 0 || c.squareY < 0 || c.squareX >= kMapSide || c.squareY >= kMapSide)
    return false;
  const int32_t floor = CurrentMap.At(kLayerFloor, c.squareX, c.squareY);
  return floor == 123 || floor == 124;
}

bool CanCharge(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CombatActionState& a = CombatAction;
  const int32_t speed = Creatures[creature].speed.current;
  const bool unmoved = a.singleActionTurn ? (a.movesLeft == speed && a.standardActionLeft == 1)
                                          : (a.movesLeft == 2 * speed && a.fullRoundActionLeft == 1);
  if (!unmoved || a.movementClosed != 0) return false;
  if (FindAnyCondition(creature, kCondBlinded, kCondCantSee, kCondFatigued, kCondExhausted, kCondEntangled) >= 0)
    return false;
  if (Creatures[creature].kind == 50 && FindAnyCondition(creature, kCondDeafened, kCondSilenced) >= 0) return false;
  return !IsOnDifficultTerrain(creature);
}

int PresentFrameNow() {
  AiThinkingDisplay = 1;
  if (BeginScene()) {
    BeginSprite();
    DrawGameScreenNow();
    EndSprite();
    EndScene();
    PresentFrame();
  }
  AiThinkingDisplay = 0;
  return 1;
}
