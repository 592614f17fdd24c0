#include "combat/actions/creature_effects.h"

#include <cstring>
#include <initializer_list>

#include "creatures/weapon_size.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/settings.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/current_cast.h"
#include "state/fighter_slots.h"
#include "state/queued_actions.h"
#include "state/turn_order.h"

namespace {

constexpr int kViewMargin = 70;
constexpr int kUnarmedAttack = 3;
constexpr int32_t kBludgeoning = 1;
constexpr int kLargestSizeStep = 7;
constexpr int kSmallestSizeStep = 1;
constexpr uint32_t kSourceCastingDamage = 24;


// A page over the game screen.
bool IsModalScreen() { return ScreenMode == kModePageView; }

// The side panel covers the view's right side for a player-controlled fighter.
bool SidePanelCovers() { return SidePanelShown != 0 && CombatAction.playerControlled == 1; }

// ---- Sizes of what a creature carries ----------------------------------------

// Natural attacks that take no dice of a size: none, and the kinds 5 and 9.
bool NaturalAttackResizes(int32_t kind) { return kind != 0 && kind != 5 && kind != 9; }

// One damage part (type, count, sides) of a natural attack takes the dice of
// the same column of the progression in the row of the new size.
void ResizeDamagePart(int32_t type, int32_t& count, int32_t& sides, int formerRow, int newRow) {
  if (type < 1 || type > 23 || count <= 0 || sides <= 0) return;
  for (int column = 0; column < kWeaponDieKinds; ++column) {
    const WeaponDice& d = WeaponDamageBySize[formerRow][column];
    if (d.count != count || d.sides != sides) continue;
    // The last column is not followed down the sizes.
    if (column == kWeaponDieKinds - 1) return;
    count = WeaponDamageBySize[newRow][column].count;
    sides = WeaponDamageBySize[newRow][column].sides;
    return;
  }
}

// The natural attacks follow the size the creature has now from the size it
// had; a size outside the progression's rows changes nothing.
void ResizeNaturalAttacks(CreatureRecord& c, int formerRow) {
  const int newRow = c.size.current;
  if (formerRow < 1 || formerRow >= kWeaponSizes || newRow < 1 || newRow >= kWeaponSizes) return;
  for (NaturalAttack& a : c.naturalAttacks) {
    if (!NaturalAttackResizes(a.kind)) continue;
    ResizeDamagePart(a.effectKind, a.effectDice, a.effectSides, formerRow, newRow);
    ResizeDamagePart(a.riderKind, a.riderDice, a.riderSides, formerRow, newRow);
  }
}

void ResizeCarriedItems(int creature, int step) {
  if (!IsValidCreature(creature)) return;
  CreatureRecord& c = Creatures[creature];
  int (*resize)(int) = step > 0 ? EnlargeWeaponSize : ReduceWeaponSize;
  for (const ItemPair& pair : c.carried)
    if (pair.count == 1 && IsCraftedCode(pair.code)) resize(static_cast<int>(pair.code));
  for (int slot : {kSlotRightHand, kSlotLeftHand, kSlotRanged}) {
    const uint32_t code = c.equipment[slot - 1];
    if (IsCraftedCode(code)) resize(static_cast<int>(code));
  }
  const uint32_t armour = c.equipment[kSlotTorso - 1];
  if (IsCraftedCode(armour)) {
    int32_t& size = CraftedWeapons[armour].size;
    size += step;
    if (size > kLargestSizeStep) size = kLargestSizeStep;
    if (size < kSmallestSizeStep) size = kSmallestSizeStep;
  }
  ResizeNaturalAttacks(c, c.size.current - step);
}

// ---- The natural form ------------------------------------------------------

SavedNaturalForm* FormSlot(int creature) {
  const int slot = GetFighterSlot(creature);
  return slot >= 0 && slot < kFighterSlots ? &FighterSlots[slot].savedForm : nullptr;
}

// The saved form of the creature, when its slot keeps one for it.
SavedNaturalForm* KeptForm(int creature) {
  SavedNaturalForm* f = FormSlot(creature);
  return f && f->saved == 1 && f->creature == creature ? f : nullptr;
}

void Put(StatPair& to, const int32_t (&from)[2]) { to = {from[0], from[1]}; }
void Keep(int32_t (&to)[2], const StatPair& from) { to[0] = from.base, to[1] = from.current; }

// What every natural form keeps: the attack values, Strength, Dexterity and
// Constitution, the 44-value block, and (so that nothing taken by the form
// is lost) the figure, speed, natural armour and the equipment.
void RestoreCommonForm(CreatureRecord& c, const SavedNaturalForm& f) {
  Put(c.baseAttack, f.baseAttack);
  Put(c.strength, f.abilities[0]);
  Put(c.dexterity, f.abilities[1]);
  Put(c.constitution, f.abilities[2]);
  for (int i = 0; i < kSavedFormValues; ++i) c.protections[kProtFirstImmunity + i].base = f.derivedBases[i];
  c.figure = f.figure;
  // The natural base speed only: the speed in use follows at the recompute,
  // which measures the change from the form's speed in use, not from one
  // kept when the form was taken (a haste gained or lost since).
  c.speed.base = f.speed[0];
  Put(c.protections[kProtNaturalArmour], f.naturalArmour);
  std::memcpy(c.equipment, f.equipment, sizeof c.equipment);
}

// The first natural attack becomes the unarmed attack again (bludgeoning, one
// die of as many sides as a creature of size 1 to 4 has, larger sizes keeping
// their dice) and the other natural attacks are cleared.
void ResetToUnarmedAttack(CreatureRecord& c) {
  NaturalAttack& first = c.naturalAttacks[0];
  first.kind = kUnarmedAttack;
  first.count = 1;
  first.critLow = 20;
  first.effectKind = kBludgeoning;
  if (c.size.current >= 1 && c.size.current <= 4) {
    first.effectDice = 1;
    first.effectSides = c.size.current;
  }
  first.riderKind = first.riderDice = first.riderSides = 0;
  for (int i = 1; i < 4; ++i) c.naturalAttacks[i] = NaturalAttack{};
}

void EndForm(int creature, uint32_t condition, bool wholeForm) {
  if (!IsValidCreature(creature)) return;
  CreatureRecord& c = Creatures[creature];
  if (SavedNaturalForm* f = KeptForm(creature)) {
    RestoreCommonForm(c, *f);
    if (wholeForm) {
      Put(c.intelligence, f->abilities[3]);
      Put(c.wisdom, f->abilities[4]);
      Put(c.charisma, f->abilities[5]);
      Put(c.size, f->size);
      Put(c.footprintWidth, f->footprintWidth);
      Put(c.footprintHeight, f->footprintHeight);
      Put(c.figureSize[0], f->figureSize[0]);
      Put(c.figureSize[1], f->figureSize[1]);
      c.ammunition = {static_cast<uint32_t>(f->ammunition[0]), f->ammunition[1]};
    }
    f->saved = 0;
    ResetToUnarmedAttack(c);
  }
  RemoveCondition(creature, condition);
  RecomputeCreature(creature, 0);
}

}  // namespace

