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
