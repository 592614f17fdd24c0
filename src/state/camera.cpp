#include "state/camera.h"

int32_t FollowTarget = -1;
uint8_t MoveInProgress = 0;
int32_t ViewOriginX = 0, ViewOriginY = 0;
int32_t FirstVisibleX = 0, FirstVisibleY = 0;
int32_t SquareOffsetX = 0, SquareOffsetY = 0;
int32_t FocusSquareX = 0, FocusSquareY = 0;
uint8_t CameraMoving = 0;
int32_t CameraTargetX = 0, CameraTargetY = 0;
int32_t CameraGlideWords[4] = {};
uint8_t CombatRollsShown = 0;
uint8_t SidePanelShown = 0;

void ResetCameraState() {
  FollowTarget = -1;
  MoveInProgress = 0;
  ViewOriginX = 0;
  ViewOriginY = 0;
  FirstVisibleX = 0;
  FirstVisibleY = 0;
  SquareOffsetX = 0;
  SquareOffsetY = 0;
  FocusSquareX = 0;
  FocusSquareY = 0;
  CameraMoving = 0;
  CameraTargetX = CameraTargetY = 0;
  for (int32_t& w : CameraGlideWords) w = 0;
  CombatRollsShown = 0;
  SidePanelShown = 0;
}
