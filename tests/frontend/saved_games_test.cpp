// Saving, loading and deleting whole games: what comes back, what a failed
// save or a damaged file leaves, the slots, the journal, the details and the
// play time.
#include "save_fixture.h"

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <ostream>
#include <type_traits>

#include "combat/actions/combat_actions.h"
#include "combat/actions/start_of_combat.h"
#include "combat/turns/combat_cycle.h"
#include "engine/frame.h"
#include "map/creature_paths.h"
#include "state/fighter_slots.h"
#include "engine/page_history.h"
#include "engine/settings.h"
#include "frontend/game_start.h"
#include "frontend/options_screen.h"
#include "frontend/save_load_screen.h"
#include "frontend/saved_game_files.h"
#include "platform/system.h"
#include "rules/conditions.h"
#include "state/game_screen_words.h"
#include "state/world_travel.h"

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
  QuestJournal[37].value = seed;
  QuestJournal[37].text = "Find the miller's lost ledger (" + std::to_string(seed) + ").";
  QuestJournal[37].length = static_cast<uint32_t>(QuestJournal[37].text.size());
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
  savetest::GatherPartyOnLeader(&loaded.roster);
  ExpectSameGame(saved, loaded);
  EXPECT_EQ(InCombat, 0u);
  EXPECT_EQ(ScreenMode, kModeExploring);
  EXPECT_EQ(TimeOfDayMinutes, 1000);
  EXPECT_EQ(ScoreBonusPoints, 77);
  EXPECT_EQ(CurrentMapNumber, Creatures[0].map);
}

// The files of a slot, to put back as they were.
std::vector<std::pair<std::string, std::vector<uint8_t>>> KeepSlot(int slot, bool mainAdventure) {
  std::vector<std::string> names = {"SaveChar.cml", "SaveWeapon.wml", "MapMemory.dat", "GameFlags.dat",
                                    "Journal.dat", "Achievements.dat", "Details.dat"};
  if (mainAdventure) names.push_back("Maps\\WorldMap.dat");
  for (int n = 0; n < kStoredMapCount; ++n) names.push_back("Maps\\Map" + std::to_string(n) + ".dat");
  std::vector<std::pair<std::string, std::vector<uint8_t>>> kept;
  for (const std::string& name : names) {
    const std::string path = SlotFile(slot, name.c_str());
    if (platform::GameFileExists(path.c_str())) kept.emplace_back(path, savetest::ReadBytes(path));
  }
  return kept;
}

// A slot's file damaged: missing, cut short or with a word put in its place.
struct Damage {
  const char* file;
  long size;         // cut to this length (-1 remove the file, 0 leave it)
  long at = -1;      // a word put at this offset
  int32_t word = 0;
  int code;
};
constexpr Damage kDamages[] = {
    {"SaveChar.cml", 18704 + 3776 * 3 + 100, -1, 0, kLoadCharactersFailed},  // a record cut short
    {"SaveChar.cml", -1, -1, 0, kLoadCharactersFailed},
    {"SaveChar.cml", 0, 604, 41, kLoadCharactersFailed},  // creature 0 on no stored map
    {"SaveChar.cml", 0, 608, 60, kLoadCharactersFailed},  // nor on a square of its map
    {"SaveChar.cml", 0, 636, 16711681, kLoadCharactersFailed},  // a footprint the sight pass would never end on
    {"SaveChar.cml", 0, 496, 0x07000002, kLoadCharactersFailed},  // a level that overflows the hit points
    {"SaveChar.cml", 0, 18704 + 588, -5, kLoadCharactersFailed},  // a creature's Constitution below nothing
    {"SaveChar.cml", 0, 4676 + 1836, 5000, kLoadCharactersFailed},  // a condition no table names
    {"SaveWeapon.wml", 3760000 - 752, -1, 0, kLoadWeaponsFailed},
    {"SaveWeapon.wml", 0, 752 * 3 + 516, 0x7FFFFFFF, kLoadWeaponsFailed},  // an armour bonus no sum holds
    {"Maps\\Map5.dat", 115000, -1, 0, kLoadMapsFailed},
    {"Maps\\Map5.dat", 0, 460, 61, kLoadMapsFailed},  // wider than the grids
    {"Maps\\WorldMap.dat", -1, -1, 0, kLoadWorldMapFailed},  // refused, not fatal
    {"MapMemory.dat", 590396, -1, 0, kLoadMapMemoryFailed},
    {"GameFlags.dat", -1, -1, 0, kLoadGameFlagsFailed},
    {"Details.dat", 0, 332, 1440, kLoadDetailsFailed},  // a time of day past midnight
    {"Details.dat", 0, 608, 0x7FFFFFFF, kLoadDetailsFailed},  // a music volume past 100
    {"Details.dat", 0, 696, 60, kLoadDetailsFailed},  // play minutes past the hour
    {"Details.dat", 0, 324, 60, kLoadDetailsFailed},  // off the world map
    {"Details.dat", 0, 4, 1000000, kLoadDetailsFailed},  // a hit-die roll no die gives
    {"Details.dat", -1, -1, 0, kLoadDetailsFailed},
};
// The rows of kDamages a test loads, named by their files.
struct DamageRows {
  const char* files;
  int first, end;
};
void PrintTo(const DamageRows& r, std::ostream* out) { *out << r.files; }

// A game saved in slot 1 and its files kept, then the game changed.
class DamagedSlot : public SavedGames {
 protected:
  void SetUp() override {
    SavedGames::SetUp();
    if (HasFatalFailure()) return;
    StartBattle(5, 0);
    MarkTheGame(1);
    ASSERT_EQ(WriteSavedGame(1), 0);
    kept_ = KeepSlot(1, true);
    MarkTheGame(2);
  }
  void PutTheSlotBack() {
    for (const auto& [path, bytes] : kept_) savetest::WriteBytes(path, bytes);
  }
  std::vector<std::pair<std::string, std::vector<uint8_t>>> kept_;
};
class DamagedFiles : public DamagedSlot, public ::testing::WithParamInterface<DamageRows> {};

