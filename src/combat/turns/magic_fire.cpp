#include "combat/turns/magic_fire.h"

#include <cstdint>
#include <initializer_list>

#include "combat/turns/area_placement.h"
#include "combat/turns/computer_decision.h"
#include "combat/turns/spell_search.h"
#include "combat/turns/spell_usefulness.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "map/fighter_tests.h"
#include "map/square_grids.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/feat_ids.h"
#include "rules/item_tables.h"
#include "rules/spell_ids.h"
#include "state/casting_services.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/fighter_slots.h"
#include "state/map_view_state.h"

namespace {

constexpr int32_t kDispelFireOnStep = 8;

bool Has(int creature, uint32_t id) { return HasCondition(creature, id); }
bool Knows(int creature, int spell) { return Creatures[creature].knownSpells[spell] == 1; }
bool Arcane(const CreatureRecord& c) { return c.creatureClass == 4 || c.creatureClass == 5; }
bool Hushed(int creature) { return Has(creature, kCondMute) || Has(creature, kCondSilenced); }

// How the fighter would deal with the fire.
enum class FireMeans { kSpellLike, kWand, kSlots };

// The refusals that hold whatever the square: fire cannot hurt it, it is
// no caster, or it is in no state to cast.
bool NeverCastsAgainstFire(int creature) {
  const CreatureRecord& c = Creatures[creature];
  const int fire = GetProtectionValue(creature, 2);
  if (fire == 1 || fire == 5 || c.kind == 1 || c.kind == 88) return true;
  if (c.creatureClass < 3 || c.creatureClass > 5) {
    if (InnateSpellOf(creature) != kSpellDispel) return true;
  }
  for (uint32_t id : {kCondTransformation, kCondPolymorphed, kCondFeebleminded, kCondControlled, kCondIronBody,
                      kCondConfused, kCondNauseated})
    if (Has(creature, id)) return true;
  return false;
}

// The crafted wand of DISPEL with a charge left in the main hand, 0 none.
uint32_t DispelWandOf(int creature) {
  const uint32_t code = Creatures[creature].equipment[kSlotRightHand - 1];
  if (!IsCraftedCode(code)) return 0;
  const CraftedWeaponRecord& w = CraftedWeapons[code];
  return w.itemType == 8 && w.spell == kSpellDispel && w.charges >= 1 ? code : 0;
}

// The first means that applies; false when the fighter's spells refuse.
bool ChooseMeans(int creature, FireMeans* means) {
  const CreatureRecord& c = Creatures[creature];
  const bool hushed = Hushed(creature);
  if (InnateSpellOf(creature) == kSpellDispel && c.special[kSpecialUsesLeft] >= 1 && !hushed) {
    *means = FireMeans::kSpellLike;
    return true;
  }
  if (Arcane(c) && DispelWandOf(creature) != 0 && !hushed) {
    *means = FireMeans::kWand;
    return true;
  }
  *means = FireMeans::kSlots;
  const bool resistant = c.protections[kProtResistFire].current > 0;
  if (Arcane(c) && !Knows(creature, kSpellDispel) && !(!resistant && Knows(creature, kSpellIceShield))) return false;
  if (c.creatureClass == 3) {
    if (!Knows(creature, kSpellGreaterProtectionFire) && !Knows(creature, kSpellProtectionFire)) return false;
    if (resistant) return false;
  }
  if (hushed && c.feats[kFeatMetamagicSilent] == 0) return false;
  const bool bothHands = c.equipment[kSlotRightHand - 1] != 0 && c.equipment[kSlotLeftHand - 1] != 0;
  if (bothHands && c.feats[kFeatMetamagicStill] == 0) return false;
  return true;
}

// The square holds fire that is no brazier's, with the fighter placed there.
bool FireToStepInto(int creature, int x, int y) {
  CreatureRecord& c = Creatures[creature];
  const int32_t sx = c.squareX, sy = c.squareY;
  c.squareX = x;
  c.squareY = y;
  const bool fire = IsInMagicArea(creature, kEffectFire) && !IsOnBrazierFire(creature);
  c.squareX = sx;
  c.squareY = sy;
  return fire;
}

// A dispel centre over the fire on (x, y): the words of the search are set
// and kept when a centre is found, and put back when none is.
bool FindFireDispelCentre(int creature, int x, int y) {
  const int32_t spell = SpellInProgress, caster = SpellCaster, reason = DispelReason;
  const GridSquare step = MagicFireStepSquare;
  SpellInProgress = kSpellDispel;
  MagicFireStepSquare = {x, y};
  SpellCaster = creature;
  DispelReason = kDispelFireOnStep;
  FillAreaTargetWeights(kSpellDispel, creature);
  if (FindCircle(creature, kSpellDispel).x >= 0) return true;
  SpellInProgress = spell;
  MagicFireStepSquare = step;
  SpellCaster = caster;
  DispelReason = reason;
  return false;
}

// The metamagic a cast from the slots needs: Silent when silenced or mute,
// else Still under a spell failure or with the hands full.
int32_t SlotMetamagic(int creature) {
  const CreatureRecord& c = Creatures[creature];
  if (Hushed(creature)) return kMetamagicSilent;
  const uint32_t main = c.equipment[kSlotRightHand - 1];
  const bool heavyMain = IsCraftedCode(main) && CraftedWeapons[main].itemType == 3;
  if (Has(creature, kCondSpellFailureArmor) || Has(creature, kCondSpellFailureShield) ||
      (main != 0 && (c.equipment[kSlotLeftHand - 1] != 0 || heavyMain)))
    return kMetamagicStilled;
  return kMetamagicNone;
}

// A slot of the level (raised by the metamagic step) is left and within the
// fighter's reach.
bool SlotLeft(int creature, int level) {
  return level >= 1 && level <= 9 && level <= MaxSpellLevel(creature) && Creatures[creature].spellsLeft[level - 1] > 0;
}

// The spell a caster casts from its slots against the fire, -1 none; a
// DISPEL has its centre found.
int ChooseSlotSpell(int creature, int x, int y, int step) {
  const CreatureRecord& c = Creatures[creature];
  if (Arcane(c)) {
    if (Knows(creature, kSpellDispel) && SlotLeft(creature, 3 + step) && FindFireDispelCentre(creature, x, y))
      return kSpellDispel;
    if (CanCastOnTarget(creature, creature, kSpellIceShield, 0) && Knows(creature, kSpellIceShield) &&
        SlotLeft(creature, 4 + step))
      return kSpellIceShield;
    return -1;
  }
  if (c.creatureClass == 3) {
    if (Knows(creature, kSpellGreaterProtectionFire) && SlotLeft(creature, 3 + step))
      return kSpellGreaterProtectionFire;
    if (Knows(creature, kSpellProtectionFire) && SlotLeft(creature, 2 + step)) return kSpellProtectionFire;
  }
  return -1;
}

}  // namespace

