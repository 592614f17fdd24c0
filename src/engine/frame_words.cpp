#include "engine/frame.h"

uint32_t ScreenMode = kModeExploring;
uint32_t AnimationStep = 0;
uint32_t AnimationCycle = 0;
uint8_t DebugMode = 0;