TEST_P(DamagedFiles, LeaveTheRunningGameAsItWas) {
  const GameDigest running = GameDigest::Take();
  const int boxes = platform::MessageBoxCount();
  for (int row = GetParam().first; row < GetParam().end; ++row) {
    const Damage& d = kDamages[row];
    PutTheSlotBack();
    const std::string path = SlotFile(1, d.file);
    std::vector<uint8_t> bytes = savetest::ReadBytes(path);
    if (d.size < 0) {
      ASSERT_TRUE(platform::RemoveGameFile(path.c_str()));
    } else {
      if (d.size > 0) bytes.resize(static_cast<size_t>(d.size));
      if (d.at >= 0) {
        if (bytes.size() < static_cast<size_t>(d.at + 4)) bytes.resize(static_cast<size_t>(d.at + 4));
        std::memcpy(bytes.data() + d.at, &d.word, 4);
      }
      savetest::WriteBytes(path, bytes);
    }
    EXPECT_EQ(LoadSavedGame(1), d.code) << d.file << " " << d.size << " " << d.at;
    const GameDigest after = GameDigest::Take();
    EXPECT_TRUE(after.roster == running.roster && after.crafted == running.crafted && after.maps == running.maps &&
                after.memory == running.memory && after.flags == running.flags && after.journal == running.journal &&
                after.achievements == running.achievements && after.gold == running.gold)
        << "the running game changed: " << d.file;
  }
  EXPECT_EQ(platform::MessageBoxCount(), boxes);
  EXPECT_TRUE(InCombat == 1u);
}

INSTANTIATE_TEST_SUITE_P(MissingShortOrDamaged, DamagedFiles,
                         ::testing::Values(DamageRows{"Characters", 0, 8}, DamageRows{"CraftedItemsMapsMemoryAndFlags", 8, 15},
                                           DamageRows{"Details", 15, static_cast<int>(std::size(kDamages))}));

// Both the crafted items and the characters cut short: the crafted items are
// checked first.
TEST_F(DamagedSlot, TheCraftedItemsAreCheckedBeforeTheCharacters) {
  for (const char* file : {"SaveChar.cml", "SaveWeapon.wml"}) {
    std::vector<uint8_t> bytes = savetest::ReadBytes(SlotFile(1, file));
    bytes.pop_back();
    savetest::WriteBytes(SlotFile(1, file), bytes);
  }
  EXPECT_EQ(LoadSavedGame(1), kLoadWeaponsFailed);
}

// A save made to fail at one of its writes or renames (49 files and the two
// renames that put the new folder in place), or with the machine stopping
// there, at each in turn: a run of them a test, the run past the last
// operation saving whole.
constexpr int kSaveWritesAndRenames = 51;
struct FaultRun {
  bool machineStops;
  int first, last;  // the operations failed, one save each
};
void PrintTo(const FaultRun& r, std::ostream* out) {
  *out << (r.machineStops ? "MachineStopsAt" : "FailsAt") << r.first << "To" << r.last;
}
class SaveFaults : public SavedGames, public ::testing::WithParamInterface<FaultRun> {};

TEST_P(SaveFaults, LeaveTheSlotsGameLoadable) {
  StartBattle(6, 0);
  MarkTheGame(1);
  ASSERT_EQ(WriteSavedGame(1), 0);
  ASSERT_EQ(LoadSavedGame(1), 0);
  const GameDigest before = GameDigest::Take();
  const FaultRun& run = GetParam();
  for (int n = run.first; n <= run.last; ++n) {
    SCOPED_TRACE("operation " + std::to_string(n));
    MarkTheGame(2);
    platform::file_faults::FailOperation(n, run.machineStops);
    const int result = WriteSavedGame(1);
    const int counted = platform::file_faults::OperationsCounted();
    platform::file_faults::Clear();
    if (n > kSaveWritesAndRenames) {
      EXPECT_EQ(counted, kSaveWritesAndRenames);
      EXPECT_EQ(result, 0);
      break;
    }
    EXPECT_NE(result, 0);
    ASSERT_EQ(LoadSavedGame(1), 0);
    ExpectSameGame(before, GameDigest::Take());
    EXPECT_FALSE(platform::GameFolderExists((folder_ + "\\1.new").c_str()));
    EXPECT_FALSE(platform::GameFolderExists((folder_ + "\\1.old").c_str()));
  }
}

INSTANTIATE_TEST_SUITE_P(EveryWriteAndRename, SaveFaults,
                         ::testing::Values(FaultRun{true, 1, 17}, FaultRun{true, 18, 34},
                                           FaultRun{true, 35, kSaveWritesAndRenames + 1}, FaultRun{false, 1, 17},
                                           FaultRun{false, 18, 34}, FaultRun{false, 35, kSaveWritesAndRenames + 1}));

TEST_F(SavedGames, TheIntroductoryAdventureSavesDeletesAndLoadsOnlyItsFourMaps) {
  savetest::IntroductoryGame();
  for (int m = 0; m < kPartySize; ++m) Creatures[m].present = 1;  // standing (the fallen keep their squares)
  StoredMaps[3].width = StoredMaps[3].height = 10;  // not one of its maps
  ASSERT_EQ(WriteSavedGame(1), 0);
  for (int n = 0; n < kStoredMapCount; ++n) {
    const std::string map = SlotFile(1, ("Maps\\Map" + std::to_string(n) + ".dat").c_str());
    EXPECT_EQ(platform::GameFileExists(map.c_str()), n >= 21 && n <= 24) << n;
  }
  EXPECT_FALSE(platform::GameFileExists(SlotFile(1, "Maps\\WorldMap.dat").c_str()));
  ASSERT_EQ(LoadSavedGame(1), 0);
  EXPECT_EQ(StoredMaps[3].width, 0);
  EXPECT_EQ(CurrentMapNumber, 22);
  EXPECT_STREQ(CurrentMap.name, "Old Mill");
  // The party forms round creature 0's square, member 3 from three squares east of it.
  EXPECT_EQ(Creatures[0].squareX, 3);
  EXPECT_LE(std::abs(Creatures[3].squareX - 3), 1);
  EXPECT_EQ(DeleteSavedGame(1), 0);
  EXPECT_FALSE(platform::GameFolderExists((folder_ + "\\1").c_str()));
}