// ---- Effects and the view --------------------------------------------------------

void CreatureViewCentre(int creature, int32_t* x, int32_t* y) {
  const CreatureRecord& c = Creatures[creature];
  *x = c.pixelX + c.figureSize[0].current / 2;
  *y = c.pixelY + c.figureSize[1].current / 2;
  if (InCombat == 1 && !IsModalScreen()) {
    if (SidePanelCovers()) *x += IsWideView() ? 60 : 40;
    if (CombatRollsShown != 0) *y -= IsWideView() ? 52 : 35;
  }
}

bool IsCreatureInView(int creature) {
  if (!IsValidCreature(creature)) return false;
  int32_t x = 0, y = 0;
  CreatureViewCentre(creature, &x, &y);
  x -= ViewOriginX;
  y -= ViewOriginY;
  return x > kViewMargin && y > kViewMargin && x < ViewWidth() - kViewMargin && y < ViewHeight() - kViewMargin;
}

void BringCreatureIntoView(int creature) {
  if (!IsValidCreature(creature)) return;
  const bool combatTrace = DebugMode == 1 && InCombat == 1;
  if (combatTrace) LogMessage("Scroll to %i - %i - %i", creature, -1, -1);
  if (IsCreatureInView(creature)) return;
  if (combatTrace) LogMessage("StrictScroll to %i - %i - %i", creature, -1, -1);
  AimCameraAt(creature, -1, -1);
}

