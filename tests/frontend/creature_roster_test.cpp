// The creature roster: what a stored record keeps and where, which records
// the file holds, and what reading it does to the creature table.
#include "save_fixture.h"

#include <algorithm>

#include "rules/conditions.h"

namespace {

using savetest::SavedGames;

int32_t WordAt(const std::vector<uint8_t>& bytes, size_t at) {
  int32_t w;
  std::memcpy(&w, bytes.data() + at, 4);
  return w;
}

// A creature with a different value in every word, and texts that fill their fields.
void FillCreature(int id, int32_t seed) {
  CreatureRecord& c = Creatures[id];
  auto* words = reinterpret_cast<int32_t*>(&c);
  for (size_t i = 0; i < sizeof c / 4; ++i) words[i] = seed + static_cast<int32_t>(i);
  std::memset(c.name, 'N', sizeof c.name);
  std::memset(c.description, 'D', sizeof c.description);
  std::memset(c.tag, 'T', sizeof c.tag);
  for (ConditionEntry& e : c.conditions) e = ConditionEntry{};
}

TEST_F(SavedGames, EveryStoredFieldComesBackAndTheRestIsLeftToTheRecomputation) {
  for (int id : {1, 9}) FillCreature(id, 1000 * id);
  std::vector<uint8_t> file;
  PackCreatureRoster(&file);
  ASSERT_EQ(file.size(), kRosterPartyBytes + 6 * kStoredCreatureRecordBytes);

  // A few fields at their places: current hit points, pairs 14 to 17 swapped, the last pair.
  const CreatureRecord& nine = Creatures[9];
  const size_t at = kRosterPartyBytes + 5 * kStoredCreatureRecordBytes;
  EXPECT_EQ(WordAt(file, at + 488), nine.hitPoints);
  EXPECT_EQ(WordAt(file, at + 1500), nine.protections[15].base);
  EXPECT_EQ(WordAt(file, at + 1504), nine.protections[14].base);
  EXPECT_EQ(WordAt(file, at + 1508), nine.protections[17].base);
  EXPECT_EQ(WordAt(file, at + 1512), nine.protections[16].base);
  EXPECT_EQ(WordAt(file, at + 1688), nine.protections[61].base);
  EXPECT_EQ(WordAt(file, at + 3532), nine.group);
  EXPECT_EQ(file[at + 49], 0);  // a name that fills its field keeps a terminator

  std::vector<CreatureRecord> table(kCreatureCount);
  ASSERT_EQ(DecodeCreatureRoster(file.data(), file.size(), table.data()), 10);
  for (int id : {1, 9}) {
    const CreatureRecord& want = Creatures[id];
    const CreatureRecord& got = table[id];
    EXPECT_EQ(std::string(got.name), std::string(49, 'N'));
    EXPECT_EQ(std::string(got.tag), std::string(19, 'T'));
    EXPECT_EQ(got.maxHitPoints, -1);
    EXPECT_EQ(got.hitPoints, want.hitPoints);
    EXPECT_EQ(got.effectiveLevel, 0);
    EXPECT_EQ(got.strength.base, want.strength.base);
    EXPECT_EQ(got.strength.current, 0);
    EXPECT_EQ(0, std::memcmp(got.spellsPerDay, want.spellsPerDay, 72));
    for (int p = 0; p < kProtectionPairs; ++p) {
      EXPECT_EQ(got.protections[p].base, want.protections[p].base) << p;
      EXPECT_EQ(got.protections[p].current, 0) << p;
    }
    EXPECT_EQ(0, std::memcmp(got.feats, want.feats, offsetof(CreatureRecord, tag) - offsetof(CreatureRecord, feats)));
    EXPECT_EQ(0, std::memcmp(&got.waypointValue, &want.waypointValue,
                             offsetof(CreatureRecord, fighterSlot) - offsetof(CreatureRecord, waypointValue)));
    EXPECT_EQ(got.fighterSlot, 0);
  }
  // The free records between the creatures stay free.
  for (int id : {0, 2, 3, 4, 8}) EXPECT_EQ(table[id].maxHitPoints, 0) << id;
}

TEST_F(SavedGames, DecodingOverAnOldTableLeavesNothingOfItInFreeRecordsOrPastTheFile) {
  FillCreature(5, 500);
  std::vector<uint8_t> file;
  PackCreatureRoster(&file);
  std::vector<CreatureRecord> table(kCreatureCount);
  std::memset(static_cast<void*>(table.data()), 0x5A, sizeof(CreatureRecord) * kCreatureCount);
  ASSERT_EQ(DecodeCreatureRoster(file.data(), file.size(), table.data()), 6);
  auto zero = [&](int id) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&table[id]);
    return std::all_of(bytes, bytes + sizeof(CreatureRecord), [](uint8_t b) { return b == 0; });
  };
  for (int id : {0, 4, 6, 7, kCreatureCount - 1}) EXPECT_TRUE(zero(id)) << id;
  EXPECT_EQ(table[5].hitPoints, Creatures[5].hitPoints);
  EXPECT_EQ(table[5].fighterSlot, 0);  // not stored: nothing of the old record is left

  // Decoded in parts over an old table, in any order, the table is the same.
  std::vector<CreatureRecord> parts(kCreatureCount);
  std::memset(static_cast<void*>(parts.data()), 0x5A, sizeof(CreatureRecord) * kCreatureCount);
  for (auto [first, end] : {std::pair{5, 900}, std::pair{0, 3}, std::pair{900, kCreatureCount + 40}, std::pair{3, 5}})
    DecodeRosterRecords(file.data(), file.size(), parts.data(), first, end);
  EXPECT_EQ(std::memcmp(parts.data(), table.data(), sizeof(CreatureRecord) * kCreatureCount), 0);
}

