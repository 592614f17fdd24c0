// The sound maker's pieces: effect recipes, scores, and the files they make.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/refused_lines.h"
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
// A line of the recipes or a score as it is read: its number, its text cut
// at its comment (from a '#' at the line's start or after a blank to its
// end; a sharp follows its note letter directly), and, for a comment that
// holds a whole line of the source joined to it (`isLine` of that line's
// words tells, and whether they follow a byte of the comment that is no
// blank), the comment's fault; the line it held follows it, at its number,
// `joined` (common/comment_joins.h).
struct SoundLine {
  int number = 0;
  CommentedLine line;
  std::string joinFault;
  bool joined = false;
};
using IsSoundLine = std::function<bool(const std::vector<std::string>& words, bool glued)>;
std::vector<SoundLine> SoundLines(const std::string& text, const IsSoundLine& isLine);
// The words of a line, cut at its blanks (a damaged byte stays in its word).
std::vector<std::string> Words(const std::string& line);
// A whole number of at most a million either way, read whole (every setting
// lies well inside).
int ParseInt(const std::string& where, const std::string& text);
// The same within [low, high], refused outside it with its name and range:
// "vol= is 0 to 127, not 300".
int ParseInt(const std::string& where, const std::string& name, const std::string& text, int low, int high);
// A decimal number of at most a million either way, read whole (common/
// source_decimals.h): every setting lies well inside, and none can become
// infinite or overflow a count.
double ParseNumber(const std::string& where, const std::string& text);
// Refuses a value outside [low, high] with its name and range: "pan= is -1
// to 1, not 5".
void NeedRange(const std::string& where, const std::string& name, double v, double low, double high);
// Refuses a source line that holds a byte no line may hold, its comment
// too (common/refused_lines.h `RefusedLineFault`).
void CheckLineBytes(const std::string& where, const CommentedLine& line);

// A value of a sound's layer that may sweep: "a" or "a:b" (exponential from
// a to b over the sweep time).
struct SoundSweep {
  double from = 0, to = 0;
  bool set = false;
  double At(double t, double span) const {
    if (!set) return 0;
    if (from == to || span <= 0) return from;
    const double x = std::clamp(t / span, 0.0, 1.0);
    if (from > 0 && to > 0) return from * std::pow(to / from, x);
    return from + (to - from) * x;
  }
  bool operator==(const SoundSweep&) const = default;
};

// One layer of a sound: a wave and its settings.
struct SoundLayer {
  std::string wave;
  double at = 0, len = -1, amp = 0.5;
  SoundSweep freq, lp, hp, bp, drive;
  double q = 0.7;
  double attack = 0.002, decay = 0, release = -1, sweepTime = -1;
  double vibRate = 0, vibDepth = 0, tremRate = 0, tremDepth = 0;
  double modRatio = 0, modIndex = 0, modIndexEnd = -1;
  double rate = 30;  // dust: impulses per second
  int repeat = 1;
  double gap = 0.1, jitter = 0;
  double pan = 0;
  bool wide = false;
  int seed = 0;
  bool operator==(const SoundLayer&) const = default;
};

// A sound's recipe: what its sound or loop line and its layers say.
struct SoundRecipe {
  std::string name;
  bool loop = false;
  double length = 0;
  double level = 1.0;
  std::vector<SoundLayer> layers;
  bool operator==(const SoundRecipe&) const = default;
};

// Effects: reads the recipe file and writes one canonical WAV per sound.
// Returns the names written.
std::vector<std::string> MakeEffects(const std::string& recipeFile, const std::string& outFolder);
// The recipes of the game's sounds in record order, read from their text
// (in the file named): every fault of the recipes is reported, a sound that
// no recipe makes among them.
std::vector<SoundRecipe> ReadGameRecipes(const std::string& recipeFile, const std::string& text);
// The same, rendered.
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
