#include "shell/steam_achievements.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "shell/display_input.h"
#include "engine/sound.h"
#include "shell/steam_leaderboard.h"
#include "state/game_progress.h"
#include "state/inventory_state.h"

CSteamAchievements* g_SteamAchievements = nullptr;
char SteamDebugTrace[128] = {};

namespace {

const char* const kFullIdentifiers[kFullAchievementCount] = {
    "ACHIEVEMENT_GREAT_LEADER", "ACHIEVEMENT_IRONMAN", "ACHIEVEMENT_VALOROUS", "ACHIEVEMENT_RELIC_HUNTER",
    "ACHIEVEMENT_RELIC_MASTER", "ACHIEVEMENT_TREASURE_HUNTER", "ACHIEVEMENT_TREASURE_FINDER",
    "ACHIEVEMENT_TREASURE_EXPERT", "ACHIEVEMENT_TREASURE_MASTER", "ACHIEVEMENT_WYRM_MASTER",
    "ACHIEVEMENT_WYRM_EXPERT", "ACHIEVEMENT_WYRM_ADEPT", "ACHIEVEMENT_WYRM_SLAYER", "ACHIEVEMENT_LICH_SLAYER",
    "ACHIEVEMENT_NEGOTIATOR", "ACHIEVEMENT_HILL_GIANT_MASTER", "ACHIEVEMENT_HILL_GIANT_EXPERT",
    "ACHIEVEMENT_HILL_GIANT_ADEPT", "ACHIEVEMENT_HILL_GIANT_SLAYER", "ACHIEVEMENT_HERO_OF_THE_REALM",
    "ACHIEVEMENT_ORCISH_ALLIANCE", "ACHIEVEMENT_LIBERATOR", "ACHIEVEMENT_FROST_GIANT_MASTER",
    "ACHIEVEMENT_FROST_GIANT_EXPERT", "ACHIEVEMENT_FROST_GIANT_ADEPT", "ACHIEVEMENT_FROST_GIANT_SLAYER",
    "ACHIEVEMENT_FIRE_GIANT_MASTER", "ACHIEVEMENT_FIRE_GIANT_EXPERT", "ACHIEVEMENT_FIRE_GIANT_ADEPT",
    "ACHIEVEMENT_FIRE_GIANT_SLAYER", "ACHIEVEMENT_HERO_OF_THE_TOWER", "ACHIEVEMENT_ORC_MASTER",
    "ACHIEVEMENT_ORC_ADEPT", "ACHIEVEMENT_ORC_SLAYER", "ACHIEVEMENT_ELEMENTAL_SLAYER",
    "ACHIEVEMENT_MAGE_DEFENDER", "ACHIEVEMENT_SUPREME_KNIGHT_OF_COMPASSION",
    "ACHIEVEMENT_SUPREME_KNIGHT_COMMANDER", "ACHIEVEMENT_SUPREME_KNIGHT_VETERAN",
    "ACHIEVEMENT_SUPREME_KNIGHT_WARRIOR", "ACHIEVEMENT_SUPREME_KNIGHT_PROTECTOR",
    "ACHIEVEMENT_MASTER_TACTICIAN", "ACHIEVEMENT_TAKE_ME_TO_YOUR_LEADER", "ACHIEVEMENT_GIANT_SPIDER_MASTER",
    "ACHIEVEMENT_GIANT_SPIDER_EXPERT", "ACHIEVEMENT_GIANT_SPIDER_ADEPT", "ACHIEVEMENT_GIANT_SPIDER_SLAYER",
    "ACHIEVEMENT_DEMON_SLAYING_MASTER", "ACHIEVEMENT_DEMON_SLAYING_EXPERT", "ACHIEVEMENT_DEMON_SLAYING_ADEPT",
    "ACHIEVEMENT_DEMON_SLAYING_WARRIOR", "ACHIEVEMENT_ORC_STOCKADE_MASTER", "ACHIEVEMENT_ORC_STOCKADE_EXPERT",
    "ACHIEVEMENT_ORC_STOCKADE_ADEPT", "ACHIEVEMENT_ORC_STOCKADE_WARRIOR",
    "ACHIEVEMENT_CONQUEROR_OF_THE_ICY_KINGDOM", "ACHIEVEMENT_SUDDEN_OVERTHROW",
    "ACHIEVEMENT_LEGENDARY_HERO_OF_TANELIZ", "ACHIEVEMENT_RENOWNED_HERO_OF_TANELIZ",
    "ACHIEVEMENT_PRAISED_HERO_OF_TANELIZ", "ACHIEVEMENT_HERO_OF_TANELIZ", "ACHIEVEMENT_ESCAPE_MASTER",
    "ACHIEVEMENT_FEARLESS_TRAVELLER", "ACHIEVEMENT_LEGENDARY_DOWNFALL_OF_ICARUS",
    "ACHIEVEMENT_RENOWNED_DOWNFALL_OF_ICARUS", "ACHIEVEMENT_FAMED_DOWNFALL_OF_ICARUS",
    "ACHIEVEMENT_DOWNFALL_OF_ICARUS", "ACHIEVEMENT_DESTROYER", "ACHIEVEMENT_LEGENDARY_DOWNFALL_OF_KESSA",
    "ACHIEVEMENT_RENOWNED_DOWNFALL_OF_KESSA", "ACHIEVEMENT_FAMED_DOWNFALL_OF_KESSA",
    "ACHIEVEMENT_DOWNFALL_OF_KESSA", "ACHIEVEMENT_ELVISH_ALLIANCE",
    // The four tiers of the sunken crypt.
    "ACHIEVEMENT_SUNKEN_CRYPT_MASTER", "ACHIEVEMENT_SUNKEN_CRYPT_EXPERT", "ACHIEVEMENT_SUNKEN_CRYPT_ADEPT",
    "ACHIEVEMENT_SUNKEN_CRYPT_WARRIOR",
    "ACHIEVEMENT_GNOLL_MASTER", "ACHIEVEMENT_GNOLL_EXPERT", "ACHIEVEMENT_GNOLL_ADEPT",
    "ACHIEVEMENT_GNOLL_SLAYER", "ACHIEVEMENT_WEAPONCRAFTING_MASTER", "ACHIEVEMENT_WEAPONCRAFTING_EXPERT",
    "ACHIEVEMENT_WEAPONCRAFTING_ADEPT", "ACHIEVEMENT_WEAPONCRAFTING_WARRIOR", "ACHIEVEMENT_DWARF_KING_MASTER",
    "ACHIEVEMENT_DWARF_KING_EXPERT", "ACHIEVEMENT_DWARF_KING_ADEPT", "ACHIEVEMENT_DWARF_KING_SLAYER",
    "ACHIEVEMENT_DWARF_KING_OVERTHROW", "ACHIEVEMENT_DEFENDER_OF_THE_CROWN", "ACHIEVEMENT_DRAGON_MASTER",
    "ACHIEVEMENT_DRAGON_EXPERT", "ACHIEVEMENT_DRAGON_ADEPT", "ACHIEVEMENT_DRAGON_SLAYER",
    "ACHIEVEMENT_JOURNEYMAN", "ACHIEVEMENT_ADEPT", "ACHIEVEMENT_EXPERT", "ACHIEVEMENT_MASTER",
    "ACHIEVEMENT_GRANDMASTER",
};

const char* const kDemoIdentifiers[kDemoAchievementCount] = {
    "ACHIEVEMENT_ADVENTURER", "ACHIEVEMENT_LOREMASTER", "ACHIEVEMENT_WEAPON_CRAFTER",
    "ACHIEVEMENT_TREASURE_RAIDER", "ACHIEVEMENT_SAVIOUR", "ACHIEVEMENT_ELEMENTAL_HUNTER",
    "ACHIEVEMENT_FIERY_ALLIANCE", "ACHIEVEMENT_SPIDER_SLAYER", "ACHIEVEMENT_ARACHNID_ALLIANCE",
    "ACHIEVEMENT_ASSASSIN", "ACHIEVEMENT_ANGEL_OF_JUSTICE", "ACHIEVEMENT_RAMPAGER", "ACHIEVEMENT_RESCUER",
    "ACHIEVEMENT_TROLL_SLAYER", "ACHIEVEMENT_VANQUISHER", "ACHIEVEMENT_HERO_OF_THE_CATACOMB",
    "ACHIEVEMENT_BARBARIAN",
};

void ResetTable(Achievement_t* table, const char* const* identifiers, int rows) {
  for (int i = 0; i < rows; ++i) {
    Achievement_t& a = table[i];
    a.id = i;
    a.identifier = identifiers[i];
    DefaultAchievementName(identifiers[i], a.name, sizeof a.name);
    a.description[0] = 0;
    a.achieved = 0;
    a.iconImage = 0;
  }
}

struct TableInitialiser {
  TableInitialiser() { ResetAchievementTables(); }
} g_tableInitialiser;

// The experience sound of a stored achievement.
void PlayExperienceSound() { PlayInterfaceSample(kSampleExperience); }

}  // namespace