// A game saved with its leader fallen (dead or turned to stone) comes back led
// by the first standing member, who stands on the map; the fallen keeps his
// place behind.
TEST_F(SavedGames, AGameSavedWithItsLeaderFallenLoadsLedByTheFirstStandingMember) {
  for (const uint32_t fall : {kCondDead, kCondPetrified}) {
    SCOPED_TRACE(fall);
    StartBattle(3, 0);
    ASSERT_EQ(WriteSavedGame(1), 0);
    ASSERT_EQ(LoadSavedGame(1), 0);
    const std::string first = Creatures[0].name, second = Creatures[1].name;
    AddCondition(0, fall, kDurationLasting, 0, 0, 0);
    Creatures[0].present = 0;
    ASSERT_EQ(WriteSavedGame(1), 0);
    ASSERT_EQ(LoadSavedGame(1), 0);
    EXPECT_EQ(Creatures[0].name, second);
    EXPECT_EQ(FindCondition(0, fall), -1);
    EXPECT_EQ(Creatures[0].present, 1);
    EXPECT_EQ(Creatures[1].name, first);
    EXPECT_GE(FindCondition(1, fall), 0);
    EXPECT_EQ(DeleteSavedGame(1), 0);
  }
}

// The game left behind has no say in the game loaded: a wizard who renews
// his light on the map he stands on, when it is dark, finds the loaded lit
// map, not the dark one being left.
TEST_F(SavedGames, TheGameBeingLeftHasNoSayInTheGameLoaded) {
  savetest::IntroductoryGame();
  OptionWords[kOptionAutoRecastLight] = 1;
  CurrentMap.lit = 1;
  CreatureRecord& wizard = Creatures[0];
  wizard.allegiance = kAllegianceParty;
  wizard.creatureClass = 3;
  wizard.knownSpells[102] = 1;
  wizard.spellsLeft[0] = 2;
  ASSERT_EQ(WriteSavedGame(1), 0);
  CurrentMap.lit = 0;
  ASSERT_EQ(LoadSavedGame(1), 0);
  EXPECT_EQ(Creatures[0].spellsLeft[0], 2);
  EXPECT_EQ(FindCondition(0, kCondIlluminating), -1);
}

TEST_F(SavedGames, TheJournalKeepsEveryEntryThatHoldsTextAndReadsBackAsItWasWritten) {
  std::vector<uint8_t> file;
  EncodeJournal(QuestJournal, &file);
  EXPECT_EQ(file.size(), 12u);  // nothing started: entry 0 alone
  QuestJournal[37].state = 1;
  QuestJournal[2].text = "Ask at the mill.";
  QuestJournal[2].length = 16;
  QuestJournal[5].text = "Gone";
  QuestJournal[5].length = 30000;  // a length no text has: cut to 9,999 bytes, zeros after the text
  QuestJournal[60].text = "Set back";  // a text whose state a script set back to 0
  QuestJournal[60].length = 8;
  EncodeJournal(QuestJournal, &file);
  EXPECT_EQ(file.size(), 61 * 12u + 16 + 9999 + 8);
  std::vector<JournalEntry> read;
  ASSERT_TRUE(DecodeJournal(file.data(), file.size(), &read));
  ASSERT_EQ(read.size(), 200u);
  EXPECT_EQ(read[2].text, "Ask at the mill.");
  EXPECT_EQ(read[2].length, 16u);
  EXPECT_EQ(read[37].state, 1u);
  EXPECT_EQ(read[60].text, "Set back");
  // A padded entry keeps the file's length: written again, the file is the same.
  EXPECT_EQ(read[5].text, "Gone");
  EXPECT_EQ(read[5].length, 9999u);
  std::vector<uint8_t> again;
  EncodeJournal(read, &again);
  EXPECT_TRUE(again == file);
  // A length of 10,000 or more is damage, never an overrun.
  int32_t tooLong = 10000;
  std::memcpy(file.data(), &tooLong, 4);
  EXPECT_FALSE(DecodeJournal(file.data(), file.size(), &read));
}

