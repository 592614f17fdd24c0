// The sound maker's pieces: effect recipes, scores, and the files they make.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/source_faults.h"

constexpr int kRate = 22050;

// Stereo float samples, interleaved.
using Stereo = std::vector<float>;

// A fault in a source: its message is "file:line: what" (or "file: what").
struct SourceFault : std::runtime_error {
  using std::runtime_error::runtime_error;
};
// Throws the fault; the tool reports it and stops with status 1.
[[noreturn]] void Fail(const std::string& where, const std::string& what);
// The faults of a source, each reported (common/source_faults.h).
using SoundFaults = SourceFaults<SourceFault>;
std::string ReadTextFile(const std::string& path);
// Splits text into lines with comments (from a '#' after a space to the line's end) removed.
std::vector<std::string> UncommentedLines(const std::string& text);
// The words of a line, cut at its blanks (a damaged byte stays in its word).
std::vector<std::string> Words(const std::string& line);
// A whole number of at most a million either way, read whole (every setting
// lies well inside).
int ParseInt(const std::string& where, const std::string& text);
// Refuses a source line that holds a control byte (a tab is a blank), naming
// the line's first word and quoting the word that holds it.
void CheckLineBytes(const std::string& where, const std::string& line);

// Effects: reads the recipe file and writes one canonical WAV per sound.
// Returns the names written.
std::vector<std::string> MakeEffects(const std::string& recipeFile, const std::string& outFolder);
// The game's sounds in record order, rendered from the recipes' text (in
// the file named): every fault of the recipes is reported, a sound that no
// recipe makes among them, before one is rendered.
std::vector<Stereo> RenderGameSounds(const std::string& recipeFile, const std::string& text);
// Reads recipes from their text (each of one of the game's sounds, though
// not every sound need have one) and renders each (nothing is written);
// returns the sounds, in source order.
std::vector<Stereo> RenderRecipes(const std::string& fileName, const std::string& text);
// The samples as a WAV file's bytes: 16-bit stereo PCM at kRate.
std::vector<uint8_t> WavBytes(const Stereo& samples);

// Music: reads every score in the folder, writes "<n>.mid" for scores whose
// file name starts with a track number, and renders the score named
// "combat" to MP3.
void MakeMusic(const std::string& scoreFolder, const std::string& midiFolder, const std::string& mp3Path);
// One score's text to its standard MIDI file.
std::vector<uint8_t> CompileScore(const std::string& fileName, const std::string& text);
