// The words the game screen frame keeps and every section of the game
// screen reads: the frame counters, the scale switch of the wide window,
// the cursor hint, the hovered creature, the ambient sources the map passes
// find in view, and the debug switch that hides the map.
#pragma once
#include <cstdint>

#include "adventure/scripts.h"   // ForceSquareScripts
#include "engine/graphics.h"     // WideViewDrawSwitch

// 1 while the drawing kit works in the 480x360 space of the "960x720 (b)"
// window; set at the start of every frame, cleared around the panels that
// keep the 320x240 layout.
inline uint8_t& MapScaleSwitch = WideViewDrawSwitch;

// Counters advanced at the start of every frame (a counter "of n" runs 0 to
// n - 1 and wraps to 0).
extern uint32_t BlinkTick;       // of 20: the blinking marks show while above 10
extern uint32_t Tick100;         // of 100
extern float PhaseAngle;         // + 2 pi / 250 a frame, wrapped at 2 pi
extern float SlowPhaseAngle;     // + 2 pi / 10000 a frame, wrapped at 2 pi
extern int32_t FrameCountdown;   // - 1 a frame, no lower bound

// Counters advanced only while exploring (screen mode 0) or in a dialogue
// or rest (1); they stand still in every other mode.
extern uint32_t ArrowPulse;      // + 3 a frame, back to 0 once past 100
extern uint32_t IconFrame8;      // + 1 every 3 frames, of 8
extern uint32_t IconFrame10;     // + 1 every 15 frames, of 10
extern uint32_t IconFrame3A;     // + 1 every 4 frames, of 3
extern int32_t PulseAlpha;       // 0 to 100, rising and falling by 4 every 2 frames
extern uint32_t IconFrame3B;     // + 1 every 8 frames, of 3
extern uint32_t AreaFrame;       // 900 to 917, + 1 every 2 frames
extern uint32_t FeatureFrame;    // + 1 every 10 frames, of 12
extern uint32_t FlameTick;       // of 4
extern uint32_t FloorTick;       // of 4
extern uint32_t LayerTick10, LayerTick13, LayerTick8, LayerTick5;
extern uint32_t WeatherTick;     // of 5: the day clock and the weather step on its wrap
extern uint32_t MarkerFrame;     // + 1 every 13 frames, of 11
// Whether AreaFrame stepped in this frame (the 900 floor codes step with it).
extern uint8_t AreaFrameStepped;

// Advances the counters of the first kind, and in screen modes 0 and 1 those
// of the second.
void AdvanceFrameCounters();

// The hint drawn beside the cursor at the end of the frame; cleared at its start.
constexpr int kCursorHintSize = 100;
extern char CursorHint[kCursorHintSize];

// The creature under the mouse this frame (-1 none) and its fighter slot;
// the party list's hover byte.
extern int32_t HoveredCreature;
extern int32_t HoveredFighterSlot;
extern uint8_t PartyListHover;

// The sound-making features the map passes drew this frame: for the animated
// features, the kind-1 magic areas, the torches and braziers and the
// campfire, whether one is in view and whether one lies within two squares of
// the focus square; and the last campfire square drawn.
enum AmbientSource : int { kAmbientFeatures = 0, kAmbientAreas = 1, kAmbientFlames = 2, kAmbientCampfire = 3 };
struct AmbientSourcePair {
  uint8_t seen;
  uint8_t nearby;
};
extern AmbientSourcePair AmbientSourceFlags[4];
extern int32_t CampfireSquareX, CampfireSquareY;

// A debug mode in which the map passes draw nothing.
extern uint8_t MapHidden;
// Whether the square or creature under the cursor suits the spell being aimed.
extern uint8_t CursorTargetValid;
// Set while the scripts of the squares the party stands on are to run again.
inline uint32_t& RecheckSquareScripts = ForceSquareScripts;

// Puts the words above back to their start-up values (a new game, and tests).
void ResetFrameWords();
