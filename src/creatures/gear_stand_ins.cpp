// Stand-ins for the feat picks and the gear step of created creatures until
// they are built; this file goes when they are.
#include "creatures/creature_equipment.h"
#include "creatures/creature_feats.h"

int GrantWeaponProficiency(int, int) { return 1; }
int PickGeneralFeat(int) { return 1; }
int PickCombatFeat(int, int, int, int) { return 1; }
int PickCasterFeat(int) { return 1; }
int GiveCreatureEquipment(int, int, int, int, int, int, int, int) { return 1; }