void StopAndRedecide(int creature) {
  if (!IsValidCreature(creature)) return;
  CreatureRecord& c = Creatures[creature];
  const int slot = c.fighterSlot;
  if (slot >= 0 && slot < kFighterSlots) FighterSlots[slot].pathIndex = -1;
  CombatAction.actionCode = 0;
  c.nextX = c.destinationX = c.squareX;
  c.nextY = c.destinationY = c.squareY;
  CombatState = kStateComputerDecision;
  SettleMoveAfterAction();
  ClearActionTarget();
}

int CheckMagicFireCasting(int creature, int x, int y) {
  if (!IsValidCreature(creature) || NeverCastsAgainstFire(creature)) return 0;
  FireMeans means;
  if (!ChooseMeans(creature, &means)) return 0;
  if (!FireToStepInto(creature, x, y)) return 0;
  if (DebugMode == 1) LogMessage("Checking MagicFire casting");
  if (CombatAction.standardActionLeft != 1) {
    StopAndRedecide(creature);
    ActionBarMode = 1;
    CombatState = kStateNextFighter;
    return 1;
  }
  int spell = -1;
  if (means != FireMeans::kSlots) {
    if (!FindFireDispelCentre(creature, x, y)) return 0;
    spell = kSpellDispel;
    if (means == FireMeans::kSpellLike) {
      CastingSpellLike = 1;
    } else {
      CastingFromItem = 1;
      CastingWand = 1;
      CastingItem = DispelWandOf(creature);
    }
  } else {
    const int32_t metamagic = SlotMetamagic(creature);
    spell = ChooseSlotSpell(creature, x, y, metamagic != kMetamagicNone ? 1 : 0);
    if (spell == -1) return 0;
    PendingMetamagic = metamagic;
    if (spell != kSpellDispel) SpellTarget = creature;
  }
  StopAndRedecide(creature);
  SpellInProgress = spell;
  SpellCaster = creature;
  ScreenMode = kModeCastStart;
  CombatState = kStateActionUnderWay;
  return 1;
}
