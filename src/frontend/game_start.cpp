#include "frontend/game_start.h"

#include <cstdio>
#include <cstring>

#include "adventure/quest_journal.h"
#include "combat/turns/turn_routines.h"
#include "engine/frame.h"
#include "engine/looping_sounds.h"
#include "engine/main_window.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/reset_words.h"
#include "engine/settings.h"
#include "engine/widgets.h"
#include "frontend/creature_roster.h"
#include "frontend/menu_pages.h"
#include "frontend/save_load_screen.h"
#include "frontend/saved_games.h"
#include "map/fighter_table.h"
#include "map/map_record.h"
#include "map/map_switching.h"
#include "map/map_view.h"
#include "map/party_vision.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"
#include "rules/item_rules.h"
#include "rules/item_tables.h"
#include "party/new_characters.h"
#include "party/party_start.h"
#include "platform/files.h"
#include "rules/recompute_creature.h"
#include "state/camera.h"
#include "state/fighter_slots.h"
#include "state/game_flags.h"
#include "state/game_progress.h"
#include "state/game_screen_words.h"
#include "state/map_view_state.h"
#include "state/party_leader.h"
#include "state/script_state.h"

namespace {

constexpr int kFirstIntroMap = 21;
constexpr int kPartyMembers = 4;

// The result of the save made by "Exit" in an Ironman game (0 none failed).
int g_exitSaveResult = 0;

// The state of combat, casting and the item screens left behind, cleared.
void ClearPlayState() {
  ResetTransientState();
  ClearGameStateArrays();
}

// The hit points of each party member at each level, by class.
void RollHitDice() {
  for (int m = 0; m < kPartyMembers; ++m) RollMemberHitDice(m);
}

// A file of the prepared start that could not be read: the fatal message
// and, on a line of its own, the file, missing ("Could not open ...") or
// cut short ("Could not read ...").
void PreparedFileFailed(const char* message, const char* path) {
  ShowError(1, "%s\nCould not %s %s.", message, platform::GameFileExists(path) ? "read" : "open",
            platform::GamePath(path).c_str());
}

// The prepared roster and crafted items of an adventure's slot 0; false
// after the fatal message.
bool ReadPreparedStart(const char* folder) {
  char path[260];
  std::snprintf(path, sizeof path, "SaveGame\\%s\\0\\SaveChar.cml", folder);
  if (LoadCreatureRoster(path) == 0) {
    PreparedFileFailed("Could not read characters.", path);
    return false;
  }
  std::snprintf(path, sizeof path, "SaveGame\\%s\\0\\SaveWeapon.wml", folder);
  if (LoadCraftedWeapons(path) == 0) {
    PreparedFileFailed("Could not read weapons.", path);
    return false;
  }
  return true;
}

// The party on map 21 of the introductory adventure, the view on its leader.
void EnterFirstIntroMap() {
  TintTarget[0] = TintTarget[1] = TintTarget[2] = 255;
  CurrentMapNumber = kFirstIntroMap;
  CurrentMap = StoredMaps[kFirstIntroMap];
  NormaliseMapCells();
  SetCameraBounds();
  BuildFighterTable();
  BuildOccupancyGrids(-1);
  const CreatureRecord& lead = Creatures[0];
  ViewOriginX = lead.pixelX + 12 - ViewWidth() / 2;
  ViewOriginY = lead.pixelY + 12 - ViewHeight() / 2;
  CountFighterSquares(0);
  if (FighterCount > kPartyMembers)
    for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) CountFighterSquares(s);
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) RecomputeCreature(FighterSlots[s].creature, 0);
  SquareScriptFlag = 1;
  for (int s = 0; s < kPartyMembers && s < FighterCount; ++s) FighterSlots[s].alert = 1;
  // Everyone present on the map looks about once, as on entering a map:
  // a creature that has not yet seen anything cannot meet the party.
  VisionRefreshFlag = 1;
  UpdatePartyVision();
}

}  // namespace

int StartIntroductoryAdventure() {
  StartPlayTimeClock();
  PresentBackdropFrameNow();
  ResetWords(FighterSlots);
  StopAllLoopingSounds();
  ResetPartyBlocks();
  ClearGameStateArrays();
  ResetQuestJournal();
  ResetTransientState();
  // An Ironman word or achievements of a game left behind do not carry over.
  OptionWords[kOptionIronmanMode] = 0;
  ResetWords(AchievementProgress);
  if (!ReadPreparedStart("DemoVersion")) return 0;
  if (LoadAllMaps(0) == 0) {
    ShowError(1, "Could not read a map.");
    return 0;
  }
  ResetWords(WorldMap);
  ResetWords(MapMemory);
  ResetWords(GameFlags);
  RollHitDice();
  EnterFirstIntroMap();
  PartyLeader = 0;
  CursorShape = 8;
  GameRunningFlag = 1;
  SetFirstPage("", 0, 0);
  ScreenMode = kModeExploring;
  MenuReturnMode = 0;
  SaveListHovered = -1;
  MenuHoverId = -1;
  WeaponMode = 1;
  ResetPartyTurnUndeadUses();
  return 1;
}

int PrepareNewParty() {
  StartPlayTimeClock();
  ResetWords(FighterSlots);
  StopAllLoopingSounds();
  PresentBackdropFrameNow();
  ClearPlayState();
  PushMenuPage("Character Creation", kPageCharacterCreation, 0);
  if (!ReadPreparedStart("FullVersion")) return 0;
  StartPartyCreation();  // the four members rolled anew, the creation page's flags cleared
  ResetWords(MapMemory);
  NewPartyPending = 1;
  return 1;
}

int StartDebugPartySetup() {
  StartPlayTimeClock();
  ResetWords(FighterSlots);
  NewPartyPending = 1;
  CreationBypassFlag = 1;
  ClearPlayState();
  if (!ReadPreparedStart("FullVersion")) return 0;
  ResetWords(MapMemory);
  PushMenuPage("Party Setup", kPagePartySetup, -1);
  return 1;
}

void SwitchToIntroductoryAdventure() {
  GameRunningFlag = 0;
  DemoChosenFlag = 1;
  IntroductoryAdventureFlag = 1;
  SetAdventureFolder();
}

bool LeaveTheGame(bool savingAllowed) {
  if (!savingAllowed || OptionWords[kOptionIronmanMode] != 1) return true;
  g_exitSaveResult = WriteSavedGame(FindFreeSaveSlot());
  if (g_exitSaveResult != kSaveOk) return false;
  GameRunningFlag = 0;
  return true;
}

const char* ExitRefusal() { return g_exitSaveResult != kSaveOk ? SavedGameMessage(g_exitSaveResult) : nullptr; }
