// The per-frame operation of the game shell and the steps it hands to
// helpers: the debug checks, the item pickers and the frame's pacing. (The
// words every screen reads, the screen mode among them, are the engine's, in
// engine/frame.h.)
#pragma once

#include "engine/frame.h"
#include "screens/items/item_pickers.h"  // the frame runs the item picker

// Debug mode: beeps when the acting fighter has no destination square.
int BeepIfNoTarget();
// Debug mode: every enemy of the turn order dies at once.
void DebugSlayEnemies();
// Forgets the time of the last frame, so that the next call returns at once.
void ResetFramePacing();
// The game's steps of one frame without its pace and picture: input, the
// combat sequencer, cycle and executor, then the map's steps (sight, meeting
// enemies, leaving the map). 0 ends the program. The frame runs them, and a
// headless run steps battles with them alone.
int RunFrameSteps();

// The frame's steps that the modal loop of a dialogue box runs too.
// Steps of the frame that can cut it short.
enum class FrameStep { kGoOn, kFrameOver, kEndProgram };
// Input, the map view's mouse, the leader's joystick step, the keys and the
// camera. False when the keys end the program.
bool RunInputSteps();
// The camera clamped; the first visible square and the focus square.
void UpdateViewSquares();
// The device: nothing is drawn while it is lost or the window is not in
// front (kFrameOver); one that needs a reset is made again in the current
// display mode (kEndProgram when that fails).
FrameStep CheckDevice();
// The two animation counters of every screen.
void AdvanceAnimationCounters();
// The game screen in the rows and columns of the window's size; kEndProgram
// when it asks to stop.
FrameStep DrawGameScreenInWindow();
// The page on top of the page history (page view); kFrameOver when the page
// has presented itself, kEndProgram when it ends the program.
FrameStep DrawPageViewScreen();
// One picture: the scene begun, the animation counters advanced, the screen
// drawn by `screen` and presented unless it has presented itself. 0 when the
// screen ends the program.
int DrawAndPresent(FrameStep (*screen)());
