#include "rules/creature_forms.h"

#include <cstring>

#include "creatures/weapon_size.h"
#include "engine/reset_words.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"
#include "state/fighter_slots.h"

int32_t SavedAllegiance[2100] = {};

namespace {

// Applies one weapon-size step to every crafted item worn or carried.
void ResizeCarriedItems(int creature, int (*step)(int row)) {
  if (!IsValidCreature(creature)) return;
  CreatureRecord& c = Creatures[creature];
  auto resize = [step](uint32_t code) {
    if (IsCraftedCode(code)) step(static_cast<int>(code));
  };
  for (uint32_t code : c.equipment) resize(code);
  resize(c.ammunition.code);
  for (const ItemPair& pair : c.carried) resize(pair.code);
}

}  // namespace

void EnlargeCarriedItems(int creature) { ResizeCarriedItems(creature, EnlargeWeaponSize); }

void ReduceCarriedItems(int creature) { ResizeCarriedItems(creature, ReduceWeaponSize); }

namespace {

SavedNaturalForm* FormSlot(int creature) {
  const int slot = GetFighterSlot(creature);
  return slot >= 0 && slot < kFighterSlots ? &FighterSlots[slot].savedForm : nullptr;
}

template <typename A, typename B>
void Copy(A& to, const B& from) {
  static_assert(sizeof(A) == sizeof(B));
  std::memcpy(&to, &from, sizeof to);
}

// Copies the form words between the record and the saved form, either way.
void CopyForm(CreatureRecord& c, SavedNaturalForm& f, bool save) {
  auto move = [save](auto& record, auto& form) { save ? Copy(form, record) : Copy(record, form); };
  StatPair* abilities[6] = {&c.strength, &c.dexterity, &c.constitution, &c.intelligence, &c.wisdom, &c.charisma};
  for (int i = 0; i < 6; ++i) move(*abilities[i], f.abilities[i]);
  for (int i = 0; i < kSavedFormValues; ++i) move(c.protections[kProtFirstImmunity + i].base, f.derivedBases[i]);
  move(c.protections[kProtNaturalArmour], f.naturalArmour);
  move(c.baseAttack, f.baseAttack);
  move(c.figure, f.figure);
  move(c.size, f.size);
  move(c.speed, f.speed);
  move(c.footprintHeight, f.footprintHeight);
  move(c.footprintWidth, f.footprintWidth);
  move(c.figureSize, f.figureSize);
  move(c.naturalAttacks, f.naturalAttacks);
  move(c.equipment, f.equipment);
  move(c.ammunition, f.ammunition);
}

// Puts the saved natural form back when one is kept for the creature.
void RestoreNaturalForm(int creature) {
  SavedNaturalForm* f = FormSlot(creature);
  if (!f || f->saved != 1 || f->creature != creature) return;
  CopyForm(Creatures[creature], *f, false);
  f->saved = 0;
}

}  // namespace

bool SaveNaturalForm(int creature) {
  if (!IsValidCreature(creature)) return false;
  SavedNaturalForm* f = FormSlot(creature);
  if (!f) return false;
  CopyForm(Creatures[creature], *f, true);
  f->saved = 1;
  f->creature = creature;
  return true;
}

void EndPolymorph(int creature) {
  if (!IsValidCreature(creature)) return;
  RemoveCondition(creature, kCondPolymorphed);
  RestoreNaturalForm(creature);
  RecomputeCreature(creature, 0);
}

void EndIronBody(int creature) {
  if (!IsValidCreature(creature)) return;
  RemoveCondition(creature, kCondIronBody);
  RestoreNaturalForm(creature);
  RecomputeCreature(creature, 0);
}

void CureAfflictions(int creature) {
  if (!IsValidCreature(creature)) return;
  static const uint32_t kAfflictions[] = {kCondAcidBurns, kCondBleeding, kCondBlinded, kCondConfused,
                                          kCondDazed, kCondDeafened, kCondExhausted, kCondFatigued,
                                          kCondFeebleminded, kCondInsane, kCondNauseated, kCondSickened,
                                          kCondStunned, kCondDamagedStrength, kCondDamagedDexterity,
                                          kCondDamagedConstitution, kCondDamagedWisdom,
                                          kCondDamagedIntelligence, kCondDamagedCharisma};
  for (uint32_t id : kAfflictions) RemoveCondition(creature, id);
}

void ResetCreatureFormsState() {
  ResetWords(SavedAllegiance);
}
