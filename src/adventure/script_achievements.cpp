#include "adventure/script_achievements.h"

#include "engine/settings.h"
#include "state/game_progress.h"

namespace {

struct Grant {
  int8_t slot;  // -1 none
  const char* identifier;
};

// A story number of the main adventure: the base grant and the Ironman, the
// unused-word-10 and the no-maximised-abilities grades.
struct StoryRow {
  int32_t number;
  Grant base, ironman, word10, word9;
};

constexpr Grant kNone = {-1, nullptr};

constexpr StoryRow kStoryRows[] = {
    {3, {3, "ACHIEVEMENT_RELIC_HUNTER"}, {4, "ACHIEVEMENT_RELIC_MASTER"}, kNone, kNone},
    {12, {12, "ACHIEVEMENT_WYRM_SLAYER"}, {9, "ACHIEVEMENT_WYRM_MASTER"}, {10, "ACHIEVEMENT_WYRM_EXPERT"},
     {11, "ACHIEVEMENT_WYRM_ADEPT"}},
    {13, {13, "ACHIEVEMENT_LICH_SLAYER"}, kNone, kNone, kNone},
    {14, {14, "ACHIEVEMENT_NEGOTIATOR"}, kNone, kNone, kNone},
    {18, {18, "ACHIEVEMENT_HILL_GIANT_SLAYER"}, {15, "ACHIEVEMENT_HILL_GIANT_MASTER"},
     {16, "ACHIEVEMENT_HILL_GIANT_EXPERT"}, {17, "ACHIEVEMENT_HILL_GIANT_ADEPT"}},
    {19, {19, "ACHIEVEMENT_HERO_OF_THE_REALM"}, kNone, kNone, kNone},
    {20, {20, "ACHIEVEMENT_ORCISH_ALLIANCE"}, kNone, kNone, kNone},
    {21, {21, "ACHIEVEMENT_LIBERATOR"}, kNone, kNone, kNone},
    {25, {25, "ACHIEVEMENT_FROST_GIANT_SLAYER"}, {22, "ACHIEVEMENT_FROST_GIANT_MASTER"},
     {23, "ACHIEVEMENT_FROST_GIANT_EXPERT"}, {24, "ACHIEVEMENT_FROST_GIANT_ADEPT"}},
    {29, {29, "ACHIEVEMENT_FIRE_GIANT_SLAYER"}, {26, "ACHIEVEMENT_FIRE_GIANT_MASTER"},
     {27, "ACHIEVEMENT_FIRE_GIANT_EXPERT"}, {28, "ACHIEVEMENT_FIRE_GIANT_ADEPT"}},
    {30, {30, "ACHIEVEMENT_HERO_OF_THE_TOWER"}, kNone, kNone, kNone},
    {33, {33, "ACHIEVEMENT_ORC_SLAYER"}, {31, "ACHIEVEMENT_ORC_MASTER"}, kNone, {32, "ACHIEVEMENT_ORC_ADEPT"}},
    {34, {34, "ACHIEVEMENT_ELEMENTAL_SLAYER"}, kNone, kNone, kNone},
    {35, {35, "ACHIEVEMENT_MAGE_DEFENDER"}, kNone, kNone, kNone},
    {36, {36, "ACHIEVEMENT_SUPREME_KNIGHT_OF_COMPASSION"}, kNone, kNone, kNone},
    {40, {40, "ACHIEVEMENT_SUPREME_KNIGHT_PROTECTOR"}, {37, "ACHIEVEMENT_SUPREME_KNIGHT_COMMANDER"},
     {38, "ACHIEVEMENT_SUPREME_KNIGHT_VETERAN"}, {39, "ACHIEVEMENT_SUPREME_KNIGHT_WARRIOR"}},
    {41, {41, "ACHIEVEMENT_MASTER_TACTICIAN"}, kNone, kNone, kNone},
    {42, {42, "ACHIEVEMENT_TAKE_ME_TO_YOUR_LEADER"}, kNone, kNone, kNone},
    {46, {46, "ACHIEVEMENT_GIANT_SPIDER_SLAYER"}, {43, "ACHIEVEMENT_GIANT_SPIDER_MASTER"},
     {44, "ACHIEVEMENT_GIANT_SPIDER_EXPERT"}, {45, "ACHIEVEMENT_GIANT_SPIDER_ADEPT"}},
    {50, {50, "ACHIEVEMENT_DEMON_SLAYING_WARRIOR"}, {47, "ACHIEVEMENT_DEMON_SLAYING_MASTER"},
     {48, "ACHIEVEMENT_DEMON_SLAYING_EXPERT"}, {49, "ACHIEVEMENT_DEMON_SLAYING_ADEPT"}},
    {54, {54, "ACHIEVEMENT_ORC_STOCKADE_WARRIOR"}, {51, "ACHIEVEMENT_ORC_STOCKADE_MASTER"},
     {52, "ACHIEVEMENT_ORC_STOCKADE_EXPERT"}, {53, "ACHIEVEMENT_ORC_STOCKADE_ADEPT"}},
    {55, {55, "ACHIEVEMENT_CONQUEROR_OF_THE_ICY_KINGDOM"}, kNone, kNone, kNone},
    {56, {56, "ACHIEVEMENT_SUDDEN_OVERTHROW"}, kNone, kNone, kNone},
    {60, {60, "ACHIEVEMENT_HERO_OF_TANELIZ"}, {57, "ACHIEVEMENT_LEGENDARY_HERO_OF_TANELIZ"},
     {58, "ACHIEVEMENT_RENOWNED_HERO_OF_TANELIZ"}, {59, "ACHIEVEMENT_PRAISED_HERO_OF_TANELIZ"}},
    {61, {61, "ACHIEVEMENT_ESCAPE_MASTER"}, kNone, kNone, kNone},
    {62, {62, "ACHIEVEMENT_FEARLESS_TRAVELLER"}, kNone, kNone, kNone},
    {66, {66, "ACHIEVEMENT_DOWNFALL_OF_ICARUS"}, {63, "ACHIEVEMENT_LEGENDARY_DOWNFALL_OF_ICARUS"},
     {64, "ACHIEVEMENT_RENOWNED_DOWNFALL_OF_ICARUS"}, {65, "ACHIEVEMENT_FAMED_DOWNFALL_OF_ICARUS"}},
    {67, {67, "ACHIEVEMENT_DESTROYER"}, kNone, kNone, kNone},
    {71, {71, "ACHIEVEMENT_DOWNFALL_OF_KESSA"}, {68, "ACHIEVEMENT_LEGENDARY_DOWNFALL_OF_KESSA"},
     {69, "ACHIEVEMENT_RENOWNED_DOWNFALL_OF_KESSA"}, {70, "ACHIEVEMENT_FAMED_DOWNFALL_OF_KESSA"}},
    {72, {72, "ACHIEVEMENT_ELVISH_ALLIANCE"}, kNone, kNone, kNone},
    {76, {76, "ACHIEVEMENT_SUNKEN_CRYPT_WARRIOR"}, {73, "ACHIEVEMENT_SUNKEN_CRYPT_MASTER"},
     {74, "ACHIEVEMENT_SUNKEN_CRYPT_EXPERT"}, {75, "ACHIEVEMENT_SUNKEN_CRYPT_ADEPT"}},
    {80, {80, "ACHIEVEMENT_GNOLL_SLAYER"}, {77, "ACHIEVEMENT_GNOLL_MASTER"}, {78, "ACHIEVEMENT_GNOLL_EXPERT"},
     {79, "ACHIEVEMENT_GNOLL_ADEPT"}},
    {82, {82, "ACHIEVEMENT_WEAPONCRAFTING_EXPERT"}, {81, "ACHIEVEMENT_WEAPONCRAFTING_MASTER"}, kNone, kNone},
    {84, {84, "ACHIEVEMENT_WEAPONCRAFTING_WARRIOR"}, {83, "ACHIEVEMENT_WEAPONCRAFTING_ADEPT"}, kNone, kNone},
    {88, {88, "ACHIEVEMENT_DWARF_KING_SLAYER"}, {85, "ACHIEVEMENT_DWARF_KING_MASTER"},
     {86, "ACHIEVEMENT_DWARF_KING_EXPERT"}, {87, "ACHIEVEMENT_DWARF_KING_ADEPT"}},
    {89, {89, "ACHIEVEMENT_DWARF_KING_OVERTHROW"}, kNone, kNone, kNone},
    {90, {90, "ACHIEVEMENT_DEFENDER_OF_THE_CROWN"}, kNone, kNone, kNone},
    {94, {94, "ACHIEVEMENT_DRAGON_SLAYER"}, {91, "ACHIEVEMENT_DRAGON_MASTER"}, {92, "ACHIEVEMENT_DRAGON_EXPERT"},
     {93, "ACHIEVEMENT_DRAGON_ADEPT"}},
};

// The introductory adventure's numbers 103 to 116 grant slot number - 100.
constexpr const char* kIntroIdentifiers[] = {
    "ACHIEVEMENT_TREASURE_RAIDER", "ACHIEVEMENT_SAVIOUR",         "ACHIEVEMENT_ELEMENTAL_HUNTER",
    "ACHIEVEMENT_FIERY_ALLIANCE",  "ACHIEVEMENT_SPIDER_SLAYER",   "ACHIEVEMENT_ARACHNID_ALLIANCE",
    "ACHIEVEMENT_ASSASSIN",        "ACHIEVEMENT_ANGEL_OF_JUSTICE", "ACHIEVEMENT_RAMPAGER",
    "ACHIEVEMENT_RESCUER",         "ACHIEVEMENT_TROLL_SLAYER",    "ACHIEVEMENT_VANQUISHER",
    "ACHIEVEMENT_HERO_OF_THE_CATACOMB", "ACHIEVEMENT_BARBARIAN",
};
constexpr int32_t kFirstIntroNumber = 103;
constexpr int32_t kLastIntroNumber = 116;
constexpr uint32_t kGreatLeaderParties = 4;

// Marks the slot (counting it when it is new) and reports the identifier.
void GrantSlot(const Grant& grant, int* fresh) {
  if (grant.slot < 0 || !grant.identifier) return;
  uint8_t& progress = AchievementProgress[grant.slot];
  if (progress == 0) {
    progress = 1;
    ++*fresh;
  }
  ReportAchievement(grant.identifier);
}

}  // namespace