// A load takes what it reads of a slot's files and ignores what lies past
// it: a damaged journal entry starts afresh with every entry after it, the
// journal's first 200 entries, the first 100 bytes of the achievements, the
// first 804 of the details (a shorter file leaves the rest 0) and the
// roster's records up to creature 2,099's.
TEST_F(SavedGames, ALoadNeverRefusesASlotOverWhatItDoesNotRead) {
  savetest::IntroductoryGame();
  QuestJournal[2].text = "Ask at the mill.";
  QuestJournal[2].length = 16;
  QuestJournal[37].state = 2;
  QuestJournal[60].text = "Later";
  QuestJournal[60].length = 5;
  AchievementProgress[99] = 1;
  PartyGold = 321;
  std::strcpy(Creatures[kCreatureCount - 1].name, "Last Walker");
  ASSERT_EQ(WriteSavedGame(1), 0);
  auto lengthen = [](const char* file, size_t bytes) {
    std::vector<uint8_t> longer = savetest::ReadBytes(SlotFile(1, file));
    longer.resize(longer.size() + bytes, 7);
    savetest::WriteBytes(SlotFile(1, file), longer);
  };
  ASSERT_EQ(savetest::ReadBytes(SlotFile(1, "SaveChar.cml")).size(), kLargestRosterBytes);
  lengthen("SaveChar.cml", 100);
  lengthen("Achievements.dat", 4);
  lengthen("Details.dat", 4);
  const std::vector<uint8_t> journal = savetest::ReadBytes(SlotFile(1, "Journal.dat"));
  constexpr size_t kEntry37 = 37 * 12 + 16;  // entries 0 to 36, entry 2 with its text
  for (const bool cut : {false, true}) {
    SCOPED_TRACE(cut ? "entry 37 cut short" : "entry 37 longer than the journal's buffer");
    std::vector<uint8_t> damaged = journal;
    const int32_t tooLong = 10000;
    if (cut)
      damaged.resize(kEntry37 + 8);
    else
      std::memcpy(damaged.data() + kEntry37, &tooLong, 4);
    savetest::WriteBytes(SlotFile(1, "Journal.dat"), damaged);
    ResetQuestJournal();
    PartyGold = 0;
    AchievementProgress[99] = 0;
    ASSERT_EQ(LoadSavedGame(1), 0);
    EXPECT_EQ(QuestJournal[2].text, "Ask at the mill.");
    EXPECT_EQ(QuestJournal[37].state, 0u);
    EXPECT_TRUE(QuestJournal[60].text.empty());
    EXPECT_EQ(AchievementProgress[99], 1);
    EXPECT_EQ(PartyGold, 321u);
    EXPECT_STREQ(Creatures[kCreatureCount - 1].name, "Last Walker");
  }

  // A 201st entry is not read.
  ResetQuestJournal();
  QuestJournal[199].text = "End";
  QuestJournal[199].length = 3;
  std::vector<uint8_t> full;
  EncodeJournal(QuestJournal, &full);
  full.resize(full.size() + 12, 1);
  savetest::WriteBytes(SlotFile(1, "Journal.dat"), full);
  // Details cut inside the options: the words after the cut are 0, the last three their defaults.
  std::vector<uint8_t> details = savetest::ReadBytes(SlotFile(1, "Details.dat"));
  details.resize(700);
  savetest::WriteBytes(SlotFile(1, "Details.dat"), details);
  ResetQuestJournal();
  OptionWords[kOptionAutomaticEndOfTurn] = 5;
  ASSERT_EQ(LoadSavedGame(1), 0);
  EXPECT_EQ(QuestJournal[199].text, "End");
  EXPECT_EQ(PartyGold, 321u);
  EXPECT_EQ(OptionWords[kOptionAutomaticEndOfTurn], 0);
  EXPECT_EQ(OptionWords[kOptionScrollScribeCount], 1);
}

TEST_F(SavedGames, DetailsHoldTheSaveDateThePlayTimeAndTheAverageLevelOfThoseStillInTheGame) {
  savetest::IntroductoryGame();
  Creatures[0].level = 4;
  Creatures[1].level = 3;
  Creatures[2].level = 9;
  AddCondition(2, kCondPetrified, kDurationLasting, 0, 18, 0);
  Creatures[3].name[0] = '\0';
  Creatures[3].level = 20;
  PlayTime.baseHours = 2;
  PlayTime.baseMinutes = 50;
  PlayTime.since = savetest::Moment(-(59 * 60 + 40)).stamp;  // 59 minutes 40 seconds ago
  ASSERT_EQ(WriteSavedGame(1), 0);
  std::vector<uint8_t> bytes = savetest::ReadBytes(SlotFile(1, "Details.dat"));
  ASSERT_EQ(bytes.size(), kDetailsBytes);
  SavedGameDetails d;
  DecodeDetails(bytes.data(), bytes.size(), &d);
  EXPECT_EQ(d.averageLevel, 3);
  EXPECT_EQ(d.day, 14);
  EXPECT_EQ(d.month, 3);
  EXPECT_EQ(d.playHours, 3);
  EXPECT_EQ(d.playMinutes, 50);
  EXPECT_STREQ(d.mapName, "Old Mill");

  PlayTime.since = savetest::Moment(-29).stamp;
  UpdatePlayTime();
  EXPECT_EQ(SaveDetails.playHours, 2);
  EXPECT_EQ(SaveDetails.playMinutes, 50);

  // A whole party out of the game has level 0.
  for (int m = 0; m < kPartySize; ++m) AddCondition(m, kCondDead, kDurationLasting, 0, 18, 0);
  ASSERT_EQ(WriteSavedGame(1), 0);
  bytes = savetest::ReadBytes(SlotFile(1, "Details.dat"));
  DecodeDetails(bytes.data(), bytes.size(), &d);
  EXPECT_EQ(d.averageLevel, 0);

  // Details from before the last three words load with their defaults.
  OptionWords[kOptionSetOutAbilityRule] = 5;
  OptionWords[kOptionScrollScribeCount] = 5;
  ScoreBonusPoints = 5;
  bytes.resize(792);
  savetest::WriteBytes(SlotFile(1, "Details.dat"), bytes);
  ASSERT_EQ(LoadSavedGame(1), 0);
  EXPECT_EQ(OptionWords[kOptionSetOutAbilityRule], 1);
  EXPECT_EQ(OptionWords[kOptionScrollScribeCount], 1);
  EXPECT_EQ(ScoreBonusPoints, 0);
  EXPECT_EQ(PlayTime.baseHours, 2);
  EXPECT_EQ(PlayTime.baseMinutes, 50);
  EXPECT_EQ(PlayTime.since, savetest::Moment(0).stamp);
}

// A value the load holds to a range, as the running game keeps it: the file
// the save writes it into, and where "Details.dat" holds it (its bytes there).
enum class InFile { kRoster, kCrafted, kDetails };
struct Bounded {
  const char* name;
  InFile file;
  std::function<void(int64_t)> set;
  std::function<int64_t()> get;
  int64_t low, high;
  size_t detailsAt = 0;
  int detailsBytes = 4;
  bool clock = false;  // the play time: past its top the clock stops rather than the save refuse
};
#define RUNNING(value) \
  [](int64_t v) { value = static_cast<std::remove_reference_t<decltype(value)>>(v); }, \
      [] { return static_cast<int64_t>(value); }

