#include "rules/creature_forms.h"

#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"

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
