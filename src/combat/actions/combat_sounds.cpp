#include "combat/actions/combat_sounds.h"

#include <cstdlib>

#include "engine/random.h"
#include "engine/reset_words.h"
#include "engine/settings.h"
#include "engine/sound.h"
#include "map/map_record.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/camera.h"
#include "state/fighter_slots.h"

CombatSoundRequest PendingCombatSound;

namespace {

constexpr int kCombatChannels = 16;

// Sample records (record k plays the k-th sound file; record 0 is empty).
constexpr int kSampleNone = 0;
constexpr int kSampleMiss1 = 1;
constexpr int kSampleMiss2 = 2;
constexpr int kSampleMiss3 = 3;
constexpr int kSampleMiss4 = 4;
constexpr int kSampleHit1 = 5;
constexpr int kSampleHit2 = 6;
constexpr int kSampleHit3 = 7;
constexpr int kSampleHit4 = 8;
constexpr int kSampleHit5 = 9;
constexpr int kSampleIneffective = 36;  // Magic_7
// The footsteps: one of four from just past the first.
constexpr int kSampleBeforeHardSteps = 11;  // Ambient_1 to Ambient_4 follow: stone, wood and the like
constexpr int kSampleBeforeSoftSteps = 15;  // Ambient_5 to Ambient_8 follow: earth, grass and the like

// The hit sound of a weapon by its sound class (the damage kind of its crafted row).
int WeaponHitSample(int32_t item) {
  if (item <= 0 || item >= kCraftedRows) return kSampleNone;
  switch (CraftedWeapons[item].damageKind) {
    case 1: return kSampleHit1;
    case 2: return kSampleHit2;
    case 3: return kSampleHit3;
    default: return kSampleNone;
  }
}

int UnarmedHitSample(int32_t variant) {
  switch (variant) {
    case 1: case 2: case 4: case 5: case 7: return kSampleHit5;
    case 3: case 6: case 8: case 9: case 10: return kSampleHit4;
    case 11: return kSampleHit2;
    case 12: return kSampleHit1;
    case 13: return kSampleHit3;
    default: return kSampleNone;
  }
}

// Ground codes that sound hard underfoot.
bool IsHardGround(int32_t ground) {
  return ground <= 10 || (ground >= 27 && ground <= 30) || (ground >= 50 && ground <= 59) ||
         (ground >= 63 && ground <= 65) || ground == 119;
}

}  // namespace

void QueueCombatSound(int32_t item, uint8_t ranged, int32_t kind, int32_t value, uint8_t flag) {
  PendingCombatSound = {1, item, ranged, kind, value, flag};
}

int CombatSoundSample(int32_t kind, int32_t item, int32_t variant, uint8_t flag) {
  if (kind == kSoundNone) return kSampleNone;
  if (item != -1 && flag != 0) return kind == kSoundHit ? kSampleMiss4 : kSampleMiss1;
  switch (kind) {
    case kSoundMiss: return kSampleNone;  // the empty record: a miss is silent
    case kSoundBlocked: return kSampleMiss2;
    case kSoundNaturalArmour:
    case kSoundAbsorbed: return kSampleMiss3;
    case kSoundIneffective: return kSampleIneffective;
    case kSoundHit: return item == -1 ? UnarmedHitSample(variant) : WeaponHitSample(item);
    default: return kSampleNone;
  }
}

bool PlayCombatSound(int32_t kind, int32_t item, int32_t variant, uint8_t flag) {
  const int sample = CombatSoundSample(kind, item, variant, flag);
  PendingCombatSound = CombatSoundRequest{};
  const int volume = OptionWords[kOptionSoundVolume];
  if (sample == kSampleNone || volume < 1) return true;
  for (int channel = 0; channel < kCombatChannels; ++channel) {
    if (!IsChannelFree(channel)) continue;
    SetChannelPan(channel, 0);
    PlaySound(sample, channel, 1, volume);
    break;
  }
  return true;
}

bool PlayPositionalSound(int slot) {
  if (slot < 0 || slot >= kFighterSlots) return false;
  const int creature = FighterSlots[slot].creature;
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  const int dx = FocusSquareX - c.squareX;
  const int distance = std::abs(dx) + std::abs(FocusSquareY - c.squareY);
  int volume;
  if (distance < 6) volume = 100;
  else if (distance < 20) volume = 50;
  else if (distance < 40) volume = 20;
  else return false;
  const int pan = dx >= 11 ? -10000 : dx < -10 ? 10000 : 0;
  const int channel = slot % kCombatChannels;
  if (!IsChannelFree(channel)) return false;
  int32_t ground = 0;
  if (c.squareX >= 0 && c.squareY >= 0 && c.squareX < kMapSide && c.squareY < kMapSide)
    ground = CurrentMap.At(kLayerGround, c.squareX, c.squareY);
  const int sample =
      (IsHardGround(ground) ? kSampleBeforeHardSteps : kSampleBeforeSoftSteps) + static_cast<int>(RandomUpTo(3)) + 1;
  SetChannelPan(channel, pan);
  PlaySound(sample, channel, 1, volume * OptionWords[kOptionSoundVolume] / 100);
  return true;
}

void ResetCombatSoundsState() {
  ResetWords(PendingCombatSound);
}