// A creature off the party's map, a party member's last condition, a crafted
// row and the details' words.
std::vector<Bounded> BoundedValues() {
  static CreatureRecord& c = Creatures[5];
  static CreatureRecord& member = Creatures[3];
  static CraftedWeaponRecord& row = CraftedWeapons[30];
  return {
      {"map", InFile::kRoster, RUNNING(c.map), 0, 40},
      {"square x", InFile::kRoster, RUNNING(c.squareX), 0, 59},
      {"square y", InFile::kRoster, RUNNING(c.squareY), 0, 59},
      {"next x", InFile::kRoster, RUNNING(c.nextX), 0, 59},
      {"next y", InFile::kRoster, RUNNING(c.nextY), 0, 59},
      {"footprint width", InFile::kRoster, RUNNING(c.footprintWidth.base), 0, 6},
      {"footprint height", InFile::kRoster, RUNNING(c.footprintHeight.base), 0, 6},
      {"facing", InFile::kRoster, RUNNING(c.facing), 0, 8},
      {"size", InFile::kRoster, RUNNING(c.size.base), 0, 8},
      {"speed", InFile::kRoster, RUNNING(c.speed.base), 0, 1000},
      {"level", InFile::kRoster, RUNNING(c.level), 0, 100},
      {"base hit points", InFile::kRoster, RUNNING(c.baseHitPoints), 0, 1000000},
      {"hit points", InFile::kRoster, RUNNING(c.hitPoints), -1000000, 1000000},
      {"strength", InFile::kRoster, RUNNING(c.strength.base), 0, 100},
      {"dexterity", InFile::kRoster, RUNNING(c.dexterity.base), 0, 100},
      {"constitution", InFile::kRoster, RUNNING(c.constitution.base), 0, 100},
      {"intelligence", InFile::kRoster, RUNNING(c.intelligence.base), 0, 100},
      {"wisdom", InFile::kRoster, RUNNING(c.wisdom.base), 0, 100},
      {"charisma", InFile::kRoster, RUNNING(c.charisma.base), 0, 100},
      {"item worn", InFile::kRoster, RUNNING(c.equipment[kSlotRightFinger - 1]), 0, 6999},
      {"ammunition", InFile::kRoster, RUNNING(c.ammunition.code), 0, 6999},
      {"item carried", InFile::kRoster, RUNNING(c.carried[15].code), 0, 6999},
      {"natural attacks in a row", InFile::kRoster, RUNNING(c.naturalAttacks[3].count), 0, 20},
      {"natural attack dice", InFile::kRoster, RUNNING(c.naturalAttacks[3].effectDice), 0, 100},
      {"natural attack sides", InFile::kRoster, RUNNING(c.naturalAttacks[3].effectSides), 0, 100},
      {"natural rider dice", InFile::kRoster, RUNNING(c.naturalAttacks[3].riderDice), 0, 100},
      {"natural rider sides", InFile::kRoster, RUNNING(c.naturalAttacks[3].riderSides), 0, 100},
      // A lasting condition of the member's, known by its source (id 0 is an empty entry).
      {"condition", InFile::kRoster,
       [](int64_t v) { member.conditions[0] = {static_cast<uint32_t>(v), kDurationLasting, 99, 0, 0}; },
       [] {
         for (const ConditionEntry& e : member.conditions)
           if (e.source == 99) return static_cast<int64_t>(e.id);
         return int64_t{0};
       },
       0, 683},
      {"price", InFile::kCrafted, RUNNING(row.price), 0, 100000000},
      {"item hit points", InFile::kCrafted, RUNNING(row.hitPoints), 0, 1000000},
      {"item size", InFile::kCrafted, RUNNING(row.size), 0, 7},
      {"dice sides or armour bonus", InFile::kCrafted, RUNNING(row.dieSides), 0, 100},
      {"dice or Dexterity cap", InFile::kCrafted, RUNNING(row.dieCount), 0, 100},
      {"critical range or check penalty", InFile::kCrafted, RUNNING(row.critLow), 0, 100},
      {"critical multiplier or spell failure", InFile::kCrafted, RUNNING(row.critMultiplier), 0, 100},
      {"range", InFile::kCrafted, RUNNING(row.range), 0, 10000},
      {"enhancement", InFile::kCrafted, RUNNING(row.enhancement), -100, 100},
      {"improvements", InFile::kCrafted, RUNNING(row.word720[1]), 0, 1000000},
      {"wand spell", InFile::kCrafted, RUNNING(row.spell), -1, 179},
      {"charges", InFile::kCrafted, RUNNING(row.charges), 0, 1000000},
      {"picture", InFile::kCrafted, RUNNING(row.icon), 0, 587},
      {"time of day", InFile::kDetails, RUNNING(TimeOfDayMinutes), 0, 1439, 332},
      {"world x", InFile::kDetails, RUNNING(PartyWorldSquare[0]), 0, 59, 324},
      {"world y", InFile::kDetails, RUNNING(PartyWorldSquare[1]), 0, 59, 328},
      {"rain flag", InFile::kDetails, RUNNING(StormActive), 0, 1, 340, 1},
      {"rain picture", InFile::kDetails, RUNNING(RainAnimationCounter), 84, 88, 336},
      {"hit-die roll", InFile::kDetails, RUNNING(HitDieRolls[79]), 0, 20, 4 + 4 * 79},
      {"sound volume", InFile::kDetails, RUNNING(OptionWords[kOptionSoundVolume]), 0, 100, 604},
      {"music volume", InFile::kDetails, RUNNING(OptionWords[kOptionMusicVolume]), 0, 100, 608},
      {"ambient volume", InFile::kDetails, RUNNING(OptionWords[kOptionAmbientVolume]), 0, 100, 612},
      {"play hours", InFile::kDetails, RUNNING(PlayTime.baseHours), 0, 1000000, 692, 4, true},
      {"play minutes", InFile::kDetails, RUNNING(PlayTime.baseMinutes), 0, 59, 696, 4, true},
  };
}

// A game of the introductory adventure with a creature away on map 30.
void BoundedGame() {
  savetest::IntroductoryGame();
  std::strcpy(Creatures[5].name, "Far Walker");
  Creatures[5].map = 30;
  // A member alive: one of no Constitution or level is marked dead.
  Creatures[3].level = 1;
  Creatures[3].constitution = {10, 10};
}

