#include "screens/game/debug_tools.h"

#include <cstdio>

#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/input.h"
#include "engine/text.h"
#include "map/map_record.h"
#include "map/map_switching.h"
#include "map/party_vision.h"
#include "map/square_grids.h"
#include "screens/game/map_input.h"
#include "state/map_view_state.h"

uint8_t DebugMapTool = 0;
int32_t DebugMapNumber = 0;

namespace {

constexpr int kKeyNine = 0x0A, kKeyZero = 0x0B, kKeyMinus = 0x0C, kKeyEquals = 0x0D, kKeyT = 0x14;
constexpr int kKeyEscape = 0x01, kKeyLeftShift = 0x2A;
constexpr int32_t kLastMap = kStoredMapCount - 1;

bool Held(int key) { return (KeyboardDevice.state[key] & 0x80) != 0; }
// A fresh press, latched so that it acts once.
bool Pressed(int key) {
  if (!IsKeyDown(key)) return false;
  KeyboardDevice.locks[key] = 1;
  return true;
}

void StepMapNumber(int step) {
  DebugMapNumber += step;
  if (DebugMapNumber > kLastMap) DebugMapNumber = 0;
  if (DebugMapNumber < 0) DebugMapNumber = kLastMap;
}

void WriteCaption() {
  std::snprintf(HoverCaption, sizeof HoverCaption,
                "TargetX: %.2i TargetY: %.2i Total Junctions: %.2i Size of Alley: %.4i Test value: %.2i "
                "Walkable squares: %.5i \t\t\t\t\t\t\t\t Alley squares: %.5i Test2: %.2i TargetedMap: %i "
                "MouseX: %i MouseY: %i WinMouseX: %i WinMouseY: %i squarehaschanged: %i",
                MapCursorX, MapCursorY, RegionCount + 1, 0, 0, static_cast<int>(OpenSquareCount), 0, 0,
                DebugMapNumber, GetInputX(&PointerDevice), GetInputY(&PointerDevice), MouseClientX, MouseClientY,
                static_cast<int>(SquareChanged));
}

}  // namespace

void DrawDebugMapTool() {
  if (DebugMode == 0 || DebugMapTool != 1) return;
  if (CurrentMapNumber >= 0 && CurrentMapNumber < kStoredMapCount)
    for (uint32_t& square : MapMemory[CurrentMapNumber]) square = 1;
  BuildMapVisibility();
  WriteCaption();
  DrawLargeWrappedCaps();
  if (Held(kKeyEquals)) StepMapNumber(1);
  if (Pressed(kKeyZero)) StepMapNumber(1);
  if (Held(kKeyMinus)) StepMapNumber(-1);
  if (Pressed(kKeyNine)) StepMapNumber(-1);
  if (IsKeyDown(kKeyLeftShift) && IsKeyDown(kKeyT)) {
    KeyboardDevice.locks[kKeyLeftShift] = KeyboardDevice.locks[kKeyT] = 1;
    SwitchLocalMap(DebugMapNumber, MapCursorX, MapCursorY, 1, 0, 0);
    DebugMapTool = 0;
  }
}

bool DebugExitChord() {
  if (DebugMode == 0) return false;
  ReadInputDevice(&KeyboardDevice);
  if (!Held(kKeyLeftShift) || !Held(kKeyEscape)) return false;
  EndSprite();
  return true;
}

void ResetDebugToolsState() {
  DebugMapTool = 0;
  DebugMapNumber = 0;
}