Achievement_t FullAchievementTable[kFullAchievementCount];
Achievement_t DemoAchievementTable[kDemoAchievementCount];

void DefaultAchievementName(const char* identifier, char* out, int size) {
  if (size <= 0) return;
  out[0] = 0;
  if (!identifier) return;
  if (std::strcmp(identifier, "ACHIEVEMENT_TAKE_ME_TO_YOUR_LEADER") == 0) {
    std::snprintf(out, static_cast<size_t>(size), "%s", "Take Me To Your Leader");
    return;
  }
  const char* p = std::strncmp(identifier, "ACHIEVEMENT_", 12) == 0 ? identifier + 12 : identifier;
  int n = 0;
  while (*p && n < size - 1) {
    const char* end = std::strchr(p, '_');
    const size_t len = end ? static_cast<size_t>(end - p) : std::strlen(p);
    const bool small = (len == 2 && std::strncmp(p, "OF", 2) == 0) || (len == 3 && std::strncmp(p, "THE", 3) == 0);
    if (n > 0 && n < size - 1) out[n++] = ' ';
    for (size_t i = 0; i < len && n < size - 1; ++i) {
      const char c = p[i];
      out[n++] = static_cast<char>(i == 0 && !small ? std::toupper(static_cast<unsigned char>(c))
                                                    : std::tolower(static_cast<unsigned char>(c)));
    }
    p += len;
    if (*p == '_') ++p;
  }
  out[n] = 0;
}

