#include "rules/creature_forms.h"

#include "creatures/weapon_size.h"
#include "engine/reset_words.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"

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

void EndPolymorph(int creature) {
  if (!IsValidCreature(creature)) return;
  RemoveCondition(creature, kCondPolymorphed);
  RecomputeCreature(creature, 0);
}

void EndIronBody(int creature) {
  if (!IsValidCreature(creature)) return;
  RemoveCondition(creature, kCondIronBody);
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
