#include "engine/game_speeds.h"

int32_t FloatingTextFrames = 60;
int32_t EventAnimationFrames = 51;
int32_t CombatStepFrames = 45;
int32_t WalkStepSmall = 2;
int32_t WalkStepLarge = 4;
int32_t& WalkStep = WalkStepSmall;
int32_t& CatchUpStep = WalkStepLarge;
int32_t AnimationStepWords[kAnimationStepWordCount] = {9, 9, 5, 6, 4, 100, 50};
int32_t MotionStepValues[kMotionStepValueCount] = {2, 4, 11};
