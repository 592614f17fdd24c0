// The map view's input driven one call at a time: the mouse moved (and a
// button pressed) as a player would, the devices read, and the map mouse
// handler or the keys run once, with no other step of the frame between.
#pragma once
#include "combat/resolution/combat_sequencer.h"
#include "harness/test_scenes.h"
#include "screens/game/game_screen_fixture.h"
#include "state/camera.h"
#include "state/current_cast.h"

namespace inputtest {

// The first foe a battle's scene adds (an orc in the tests of orders).
constexpr int kOrc = scenes::kFirstFoe;

// The picture point of a square's centre under the current view.
inline int ScreenX(int x) { return 24 * x + 12 - ViewOriginX; }
inline int ScreenY(int y) { return 24 * y + 12 - ViewOriginY; }

// The mouse moved to (x, y) and the map mouse handler run; with press the
// left (or right) button goes down there first and comes up after.
inline void MouseAt(int x, int y, bool press = false, int button = 0) {
  harness::MoveMouse(x, y);
  if (press) harness::MouseButton(button, true);
  screentest::ReadInput();
  MouseMoved = 1;
  MapMouseHandler();
  if (press) {
    harness::MouseButton(button, false);
    screentest::ReadInput();
  }
}
// The same over a square: hovered first, then clicked.
inline void ClickSquare(int x, int y, int button = 0) {
  MouseAt(ScreenX(x), ScreenY(y));
  MouseAt(ScreenX(x), ScreenY(y), true, button);
}

// Frames until the member's turn waits for orders with the view at rest;
// false when it does not come.
inline bool WaitForTurnOf(int member, int frames = 900) {
  for (int i = 0; i < frames; ++i) {
    if (InCombat == 1 && CombatState == kStatePlayerTurn && CurrentFighter() == member &&
        CombatAction.actionCode == 0 && ViewScrolling == 0 && FollowTarget == -1)
      return true;
    if (!harness::StepFrames(1)) return false;
  }
  return false;
}

// The aiming waits for a click, the view at rest and nothing being shown.
inline bool AimingRests() { return ScreenMode == kModeAimCreature && FollowTarget == -1 && PlaybackCreature == -1; }

}  // namespace inputtest
