// The sounds of combat and walking: the sound of an attack, kept until the
// game screen plays it when the blow or missile lands; the effect of a hit,
// miss or check; and footsteps whose volume and balance follow the walker's
// distance from the centre of the view. Combat sounds and footsteps use only
// sound channels 0 to 15.
#pragma once
#include <cstdint>

// Sound kinds of a request.
enum CombatSoundKind : int32_t {
  kSoundNone = 0,
  kSoundHit = 2,
  kSoundMiss = 10,
  kSoundBlocked = 11,
  kSoundNaturalArmour = 12,
  kSoundAbsorbed = 13,
  kSoundIneffective = 14,
};

// Variants of a hit without a weapon item that the combat actions ask for.
constexpr int32_t kHitVariantAutomatic = 6;  // an automatic success
constexpr int32_t kHitVariantTouch = 11;     // a touch attack that hits

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

// The sample a hit, miss or check of that kind plays (0: none; sample 0 is
// the empty record and plays nothing).
int CombatSoundSample(int32_t kind, int32_t item, int32_t variant, uint8_t flag);
// Plays that sample once, centred, at the sound volume on the first free
// channel of 0 to 15 (none free, or the volume below 1: no sound), and
// clears the pending request in every case. True.
bool PlayCombatSound(int32_t kind, int32_t item, int32_t variant, uint8_t flag);

// A footstep of the fighter slot's creature: louder the nearer it walks to
// the view's focus square (silent 40 or more squares away), panned to the
// side it walks on, on channel slot % 16 with a sample by the ground under
// it. False when too far or that channel is busy.
bool PlayPositionalSound(int slot);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetCombatSoundsState();