TEST_F(SavedGames, EveryValueTheLoadBoundsSavesAndLoadsBackAtEitherBound) {
  BoundedGame();
  const std::vector<Bounded> values = BoundedValues();
  for (const bool top : {false, true}) {
    SCOPED_TRACE(top ? "the highest values" : "the lowest values");
    for (const Bounded& b : values) b.set(top ? b.high : b.low);
    ASSERT_EQ(WriteSavedGame(1), 0);
    for (const Bounded& b : values) b.set(top ? b.low : b.high);
    ASSERT_EQ(LoadSavedGame(1), 0);
    for (const Bounded& b : values) EXPECT_EQ(b.get(), top ? b.high : b.low) << b.name;
  }
}

TEST_F(SavedGames, OnePastABoundIsRefusedBySaveAndLoadAndThePlayClockStopsAtItsBound) {
  BoundedGame();
  ASSERT_EQ(WriteSavedGame(1), 0);
  const std::vector<uint8_t> roster = savetest::ReadBytes(SlotFile(1, "SaveChar.cml"));
  const std::vector<uint8_t> crafted = savetest::ReadBytes(SlotFile(1, "SaveWeapon.wml"));
  const std::vector<uint8_t> details = savetest::ReadBytes(SlotFile(1, "Details.dat"));
  const std::vector<Bounded> values = BoundedValues();
  for (const Bounded& b : values) {
    const int64_t was = b.get();
    for (const int64_t past : {b.low - 1, b.high + 1}) {
      if (past < INT32_MIN || past > INT32_MAX) continue;
      SCOPED_TRACE(std::string(b.name) + " " + std::to_string(past));
      b.set(past);
      const int saved = WriteSavedGame(1);
      // The file as the game would write it with the value.
      std::vector<uint8_t> bytes;
      const char* file = "Details.dat";
      if (b.file == InFile::kRoster) {
        PackCreatureRoster(&bytes);
        file = "SaveChar.cml";
      } else if (b.file == InFile::kCrafted) {
        bytes = savetest::ReadBytes(SlotFile(1, "SaveWeapon.wml"));
        std::memcpy(bytes.data(), CraftedWeapons, bytes.size());
        file = "SaveWeapon.wml";
      } else {
        bytes = details;
        std::memcpy(bytes.data() + b.detailsAt, &past, b.detailsBytes);
      }
      b.set(was);
      if (b.clock && past > b.high) {
        // The clock stops at its top: saved there, never past it.
        EXPECT_EQ(saved, 0);
        SavedGameDetails d;
        const std::vector<uint8_t> written = savetest::ReadBytes(SlotFile(1, "Details.dat"));
        DecodeDetails(written.data(), written.size(), &d);
        EXPECT_TRUE(DetailsValuesFit(d));
        savetest::WriteBytes(SlotFile(1, "Details.dat"), details);
      } else {
        EXPECT_EQ(saved, b.file == InFile::kRoster    ? kSaveCharactersFailed
                         : b.file == InFile::kCrafted ? kSaveWeaponsFailed
                                                      : kSaveDetailsFailed);
        EXPECT_TRUE(savetest::ReadBytes(SlotFile(1, "Details.dat")) == details);
      }
      savetest::WriteBytes(SlotFile(1, file), bytes);
      EXPECT_EQ(LoadSavedGame(1), b.file == InFile::kRoster    ? kLoadCharactersFailed
                                  : b.file == InFile::kCrafted ? kLoadWeaponsFailed
                                                               : kLoadDetailsFailed);
      savetest::WriteBytes(SlotFile(1, "SaveChar.cml"), roster);
      savetest::WriteBytes(SlotFile(1, "SaveWeapon.wml"), crafted);
      savetest::WriteBytes(SlotFile(1, "Details.dat"), details);
    }
  }
  // A map the grids cannot hold is not saved either.
  StoredMaps[21].width = 61;
  EXPECT_EQ(WriteSavedGame(1), kSaveMapsFailed);
  StoredMaps[21].width = 0;
  // A crafted row and a creature out of range: the crafted items' code, as the load reads them first.
  Creatures[5].level = 101;
  CraftedWeapons[30].size = 8;
  EXPECT_EQ(WriteSavedGame(1), kSaveWeaponsFailed);
  Creatures[5].level = 1;
  CraftedWeapons[30].size = 1;

  // Hours of play at the top: two more hours keep it there.
  PlayTime.baseHours = 1000000;
  PlayTime.baseMinutes = 30;
  PlayTime.since = savetest::Moment(-2 * 3600).stamp;
  UpdatePlayTime();
  EXPECT_EQ(SaveDetails.playHours, 1000000);
  EXPECT_EQ(SaveDetails.playMinutes, 59);
}

// Word 23 shows the combat rolls when it is 1; word 24 chooses the panel
// states 0, 1 and 2 and leaves them as they were for any other value; the
// ability rule the party set out with is any word.
TEST_F(SavedGames, ThePanelWordsOfTheDetailsSetThePanelsAndOtherValuesLeaveThem) {
  savetest::IntroductoryGame();
  ASSERT_EQ(WriteSavedGame(1), 0);
  std::vector<uint8_t> bytes = savetest::ReadBytes(SlotFile(1, "Details.dat"));
  auto load = [&](int32_t rolls, int32_t panels, int32_t rule) {
    std::memcpy(bytes.data() + 664, &rolls, 4);
    std::memcpy(bytes.data() + 668, &panels, 4);
    std::memcpy(bytes.data() + 792, &rule, 4);
    savetest::WriteBytes(SlotFile(1, "Details.dat"), bytes);
    CombatRollsPanelShown = 1;
    ActionsPanelShown = 1;
    ReadyModeFlag = 1;
    return LoadSavedGame(1);
  };
  struct Case {
    int32_t rolls, panels;
    uint8_t rollsShown, actionsShown, ready;
  };
  for (const Case& c : {Case{1, 0, 1, 0, 0}, Case{0, 1, 0, 1, 0}, Case{2, 2, 0, 1, 1}, Case{-1, 3, 0, 1, 1},
                        Case{1, 5, 1, 1, 1}, Case{7, -1, 0, 1, 1}}) {
    SCOPED_TRACE(std::to_string(c.rolls) + " " + std::to_string(c.panels));
    ASSERT_EQ(load(c.rolls, c.panels, 7), 0);
    EXPECT_EQ(CombatRollsPanelShown, c.rollsShown);
    EXPECT_EQ(ActionsPanelShown, c.actionsShown);
    EXPECT_EQ(ReadyModeFlag, c.ready);
    EXPECT_EQ(OptionWords[kOptionSetOutAbilityRule], 7);
  }
}

