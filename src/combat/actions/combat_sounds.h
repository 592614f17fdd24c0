// The combat sound of an attack, kept until the game screen plays it when the
// blow or missile lands.
#pragma once
#include <cstdint>

// Sound kinds of a request.
enum CombatSoundKind : int32_t {
  kSoundHit = 2,
  kSoundMiss = 10,
  kSoundBlocked = 11,
  kSoundNaturalArmour = 12,
  kSoundAbsorbed = 13,
  kSoundIneffective = 14,
};

// One request at a time: the weapon item code (-1 none), the ranged byte, the
// kind, the natural-attack code or variant (-1 none) and a flag byte (set for
// a critical hit).
struct CombatSoundRequest {
  uint8_t pending = 0;
  int32_t item = -1;
  uint8_t ranged = 0;
  int32_t kind = 0;
  int32_t value = -1;
  uint8_t flag = 0;
};
extern CombatSoundRequest PendingCombatSound;

// Stores the request (a new one replaces the old) and marks it pending.
void QueueCombatSound(int32_t item, uint8_t ranged, int32_t kind, int32_t value, uint8_t flag);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetCombatSoundsState();
