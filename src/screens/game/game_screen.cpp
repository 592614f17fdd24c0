#include "screens/game/game_screen.h"

#include "engine/display_modes.h"
#include "engine/page_placeholder.h"

uint8_t MouseMoved = 0;
int32_t HoverProbe = -1;
int32_t FollowTarget = -1;
uint8_t MoveInProgress = 0;
int32_t ViewOriginX = 0, ViewOriginY = 0;
int32_t FirstVisibleX = 0, FirstVisibleY = 0;
int32_t SquareOffsetX = 0, SquareOffsetY = 0;
int32_t FocusSquareX = 0, FocusSquareY = 0;
uint32_t LeaderStepEnabled = 0;
uint32_t JoystickPresent = 0;
uint8_t FramePresented = 0;
int32_t CurrentSpell = -1;
int32_t CombatDisplayWords[2] = {};
uint8_t RedrawPending = 0;
char GameScreenCaptions[5000] = {};
uint8_t GameScreenWorkArea[936] = {};

void MapMouseHandler() {}
void LeaderStep() {}
int MainScreenKeys() { return HandleWindowKeys(); }
void CameraFollowActor() {}
void EdgeScroll() {}
void ScrollViewByKeys() {}
void ClampCamera() {}
void SetCameraBounds() {}
void CentreMouseCursor() {}
int GameScreenFrame(int, int) {
  DrawPagePlaceholder("GameScreenFrame");
  return 1;
}
void OpenInventoryMenu(int) {}
bool ShowFloatingText(int, const char*) { return true; }
void SwitchMusicTrack(int, int, int) {}

ClickResultState ClickResult;
