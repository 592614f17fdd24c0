// The sounds of combat: which effect a hit, miss or check plays (a miss
// takes the empty record and is silent), the pending request cleared even
// when nothing can be heard, and footsteps by distance, side and channel.
#include "combat/actions/combat_sounds.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/settings.h"
#include "engine/sound.h"
#include "frontend/game_reset.h"
#include "map/map_fixture.h"
#include "platform/system.h"
#include "rules/item_tables.h"
#include "state/camera.h"

namespace {

constexpr uint32_t kSword = 10, kMace = 11;

class CombatSounds : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    ASSERT_TRUE(platform::InitPlatform());
    ASSERT_EQ(InitSound(1), 1);
    for (int c = 0; c < kSoundChannelCount; ++c) ASSERT_EQ(CreateSoundChannel(c), 1);
    for (int k = 1; k < 20; ++k) MakeSample(k);
    OptionWords[kOptionSoundVolume] = 80;
    CraftedWeapons[kSword].damageKind = 1;
    CraftedWeapons[kMace].damageKind = 2;
  }
  void TearDown() override {
    for (int c = 0; c < kSoundChannelCount; ++c) FreeSoundChannel(c);
    for (auto& s : SoundSamples) FreeSoundSample(&s);
    ShutdownSound();
  }
  static void MakeSample(int k) {
    constexpr int kFrames = 4000;
    SoundSample& s = SoundSamples[k];
    FreeSoundSample(&s);
    s.block = s.data = static_cast<uint8_t*>(std::calloc(kFrames * 4 + 1, 1));
    s.size = s.remaining = kFrames * 4;
    s.channels = 2;
    s.bitsPerSample = 16;
    s.sampleRate = 22050;
  }
  static int Playing() {
    int n = 0;
    for (int c = 0; c < 16; ++c) n += IsChannelPlaying(c);
    return n;
  }
};

TEST_F(CombatSounds, EachKindHasItsEffectAndAMissIsSilent) {
  EXPECT_EQ(CombatSoundSample(kSoundMiss, kSword, -1, 0), 0);
  EXPECT_EQ(CombatSoundSample(kSoundNone, kSword, -1, 0), 0);
  EXPECT_EQ(CombatSoundSample(kSoundBlocked, -1, -1, 0), 2);
  EXPECT_EQ(CombatSoundSample(kSoundNaturalArmour, -1, -1, 0), 3);
  EXPECT_EQ(CombatSoundSample(kSoundAbsorbed, -1, -1, 0), 3);
  EXPECT_EQ(CombatSoundSample(kSoundIneffective, -1, -1, 0), 36);
  // Weapons by their sound class; natural attacks by their variant.
  EXPECT_EQ(CombatSoundSample(kSoundHit, kSword, -1, 0), 5);
  EXPECT_EQ(CombatSoundSample(kSoundHit, kMace, -1, 0), 6);
  EXPECT_EQ(CombatSoundSample(kSoundHit, -1, 1, 0), 9);
  EXPECT_EQ(CombatSoundSample(kSoundHit, -1, kHitVariantAutomatic, 0), 8);
  EXPECT_EQ(CombatSoundSample(kSoundHit, -1, kHitVariantTouch, 0), 6);
  EXPECT_EQ(CombatSoundSample(kSoundHit, -1, 13, 0), 7);
  EXPECT_EQ(CombatSoundSample(kSoundHit, -1, 14, 0), 0);
  // A weapon with the flag: the critical's whoosh.
  EXPECT_EQ(CombatSoundSample(kSoundHit, kSword, -1, 1), 4);
  EXPECT_EQ(CombatSoundSample(kSoundBlocked, kSword, -1, 1), 1);
}

TEST_F(CombatSounds, PlayingTakesAFreeCombatChannelAndAlwaysClearsTheRequest) {
  QueueCombatSound(kSword, 0, kSoundHit, -1, 0);
  ASSERT_EQ(PendingCombatSound.pending, 1);
  ASSERT_EQ(PlaySound(5, 0, 0, 50), 1);  // channel 0 busy
  EXPECT_TRUE(PlayCombatSound(kSoundHit, kSword, -1, 0));
  EXPECT_EQ(IsChannelPlaying(1), 1);
  EXPECT_EQ(PendingCombatSound.pending, 0);
  EXPECT_EQ(PendingCombatSound.item, -1);
  EXPECT_EQ(PendingCombatSound.value, -1);
  // A miss plays nothing; at volume 0 nothing plays either, and the request goes.
  const int before = Playing();
  PlayCombatSound(kSoundMiss, kSword, -1, 0);
  EXPECT_EQ(Playing(), before);
  OptionWords[kOptionSoundVolume] = 0;
  QueueCombatSound(kSword, 0, kSoundHit, -1, 0);
  PlayCombatSound(kSoundHit, kSword, -1, 0);
  EXPECT_EQ(Playing(), before);
  EXPECT_EQ(PendingCombatSound.pending, 0);
}

TEST_F(CombatSounds, FootstepsFadeWithDistanceAndShareAChannelEverySixteenSlots) {
  mapfixture::DrawMap({"...................................................."});
  for (int slot = 0; slot < 20; ++slot) mapfixture::PlaceFighter(100 + slot, 0, 0);
  FocusSquareX = 20;
  FocusSquareY = 0;
  auto walkerAt = [](int slot, int x) { Creatures[100 + slot].squareX = x; };
  walkerAt(3, 18);
  ASSERT_TRUE(PlayPositionalSound(3));
  EXPECT_EQ(SoundChannels[3].volume, 80);  // near: full volume of the option
  EXPECT_EQ(SoundChannels[3].pan, 0);
  walkerAt(19, 18);
  EXPECT_FALSE(PlayPositionalSound(19));  // slot 19 shares channel 3, still busy
  walkerAt(4, 5);
  ASSERT_TRUE(PlayPositionalSound(4));
  EXPECT_EQ(SoundChannels[4].volume, 40);  // 15 squares off: half
  EXPECT_EQ(SoundChannels[4].pan, -10000);  // the view's focus lies to its right
  FocusSquareX = 45;
  walkerAt(5, 5);
  EXPECT_FALSE(PlayPositionalSound(5));  // 40 squares: silent
  EXPECT_EQ(IsChannelPlaying(5), 0);
}

}  // namespace
