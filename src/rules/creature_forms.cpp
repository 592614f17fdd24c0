#include "rules/creature_forms.h"

#include "creatures/weapon_size.h"
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
  RemoveCondition(creature, 148);
  RecomputeCreature(creature, 0);
}

void EndIronBody(int creature) {
  if (!IsValidCreature(creature)) return;
  RemoveCondition(creature, 115);
  RecomputeCreature(creature, 0);
}

void CureAfflictions(int creature) {
  if (!IsValidCreature(creature)) return;
  static const uint32_t kAfflictions[] = {99, 110, 88, 97, 100, 87, 90, 91, 94, 89, 98, 93, 82,
                                          61, 62, 63, 64, 65, 71};
  for (uint32_t id : kAfflictions) RemoveCondition(creature, id);
}
