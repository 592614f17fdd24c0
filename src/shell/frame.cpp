// The per-frame operation: pacing, input, the game's steps, the device, and
// exactly one screen.
#include <cstdio>
#include <cstring>

#include "adventure/scripts.h"
#include "combat/actions/combat_actions.h"
#include "state/fighter_slots.h"
#include "state/turn_order.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/turns/combat_cycle.h"
#include "shell/application.h"
#include "shell/display_input.h"
#include "shell/display_modes.h"
#include "shell/frame.h"
#include "engine/graphics.h"
#include "shell/page_dispatch.h"
#include "engine/page_history_access.h"
#include "state/game_progress.h"
#include "engine/settings.h"
#include "map/map_record.h"
#include "map/map_switching.h"
#include "map/party_vision.h"
#include "platform/render.h"
#include "platform/system.h"
#include "platform/window.h"
#include "rules/creature_record.h"
#include "screens/character/character_screens.h"
#include "screens/game/game_screen.h"
#include "state/party_leader.h"
#include "state/world_travel.h"
#include "state/inventory_state.h"

namespace {

constexpr int kKeyReturn = 0x1C;
constexpr int kKeyLeftShift = 0x2A;
constexpr int kKeyW = 0x11;
constexpr int kSquarePixels = 24;

constexpr int64_t kFramePaceMicros = 15000;  // a frame at most every 15 milliseconds
bool g_paceStarted = false;
// The next frame is due this many microseconds past this tick.
uint32_t g_dueTick = 0;
int64_t g_dueMicros = 0;
// The pictures shown in step with the display when the last frame began.
uint64_t g_inStepSeen = 0;

// The scripts of the squares the party members stand on.
void RunSquareScripts() {
  if (InCombat != 0 || ScreenMode != kModeExploring) return;
  bool any = ForceSquareScripts == 1;
  for (int m = 0; m < 4 && !any; ++m) any = FighterSlots[m].alert == 1;
  if (!any) return;
  for (int m = 0; m < 4; ++m) {
    if (ForceSquareScripts != 1 && FighterSlots[m].alert != 1) continue;
    const CreatureRecord& c = Creatures[m];
    if (c.squareX < 0 || c.squareX >= kMapSide || c.squareY < 0 || c.squareY >= kMapSide) continue;
    const int32_t event = CurrentMap.At(kLayerEvents, c.squareX, c.squareY);
    if (event == 0) continue;
    std::memset(ScriptRunFlags, 0, sizeof ScriptRunFlags);
    ScriptRunWord = 0;
    EventMember = m;
    char path[260] = {};
    std::snprintf(path, sizeof path, "Scripts\\%s\\Map%i_%i.mls", AdventureFolder, CurrentMap.scriptMapNumber,
                  event);
    RunScriptFile(path);
    if (ScriptKeepsScreen == 1)
      ScriptKeepsScreen = 0;
    else if (GameEndedFlag == 0 && TradePartner == -1 && ScreenMode != kModeLocalMap)
      ScreenMode = kModeExploring;
  }
  EventMember = -1;
  ForceSquareScripts = 0;
}

// The leader steps onto the map's border.
void CheckLeavingMap() {
  const int leader = static_cast<int>(PartyLeader);
  const int slot = GetFighterSlot(leader);
  if (slot < 0 || slot >= kFighterSlots || FighterSlots[slot].alert != 1 || InCombat != 0) return;
  const CreatureRecord& c = Creatures[leader];
  const bool border = c.squareX == 0 || c.squareY == 0 || c.squareX == CurrentMap.width - 1 ||
                      c.squareY == CurrentMap.height - 1;
  if (border && ScreenMode == kModeExploring && IntroductoryAdventureFlag == 0) ShowLocalMapMode();
}

// The scrolling and Return test while the combat cycle pauses for the player.
void PausedCombatStep() {
  EdgeScroll();
  ScrollViewByKeys();
  if (FrameKeyDown(kKeyReturn)) {
    CombatPause = 0;
    CombatPauseSecond = 0;
  }
}

}  // namespace

void UpdateViewSquares() {
  ClampCamera();
  FirstVisibleX = ViewOriginX / kSquarePixels;
  FirstVisibleY = ViewOriginY / kSquarePixels;
  SquareOffsetX = ViewOriginX % kSquarePixels;
  SquareOffsetY = ViewOriginY % kSquarePixels;
  const bool wide = IsWideView();
  FocusSquareX = FirstVisibleX + (wide ? 10 : 7);
  FocusSquareY = FirstVisibleY + (wide ? 8 : 5);
}

int BeepIfNoTarget() {
  if (DebugMode != 1 || InCombat != 1 || CombatAction.currentEntry <= 0 ||
      CombatAction.currentEntry >= kTurnOrderEntries)
    return 1;
  const int creature = TurnOrder[CombatAction.currentEntry].creature;
  if (creature < 0 || creature >= kCreatureCount) return 1;
  if (Creatures[creature].destinationX == -1 && Creatures[creature].destinationY == -1) platform::Beep();
  return 1;
}

