// The sound tool's score reader: a score it accepts becomes a MIDI file the
// game must read.
#include "fuzz/fuzz_target.h"
#include "platform/audio.h"
#include "soundmaker/soundmaker.h"

GH_FUZZ_TARGET(score) {
  std::vector<uint8_t> midi;
  try {
    midi = CompileScore("score.txt", InputText(data, size));
  } catch (const SourceFault&) {
    return;
  }
  platform::MidiSong* song = platform::ParseMidiSong(midi.data(), midi.size());
  if (!song) FuzzFault("the game refuses a MIDI file the tool wrote");
  platform::FreeMidiSong(song);
}
