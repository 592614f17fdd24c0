// Least versions of the game screen frame's words (its counters, the mouse
// handler's hover words, the day clock's light), standing until the frame,
// the mouse handler and the day clock define them.
#include "screens/game/frame_words.h"

int32_t BlinkTick = 0;
int32_t Tick100 = 0;
float PhaseAngle = 0;
float SlowPhaseAngle = 0;
int32_t ArrowPulse = 0;
int32_t IconFrame8 = 0;
int32_t IconFrame10 = 0;
int32_t IconFrame3A = 0;
int32_t PulseAlpha = 0;
int32_t IconFrame3B = 0;
int32_t AreaFrame = 900;
int32_t FeatureFrame = 0;
int32_t FlameTick = 0;
int32_t FloorTick = 0;
int32_t LayerTick10 = 0, LayerTick13 = 0, LayerTick8 = 0, LayerTick5 = 0;
int32_t MarkerFrame = 0;

int32_t HoveredCreature = -1;
int32_t HoveredFighterSlot = -1;
uint8_t HoverMarksHidden = 0;
int32_t CursorTargetValid = 0;
uint8_t MoveRangeAllowed = 0;
uint8_t MoveRangeForced = 0;
uint8_t PathPreviewShown = 0;
int32_t AttackAimMode = 0;

int32_t AmbientTint[3] = {255, 255, 255};
int32_t LightingIndex = 1;
int32_t TintSettled = 0;
int32_t RestFade = 0;
int32_t RainFrame = 0;
int32_t RainVolume = 0;
const int32_t LightingTable[kLightingRows][3] = {{255, 140, 255}, {255, 255, 255}, {255, 140, 140},
                                                 {140, 140, 255}, {130, 140, 150}, {0, 0, 0}};

int32_t FloatingTextFadeStart = 51;

uint32_t FrameTintColour() {
  return 0xFF000000u | (static_cast<uint32_t>(AmbientTint[0] & 0xFF) << 16) |
         (static_cast<uint32_t>(AmbientTint[1] & 0xFF) << 8) | static_cast<uint32_t>(AmbientTint[2] & 0xFF);
}