void ResetAchievementTables() {
  ResetTable(FullAchievementTable, kFullIdentifiers, kFullAchievementCount);
  ResetTable(DemoAchievementTable, kDemoIdentifiers, kDemoAchievementCount);
}

void SteamTrace(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vsnprintf(SteamDebugTrace, sizeof SteamDebugTrace, format, args);
  va_end(args);
}

CSteamAchievements::CSteamAchievements(Achievement_t* table, int rows) {
  gameId_ = 0;
  statsReceived_ = 0;
  statsReceivedCallback_.Bind(this, &CSteamAchievements::OnUserStatsReceived);
  statsStoredCallback_.Bind(this, &CSteamAchievements::OnUserStatsStored);
  achievementStoredCallback_.Bind(this, &CSteamAchievements::OnAchievementStored);
  SteamAPI_RegisterCallback(&statsReceivedCallback_, kCallbackUserStatsReceived);
  SteamAPI_RegisterCallback(&statsStoredCallback_, kCallbackUserStatsStored);
  SteamAPI_RegisterCallback(&achievementStoredCallback_, kCallbackUserAchievementStored);
  if (ISteamUtils* utils = SteamUtils()) gameId_ = utils->GetAppID();
  table_ = table;
  rows_ = rows;
  ISteamUserStats* stats = SteamUserStats();
  ISteamUser* user = SteamUser();
  if (stats && user && user->BLoggedOn()) stats->RequestCurrentStats();
}

