// Two questions the map view asks of a creature's attack profile.
#include "rules/attack_profile.h"
#include "rules/creature_record.h"
#include "screens/game/shared_routines.h"

int FindRangedAttackEntry(int creature) {
  if (!IsValidCreature(creature)) return -1;
  static AttackProfile profile;
  BuildAttackProfile(&profile, creature, 0, -1, 0, 0);
  for (int i = 0; i < kAttackProfileEntries; ++i)
    if (profile.entries[i].kind == kEntryRanged) return i;
  return -1;
}

bool HasSingleAttackEntry(int creature) {
  if (!IsValidCreature(creature)) return false;
  static AttackProfile profile;
  BuildAttackProfile(&profile, creature, 0, -1, 0, 0);
  const int32_t second = profile.entries[1].kind;
  return profile.entries[0].attackCount.total == 1 && (second == kEntryNone || second == kEntryRanged);
}
