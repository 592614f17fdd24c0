// Shared between the audio sources of the platform layer only.
#pragma once
#include <mutex>

namespace platform {

// One lock guards the buffers, the MIDI player and the MP3 stream; the mixer
// holds it while it mixes a step.
std::mutex& AudioLock();

// Called by the mixer with the lock held: add `frames` stereo frames of music
// into `mix` (interleaved floats, full scale 1.0).
void MixMidi(float* mix, int frames);
void MixMp3(float* mix, int frames);

}  // namespace platform
