// The game screen frame's words that the map view reads: the animation
// counters the frame advances, the hover and aim words of the map mouse
// handler, and the tint and rain of the day clock. Their owners write them;
// the map view only reads them (it also steps the stored codes on the frames
// the counters give).
#pragma once
#include <cstdint>

// Counters advanced every frame.
extern int32_t BlinkTick;         // of 20: blinking marks show while above 10
extern int32_t Tick100;           // of 100
extern float PhaseAngle;          // radians, a 250th of a turn a frame
extern float SlowPhaseAngle;      // a 10,000th of a turn a frame
// Counters advanced only in screen modes 0 and 1.
extern int32_t ArrowPulse;        // +3 a frame, back to 0 past 100
extern int32_t IconFrame8;        // of 8, every 3 frames
extern int32_t IconFrame10;       // of 10, every 15 frames
extern int32_t IconFrame3A;       // of 3, every 4 frames
extern int32_t PulseAlpha;        // 0 to 100, rising and falling
extern int32_t IconFrame3B;       // of 3, every 8 frames
extern int32_t AreaFrame;         // 900 to 917, every 2 frames
extern int32_t FeatureFrame;      // of 12, every 10 frames
extern int32_t FlameTick;         // of 4
extern int32_t FloorTick;         // of 4
extern int32_t LayerTick10, LayerTick13, LayerTick8, LayerTick5;
extern int32_t MarkerFrame;       // of 11, every 13 frames

// The map mouse handler's words: the creature under the mouse (-1 none) and
// its fighter slot, the hover marks hidden, whether the pending spell's area
// may be cast where it stands, the move range shown and forced, the path
// preview, and the attack-aim word (2: hit chances shown).
extern int32_t HoveredCreature;
extern int32_t HoveredFighterSlot;
extern uint8_t HoverMarksHidden;
extern int32_t CursorTargetValid;
extern uint8_t MoveRangeAllowed;
extern uint8_t MoveRangeForced;
extern uint8_t PathPreviewShown;
extern int32_t AttackAimMode;

// The day clock's light: the tint of the frame (red, green, blue), the row
// of the lighting table it fades to, whether it has arrived, and the rest
// fade (1 fading to black, 2 back in). The rain: the frame of sheet 4 drawn
// as rain (0 none, 84 to 88) and the rain sound's level.
extern int32_t AmbientTint[3];
extern int32_t LightingIndex;
extern int32_t TintSettled;
extern int32_t RestFade;
extern int32_t RainFrame;
extern int32_t RainVolume;
// The lighting table: dawn, day, dusk, night, storm, black.
constexpr int kLightingRows = 6;
extern const int32_t LightingTable[kLightingRows][3];

// Floating texts: opaque while at least this many frames are left, then fading.
extern int32_t FloatingTextFadeStart;

// The tint colour of the frame: opaque, with the current tint.
uint32_t FrameTintColour();
