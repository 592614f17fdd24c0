// What the display switches need of the input devices and the music: the
// keys with their lock entries, the mouse's windowed flag, re-creating the
// devices for a new window, and stopping a MIDI track with its position kept.
#pragma once

bool DisplayKeyDown(int scanCode);
bool DisplayKeyLocked(int scanCode);
void LockDisplayKey(int scanCode);
void SetMouseWindowedFlag(int windowed);
// A new input interface and the keyboard, mouse and joystick for the new
// window (windowed flag 1); false when the interface cannot be made.
bool RecreateInputDevices();
// Stores the playing MIDI track's position and stops it; the track, or -1
// when none was playing.
int StopMusicKeepingPosition();

// The frame's input step: reads the keyboard and the mouse, clamps the mouse
// position to x 0-309 and y 0-229; true when the position changed.
bool ReadFrameInput();
// Key presses as the frame's steps test them.
bool FrameKeyDown(int scanCode);
// The music steps of the frame: the MP3 completion poll (true when the
// combat track ended) and pausing the media graph.
bool PollMusicCompleteStep();
void PauseMediaGraph();
// Plays a sample once on the first idle channel of 0 to 15, pan centred, at
// the sound volume (nothing when that is 0 or every channel is busy).
void PlayInterfaceSample(int sample);