void UnlockAchievement(int32_t number) {
  if (!AchievementsClientAvailable()) return;
  int fresh = 0;
  if (IntroductoryAdventureFlag == 1) {
    if (DemoChosenFlag != 0 || number < kFirstIntroNumber || number > kLastIntroNumber) return;
    const int slot = number - 100;
    GrantSlot({static_cast<int8_t>(slot), kIntroIdentifiers[number - kFirstIntroNumber]}, &fresh);
  } else if (number == 0) {
    if (PartiesStartedCount >= kGreatLeaderParties) GrantSlot({0, "ACHIEVEMENT_GREAT_LEADER"}, &fresh);
    if (OptionWords[kOptionIronmanMode] == 1) GrantSlot({1, "ACHIEVEMENT_IRONMAN"}, &fresh);
    if (OptionWords[kOptionSetOutAbilityRule] == 0) GrantSlot({2, "ACHIEVEMENT_VALOROUS"}, &fresh);
  } else if (number == 5) {
    CheckTreasureAchievements();
  } else {
    for (const StoryRow& row : kStoryRows) {
      if (row.number != number) continue;
      GrantSlot(row.base, &fresh);
      if (OptionWords[kOptionIronmanMode] == 1) GrantSlot(row.ironman, &fresh);
      if (OptionWords[kOptionScrollScribeCount] == 0) GrantSlot(row.word10, &fresh);
      if (OptionWords[kOptionSetOutAbilityRule] == 0) GrantSlot(row.word9, &fresh);
      break;
    }
  }
  if (fresh > 0) SubmitPartyScore(fresh);
}