TEST_F(SavedGames, TheFileHoldsEveryCreatureThroughTheLastOneWithAName) {
  std::vector<uint8_t> file;
  PackCreatureRoster(&file);
  EXPECT_EQ(file.size(), kRosterPartyBytes);  // four party records only

  // A creature after a gap is not lost: the free records before it are written.
  std::strcpy(Creatures[300].name, "Hermit");
  PackCreatureRoster(&file);
  EXPECT_EQ(file.size(), kRosterPartyBytes + 297 * kStoredCreatureRecordBytes);
  // Reaching the encounter ids takes all of them.
  std::strcpy(Creatures[600].name, "Wolf");
  PackCreatureRoster(&file);
  EXPECT_EQ(file.size(), kRosterPartyBytes + 797 * kStoredCreatureRecordBytes);

  for (CreatureRecord& c : Creatures) std::strcpy(c.name, "Someone");
  PackCreatureRoster(&file);
  EXPECT_EQ(file.size(), 7933200u);
}

TEST_F(SavedGames, OutsideThePartyASavedGameKeepsFiveLastingConditionsOfTheKeptKinds) {
  std::strcpy(Creatures[4].name, "Goblin");
  const uint32_t kept[] = {kCondAlarmed, kCondMageArmor, kCondBlinded, kCondSleeping, kCondDistracted, kCondUnconscious,
                           kCondGreaterInvisibility};
  AddCondition(4, kCondDead, 3, 0, 18, 0);  // dead for three rounds only: dropped
  AddCondition(4, kCondHasted, kDurationLasting, 0, 18, 0);  // not a kept kind
  for (uint32_t id : kept) AddCondition(4, id, kDurationLasting, 0, 18, 0);
  for (int i = 0; i < kConditionSlots; ++i) Creatures[0].conditions[i] = ConditionEntry{static_cast<uint32_t>(i + 1), 4, 0, 0, i};
  std::strcpy(Creatures[0].name, "Alda");
  const std::vector<ConditionEntry> live(Creatures[4].conditions, Creatures[4].conditions + kConditionSlots);

  std::vector<uint8_t> file;
  PackCreatureRoster(&file);
  std::vector<CreatureRecord> table(kCreatureCount);
  ASSERT_EQ(DecodeCreatureRoster(file.data(), file.size(), table.data()), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(table[4].conditions[i].id, kept[i]) << i;
  EXPECT_EQ(table[4].conditions[5].id, 0u);
  // The party keeps all 50; the running creature keeps everything it had.
  for (int i = 0; i < kConditionSlots; ++i) EXPECT_EQ(table[0].conditions[i].id, static_cast<uint32_t>(i + 1));
  EXPECT_TRUE(std::memcmp(live.data(), Creatures[4].conditions, sizeof(ConditionEntry) * kConditionSlots) == 0);
}

TEST_F(SavedGames, ARosterFileThatCannotBeReadLeavesTheCreatureTableAsItWas) {
  for (int m = 0; m < kPartySize; ++m) std::snprintf(Creatures[m].name, sizeof Creatures[m].name, "Member %d", m);
  Creatures[1].baseHitPoints = 20;
  Creatures[1].constitution = {12, 12};
  Creatures[1].level = 2;
  Creatures[1].hitPoints = 5;
  std::strcpy(Creatures[4].name, "Goblin");
  std::vector<uint8_t> file;
  PackCreatureRoster(&file);
  const std::string path = folder_ + "\\SaveChar.cml";

  // Four party records alone are a whole roster: the other records are zero,
  // and the current hit points are the stored ones.
  savetest::WriteBytes(path, std::vector<uint8_t>(file.begin(), file.begin() + kRosterPartyBytes));
  ASSERT_EQ(LoadCreatureRoster(path.c_str()), 1);
  EXPECT_EQ(Creatures[4].name[0], '\0');
  EXPECT_EQ(Creatures[1].hitPoints, 5);
  EXPECT_EQ(Creatures[1].maxHitPoints, 20);
  // Whatever follows creature 2,099's record is not read.
  std::strcpy(Creatures[kCreatureCount - 1].name, "Last Walker");
  std::vector<uint8_t> longest;
  PackCreatureRoster(&longest);
  longest.resize(longest.size() + kStoredCreatureRecordBytes + 5, 1);
  savetest::WriteBytes(path, longest);
  ASSERT_EQ(LoadCreatureRoster(path.c_str()), 1);
  EXPECT_STREQ(Creatures[kCreatureCount - 1].name, "Last Walker");

  const std::vector<uint8_t> table(reinterpret_cast<uint8_t*>(Creatures), reinterpret_cast<uint8_t*>(Creatures + kCreatureCount));
  auto unchanged = [&] { return std::memcmp(table.data(), Creatures, table.size()) == 0; };
  savetest::WriteBytes(path, std::vector<uint8_t>(file.begin(), file.end() - 1));  // a record cut short
  EXPECT_EQ(LoadCreatureRoster(path.c_str()), 0);
  EXPECT_TRUE(unchanged());
  savetest::WriteBytes(path, std::vector<uint8_t>(file.begin(), file.begin() + 4000));  // a party record cut short
  EXPECT_EQ(LoadCreatureRosterFmt("%s", path.c_str()), 0);
  EXPECT_TRUE(unchanged());
  EXPECT_EQ(LoadCreatureRoster((folder_ + "\\None.cml").c_str()), 0);
  EXPECT_TRUE(unchanged());
}

}  // namespace
