#include "rules/creature_forms.h"

#include <cstring>

#include "engine/reset_words.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"
#include "state/fighter_slots.h"

int32_t SavedAllegiance[2100] = {};

namespace {

// Applies step to the size of every crafted item worn or carried.
template <typename Step>
void ResizeCarriedItems(int creature, Step step) {
  if (!IsValidCreature(creature)) return;
  CreatureRecord& c = Creatures[creature];
  auto resize = [&step](uint32_t code) {
    if (code >= 1 && code < static_cast<uint32_t>(kCraftedRows)) {
      int32_t& size = CraftedWeapons[code].size;
      size = step(size);
    }
  };
  for (uint32_t code : c.equipment) resize(code);
  resize(c.ammunition.code);
  for (const ItemPair& pair : c.carried) resize(pair.code);
}

}  // namespace

void EnlargeCarriedItems(int creature) {
  ResizeCarriedItems(creature, [](int32_t size) { return size < 7 ? size + 1 : 7; });
}

void ReduceCarriedItems(int creature) {
  ResizeCarriedItems(creature, [](int32_t size) { return size > 1 ? size - 1 : 1; });
}

namespace {

NaturalForm* FormSlot(int creature) {
  const int slot = GetFighterSlot(creature);
  return slot >= 0 && slot < kFighterSlots ? &FighterSlots[slot].naturalForm : nullptr;
}

template <typename A, typename B>
void Copy(A& to, const B& from) {
  static_assert(sizeof(A) == sizeof(B));
  std::memcpy(&to, &from, sizeof to);
}

// Copies the form words between the record and the saved form, either way.
template <typename Record, typename Form>
void CopyForm(Record& c, Form& f, bool save) {
  auto move = [save](auto& record, auto& form) { save ? Copy(form, record) : Copy(record, form); };
  move(c.strength, f.strength);
  move(c.dexterity, f.dexterity);
  move(c.constitution, f.constitution);
  move(c.figure, f.figure);
  move(c.displayWords, f.displayWords);
  move(c.size, f.size);
  move(c.speed, f.speed);
  move(c.footprintHeight, f.footprintHeight);
  move(c.footprintWidth, f.footprintWidth);
  move(c.figureSize, f.figureSize);
  move(c.naturalAttacks, f.naturalAttacks);
  move(c.protections, f.protections);
  move(c.equipment, f.equipment);
  move(c.ammunition.code, f.ammunitionCode);
  move(c.ammunition.count, f.ammunitionCount);
}

// Puts the saved natural form back when one is kept for the creature.
void RestoreNaturalForm(int creature) {
  NaturalForm* f = FormSlot(creature);
  if (!f || f->saved != 1 || f->creature != creature) return;
  CopyForm(Creatures[creature], *f, false);
  f->saved = 0;
}

}  // namespace

bool SaveNaturalForm(int creature) {
  if (!IsValidCreature(creature)) return false;
  NaturalForm* f = FormSlot(creature);
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
