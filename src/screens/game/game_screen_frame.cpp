// The game screen, once a frame: its set-up, then the map view's passes,
// then the panels by state, then what lies over everything, in a fixed order
// in which later sections cover earlier ones.
#include <cstring>

#include "combat/actions/start_of_combat.h"
#include "engine/frame.h"
#include "engine/game_screen_state.h"
#include "engine/graphics.h"
#include "engine/last_screen.h"
#include "engine/settings.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/timing.h"
#include "map/map_record.h"
#include "screens/game/day_and_weather.h"
#include "screens/game/game_screen.h"
#include "screens/game/map_view_passes.h"
#include "screens/game/overlay_sections.h"
#include "screens/game/panel_sections.h"
#include "screens/game/shared_routines.h"
#include "state/combat_action.h"
#include "state/turn_order.h"

namespace {

constexpr int kBattleMusicTrack = 9;

// The battle music in combat (with its option on), else the map's own track.
void ChooseMusic() {
  if (ScreenMode == kModeResting || AllEnemiesAlert != 0 || RecheckSquareScripts != 0) return;
  if (InCombat == 1 && OptionWords[kOptionBattleMusic] != 0)
    SwitchMusicTrack(kBattleMusicTrack, 0, 0);
  else if (CurrentMap.musicTrack != 0)
    SwitchMusicTrack(CurrentMap.musicTrack, 0, 0);
}

void SetUpFrame() {
  MapScaleSwitch = 1;
  LastSidePanelRows = SidePanelRows;
  SidePanelRows = 0;  // the side panel that this frame draws sets its rows
  if (ScreenMode != kModeCreatureHovered && ScreenMode != kModeItemPileHovered) PopupRect = {0, 0, 0, 0};
  if (DebugMode == 1) GameTiming.UpdateElapsedTime();
  ChooseMusic();
  std::memset(CursorHint, 0, sizeof CursorHint);
  std::memset(AmbientSourceFlags, 0, sizeof AmbientSourceFlags);
  // The aiming modes judge the cursor in the map view's mouse, by the click's
  // own tests, so that the pointer says what the click does; the other steps
  // of a use under way leave the aiming pointer.
  if (SpellInProgress != -1 && (ScreenMode < kModeTargetFirst || ScreenMode > kModeTargetLast))
    CursorTargetValid = 1;
  AdvanceFrameCounters();
  if (ScreenMode == kModeExploring || ScreenMode == kModeResting) StepDayAndWeather();
}

uint32_t TintColour() {
  return 0xFF000000u | (AmbientTint[0] & 0xFF) << 16 | (AmbientTint[1] & 0xFF) << 8 | (AmbientTint[2] & 0xFF);
}

void DrawMapView(int rows, int cols) {
  const uint32_t tint = TintColour();
  BeginSprite();
  ClearScreen(0xFF000000u);
  if (!MapHidden) {
    DrawGroundPass(rows, cols, tint);
    DrawCombatOverlays(rows, cols, tint);
  }
  DrawWallTops(rows, cols, tint);
  BuildDrawList(rows, cols, tint);
  DrawCreatureFigures(rows, cols, tint);
  if (!MapHidden) DrawUpperPasses(rows, cols, tint);
  DrawCreatureLabels(rows, cols);
  if (HoveredCreature != -1) HoveredFighterSlot = -1;
  HoveredCreature = -1;
  PartyListHover = 0;
}

bool ActingFighterKnown() {
  return CurrentTurnIndex >= 0 && CurrentTurnIndex < kTurnOrderEntries && TurnOrder[CurrentTurnIndex].creature != -1;
}

// The side panel, the turn order or the action list (or the prompt in its
// place), keeps the 320x240 layout in the wide window, as its frame and its
// mouse tests do (its texts in the wider cells left the frame).
struct SidePanelLayout {
  uint8_t kept = MapScaleSwitch;
  SidePanelLayout() { MapScaleSwitch = 0; }
  ~SidePanelLayout() { MapScaleSwitch = kept; }
  SidePanelLayout(const SidePanelLayout&) = delete;
  SidePanelLayout& operator=(const SidePanelLayout&) = delete;
};

// The panels of combat in their order; true when one has ended the frame.
// Once a panel ends the combat the rest are not drawn.
bool DrawCombatPanels() {
  DrawCombatBanner();
  if (InCombat != 1) return false;
  DrawCombatRollsPanel();
  if (InCombat != 1 || !ActingFighterKnown()) return false;
  DrawFighterStatusBoxes();
  if (InCombat != 1 || CombatState != kStatePlayerTurn) return false;
  const bool pendingAction = CombatAction.selectedAction != -1;
  // The targeting prompt and the pending-action box take the side panel's
  // place, the turn order's as the action list's: drawn under their
  // see-through box its names showed between the prompt's.
  if (!IsTargetingMode() && !pendingAction) {
    const SidePanelLayout narrow;
    DrawInitiativePanel();
  }
  if (InCombat != 1) return false;
  if (!IsTargetingMode() && !pendingAction) {
    BuildActionMenu();
    const SidePanelLayout narrow;
    if (DrawActionMenu()) return true;
    if (InCombat != 1) return false;
  }
  if (DrawRecentSpellRow()) return true;
  if (InCombat != 1) return false;
  if (IsTargetingMode() || pendingAction) {
    const SidePanelLayout narrow;
    if (IsTargetingMode())
      DrawTargetingPrompt();
    else
      DrawPendingActionPrompt();
  }
  if (InCombat != 1) return false;
  DrawActionsButton();
  return false;
}

// The panels by state; true when one has ended the frame.
bool DrawPanels() {
  if (InCombat != 1 && AllEnemiesAlert == 0 && RecheckSquareScripts == 0 && IsTargetingMode()) {
    const SidePanelLayout narrow;
    DrawTargetingPrompt();
  }
  if (PartyListShown() && DrawPartyList()) return true;
  // A script's box covers the combat panels as it covers the party list.
  return InCombat == 1 && ScreenMode != kModeResting && DrawCombatPanels();
}

// Over everything; 0 when the debug exit ends the program.
int DrawOverlaysAndEnd() {
  if (ScreenMode == kModeItemPileHovered) DrawObjectList();
  DrawActionBanner();
  if (ScreenMode == kModeCreatureHovered) DrawHoveredCreatureBox();
  DrawDebugMapTool();
  DrawMissileSprite();
  if (ScreenMode == kModeResting) DrawDialogueBox();
  UpdateAmbientSounds();
  if (DebugExitChord()) return 0;
  const bool aiming = AllEnemiesAlert == 0 && RecheckSquareScripts == 0 && SpellInProgress != -1 &&
                      ScreenMode >= kModeTargetFirst && ScreenMode <= kModeEndOfIntro;
  if (aiming) {
    DrawSpellCursor();
    if (DebugMode == 1) GameTiming.UpdateFrameRate();
    EndSprite();
  } else {
    ShowClickResult();
    FinishFrame();
  }
  return 1;
}

int DrawFrame(int rows, int cols) {
  LastScreenDrawn = "GameScreenFrame";
  SetUpFrame();
  {
    // The map view is the backdrop of the panels and texts drawn over it.
    const DrawLayerScope backdrop(DrawLayer::kBackdrop);
    DrawMapView(rows, cols);
  }
  if (DrawPanels()) return 1;
  return DrawOverlaysAndEnd();
}

}  // namespace

int GameScreenFrame(int rows, int cols) {
  // A frame drawn inside another (a dialogue box's frames opened while a
  // frame draws, the computer's thinking frame) gives the outer frame back
  // the scale it was drawing at; whatever section ended it, a frame of its
  // own leaves the next screen in the 320x240 layout.
  const uint8_t outer = MapScaleSwitch;
  const int result = DrawFrame(rows, cols);
  MapScaleSwitch = outer;
  return result;
}

int DrawGameScreenForWindow() { return IsWideView() ? GameScreenFrame(16, 21) : GameScreenFrame(11, 14); }