CSteamAchievements::~CSteamAchievements() { UnregisterCallbacks(); }

void CSteamAchievements::UnregisterCallbacks() {
  CCallbackBase* callbacks[] = {&statsReceivedCallback_, &statsStoredCallback_, &achievementStoredCallback_};
  for (CCallbackBase* c : callbacks)
    if (c->m_nCallbackFlags & 1) SteamAPI_UnregisterCallback(c);
}

bool CSteamAchievements::SetSteamAchievement(const char* identifier) {
  if (!statsReceived_) return false;
  ISteamUserStats* stats = SteamUserStats();
  if (!stats) return false;
  stats->SetAchievement(identifier);
  return stats->StoreStats();
}

void CSteamAchievements::OnUserStatsReceived(UserStatsReceived_t* notification) {
  if (!notification || notification->m_nGameID != gameId_) return;
  if (notification->m_eResult != 1) {
    SteamTrace("RequestStats - failed, %d\n", notification->m_eResult);
    return;
  }
  SteamTrace("Received stats and achievements from Steam\n");
  statsReceived_ = 1;
  ISteamUserStats* stats = SteamUserStats();
  if (!stats) return;
  for (int i = 0; i < rows_; ++i) {
    Achievement_t& a = table_[i];
    bool achieved = false;
    stats->GetAchievement(a.identifier, &achieved);
    a.achieved = achieved ? 1 : 0;
    const char* name = stats->GetAchievementDisplayAttribute(a.identifier, "name");
    const char* desc = stats->GetAchievementDisplayAttribute(a.identifier, "desc");
    std::snprintf(a.name, sizeof a.name, "%s", name ? name : "");
    std::snprintf(a.description, sizeof a.description, "%s", desc ? desc : "");
  }
}

void CSteamAchievements::OnUserStatsStored(UserStatsStored_t* notification) {
  if (!notification || notification->m_nGameID != gameId_) return;
  if (notification->m_eResult == 1)
    SteamTrace("Stored stats for Steam\n");
  else
    SteamTrace("StatsStored - failed, %d\n", notification->m_eResult);
}

void CSteamAchievements::OnAchievementStored(UserAchievementStored_t* notification) {
  if (!notification || notification->m_nGameID != gameId_) return;
  SteamTrace("Stored Achievement for Steam\n");
  PlayExperienceSound();
}

void CheckTreasureAchievements() {
  if (IntroductoryAdventureFlag == 1 || !g_SteamAchievements) return;
  static const struct {
    uint32_t gold;
    const char* identifier;
  } kThresholds[] = {{100000, "ACHIEVEMENT_TREASURE_HUNTER"},
                     {500000, "ACHIEVEMENT_TREASURE_FINDER"},
                     {1000000, "ACHIEVEMENT_TREASURE_EXPERT"},
                     {2000000, "ACHIEVEMENT_TREASURE_MASTER"}};
  int fresh = 0;
  for (int i = 0; i < 4; ++i) {
    if (PartyGold < kThresholds[i].gold) continue;
    uint8_t& progress = AchievementProgress[5 + i];
    if (progress == 0) ++fresh;
    progress = 1;
    g_SteamAchievements->SetSteamAchievement(kThresholds[i].identifier);
  }
  if (fresh > 0) SubmitPartyScore(fresh);
}

bool AchievementsClientAvailable() { return g_SteamAchievements != nullptr; }

void ReportAchievement(const char* identifier) {
  if (g_SteamAchievements) g_SteamAchievements->SetSteamAchievement(identifier);
}