void DebugSlayEnemies() {
  for (int i = TurnEntryCount - 1; i >= 0; --i) {
    const int creature = TurnOrder[i].creature;
    if (creature < 0 || creature >= kCreatureCount || Creatures[creature].allegiance != kAllegianceEnemy) continue;
    DyingCreature = creature;
    Creatures[creature].hitPoints = -10000;
    Creatures[creature].present = 0;
    RunDeathScript();
    RemoveFromCombat(creature, -1);
  }
  DyingCreature = -1;
  CheckEndOfCombat();
}

void ResetFramePacing() { g_paceStarted = false; }

namespace {

// How far apart frames are kept, in microseconds: 15 milliseconds, or with
// accelerated combat the refresh period of the display the window shows its
// pictures on (no pace headless, where nothing is shown).
int64_t FramePace() {
  if (OptionWords[kOptionAcceleratedCombat] == 0) return kFramePaceMicros;
  return platform::DisplayRefreshMicroseconds(MainWindowHandle);
}

// The last frame's picture waited for the display's refresh: the display
// has paced it, and the next frame is due at once.
bool DisplayPacedLastFrame() { return platform::PicturesInStepWithDisplay() != g_inStepSeen; }

// Milliseconds from `now` until the next frame is due (0: it is due).
uint32_t UntilDue(uint32_t now) {
  const int64_t ahead = static_cast<int64_t>(static_cast<int32_t>(g_dueTick - now)) * 1000 + g_dueMicros;
  return ahead <= 0 ? 0 : static_cast<uint32_t>((ahead + 999) / 1000);
}

// The next frame's time after a frame at `now`: a pace after it; the
// display's pace keeps its rhythm from the frame's due time (ticks are
// whole milliseconds, its period is not), unless the frame came a whole
// period late or early.
void ScheduleNextFrame(uint32_t now, int64_t pace) {
  int64_t next = pace;
  if (OptionWords[kOptionAcceleratedCombat] != 0) {
    const int64_t kept = static_cast<int64_t>(static_cast<int32_t>(g_dueTick - now)) * 1000 + g_dueMicros + pace;
    if (kept > 0 && kept <= pace) next = kept;
  }
  g_dueTick = now + static_cast<uint32_t>(next / 1000);
  g_dueMicros = next % 1000;
}

}  // namespace

uint32_t cApp::IdleMilliseconds() {
  // The store overlay's black frames run every pass.
  if (OverlayActive == 1 || !g_paceStarted || FramePace() == 0 || DisplayPacedLastFrame()) return 0;
  return UntilDue(platform::TickCount());
}

namespace {

// While the store overlay is up the frame is only a black picture.
int DrawOverlayFrame() {
  BeginScene();
  ClearScreen(0xFF000000u);
  EndScene();
  PresentFrame();
  return 1;
}

// At most one frame every 15 milliseconds; with accelerated combat as many
// as the display shows (a frame whose picture waited for the display's
// refresh, the next at once; headless, one every call). The first call only
// starts the clock. False: this call draws nothing.
bool PaceFrame() {
  const uint32_t now = platform::TickCount();
  const int64_t pace = FramePace();
  if (!g_paceStarted) {
    g_paceStarted = true;
    g_dueTick = now;
    g_dueMicros = 0;
    ScheduleNextFrame(now, pace);
    g_inStepSeen = platform::PicturesInStepWithDisplay();
    return false;
  }
  if (pace != 0 && !DisplayPacedLastFrame() && UntilDue(now) > 0) return false;
  ScheduleNextFrame(now, pace);
  g_inStepSeen = platform::PicturesInStepWithDisplay();
  return true;
}

}  // namespace

bool RunInputSteps() {
  MouseMoved = ReadFrameInput() ? 1 : 0;
  HoverProbe = -1;
  BeepIfNoTarget();
  MapMouseHandler();
  BeepIfNoTarget();
  if (LeaderStepEnabled == 1 && JoystickPresent == 1) LeaderStep();
  if (MainScreenKeys() == 0) return false;
  if (FollowTarget != -1)
    CameraFollowActor();
  else
    MoveInProgress = 0;
  BeepIfNoTarget();
  return true;
}

namespace {

// The combat sequencer, the combat cycle and the action executor (the last
// two wait while the cycle pauses for the player). False when the cycle ends
// the program.
bool RunCombatSteps() {
  ProcessCombatAction();
  BeepIfNoTarget();
  if (ScreenMode != kModePageView && InCombat == 1) {
    if (CombatPause == 0) {
      if (CombatCycle() == 0) return false;
    } else {
      PausedCombatStep();
    }
  }
  BeepIfNoTarget();
  if (ScreenMode != kModePageView) {
    if (CombatPause == 0)
      ExecuteCombatAction();
    else
      PausedCombatStep();
  }
  BeepIfNoTarget();
  return true;
}

// The view's squares, square scripts, the party's sight, meeting enemies
// and leaving the map.
void RunMapSteps() {
  UpdateViewSquares();
  BeepIfNoTarget();
  RunSquareScripts();
  BeepIfNoTarget();
  UpdatePartyVision();
  BeepIfNoTarget();
  if (InCombat == 0 && ScreenMode == kModeExploring) StartCombat(0);
  BeepIfNoTarget();
  CheckLeavingMap();
  // On the world map the party has left the battlefield of the road it stood
  // on: what it met there, fled from or left behind, stays behind.
  if (ScreenMode == kModeLocalMap && InCombat == 0) TakeOffLeftEncounter();
  BeepIfNoTarget();
}

}  // namespace