// The settings file and a saved game keep the same option words: a value one
// of them refuses (a volume past 100) the other refuses too, and any other
// value comes back from both as it was (the scribed-scroll count, which only
// saved games keep, too); a toggle at the lowest word still turns.
TEST_F(SavedGames, TheSettingsFileAndASavedGameKeepTheSameOptionWords) {
  savetest::IntroductoryGame();
  const struct {
    int word;
    int32_t value;
  } cases[] = {{kOptionSoundVolume, 101},      {kOptionAmbientVolume, -1},         {kOptionMusicVolume, 100},
               {kOptionDoubleWalkSpeed, INT32_MIN}, {kOptionMaxHitPointsOnLevelUp, 3}, {kOptionMaxAbilityScores, 7},
               {kOptionRunningAwayCanFail, 5}, {kOptionScrollScribeCount, INT32_MAX}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.word) + " " + std::to_string(c.value));
    const int32_t was = OptionWords[c.word];
    OptionWords[c.word] = c.value;
    WriteSettingsFile();
    const int saved = WriteSavedGame(1);
    OptionWords[c.word] = was;
    ReadSettingsFile();
    const bool fileKeeps = OptionWords[c.word] == c.value;
    OptionWords[c.word] = was;
    const bool gameKeeps = saved == 0 && LoadSavedGame(1) == 0 && OptionWords[c.word] == c.value;
    if (c.word != kOptionScrollScribeCount) {  // the count is no setting
      EXPECT_EQ(fileKeeps, gameKeeps);
    }
    EXPECT_EQ(gameKeeps, c.word < kOptionSoundVolume || c.word > kOptionAmbientVolume || c.value == 100);
    OptionWords[c.word] = was;
  }
  OptionWords[kOptionDoubleWalkSpeed] = INT32_MIN;
  for (int row = 0; row < kOptionRowCount; ++row)
    if (OptionRows[row].word == kOptionDoubleWalkSpeed) ActOnOptionRow(row);
  EXPECT_EQ(OptionWords[kOptionDoubleWalkSpeed], INT32_MIN + 1);
}

TEST_F(SavedGames, SlotsStayWithoutGapsAndTheStartOfEachAdventureIsNeverWrittenOrDeleted) {
  savetest::IntroductoryGame();
  EXPECT_EQ(FindFreeSaveSlot(), 1);
  for (int slot = 1; slot <= 3; ++slot) {
    Creatures[4].level = slot;
    ASSERT_EQ(WriteSavedGame(slot), 0);
  }
  EXPECT_EQ(FindFreeSaveSlot(), 4);

  // A game saved without a journal still deletes; the slots above move down.
  ASSERT_TRUE(platform::RemoveGameFile(SlotFile(2, "Journal.dat").c_str()));
  SaveListMaxScroll = 4;
  EXPECT_EQ(DeleteSavedGame(2), 0);
  CloseSaveSlotGap(2, 3);
  EXPECT_EQ(FindFreeSaveSlot(), 3);
  EXPECT_EQ(SaveListMaxScroll, 3);
  ASSERT_EQ(LoadSavedGame(2), 0);
  EXPECT_EQ(Creatures[4].level, 3);
  SaveListMaxScroll = 3;
  // The highest slot moves nothing; the last one leaves the list as it was.
  EXPECT_EQ(DeleteSavedGame(2), 0);
  CloseSaveSlotGap(2, 2);
  EXPECT_EQ(SaveListMaxScroll, 2);
  EXPECT_EQ(DeleteSavedGame(1), 0);
  CloseSaveSlotGap(1, 1);
  EXPECT_EQ(SaveListMaxScroll, 2);
  EXPECT_EQ(FindFreeSaveSlot(), 1);
  // A slot that holds no game is refused, not reported deleted.
  EXPECT_EQ(DeleteSavedGame(1), kDeleteNoGame);
  EXPECT_STREQ(SavedGameMessage(kDeleteNoGame), "No saved game to delete");

  ASSERT_TRUE(platform::MakeGameFolder((folder_ + "\\0").c_str()));
  savetest::WriteBytes(SlotFile(0, "SaveChar.cml"), {1, 2, 3});
  EXPECT_NE(WriteSavedGame(0), 0);
  EXPECT_NE(DeleteSavedGame(0), 0);
  EXPECT_EQ(savetest::ReadBytes(SlotFile(0, "SaveChar.cml")), (std::vector<uint8_t>{1, 2, 3}));
}

// Every byte of the party's records in a slot of the introductory game, one
// at a time, flipped: a record whose values leave the ranges below (or that
// takes the leader off the adventure's maps) is refused with its message and
// the running game stays; any other loads, and the game it gives saves and
// loads back the same. The 18,704 loads are spread over a parallel run: one
// piece of one part of one member's record a test, each piece short enough
// to load through in a few seconds on a slow machine.
struct RecordPart {
  const char* name;
  size_t first, end;  // its bytes in a stored party record
  bool bounded;       // some of its flips leave a range and are refused
};
constexpr RecordPart kRecordParts[] = {
    {"NameAndDescription", 0, 452, false},
    {"KindThroughSpellsOfTheDay", 452, 724, true},  // hit dice, level, abilities, place, facing
    {"KnownSpells", 724, 1444, false},
    {"Protections", 1444, 1692, false},
    {"NaturalAttacks", 1692, kStoredConditionsAt, true},
    {"Conditions", kStoredConditionsAt, kStoredFeatsAtParty, true},
    {"Feats", kStoredFeatsAtParty, 4156, false},
    {"SpecialWordsAndItems", 4156, kStoredFeatsAtParty + kStoredFeatsBytes, true},  // through allegiance
    {"TagThroughFormation", kStoredFeatsAtParty + kStoredFeatsBytes, kStoredPartyRecordBytes, false},
};
constexpr size_t kMostBytesAPiece = 200;
// The parts lie end to end over the whole record.
constexpr bool PartsCoverTheRecord() {
  size_t at = 0;
  for (const RecordPart& part : kRecordParts) {
    if (part.first != at || part.end <= part.first) return false;
    at = part.end;
  }
  return at == kStoredPartyRecordBytes;
}
static_assert(PartsCoverTheRecord());

