// Background music: MIDI tracks with remembered positions and the MP3 track.
#pragma once

// Sets the music level from a volume of 0 to 100; 1 on success.
int SetMusicVolume(int volume);
