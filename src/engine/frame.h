// The per-frame operation's globals: what the frame draws, the animation
// counters every screen uses, and the debug switch.
#pragma once
#include <cstdint>

// What the frame draws: 0 exploring, 4 page view, 7 defeat, 8 victory, 9 the
// local map, 10-16 targeting, 12/17/18 item pickers, 19 end of the
// introductory adventure, 20-24 the steps of casting.
extern uint32_t ScreenMode;
// Animation counters of all screens: AnimationStep 0 to 7, AnimationCycle 0 to 99.
extern uint32_t AnimationStep;
extern uint32_t AnimationCycle;
// Toggled by a key; writes trace lines to the message log and beeps on refused drawing.
extern uint8_t DebugMode;

// Debug mode: beeps when the acting fighter has no destination square.
int BeepIfNoTarget();
// Debug mode: every enemy of the turn order dies at once.
void DebugSlayEnemies();
// One frame of the inventory serving as an item picker (screen modes 12, 17
// and 18); 0 ends the program.
int ItemPickerFrame();
// The wand picker's choice: the chosen crafted item becomes a wand of the
// spell being prepared (50 charges, the picture of the spell's school, the
// spell's name when it had only a wand's name), the crafting costs are paid
// and the inventory opens again. An item code outside the crafted rows is
// left alone and costs nothing.
void WandChargeStep();
// Stop the looping ambient channels (18, 20, 17, 21; the second also 19 first).
int StopLoopingSounds();
int StopAllLoopingSounds();
// Forgets the time of the last frame, so that the next call returns at once.
void ResetFramePacing();
