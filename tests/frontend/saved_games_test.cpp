// Saving, loading and deleting whole games: what comes back, what a failed
// save or a damaged file leaves, the slots, the journal, the details and the
// play time.
#include "save_fixture.h"

#include "combat/actions/combat_actions.h"
#include "combat/actions/start_of_combat.h"
#include "combat/turns/combat_cycle.h"
#include "engine/frame.h"
#include "map/creature_paths.h"
#include "state/fighter_slots.h"
#include "engine/page_history.h"
#include "engine/settings.h"
#include "frontend/saved_game_files.h"
#include "platform/system.h"
#include "rules/conditions.h"
#include "state/game_screen_words.h"

namespace {

using savetest::GameDigest;
using savetest::SavedGames;
using savetest::SlotFile;

// Values of every kind a game holds, so that a lost one shows.
void MarkTheGame(uint32_t seed) {
  PartyGold = 1000 + seed;
  GameFlags[17] = seed;
  GameFlags[499] = 3 * seed;
  MapMemory[7][3599] = 1;
  MapMemory[40][0] = 1;
  for (uint32_t& m : MapMemory[CurrentMapNumber]) m = 1;  // the battle map lies open, as on every entry
  QuestJournal[37].state = 2;
  QuestJournal[37].value = static_cast<int32_t>(seed);
  std::snprintf(QuestJournal[37].text, sizeof QuestJournal[37].text, "Find the miller's lost ledger (%u).", seed);
  QuestJournal[37].length = static_cast<int32_t>(std::strlen(QuestJournal[37].text));
  AchievementProgress[5] = 1;
  AchievementProgress[99] = 1;
  HitDieRolls[0] = 10;
  HitDieRolls[79] = static_cast<int32_t>(seed % 8 + 1);
  std::snprintf(CraftedWeapons[12].name, sizeof CraftedWeapons[12].name, "Ledger Knife %u", seed);
  CraftedWeapons[12].price = static_cast<int32_t>(seed);
  StoredMaps[30].At(kLayerObjects0, 5, 6) = 5012;
  OptionWords[kOptionScrollScribeCount] = 4;
  TimeOfDayMinutes = 1000;
  ScoreBonusPoints = 77;
}

// Where two images first differ, for the failure message.
std::string FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  if (a.size() != b.size()) return "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size());
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) return "byte " + std::to_string(i) + ": " + std::to_string(a[i]) + " and " + std::to_string(b[i]);
  return "none";
}

void ExpectSameGame(const GameDigest& want, const GameDigest& got) {
  EXPECT_TRUE(want.roster == got.roster) << "creatures, " << FirstDifference(want.roster, got.roster);
  EXPECT_TRUE(want.crafted == got.crafted) << "crafted items, " << FirstDifference(want.crafted, got.crafted);
  EXPECT_TRUE(want.maps == got.maps) << "maps, " << FirstDifference(want.maps, got.maps);
  EXPECT_TRUE(want.memory == got.memory) << "map memory";
  EXPECT_TRUE(want.flags == got.flags) << "flags";
  EXPECT_TRUE(want.journal == got.journal) << "journal";
  EXPECT_TRUE(want.achievements == got.achievements) << "achievements";
  EXPECT_EQ(want.gold, got.gold);
  EXPECT_EQ(want.hitDieRolls, got.hitDieRolls);
  EXPECT_EQ(want.options, got.options);
}

TEST_F(SavedGames, AGameSavedInTheMiddleOfABattleComesBackFieldByField) {
  // The battle's map entered as a load enters it, then the battle under way.
  StartBattle(3, 0);
  ASSERT_EQ(WriteSavedGame(2), 0);
  ASSERT_EQ(LoadSavedGame(2), 0);
  ForcedCombat = 1;
  ASSERT_EQ(StartCombat(0), 1);
  for (int i = 0; i < 80 && InCombat == 1; ++i) battles::StepBattleFrame();
  ASSERT_EQ(InCombat, 1u);
  // Entering the map stops every creature where it stands; here they stand already.
  for (int id : battles::BattleFighters()) ResetCreaturePath(id);
  MarkTheGame(1);
  // A short-lived condition of a monster: the saved game drops it, the running game keeps it.
  // A lasting one it keeps.
  const int monster = battles::BattleFighters().back();
  AddCondition(monster, kCondHasted, 5, 0, 18, 0);
  AddCondition(monster, kCondMageArmor, kDurationLasting, 4, 18, 0);
  ASSERT_EQ(WriteSavedGame(1), 0);
  EXPECT_GE(FindCondition(monster, kCondHasted), 0);
  EXPECT_EQ(ScreenMode, kModeExploring);
  GameDigest saved = GameDigest::Take();
  // The slot holds the game as it was at the moment of saving.
  EXPECT_TRUE(savetest::ReadBytes(SlotFile(1, "SaveChar.cml")) == saved.roster);
  EXPECT_TRUE(savetest::ReadBytes(SlotFile(1, "SaveWeapon.wml")) == saved.crafted);
  EXPECT_TRUE(savetest::ReadBytes(SlotFile(1, "GameFlags.dat")) == saved.flags);
  EXPECT_TRUE(savetest::ReadBytes(SlotFile(1, "MapMemory.dat")) == saved.memory);
  savetest::DropConditions(&saved.roster);
  savetest::GatherPartyOnLeader(&saved.roster);

  MarkTheGame(2);
  Creatures[700].hitPoints = 1;
  std::strcpy(Creatures[2].name, "Someone Else");
  ASSERT_EQ(LoadSavedGame(1), 0);
  EXPECT_EQ(FindCondition(monster, kCondHasted), -1);
  EXPECT_GE(FindCondition(monster, kCondMageArmor), 0);
  GameDigest loaded = GameDigest::Take();
  savetest::DropConditions(&loaded.roster);
  ExpectSameGame(saved, loaded);
  EXPECT_EQ(InCombat, 0u);
  EXPECT_EQ(ScreenMode, kModeExploring);
  EXPECT_EQ(TimeOfDayMinutes, 1000);
  EXPECT_EQ(ScoreBonusPoints, 77);
  EXPECT_EQ(CurrentMapNumber, Creatures[0].map);
}

}  // namespace

