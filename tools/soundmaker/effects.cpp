// Sound effects from recipes. A recipe is a "sound" or "loop" line (name,
// length in seconds, optional level) followed by layer lines: a wave and its
// settings. Layers are generated, filtered, shaped and summed; the sum is
// scaled to a common peak. A loop is rendered longer and its tail cross-faded
// into its start, so that it repeats without a seam.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <tuple>
#include <utility>

#include "common/comment_joins.h"
#include "common/shown_bytes.h"
#include "common/source_bytes.h"
#include "common/tool_files.h"
#include "common/refused_lines.h"
#include "soundmaker.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// What a layer's settings may be, each played as it says: a time within the
// longest sound (0 for a len= to the sound's end, no attack, decay or
// release, or a sweep over the layer), an amp= as loud as the loudest
// level=, pitches and cut-offs to 100 kHz, a drive= from the least the
// saturation plays (a smaller one is played as it) up, vibrato and tremolo
// rates to 1000 a second, a vibrato's depth to four octaves, a tremolo's
// from none to the whole sound, a modulation's ratio and index to 100 at most.
constexpr double kLongestSound = 10;
constexpr double kMostAmp = 10;
constexpr double kMostHertz = 100000;
constexpr double kLeastDrive = 0.1, kMostDrive = 100;
constexpr double kMostRate = 1000;
constexpr double kMostVibrato = 48;
constexpr double kMostModulation = 100;

// The game's 57 sound names, in record order.
std::vector<std::string> ExpectedNames() {
  std::vector<std::string> names;
  auto add = [&](const char* stem, int n) {
    for (int i = 1; i <= n; ++i) names.push_back(std::string(stem) + "_" + std::to_string(i));
  };
  add("Miss", 4);
  add("Hit", 7);
  add("Ambient", 15);
  names.push_back("Experience");
  add("Interface", 2);
  add("Magic", 24);
  for (const char* n : {"Writing", "Campfire", "LevelUp", "DropCoin"}) names.push_back(n);
  return names;
}

struct Random {
  uint64_t s;
  explicit Random(uint64_t seed) : s(seed * 0x9E3779B97F4A7C15ull + 0x1234567ull) {}
  uint64_t Next() {
    s ^= s << 13;
    s ^= s >> 7;
    s ^= s << 17;
    return s;
  }
  double Unit() { return (Next() >> 11) * (1.0 / 9007199254740992.0); }  // 0..1
  double Signed() { return Unit() * 2.0 - 1.0; }
};

uint64_t Hash(const std::string& s) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
  return h;
}

// A recipe as it is read, with what its lines were.
struct ReadRecipe {
  SoundRecipe recipe;
  int line = 0;
  bool refused = false;  // its sound line was refused
  bool layered = false;  // a layer line follows it, read or refused
};

