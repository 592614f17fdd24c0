// The party's names while exploring: the level-up star and the level-up it
// starts.
#include "screens/game/panels_fixture.h"

#include "engine/page_history_access.h"
#include "map/map_record.h"
#include "map/party_walk.h"
#include "map/square_grids.h"
#include "screens/game/click_results.h"
#include "screens/game/held_object.h"
#include "state/fighter_slots.h"
#include "engine/sound.h"
#include "party/level_up_words.h"
#include "rules/conditions.h"
#include "screens/game/sounds_and_music.h"

namespace {

using panelstest::From;
using panelstest::Screen;
using screentest::GameScreen;

constexpr int kLevelUpSound = 56;

void LayOutParty() {
  screentest::LayOutMap(20, 14);
  const char* names[4] = {"Aldric", "Brenna", "Corwin", "Dara"};
  for (int m = 0; m < 4; ++m) {
    CreatureRecord& c = screentest::Place(m, 4 + m, 6);
    std::snprintf(c.name, sizeof c.name, "%s", names[m]);
  }
  harness::MoveMouse(100, 200);
}

bool LevelUpSoundPlaying() {
  for (const SoundChannel& c : SoundChannels)
    if (c.playing == 1 && c.sample.data == SoundSamples[kLevelUpSound].data) return true;
  return false;
}

TEST_F(GameScreen, TheStarShowsFromTheExperienceOfTheNextLevelAndSoundsOncePerLevel) {
  LayOutParty();
  Creatures[0].level = 2;
  Creatures[0].experience = 2999;
  Creatures[1].name[0] = '\0';  // an empty name leaves its row blank
  std::vector<std::string> rows = Screen();
  EXPECT_EQ(From(rows[3], 29), "Aldric  10");
  EXPECT_EQ(rows[4], "");
  EXPECT_EQ(From(rows[5], 29), "Corwin  10");
  EXPECT_FALSE(LevelUpSoundPlaying());

  Creatures[0].experience = 3000;
  EXPECT_EQ(From(Screen()[3], 28), "*Aldric  10");
  EXPECT_TRUE(LevelUpSoundPlaying());
  for (SoundChannel& c : SoundChannels) c.playing = 0;
  EXPECT_EQ(From(Screen()[3], 28), "*Aldric  10");
  EXPECT_FALSE(LevelUpSoundPlaying()) << "once per level, not every frame";

  Creatures[0].level = 3;
  Creatures[0].experience = 6000;
  Screen();
  EXPECT_TRUE(LevelUpSoundPlaying()) << "the next level is announced again";
  Creatures[0].level = 20;
  Creatures[0].experience = 1000000;
  EXPECT_EQ(From(Screen()[3], 28), " Aldric  10");
}

// The member's star clicked; the base values the new level gave.
struct Bases {
  int32_t attack, fortitude, reflex, willpower;
  bool operator==(const Bases&) const = default;
};

Bases LevelUp(int32_t klass, int32_t level) {
  CreatureRecord& c = Creatures[0];
  c.creatureClass = klass;
  c.level = level;
  c.experience = level * (level + 1) * 500;
  ScreenMode = kModeExploring;
  harness::StepFrames(1);
  harness::MoveMouse(28 * 8 + 3, 3 * 8 + 3);
  harness::StepFrames(1);
  harness::Click(28 * 8 + 3, 3 * 8 + 3);
  return Bases{c.baseAttack.base, c.fortitude.base, c.reflex.base, c.willpower.base};
}

TEST_F(GameScreen, AClickOnTheStarRaisesTheLevelByTheClassAndOpensTheLevelUpPage) {
  LayOutParty();
  // A foe's figure stands under the star, the weapon mode set to attack: the
  // star still takes the click (no box of the foe, no fight).
  screentest::Place(10, 9, 1, kAllegianceEnemy);
  WeaponMode = 1;
  Creatures[0].fortitude.base = 7;
  EXPECT_EQ(LevelUp(kClassKnight, 2), (Bases{3, 3, 1, 1}));
  EXPECT_EQ(Creatures[0].level, 3);
  EXPECT_EQ(ScreenMode, static_cast<uint32_t>(kModePageView));
  EXPECT_EQ(TopPageType(), kPageLevelUp);
  EXPECT_EQ(TopPageParameter(), 0);
  EXPECT_STREQ(TopPageCaption(), "Level Up");
  EXPECT_EQ(SavedScreenMode, static_cast<uint32_t>(kModeExploring));
  EXPECT_EQ(LevelUpBackup[kBackupLevel], 2);
  EXPECT_EQ(LevelUpBackup[kBackupFortitude], 7);
  EXPECT_EQ(PendingLevelUpChoices[kPendingSecondSpell], -1);
  EXPECT_EQ(LevelUpPending, 1);
  EXPECT_EQ(InCombat, 0);
  EXPECT_EQ(LevelUp(kClassCleric, 3), (Bases{3, 4, 1, 4}));
  EXPECT_EQ(LevelUp(kClassWizard, 4), (Bases{2, 1, 1, 4}));

  // A drained member is told why, and the click does nothing.
  AddCondition(0, kCondLevelDrained, 1000, 1, 20, 0);
  LevelUp(kClassWizard, 5);
  EXPECT_EQ(Creatures[0].level, 5);
  EXPECT_EQ(ScreenMode, static_cast<uint32_t>(kModeExploring));
  EXPECT_STREQ(CursorHint, "Remove Level Drain First");
}

// The object on the cursor dropped on a member's name (the press that
// lifted it is let go over the name).
void DropOnName(int member, HeldObjectWords held) {
  HeldObject = held;
  const int length = static_cast<int>(std::strlen(Creatures[member].name));
  harness::MoveMouse((35 - length) * 8 + 2, (3 + member) * 8 + 3);
  harness::StepFrames(1);
}

TEST_F(GameScreen, AnObjectDroppedOnANameIsHandedOverOrWalkedTo) {
  LayOutParty();
  // Three objects on a square next to Aldric and Brenna, seen by the party.
  const int x = 5, y = 7;
  for (int level = 0; level < 3; ++level) CurrentMap.At(kLayerObjects0 + level, x, y) = 5101 + level;
  FighterSlots[0].visible[SquareIndex(x, y)] = 1;
  // Aldric has room for one more thing: the whole stack gives him the top.
  for (int i = 1; i < kCarriedPairs; ++i) Creatures[0].carried[i] = ItemPair{5110, 1};
  DropOnName(0, HeldObjectWords{kHeldWholeSquare, x, y, 0});
  EXPECT_EQ(Creatures[0].carried[0].code, 5103u);
  EXPECT_EQ(CurrentMap.At(kLayerObjects0 + 2, x, y), 0);
  EXPECT_EQ(CurrentMap.At(kLayerObjects0 + 1, x, y), 5102);
  EXPECT_EQ(CurrentMap.At(kLayerObjects0, x, y), 5101);
  EXPECT_EQ(HeldObject.code, 0);

  // A polymorphed member takes nothing; an absent one cannot be given it.
  AddCondition(1, kCondPolymorphed, 10, 0, 18, 0);
  DropOnName(1, HeldObjectWords{5101, x, y, 0});
  EXPECT_EQ(ShownClickResult.code, 22);
  EXPECT_EQ(CurrentMap.At(kLayerObjects0, x, y), 5101);
  Creatures[3].present = 0;
  DropOnName(3, HeldObjectWords{5101, x, y, 0});
  EXPECT_EQ(ShownClickResult.code, 11);
  // A member too far away walks to the square to take it there.
  Creatures[2].squareX = Creatures[2].nextX = 15;
  Creatures[2].pixelX = 15 * 24;
  Creatures[2].size = {3, 3};
  Creatures[2].speed = {30, 30};
  BuildOccupancyGrids(2);
  DropOnName(2, HeldObjectWords{5101, x, y, 0});
  EXPECT_EQ(PendingPickUp.pending, 1);
  EXPECT_EQ(PendingPickUp.picker, 2);
  EXPECT_EQ(PendingPickUp.x, x);
  EXPECT_EQ(CurrentMap.At(kLayerObjects0, x, y), 5101);
}

}  // namespace
