// The steps of start-up and shutdown that bring one subsystem up or down.
#pragma once
#include <cstdint>

// How long start-up waits for the window to come to the front.
constexpr uint32_t kForegroundWaitMs = 2000;

// 1 once start-up has read the settings (shutdown only writes them then).
extern uint8_t SettingsLoaded;
// 1 once start-up has kept the system mouse speed (shutdown gives it back).
extern uint8_t MouseSpeedKept;

int StartSteamClients();
void StopSteamClients();
// The sound device, its 32 channels and the sound files; 0 after its message.
int StartSound();
void StartMusic();
// The 66 sprite sheets; 0 after its message.
int StartSpriteSheets();
// The item, spell and prepared crafted-item tables; 0 after the loader's message.
int StartRecordTables();
void ClearRegionGrid();
// Input devices, the mouse speed, the cursor and the joystick; 0 after its message.
int StartInputDevices();
// Keeps the playing MIDI track's position and stops it (shutdown's first step).
void StopMusicKeepingItsPlace();
// Releases the MP3 player, the music objects, the sound channels and samples.
void StopMusicAndSound();
void StopInputDevices();
void StopSpriteSheets();