std::vector<double> Numbers(const std::string& where, const std::string& text) {
  std::vector<double> out;
  size_t start = 0;
  for (;;) {
    const size_t colon = text.find(':', start);
    out.push_back(ParseNumber(where, text.substr(start, colon - start)));
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  return out;
}

SoundSweep ParseSweep(const std::string& where, const std::string& text) {
  const auto v = Numbers(where, text);
  if (v.size() > 2) Fail(where, "a sweep has one or two values: " + QuotedBytes(text));
  SoundSweep s;
  s.from = v[0];
  s.to = v.size() > 1 ? v[1] : v[0];
  s.set = true;
  return s;
}

bool IsWave(const std::string& word) {
  static const std::set<std::string> waves = {"sine", "tri", "square", "saw", "noise", "dust", "fm"};
  return waves.count(word) > 0;
}

SoundLayer ParseLayer(const std::string& where, const std::vector<std::string>& words) {
  SoundLayer l;
  l.wave = words[0];
  if (!IsWave(l.wave)) Fail(where, "unknown wave " + QuotedBytes(l.wave));
  for (size_t i = 1; i < words.size(); ++i) {
    const auto eq = words[i].find('=');
    const std::string key = words[i].substr(0, eq);
    const std::string value = eq == std::string::npos ? "" : words[i].substr(eq + 1);
    if (key == "wide" && eq == std::string::npos) {
      l.wide = true;
      continue;
    }
    if (eq == std::string::npos) Fail(where, "expected key=value, found " + QuotedBytes(words[i]));
    // rate:depth, each within its range.
    auto pair = [&](const char* what, double* a, double* b, double depthHigh) {
      const auto v = Numbers(where, value);
      if (v.size() != 2) Fail(where, key + " takes two values a:b");
      NeedRange(where, std::string(what) + "'s rate", v[0], 0, kMostRate);
      NeedRange(where, std::string(what) + "'s depth", v[1], 0, depthHigh);
      *a = v[0];
      *b = v[1];
    };
    // A time in seconds, within the longest sound.
    auto seconds = [&](double* out) {
      *out = ParseNumber(where, value);
      NeedRange(where, key + "=", *out, 0, kLongestSound);
    };
    if (key == "at") seconds(&l.at);
    else if (key == "len") seconds(&l.len);
    else if (key == "amp") {
      l.amp = ParseNumber(where, value);
      NeedRange(where, "amp=", l.amp, 0, kMostAmp);
    } else if (key == "f") l.freq = ParseSweep(where, value);
    else if (key == "lp") l.lp = ParseSweep(where, value);
    else if (key == "hp") l.hp = ParseSweep(where, value);
    else if (key == "bp") l.bp = ParseSweep(where, value);
    else if (key == "drive") l.drive = ParseSweep(where, value);
    else if (key == "q") l.q = ParseNumber(where, value);
    else if (key == "attack") seconds(&l.attack);
    else if (key == "decay") seconds(&l.decay);
    else if (key == "release") seconds(&l.release);
    else if (key == "sweep") seconds(&l.sweepTime);
    else if (key == "vib") pair("a vibrato", &l.vibRate, &l.vibDepth, kMostVibrato);
    else if (key == "trem") pair("a tremolo", &l.tremRate, &l.tremDepth, 1);
    else if (key == "rate") {
      l.rate = ParseNumber(where, value);
      NeedRange(where, "rate=", l.rate, 0, kRate);
    } else if (key == "pan") {
      // From the left (-1) to the right (1): a pan past a side is no place.
      l.pan = ParseNumber(where, value);
      NeedRange(where, "pan=", l.pan, -1, 1);
    } else if (key == "seed") {
      l.seed = ParseInt(where, "seed=", value, 0, 9999);
    }
    else if (key == "mod") {
      const auto v = Numbers(where, value);
      if (v.size() < 2 || v.size() > 3) Fail(where, "mod takes ratio:index[:index at end]");
      NeedRange(where, "a modulation's ratio", v[0], 0, kMostModulation);
      for (size_t k = 1; k < v.size(); ++k) NeedRange(where, "a modulation's index", v[k], 0, kMostModulation);
      l.modRatio = v[0];
      l.modIndex = v[1];
      l.modIndexEnd = v.size() > 2 ? v[2] : v[1];
    } else if (key == "repeat") {
      const auto v = Numbers(where, value);
      if (v.size() < 2 || v.size() > 3 || v[0] < 1) Fail(where, "repeat takes count:gap[:jitter]");
      NeedRange(where, "a repeat's count", v[0], 1, 100);
      l.repeat = static_cast<int>(v[0]);
      l.gap = v[1];
      l.jitter = v.size() > 2 ? v[2] : 0;
    } else {
      Fail(where, "unknown setting " + QuotedBytes(key));
    }
  }
  // Times lie within the longest sound; counts and rates stay small.
  NeedRange(where, "a repeat's gap", l.gap, 0, kLongestSound);
  NeedRange(where, "a repeat's jitter", l.jitter, 0, kLongestSound);
  for (const auto& [key, sweep, low, high] :
       {std::tuple{"f=", &l.freq, 0.0, kMostHertz}, std::tuple{"lp=", &l.lp, 0.0, kMostHertz},
        std::tuple{"hp=", &l.hp, 0.0, kMostHertz}, std::tuple{"bp=", &l.bp, 0.0, kMostHertz},
        std::tuple{"drive=", &l.drive, kLeastDrive, kMostDrive}})
    if (sweep->set) {
      NeedRange(where, key, sweep->from, low, high);
      NeedRange(where, key, sweep->to, low, high);
    }
  const bool tonal = l.wave != "noise" && l.wave != "dust";
  if (tonal && !l.freq.set) Fail(where, "wave " + QuotedBytes(l.wave) + " needs f=");
  if (l.wave == "fm" && l.modRatio <= 0) Fail(where, "fm needs mod=ratio:index");
  if (l.q <= 0.05) Fail(where, "q must be above 0.05");
  return l;
}

// The state-variable filter (trapezoidal form), stable under sweeps.
struct Filter {
  double ic1 = 0, ic2 = 0;
  // kind 0 low pass, 1 high pass, 2 band pass
  double Run(double x, double cutoff, double q, int kind) {
    cutoff = std::clamp(cutoff, 10.0, kRate * 0.45);
    const double g = std::tan(kPi * cutoff / kRate);
    const double k = 1.0 / q;
    const double a1 = 1.0 / (1.0 + g * (g + k));
    const double a2 = g * a1;
    const double a3 = g * a2;
    const double v3 = x - ic2;
    const double v1 = a1 * ic1 + a2 * v3;
    const double v2 = ic2 + a2 * ic1 + a3 * v3;
    ic1 = 2 * v1 - ic1;
    ic2 = 2 * v2 - ic2;
    if (kind == 0) return v2;
    if (kind == 1) return x - k * v1 - v2;
    return v1 * k;  // unity gain at the centre
  }
};

// Renders one pass of a layer into `out` (mono) from sample `offset`.
void RenderLayer(const SoundLayer& l, double len, Random& rng, double ampScale, std::vector<double>& out, size_t offset) {
  const size_t n = static_cast<size_t>(len * kRate);
  const double sweep = l.sweepTime > 0 ? l.sweepTime : len;
  const double release = l.release;
  Filter lowPass, highPass, bandPass;
  double phase = 0, modPhase = 0;
  const std::string& w = l.wave;
  const int kind = w == "sine" ? 0 : w == "tri" ? 1 : w == "square" ? 2 : w == "saw" ? 3 : w == "noise" ? 4 : w == "dust" ? 5 : 6;
  for (size_t i = 0; i < n && offset + i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    double f = l.freq.At(t, sweep);
    if (l.vibRate > 0) f *= std::pow(2.0, l.vibDepth / 12.0 * std::sin(2 * kPi * l.vibRate * t));
    double v = 0;
    if (kind == 0) {
      v = std::sin(2 * kPi * phase);
    } else if (kind == 1) {
      v = 4 * std::fabs(phase - 0.5) - 1;
    } else if (kind == 2) {
      v = phase < 0.5 ? 1 : -1;
    } else if (kind == 3) {
      v = 2 * phase - 1;
    } else if (kind == 4) {
      v = rng.Signed();
    } else if (kind == 5) {
      v = rng.Unit() < l.rate / kRate ? rng.Signed() * (0.3 + 0.7 * rng.Unit()) : 0;
    } else if (kind == 6) {
      const double x = len > 0 ? t / len : 0;
      const double index = l.modIndex + (l.modIndexEnd - l.modIndex) * x;
      v = std::sin(2 * kPi * phase + index * std::sin(2 * kPi * modPhase));
      modPhase += f * l.modRatio / kRate;
      modPhase -= std::floor(modPhase);
    }
    phase += f / kRate;
    phase -= std::floor(phase);
    if (l.hp.set) v = highPass.Run(v, l.hp.At(t, sweep), l.q, 1);
    if (l.lp.set) v = lowPass.Run(v, l.lp.At(t, sweep), l.q, 0);
    if (l.bp.set) v = bandPass.Run(v, l.bp.At(t, sweep), l.q, 2);
    if (l.drive.set) {
      const double d = std::max(kLeastDrive, l.drive.At(t, sweep));
      v = std::tanh(v * d) / std::tanh(d);
    }
    double env = 1;
    if (l.attack > 0 && t < l.attack) env = t / l.attack;
    if (l.decay > 0 && t > l.attack) env *= std::exp(-(t - l.attack) / l.decay);
    const double left = len - t;
    if (release > 0 && left < release) env *= left / release;
    if (l.tremRate > 0) env *= 1 - l.tremDepth * 0.5 * (1 + std::sin(2 * kPi * l.tremRate * t));
    out[offset + i] += v * env * l.amp * ampScale;
  }
}

Stereo Render(const SoundRecipe& r) {
  const double fade = r.loop ? std::min(0.5, r.length / 4) : 0;
  const double total = r.length + fade;
  const size_t frames = static_cast<size_t>(total * kRate);
  std::vector<double> left(frames, 0.0), right(frames, 0.0);
  for (size_t li = 0; li < r.layers.size(); ++li) {
    SoundLayer l = r.layers[li];
    if (l.release < 0) l.release = r.loop ? 0 : 0.01;
    const double len = l.len > 0 ? l.len : std::max(0.0, total - l.at);
    Random rng(Hash(r.name) + li * 7919 + static_cast<uint64_t>(l.seed) * 104729);
    for (int k = 0; k < l.repeat; ++k) {
      const double start = l.at + k * l.gap + (k > 0 ? l.jitter * rng.Unit() : 0);
      const double scale = k > 0 && l.jitter > 0 ? 0.7 + 0.3 * rng.Unit() : 1.0;
      if (start >= total) break;
      const size_t offset = static_cast<size_t>(start * kRate);
      std::vector<double> mono(frames, 0.0);
      RenderLayer(l, len, rng, scale, mono, offset);
      std::vector<double> other;
      if (l.wide) {  // the right side gets its own random stream
        other.assign(frames, 0.0);
        Random rng2(rng.Next());
        RenderLayer(l, len, rng2, scale, other, offset);
      }
      const double gl = std::sqrt(0.5 * (1 - l.pan)) * std::sqrt(2.0);
      const double gr = std::sqrt(0.5 * (1 + l.pan)) * std::sqrt(2.0);
      for (size_t i = 0; i < frames; ++i) {
        left[i] += mono[i] * std::min(1.0, gl);
        right[i] += (l.wide ? other[i] : mono[i]) * std::min(1.0, gr);
      }
    }
  }
  size_t outFrames = frames;
  if (r.loop) {
    // Cross-fade the tail into the start: the last frame runs on into the first.
    const size_t body = static_cast<size_t>(r.length * kRate);
    const size_t x = frames - body;
    for (size_t i = 0; i < x; ++i) {
      const double w = static_cast<double>(i) / x;
      const double a = std::sqrt(w), b = std::sqrt(1 - w);
      left[i] = left[i] * a + left[body + i] * b;
      right[i] = right[i] * a + right[body + i] * b;
    }
    outFrames = body;
  }
  double peak = 1e-9;
  for (size_t i = 0; i < outFrames; ++i) peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
  const double gain = 0.89 * r.level / peak;
  Stereo out(outFrames * 2);
  for (size_t i = 0; i < outFrames; ++i) {
    out[i * 2] = static_cast<float>(left[i] * gain);
    out[i * 2 + 1] = static_cast<float>(right[i] * gain);
  }
  return out;
}

// The name of the sound a line begins whose words may begin with "sound" or
// "loop" (`keyword`): its second word, or what follows the damaged blank of
// "sound\x00Miss_1".
std::string SoundNameOf(const std::vector<std::string>& words, const std::string& keyword) {
  if (words[0].size() > keyword.size() && words[0].compare(0, keyword.size(), keyword) == 0)
    return words[0].substr(keyword.size() + 1);
  return words.size() > 1 ? words[1] : "";
}

// The keyword of a sound line that `words` may begin, or none.
std::string SoundKeyword(const std::vector<std::string>& words) {
  if (words.empty()) return "";
  if (MayBeginWithWord(words[0], "sound")) return "sound";
  if (MayBeginWithWord(words[0], "loop")) return "loop";
  return "";
}

// Reads a sound or loop line's words into *r: whether it loops, its length,
// its level and its name (r->name as the line names it), one of the game's
// sounds. A sound refused for its name may have been meant for any sound:
// its name is then none.
void ReadHeading(const std::string& where, const std::vector<std::string>& words, SoundRecipe* r) {
  const size_t unshown = UnshownByte(words[0], false);
  if (unshown != std::string::npos) Fail(where, UnshownByteMessage("", words[0], unshown));
  if (words.size() < 3) Fail(where, "expected '" + words[0] + " <name> <seconds> [level=x]'");
  r->loop = words[0] == "loop";
  r->length = ParseNumber(where, words[2]);
  if (r->length <= 0 || r->length > 10) Fail(where, "a length of 0 to 10 seconds");
  for (size_t w = 3; w < words.size(); ++w) {
    if (words[w].rfind("level=", 0) != 0) Fail(where, "unknown setting " + QuotedBytes(words[w]));
    r->level = ParseNumber(where, words[w].substr(6));
    NeedRange(where, "level=", r->level, 0, 10);
  }
  const std::string name = std::exchange(r->name, "");
  const auto expected = ExpectedNames();
  if (std::find(expected.begin(), expected.end(), name) == expected.end())
    Fail(where, QuotedBytes(name) + " is not one of the game's sounds");
  r->name = name;
}

// Whether words read as a whole line of the recipes, one a comment may hold
// joined to it (common/comment_joins.h): a sound or loop line of one of the
// game's sounds (`glued` to the comment's text, as a line written at the
// start of its line is), or a layer with its settings (a wave alone may be
// a word of a comment: "# white noise").
bool IsRecipeLine(const std::vector<std::string>& words, bool glued) {
  if (words.size() < 2) return false;
  try {
    if (words[0] == "sound" || words[0] == "loop") {
      if (!glued) return false;
      SoundRecipe r;
      r.name = words[1];
      ReadHeading("", words, &r);
      return true;
    }
    if (!IsWave(words[0])) return false;
    (void)ParseLayer("", words);
    return true;
  } catch (const SourceFault&) {
    return false;
  }
}

// The recipes, every line read: each fault is kept in *faults. A line whose
// first word may be "sound" or "loop", itself or with the blank after it
// damaged (common/shown_bytes.h), begins a sound though it is refused, and
// the layers after it are read into it for their own faults; so does a
// refused line whose first word is no wave (a sound line whose words were
// damaged past knowing, which may have been any sound), and one whose
// damaged byte may stand for a line end before a sound line
// (common/refused_lines.h). A comment that holds a line joined to it is
// refused, and the line it holds counts as refused; so is a sound or loop
// line written out of use before its layers.
std::vector<ReadRecipe> ParseRecipes(const std::string& file, const std::string& text, SoundFaults* faults) {
  std::vector<ReadRecipe> recipes;
  // A sound begun by a line, refused until the line is read whole.
  auto begin = [&](int line, const std::string& name) {
    ReadRecipe& r = recipes.emplace_back();
    r.line = line;
    r.refused = true;
    r.recipe.name = name;
  };
  // A sound or loop line written out of use ("#sound Miss_1 0.28"), whose
  // layers would be read into the sound before it: the first of them
  // refuses its line and is read into a sound begun there.
  int outOfUseLine = 0;
  std::string outOfUse;
  for (const SoundLine& line : SoundLines(text, IsRecipeLine)) {
    const std::string where = file + ":" + std::to_string(line.number);
    ReadingAt(file, line.number);
    const auto words = Words(line.line.text);
    const std::string keyword = SoundKeyword(words);
    if (words.empty() || !keyword.empty()) outOfUseLine = 0;
    if (words.empty() && !line.joined) {
      outOfUse = HeadingOutOfUse(line.line.comment, {"sound", "loop"}, [](std::string_view h) {
        const std::vector<std::string> w = LineWords(h.substr(0, h.find(" #")));
        return !w.empty() && (w[0] == "sound" || w[0] == "loop") && IsRecipeLine(w, true);
      });
      if (!outOfUse.empty()) outOfUseLine = line.number;
    } else if (outOfUseLine > 0) {
      faults->Keep([&] {
        Fail(file + ":" + std::to_string(outOfUseLine),
             OutOfUseMessage(TrimBlanks(outOfUse.substr(0, outOfUse.find(" #"))),
                             "the lines after it would be read in the sound before it"));
      });
      const std::vector<std::string> heading = LineWords(outOfUse.substr(0, outOfUse.find(" #")));
      begin(outOfUseLine, SoundNameOf(heading, heading[0]));
      outOfUseLine = 0;
    }
    if (!keyword.empty()) begin(line.number, SoundNameOf(words, keyword));
    else if (!words.empty() && !recipes.empty()) recipes.back().layered = true;
    const bool read = !line.joined && faults->Keep([&] {
      CheckLineBytes(where, line.line);
      if (words.empty()) return;
      if (!keyword.empty()) {
        ReadHeading(where, words, &recipes.back().recipe);
        std::string& name = recipes.back().recipe.name;
        for (size_t k = 0; k + 1 < recipes.size(); ++k)
          if (recipes[k].recipe.name == name) Fail(where, QuotedBytes(std::exchange(name, "")) + " is made twice");
        recipes.back().refused = false;
        return;
      }
      if (recipes.empty()) Fail(where, "a layer before any sound");
      recipes.back().recipe.layers.push_back(ParseLayer(where, words));
    });
    if (read && !line.joinFault.empty()) faults->Keep([&] { Fail(where, line.joinFault); });
    if (read) continue;
    if (keyword.empty() && !words.empty() && !IsWave(words[0])) begin(line.number, "");
    for (const char* word : {"sound", "loop"})
      if (std::vector<std::string> joined; MayJoinLine(line.line.text, line.line.comment, {word, 3, 4}, &joined))
        begin(line.number, SoundNameOf(joined, word));
  }
  ReadingAt(file, 0);
  for (const ReadRecipe& r : recipes)
    if (!r.refused && !r.layered)
      faults->Keep([&] { Fail(file + ":" + std::to_string(r.line), QuotedBytes(r.recipe.name) + " has no layers"); });
  return recipes;
}

}  // namespace

