// The victory screen: the experience each living member earns and the gold
// found, and on the player's click the close of the battle: the awards and
// the gold handed out, the level-up and death scripts, the enemies'
// belongings laid on the map, and the party back to exploring.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "adventure/end_screens.h"
#include "adventure/scripts.h"
#include "adventure/world_commands.h"
#include "combat/actions/leaving_combat.h"
#include "combat/actions/start_of_combat.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/turns/combat_cycle.h"
#include "creatures/treasure_rows.h"
#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/music.h"
#include "engine/page_history.h"
#include "engine/last_screen.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "frontend/menu_pages.h"
#include "map/fighter_table.h"
#include "map/free_square.h"
#include "map/map_record.h"
#include "map/movement_rules.h"
#include "map/square_grids.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/formation.h"
#include "rules/item_rules.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"
#include "screens/game/game_screen.h"
#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "state/game_flags.h"
#include "state/game_progress.h"
#include "state/inventory_state.h"
#include "state/script_state.h"
#include "state/turn_order.h"
#include "rules/experience.h"

namespace {

// The experience of one enemy by the d20 rules: 300 x the character's level
// for an enemy of that level, doubled for every two ratings above it and
// halved for every two below (half as much again, or two thirds, for an odd
// step), rounded half up. Levels 1 to 3 share the row of level 3; ratings
// more than seven below give nothing and more than seven above count as
// seven; one enemy of rating 1 never gives more than 300.
constexpr int32_t XPAward(int level, int rating) {
  if (level <= 0) return 0;
  const int64_t partyLevel = level < 3 ? 3 : level;
  int step = rating - static_cast<int>(partyLevel);
  if (step < -7) return 0;
  if (step > 7) step = 7;
  int64_t numerator = 300 * partyLevel, denominator = 1;
  const int whole = (step < 0 ? -step : step) / 2;
  const bool odd = step % 2 != 0;
  if (step >= 0) {
    numerator <<= whole;
    if (odd) numerator = numerator * 3 / 2;
  } else {
    denominator <<= whole;
    if (odd) {
      numerator *= 2;
      denominator *= 3;
    }
  }
  const int64_t award = (2 * numerator + denominator) / (2 * denominator);
  return static_cast<int32_t>(rating == 1 && award > 300 ? 300 : award);
}

struct XPRows {
  int32_t rows[kXPLevels][kXPRatings];
};

constexpr XPRows BuildXPRows() {
  XPRows table{};
  for (int level = 0; level < kXPLevels; ++level)
    for (int k = 0; k < kXPRatings; ++k) table.rows[level][k] = XPAward(level, k + 1);
  return table;
}

constexpr XPRows kXPRows = BuildXPRows();
static_assert(kXPRows.rows[1][0] == 300 && kXPRows.rows[3][9] == 10800 && kXPRows.rows[3][29] == 10800);
static_assert(kXPRows.rows[10][1] == 0 && kXPRows.rows[10][2] == 250 && kXPRows.rows[10][16] == 36000);
static_assert(kXPRows.rows[20][11] == 0 && kXPRows.rows[20][12] == 500 && kXPRows.rows[20][26] == 72000);

constexpr int kStyleHeading = 0;
constexpr int kStyleText = 4;
constexpr int kStyleValue = 6;
constexpr int kPictureSheet = 57;
constexpr int kVictoryPicture = 0;
constexpr int kCoinSheet = 19;
constexpr int kCoinFrame = 80;  // the coin figure
constexpr uint32_t kGoldCoins = kFirstBaseItemCode + kGoldCoinsRow;
constexpr int kLevelUpFlag = 4;  // adventure flag: the level-up script has run

bool IsCreature(int id) { return id >= 0 && id < kCreatureCount; }

int Digits(int32_t n) {
  int digits = 1;
  for (; n >= 10; n /= 10) ++digits;
  return digits;
}

// The battle's participants and allies, bounded by their lists.
int ParticipantCount() { return std::clamp(CombatParticipantCount, 0, kCombatListSize); }
int AllyCount() { return std::clamp(CombatAllyCount, 0, kCombatListSize); }

// Ends the picture being drawn and shows it, before a script that may draw
// pictures of its own runs; once per click.
void FinishPictureInProgress(bool* finished) {
  if (*finished) return;
  *finished = true;
  EndSprite();
  EndScene();
  PresentFrame();
}

// The battle is over: no combat, no pending action, cast or magic area.
void EndCombatState() {
  AiPause = 0;
  InCombat = 0;
  ResetCombatSequencerState();
  std::memset(MagicAreaGrid, 0, sizeof MagicAreaGrid);
  ScreenMode = kModeExploring;
  CombatAction.currentEntry = 0;
  CombatAction.actionCode = 0;
  CombatAction.selectedAction = -1;
  CombatAction.reactingCreature = -1;
  SpellInProgress = -1;
  ChosenItem = -1;
  SquareScriptFlag = 1;
  ForceSquareScripts = 1;
  SettleGameScreenWords(true);
}

void RemoveSummonedCreatures() {
  for (int id = 0; id < kCreatureCount; ++id)
    if (Creatures[id].present == 1 && FindCondition(id, kCondSummonedCreature) >= 0) Creatures[id].present = 0;
}

// Hands out the awards; true when the introductory adventure's level-up
// script becomes due.
bool GrantAwards(const int32_t awards[4]) {
  bool levelUpDue = false;
  for (int m = 0; m < 4; ++m) {
    if (!MemberIsAlive(m)) continue;
    CreatureRecord& c = Creatures[m];
    const int64_t experience = static_cast<int64_t>(c.experience) + awards[m];
    c.experience = static_cast<int32_t>(std::min<int64_t>(experience, INT32_MAX));
    const int64_t level = c.level;
    if (IntroductoryAdventureFlag == 1 && GameFlags[kLevelUpFlag] == 0 && c.present == 1 && level < 20 &&
        c.experience >= ExperienceForLevel(level + 1))
      levelUpDue = true;
  }
  return levelUpDue;
}

// Ability damage and drain that has reached an ability's base score is cut
// to one below it (Constitution is left as it is).
void CutAbilityLosses(int id) {
  if (!IsCreature(id)) return;
  CreatureRecord& c = Creatures[id];
  struct Loss {
    uint32_t condition;
    const StatPair* ability;
  };
  const Loss losses[] = {{kCondDamagedStrength, &c.strength},          {kCondDrainedStrength, &c.strength},
                         {kCondDamagedDexterity, &c.dexterity},        {kCondDrainedDexterity, &c.dexterity},
                         {kCondDamagedWisdom, &c.wisdom},              {kCondDrainedWisdom, &c.wisdom},
                         {kCondDamagedIntelligence, &c.intelligence},  {kCondDrainedIntelligence, &c.intelligence},
                         {kCondDamagedCharisma, &c.charisma},          {kCondDrainedCharisma, &c.charisma}};
  for (ConditionEntry& e : c.conditions) {
    if (e.id == 0 && e.duration == 0) break;
    for (const Loss& loss : losses)
      if (e.id == loss.condition && e.value >= loss.ability->base) e.value = loss.ability->base - 1;
  }
  RecomputeCreature(id, 0);
}

// The fighters of the map listed again, standing still on their squares,
// the party led by its first standing member when its leader fell.
void SettleFighters() {
  ReplaceFallenLeader();
  BuildFighterTable();
  FinishPartyMoves();
  for (int s = 0; s < std::clamp(FighterCount, 0, kFighterSlots); ++s) {
    FighterSlot& slot = FighterSlots[s];
    if (!IsCreature(slot.creature)) continue;
    CreatureRecord& c = Creatures[slot.creature];
    c.destinationX = c.squareX;
    c.destinationY = c.squareY;
    c.pixelX = 24 * c.squareX;
    c.pixelY = 24 * c.squareY;
    slot.alert = 0;
    slot.pathIndex = -1;
  }
  std::memset(ScriptScratch, 0, sizeof ScriptScratch);
  CentreViewOnCurrentCharacter();
  MapEntryFlag = 0;
}

// Runs a script of the battle's end keeping the screen mode, unless the
// script opened a trade (page view with an inventory on top).
void RunClosingScript(const char* path, bool keepTrade) {
  const uint32_t mode = ScreenMode;
  RunScriptFile(path);
  const bool trading = ScreenMode == kModePageView && PageHistory[std::clamp(PageDepth, 0, kPageHistorySize - 1)].type ==
                                                          kPageInventory;
  if (!keepTrade || !trading) ScreenMode = mode;
}

void RunLevelUpAndDeathScripts(bool levelUpDue) {
  bool finished = false;
  char path[260];
  if (levelUpDue) {
    GameFlags[kLevelUpFlag] = 1;
    FinishPictureInProgress(&finished);
    std::snprintf(path, sizeof path, "Scripts\\%s\\LevelUp.mls", AdventureFolder);
    RunClosingScript(path, false);
  }
  for (int i = 0; i < ParticipantCount(); ++i) {
    const int id = CombatParticipants[i];
    if (!IsCreature(id) || Creatures[id].scriptWords[kScriptWordDeathScript] == 0) continue;
    FinishPictureInProgress(&finished);
    std::snprintf(path, sizeof path, "Scripts\\%s\\Map%i_Death%i.mls", AdventureFolder, CurrentMapNumber,
                  Creatures[id].scriptWords[kScriptWordDeathScript]);
    RunClosingScript(path, true);
  }
  // The picture was shown early: the frame must not show it again.
  if (finished) FramePresented = 1;
}

// An enemy's equipment and carried things (not its gold) laid near its square.
// What is laid leaves the fallen enemy's record: an item lies on the floor,
// and is not kept by its fallen owner as well.
void LayBelongings(int id) {
  CreatureRecord& c = Creatures[id];
  const auto lay = [&c](int32_t code) { return SetMapSquareValue(-1, c.squareX, c.squareY, code) == 1; };
  for (uint32_t& code : c.equipment)
    if (code != 0 && lay(static_cast<int32_t>(code))) code = 0;
  for (ItemPair& pair : c.carried) {
    if (pair.code == 0 || pair.code == kGoldCoins || pair.count < 1) continue;
    const int32_t code = pair.count == 1 ? static_cast<int32_t>(pair.code) : StackedItemMapCode(pair.count, pair.code);
    if (code > 0 && lay(code)) pair = ItemPair{0, 0};
  }
}

}  // namespace

