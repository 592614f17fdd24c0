// The player's settings: the option words and the display settings beside them.
#pragma once
#include <cstdint>

constexpr int kOptionWordCount = 35;
enum OptionIndex : int {
  kOptionSoundVolume = 4,
  kOptionMusicVolume = 5,
  kOptionAmbientVolume = 6,
  kOptionAcceleratedCombat = 16,
};

extern int32_t OptionWords[kOptionWordCount];
extern uint8_t WindowedFlag;    // 1 windowed, 0 full screen
extern uint32_t WindowSize;     // 1 "640x480", 2 "960x720 (a)", 3 "960x720 (b)"
extern uint8_t CursorFreeFlag;  // 1 free to leave the window, 0 bound to it