void StartCreatureEffect(int kind, int creature, int graphic) {
  if (!IsValidCreature(creature)) return;
  if (kind != -1) RecomputeCreature(creature, 0);
  ClearCombatEvents();
  CombatEvents[0] = CombatEvent{};
  CombatEvents[0].type = kind == -1 ? 0 : kind;
  CombatEvents[0].value = 0;
  CombatEvents[0].creature = creature;
  CombatEvents[0].sound = graphic;
  PlaybackCreature = creature;
  PlaybackFramesLeft = FramesPerEvent;
  BringCreatureIntoView(creature);
}

// ---- Sizes and forms --------------------------------------------------------------

void EnlargeCarriedItems(int creature) { ResizeCarriedItems(creature, +1); }
void ReduceCarriedItems(int creature) { ResizeCarriedItems(creature, -1); }

void ClearModifierBlock(int creature) {
  if (!IsValidCreature(creature)) return;
  for (int i = 0; i < kSavedFormValues; ++i) Creatures[creature].protections[kProtFirstImmunity + i].base = 0;
}

void RestoreModifierBlockFromSlot(int creature) {
  SavedNaturalForm* f = IsValidCreature(creature) ? FormSlot(creature) : nullptr;
  if (!f) return;
  for (int i = 0; i < kSavedFormValues; ++i) Creatures[creature].protections[kProtFirstImmunity + i].base = f->derivedBases[i];
}

void SaveModifierBlockToSlot(int creature) {
  SavedNaturalForm* f = IsValidCreature(creature) ? FormSlot(creature) : nullptr;
  if (!f) return;
  for (int i = 0; i < kSavedFormValues; ++i) f->derivedBases[i] = Creatures[creature].protections[kProtFirstImmunity + i].base;
}

bool SaveNaturalForm(int creature) {
  if (!IsValidCreature(creature)) return false;
  SavedNaturalForm* f = FormSlot(creature);
  if (!f) return false;
  const CreatureRecord& c = Creatures[creature];
  SaveModifierBlockToSlot(creature);
  Keep(f->baseAttack, c.baseAttack);
  const StatPair* abilities[6] = {&c.strength, &c.dexterity, &c.constitution, &c.intelligence, &c.wisdom, &c.charisma};
  for (int i = 0; i < 6; ++i) Keep(f->abilities[i], *abilities[i]);
  Keep(f->size, c.size);
  Keep(f->footprintWidth, c.footprintWidth);
  Keep(f->footprintHeight, c.footprintHeight);
  f->ammunition[0] = static_cast<int32_t>(c.ammunition.code);
  f->ammunition[1] = c.ammunition.count;
  f->figure = c.figure;
  Keep(f->speed, c.speed);
  Keep(f->naturalArmour, c.protections[kProtNaturalArmour]);
  Keep(f->figureSize[0], c.figureSize[0]);
  Keep(f->figureSize[1], c.figureSize[1]);
  std::memcpy(f->naturalAttacks, c.naturalAttacks, sizeof f->naturalAttacks);
  std::memcpy(f->equipment, c.equipment, sizeof f->equipment);
  f->saved = 1;
  f->creature = creature;
  return true;
}

void EndIronBody(int creature) { EndForm(creature, kCondIronBody, false); }
void EndPolymorph(int creature) { EndForm(creature, kCondPolymorphed, true); }

void CureAfflictions(int creature) {
  if (!IsValidCreature(creature)) return;
  static const uint32_t kAfflictions[] = {kCondAcidBurns, kCondBleeding, kCondBlinded, kCondConfused,
                                          kCondDazed, kCondDeafened, kCondExhausted, kCondFatigued,
                                          kCondFeebleminded, kCondInsane, kCondNauseated, kCondSickened,
                                          kCondStunned, kCondDamagedStrength, kCondDamagedDexterity,
                                          kCondDamagedConstitution, kCondDamagedIntelligence,
                                          kCondDamagedWisdom, kCondDamagedCharisma};
  // What comes back counts at once: a creature its lost Dexterity or its
  // exhaustion paralysed is free before its own turn.
  if (RemoveConditions(creature, kAfflictions) > 0) RecomputeCreature(creature, 0);
}

bool MarkCasterDamaged(int creature, int32_t damage) {
  if (!IsValidCreature(creature) || !IsCreatureActionQueued(creature)) return false;
  const int32_t previous = ConditionValue(creature, kCondDamagedWhileCasting);
  RemoveCondition(creature, kCondDamagedWhileCasting);
  AddCondition(creature, kCondDamagedWhileCasting, 1, previous + damage, kSourceCastingDamage, 0);
  return true;
}
