// The speeds of the game screen and of combat that the options set: how long
// combat texts and steps last, and how far the party walks per frame.
#pragma once
#include <cstdint>

// Combat pacing in frames: a floating text, an event animation, a combat step.
extern int32_t FloatingTextFrames;
extern int32_t EventAnimationFrames;
extern int32_t CombatStepFrames;
// Walking step sizes in pixels per frame.
extern int32_t WalkStepSmall;
extern int32_t WalkStepLarge;
// The same two words under the walking code's names: the step of a walker,
// and the step of a party member catching up with the leader.
extern int32_t& WalkStep;
extern int32_t& CatchUpStep;
// The seven animation step words (normally 9, 9, 5, 6, 4, 100, 50) and the
// three further step values (normally 2, 4, 11).
constexpr int kAnimationStepWordCount = 7;
constexpr int kMotionStepValueCount = 3;
extern int32_t AnimationStepWords[kAnimationStepWordCount];
extern int32_t MotionStepValues[kMotionStepValueCount];
