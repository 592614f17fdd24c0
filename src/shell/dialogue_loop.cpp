// The modal loop of a script's dialogue box: inside the script's run it keeps
// the window alive and draws the game screen with the box (or the script's
// full-screen picture), a frame at a time, until the player has answered;
// the script then goes on where it stood.
#include "adventure/dialogue.h"
#include "engine/graphics.h"
#include "engine/main_window.h"
#include "frontend/fade_screens.h"
#include "platform/steam.h"
#include "platform/system.h"
#include "platform/window.h"
#include "shell/application.h"
#include "shell/display_modes.h"
#include "shell/frame.h"
#include "state/script_state.h"

namespace {

constexpr uint32_t kBoxFramePaceMs = 15;
// The loop's own frame clock, kept from one box to the next (accelerated
// combat does not hurry it).
bool g_boxClockStarted = false;
uint32_t g_lastBoxFrame = 0;

// Takes every waiting window message. False on the quit message, which is
// posted again: the script ends, and the main loop then ends the program.
bool TakeWindowMessages() {
  platform::Message msg;
  while (platform::PeekAppMessage(&msg)) {
    if (msg.id == platform::kMsgQuit) {
      platform::PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    platform::TranslateAppMessage(msg);
    platform::DispatchAppMessage(msg);
  }
  return true;
}

// True once 15 ms have passed since the loop's last frame; otherwise waits
// for a message or the rest of that time.
bool BoxFrameDue() {
  const uint32_t now = platform::TickCount();
  const uint32_t since = now - g_lastBoxFrame;
  if (g_boxClockStarted && since < kBoxFramePaceMs) {
    platform::WaitAppMessage(kBoxFramePaceMs - since);
    return false;
  }
  g_boxClockStarted = true;
  g_lastBoxFrame = now;
  return true;
}

// A help link in the box's text opens its page over the game: the page is
// shown until it is left, and its "Return" brings back the box, which is
// still waiting. Any other screen the box's frames led to gives way to the
// box again, so that the loop never waits on a box that is not shown.
void KeepBoxShown() {
  if (ScreenMode != kModeResting && ScreenMode != kModePageView) ScreenMode = kModeResting;
}

FrameStep DrawBoxScreen() {
  if (ScreenMode == kModePageView) return DrawPageViewScreen();
  if (ScriptPictureShown == 1) {
    DrawFadePicture();
    return FrameStep::kGoOn;
  }
  return DrawGameScreenInWindow();
}

// The display is gone: the script ends and so does the program.
ScriptCommand* DisplayLost() {
  platform::PostQuitMessage(0);
  return nullptr;
}

// The box's frames until the player has answered.
ScriptCommand* AnswerLoop(ScriptCommand* next) {
  for (;;) {
    if (DialoguePassHook) DialoguePassHook();
    if (!TakeWindowMessages()) return nullptr;
    if (SteamRunning == 1) SteamAPI_RunCallbacks();
    if (!BoxFrameDue()) continue;
    if (!RunInputSteps()) return nullptr;
    if (ChosenAnswer != -1) return next;
    KeepBoxShown();
    UpdateViewSquares();
    if (HandleDisplayToggleKeys(0) == 0) return DisplayLost();
    const FrameStep device = CheckDevice();
    if (device == FrameStep::kEndProgram) return DisplayLost();
    if (device == FrameStep::kFrameOver) continue;
    if (DrawAndPresent(DrawBoxScreen) == 0) return nullptr;
  }
}

}  // namespace

ScriptCommand* RunDialogueLoop(ScriptCommand* next) {
  ExpandSpeakerName();
  if (TakeQueuedDialogueAnswer()) return next;
  // Without a window nobody could answer: the box takes its first answer.
  if (MainWindowHandle == 0 || !Graphics.device) {
    ChosenAnswer = 1;
    ScriptPictureShown = 0;
    return next;
  }
  // A box opened while the frame is drawing (an item script run by a pick-up
  // from the list of a square's objects or from a page): that picture is
  // finished and shown first, so that the box's own frames can be drawn, and
  // the rest of the frame goes on in a fresh scene after the answer.
  const bool inFrame = BeginScene() == 0;
  if (inFrame) {
    EndSprite();
    EndScene();
    PresentFrame();
  } else {
    EndScene();
  }
  ScriptCommand* after = AnswerLoop(next);
  if (inFrame && BeginScene()) BeginSprite();
  return after;
}
