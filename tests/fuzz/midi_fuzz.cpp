// MIDI files: read, then played through the mixer for a while (looping),
// with the music position worked out as the game asks for it.
#include <vector>

#include "engine/music.h"
#include "fuzz/fuzz_target.h"
#include "platform/audio.h"
#include "platform/system.h"

GH_FUZZ_TARGET(midi) {
  static const bool ready = platform::InitPlatform() && platform::OpenAudio() && platform::OpenMidiSynth();
  if (!ready) FuzzFault("no headless audio");
  platform::MidiSong* song = platform::ParseMidiSong(data, size);
  if (!song) return;
  platform::PlayMidiSong(song, 0, 3);
  std::vector<int16_t> out(4096 * 2);
  for (int pass = 0; pass < 4; ++pass) {
    platform::CaptureAudio(out.data(), 4096);
    (void)MusicLoopPosition(platform::MidiMusicTime(), platform::MidiStartTime(), 0, 0, 0,
                            platform::MidiSongLength(song), 3);
  }
  platform::FreeMidiSong(song);
}
