#include "engine/frame.h"

uint32_t ScreenMode = kModeExploring;
uint32_t AnimationStep = 0;
uint32_t AnimationCycle = 0;
uint8_t DebugMode = 0;

void ResetEngineFrameWords() {
  ScreenMode = kModeExploring;
  AnimationStep = AnimationCycle = 0;
  DebugMode = 0;
}