const int32_t (&XPTable)[kXPLevels][kXPRatings] = kXPRows.rows;

bool MemberIsAlive(int member) {
  if (!IsCreature(member)) return false;
  for (const ConditionEntry& e : Creatures[member].conditions) {
    if (e.id == 0 && e.duration == 0) break;
    if (e.id == kCondDead && e.duration > 0) return false;
  }
  return true;
}

int ComputeVictoryAwards(int32_t awards[4]) {
  int living = 0;
  for (int m = 0; m < 4; ++m) living += MemberIsAlive(m) ? 1 : 0;
  for (int m = 0; m < 4; ++m) {
    awards[m] = 0;
    if (!MemberIsAlive(m)) continue;
    const int level = std::clamp(Creatures[m].level, 0, kXPLevels - 1);
    int64_t total = 0;
    for (int rating = 1; rating <= kXPRatings; ++rating)
      total += static_cast<int64_t>(XPTable[level][rating - 1]) * EncounterRatingCounts[rating];
    int64_t award = total / living;
    if (AlliesJoined == 1) award = award * 60 / 100;
    awards[m] = award < 1 ? 25 : static_cast<int32_t>(std::min<int64_t>(award, INT32_MAX));
  }
  return living;
}

int32_t GoldOfDefeatedEnemies() {
  int64_t gold = 0;
  for (int i = 0; i < ParticipantCount(); ++i) {
    const int id = CombatParticipants[i];
    if (!IsCreature(id) || Creatures[id].allegiance != kAllegianceEnemy) continue;
    for (const ItemPair& pair : Creatures[id].carried)
      if (pair.code == kGoldCoins && pair.count > 0) gold += pair.count;
  }
  return static_cast<int32_t>(std::min<int64_t>(gold, INT32_MAX));
}