std::vector<SoundRecipe> ReadGameRecipes(const std::string& recipeFile, const std::string& text) {
  SoundFaults faults;
  const auto recipes = ParseRecipes(recipeFile, text, &faults);
  const auto expected = ExpectedNames();
  std::map<std::string, const SoundRecipe*> byName;
  for (const auto& r : recipes) byName.emplace(r.recipe.name, &r.recipe);
  // A sound missing is a fault between lines, found only when no line was
  // refused: a refused line may have been its sound line (as LineFaults,
  // common/source_faults.h, takes such faults).
  const bool refused = faults.Any();
  for (const auto& name : expected)
    if (!refused && !byName.count(name)) faults.Keep([&] { Fail(recipeFile, "no recipe for '" + name + "'"); });
  faults.Throw();
  std::vector<SoundRecipe> game;
  for (const auto& name : expected) game.push_back(*byName[name]);
  return game;
}

std::vector<Stereo> RenderGameSounds(const std::string& recipeFile, const std::string& text) {
  std::vector<Stereo> sounds;
  for (const SoundRecipe& r : ReadGameRecipes(recipeFile, text)) sounds.push_back(Render(r));
  return sounds;
}

std::vector<std::string> MakeEffects(const std::string& recipeFile, const std::string& outFolder) {
  const std::vector<Stereo> sounds = RenderGameSounds(recipeFile, ReadTextFile(recipeFile));
  const auto expected = ExpectedNames();
  OutputFiles files;
  for (size_t i = 0; i < expected.size(); ++i) {
    const std::string path = outFolder + "/" + expected[i] + ".wav";
    if (const std::string fault = files.Write(path, WavBytes(sounds[i])); !fault.empty()) throw SourceFault(fault);
  }
  if (const std::string fault = files.Commit(); !fault.empty()) throw SourceFault(fault);
  return expected;
}

std::vector<Stereo> RenderRecipes(const std::string& fileName, const std::string& text) {
  SoundFaults faults;
  const auto recipes = ParseRecipes(fileName, text, &faults);
  faults.Throw();
  std::vector<Stereo> sounds;
  for (const ReadRecipe& r : recipes) sounds.push_back(Render(r.recipe));
  return sounds;
}