struct FlippedPiece {
  int member;
  const RecordPart* part;
  int piece, pieces;
  size_t first, end;  // its bytes in the roster file
};

// Each part in equal pieces of at most kMostBytesAPiece bytes.
std::vector<FlippedPiece> FlippedPieces() {
  std::vector<FlippedPiece> pieces;
  for (int member = 0; member < kPartySize; ++member)
    for (const RecordPart& part : kRecordParts) {
      const size_t record = member * kStoredPartyRecordBytes, bytes = part.end - part.first;
      const int count = static_cast<int>((bytes + kMostBytesAPiece - 1) / kMostBytesAPiece);
      for (int n = 0; n < count; ++n)
        pieces.push_back({member, &part, n, count, record + part.first + bytes * n / count,
                          record + part.first + bytes * (n + 1) / count});
    }
  return pieces;
}

// The piece's name, the test's name too: "Member0KnownSpells2of4".
void PrintTo(const FlippedPiece& p, std::ostream* out) {
  *out << "Member" << p.member << p.part->name;
  if (p.pieces > 1) *out << p.piece + 1 << "of" << p.pieces;
}

class FlippedPartyBytes : public SavedGames, public ::testing::WithParamInterface<FlippedPiece> {};

// The values a stored creature may hold.
bool InItsRanges(const CreatureRecord& c) {
  auto in = [](int64_t v, int64_t low, int64_t high) { return v >= low && v <= high; };
  bool fits = in(c.map, 0, 40) && in(c.squareX, 0, 59) && in(c.squareY, 0, 59) && in(c.nextX, 0, 59) &&
              in(c.nextY, 0, 59) && in(c.footprintWidth.base, 0, 6) && in(c.footprintHeight.base, 0, 6) &&
              in(c.facing, 0, 8) && in(c.size.base, 0, 8) && in(c.speed.base, 0, 1000) && in(c.level, 0, 100) &&
              in(c.baseHitPoints, 0, 1000000) && in(c.hitPoints, -1000000, 1000000) && in(c.ammunition.code, 0, 6999);
  for (const StatPair* a : {&c.strength, &c.dexterity, &c.constitution, &c.intelligence, &c.wisdom, &c.charisma})
    fits = fits && in(a->base, 0, 100);
  for (const ConditionEntry& e : c.conditions) fits = fits && in(e.id, 0, 683);
  for (uint32_t code : c.equipment) fits = fits && in(code, 0, 6999);
  for (const ItemPair& p : c.carried) fits = fits && in(p.code, 0, 6999);
  for (const NaturalAttack& a : c.naturalAttacks)
    fits = fits && in(a.count, 0, 20) && in(a.effectDice, 0, 100) && in(a.effectSides, 0, 100) &&
           in(a.riderDice, 0, 100) && in(a.riderSides, 0, 100);
  return fits;
}

TEST_P(FlippedPartyBytes, LoadToAGameThatSavesTheSameOrAreRefused) {
  SwitchToIntroductoryAdventure();
  ASSERT_EQ(StartIntroductoryAdventure(), 1);
  UseOwnFolder();
  ASSERT_EQ(WriteSavedGame(1), 0);
  ASSERT_EQ(LoadSavedGame(1), 0);
  const std::string path = SlotFile(1, "SaveChar.cml");
  std::vector<uint8_t> roster = savetest::ReadBytes(path);
  const std::vector<CreatureRecord> party(Creatures, Creatures + kPartySize);
  auto partyAsLoaded = [&] { return std::memcmp(party.data(), Creatures, sizeof(CreatureRecord) * kPartySize) == 0; };
  const FlippedPiece& piece = GetParam();
  const int member = piece.member;
  std::vector<CreatureRecord> read(kPartySize);
  int refused = 0;
  for (size_t at = piece.first; at < piece.end; ++at) {
    SCOPED_TRACE("byte " + std::to_string(at));
    roster[at] ^= 0xFF;
    ASSERT_TRUE(platform::WriteGameFile(path.c_str(), roster.data(), roster.size()));
    DecodeRosterRecords(roster.data(), roster.size(), read.data(), member, member + 1);
    // The leader must stand on a square of one of the adventure's maps (21 to 24).
    int32_t place[3];
    std::memcpy(place, roster.data() + 604, sizeof place);
    const bool onAMap = place[0] >= 21 && place[0] <= 24 && place[1] >= 0 && place[2] >= 0 &&
                        place[1] < StoredMaps[place[0]].width && place[2] < StoredMaps[place[0]].height;
    if (!onAMap || !InItsRanges(read[member])) {
      ++refused;
      ASSERT_EQ(LoadSavedGame(1), kLoadCharactersFailed);
      ASSERT_TRUE(partyAsLoaded());
    } else {
      ASSERT_EQ(LoadSavedGame(1), 0);
      const CreatureRecord loaded = Creatures[member];
      std::memset(PartyRecordBuffer, 0, sizeof PartyRecordBuffer);
      PackPartyRecord(member);
      UnpackPartyRecord(member);
      ASSERT_EQ(std::memcmp(&loaded, &Creatures[member], sizeof loaded), 0);
      std::copy(party.begin(), party.end(), Creatures);
    }
    roster[at] ^= 0xFF;
  }
  EXPECT_EQ(refused > 0, piece.part->bounded) << refused << " of " << piece.end - piece.first << " refused";
}

INSTANTIATE_TEST_SUITE_P(Parts, FlippedPartyBytes, ::testing::ValuesIn(FlippedPieces()));

}  // namespace