void CloseWonBattle(const int32_t awards[4], int32_t gold) {
  EndCombatState();
  RemoveSummonedCreatures();
  const bool levelUpDue = GrantAwards(awards);
  AlliesJoined = 0;
  PartyGold += static_cast<uint32_t>(gold);
  CheckTreasureAchievements();
  for (int m = 0; m < 4; ++m) CutAbilityLosses(m);
  for (int i = 0; i < AllyCount(); ++i)
    if (IsCreature(CombatAllies[i]) && Creatures[CombatAllies[i]].present == 1) CutAbilityLosses(CombatAllies[i]);
  for (int i = 0; i < ParticipantCount(); ++i) {
    const int id = CombatParticipants[i];
    if (!IsCreature(id)) continue;
    RecomputeCreature(id, 0);
    if (Creatures[id].allegiance == kAllegianceEnemy) Creatures[id].present = 0;
  }
  SettleFighters();
  RunLevelUpAndDeathScripts(levelUpDue);
  if (CurrentMap.musicTrack > 0 && CurrentMap.musicTrack < kMusicTrackCount) PlayPageMusic(CurrentMap.musicTrack, 1);
  for (int i = 0; i < ParticipantCount(); ++i) {
    const int id = CombatParticipants[i];
    if (IsCreature(id) && Creatures[id].allegiance == kAllegianceEnemy) LayBelongings(id);
  }
  CheckMapCleared();
}

void DrawVictoryScreen() {
  LastScreenDrawn = "DrawVictoryScreen";
  BeginMenuFrame(kCursorMenu);
  DrawFramedBox(0, 0, 2);
  DrawTextF(kStyleHeading, 2, 2, "Victory !");
  DrawTextF(kStyleText, 2, 4, "Experience awards");
  int32_t awards[4] = {};
  ComputeVictoryAwards(awards);
  int row = 6;
  for (int m = 0; m < 4; ++m) {
    if (!MemberIsAlive(m)) continue;
    DrawTextF(kStyleText, 2, row, "%15s", Creatures[m].name);
    DrawTextF(kStyleValue, 18, row, "%i", awards[m]);
    ++row;
  }
  const int32_t gold = GoldOfDefeatedEnemies();
  if (gold > 0) {
    DrawTextF(kStyleText, 2, 11, "You find Gold Coins:");
    DrawTextF(kStyleValue, 2, 11, "                     %i", gold);
    DrawSheetFrame(kCoinSheet, kCoinFrame, 8 * Digits(gold) + 187, 83);
  }
  DrawSheetFrame(kPictureSheet, kVictoryPicture, 184, 107);
  DrawBlinkingPrompt(kStyleText, 4, 19, "Click to continue");
  if (TakeEndScreenClick(true)) CloseWonBattle(awards, gold);
  EndMenuFrame();
}