FrameStep CheckDevice() {
  if (!Graphics.device) return FrameStep::kFrameOver;
  const platform::DeviceState state = Graphics.device->TestState();
  if (state == platform::DeviceState::kLost || platform::GetFocusWindow() != MainWindowHandle) {
    // Nothing is drawn, but a window shown again (a window manager that
    // came or went) shows the last picture, not black.
    Graphics.device->ShowAgain();
    if (WindowedFlag == 0) platform::SetSystemMouseSpeed(KeptMouseSpeed);
    if (PollMusicCompleteStep()) PauseMediaGraph();
    return FrameStep::kFrameOver;
  }
  if (state == platform::DeviceState::kNeedsReset) {
    std::memset(CreatureMarkWords, 0, sizeof CreatureMarkWords);
    CombatDisplayWords[0] = 0;
    CombatDisplayWords[1] = 1;
    RedrawPending = 1;
    if ((WindowedFlag == 0 ? SetFullScreenMode() : SetWindowedMode()) == 0) return FrameStep::kEndProgram;
  }
  return FrameStep::kGoOn;
}

void AdvanceAnimationCounters() {
  if (++AnimationStep > 7) {
    AnimationStep = 0;
    if (++AnimationCycle > 99) AnimationCycle = 0;
  }
}

namespace {

// Exactly one screen, chosen by the screen mode (the end of the introductory
// adventure first). kFrameOver when the screen has ended the scene and
// presented itself.
FrameStep DrawOneScreen() {
  if (EndOfIntroPending == 1) {
    EndOfIntroPending = 0;
    ScreenMode = kModeEndOfIntro;
    DrawEndOfDemoScreen();
    return FrameStep::kGoOn;
  }
  switch (ScreenMode) {
    case kModePageView: return DrawPageViewScreen();
    case kModeDefeat: DrawDefeatScreen(); return FrameStep::kGoOn;
    case kModeVictory: DrawVictoryScreen(); return FrameStep::kGoOn;
    case kModeEndOfIntro: DrawEndOfDemoScreen(); return FrameStep::kGoOn;
    case kModeLocalMap: DrawWorldMapScreen(); return FrameStep::kGoOn;
    case kModeItemTarget:
    case kModeWandPicker:
    case kModeEnchantPicker: return ItemPickerFrame() == 0 ? FrameStep::kEndProgram : FrameStep::kGoOn;
    default: {
      if (DebugMode == 1 && InCombat == 1 && FrameKeyDown(kKeyLeftShift) && FrameKeyDown(kKeyW))
        DebugSlayEnemies();
      return DrawGameScreenInWindow();
    }
  }
}

// The picture: presented, unless a screen has already done so.
void PresentPicture() {
  EndSprite();
  BeepIfNoTarget();
  if (FramePresented == 1) {
    FramePresented = 0;
    return;
  }
  EndScene();
  PresentFrame();
}

}  // namespace

FrameStep DrawPageViewScreen() {
  const int page = DrawPageView();
  if (page == 2) {  // the screen has ended the scene and presented itself
    BeepIfNoTarget();
    return FrameStep::kFrameOver;
  }
  return page == 0 ? FrameStep::kEndProgram : FrameStep::kGoOn;
}

FrameStep DrawGameScreenInWindow() {
  return DrawGameScreenForWindow() == 0 ? FrameStep::kEndProgram : FrameStep::kGoOn;
}

int DrawAndPresent(FrameStep (*screen)()) {
  if (!BeginScene()) return 1;
  AdvanceAnimationCounters();
  PollMusicCompleteStep();
  ClearScreen(0xFF000000u);
  BeginSprite();
  const FrameStep result = screen();
  if (result == FrameStep::kFrameOver) return 1;
  if (result == FrameStep::kEndProgram) {
    EndSprite();
    EndScene();
    return 0;
  }
  PresentPicture();
  return 1;
}

int RunFrameSteps() {
  if (!RunInputSteps() || !RunCombatSteps()) return 0;
  RunMapSteps();
  return 1;
}

int cApp::Frame() {
  if (OverlayActive == 1) return DrawOverlayFrame();
  if (!PaceFrame()) return 1;
  BeepIfNoTarget();
  if (RunFrameSteps() == 0) return 0;
  const FrameStep device = CheckDevice();
  if (device != FrameStep::kGoOn) return device == FrameStep::kFrameOver ? 1 : 0;
  if (HandleDisplayToggleKeys(0) == 0) return 0;  // Alt+Enter
  return DrawAndPresent(DrawOneScreen);
}
