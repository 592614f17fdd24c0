// Scores to standard MIDI files, and the combat score to MP3.
//
// A score has a title, a tempo, a meter (quarter notes to the bar), a count of
// bars and parts. A part names its MIDI channel, General MIDI program and
// mix, then lists notes: "c4" .. "b7" with '#' or 'b', a duration in
// sixteenths after ':' (kept until changed), chords joined with '+', "r" a
// rest, "v90" a new velocity, '|' a bar line (checked), "[ ... ]x2" a
// repeat. Drum names (kick, snare, hat, ...) or "n38" give raw keys. Every
// part must fill the bars exactly, so that the track loops on the bar.
#include <fluidsynth.h>
#include <lame/lame.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>

#include "common/comment_joins.h"
#include "common/shown_bytes.h"
#include "common/source_bytes.h"
#include "common/tool_files.h"
#include "platform/audio.h"
#include "common/refused_lines.h"
#include "soundmaker.h"

namespace {

constexpr int kDivision = 96;             // ticks to the quarter note
constexpr int kTicksPerSixteenth = kDivision / 4;
// Tempos in beats a minute: the slowest the game plays, up to 400.
constexpr int kSlowestTempo = static_cast<int>(60000000u / platform::kMidiSlowestTempo);
constexpr int kFastestTempo = 400;
static_assert(60000000u / kFastestTempo >= platform::kMidiFastestTempo);
// The most words a part's repeats may unfold to, and the longest combat
// score (it is rendered whole, twice over, to the MP3).
constexpr size_t kMostUnfoldedWords = 100000;
constexpr int kLongestCombatScore = 600;

struct Note {
  int start = 0, length = 0;  // ticks
  int key = 0, velocity = 0;
};

struct Part {
  std::string name;
  int channel = 0, program = 0, volume = 100, pan = 64, reverb = 40, velocity = 90;
  double legato = 0.92;
  std::vector<Note> notes;
  // Whether its bars are checked: not after a fault of the part or the
  // score's length, which would put every later bar line out.
  bool timed = true;
};

struct Score {
  std::string file, title;
  int tempo = 120, meter = 4, bars = 0;
  std::vector<Part> parts;
  int Ticks() const { return bars * meter * kDivision; }
};

int DrumKey(const std::string& name) {
  static const std::map<std::string, int> drums = {
      {"kick", 36}, {"snare", 38}, {"clap", 39}, {"hat", 42}, {"ohat", 46},  {"crash", 49}, {"ride", 51},
      {"toml", 45}, {"tomm", 47},  {"tomh", 50}, {"tamb", 54}, {"stick", 37}, {"bell", 53},  {"shaker", 70}};
  const auto it = drums.find(name);
  return it == drums.end() ? -1 : it->second;
}

// "c4" -> 60; -1 when the word is not a pitch.
int PitchKey(const std::string& word) {
  static const int steps[7] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
  if (word.size() < 2 || word[0] < 'a' || word[0] > 'g') return -1;
  int key = steps[word[0] - 'a'];
  size_t i = 1;
  if (word[i] == '#') ++key, ++i;
  else if (word[i] == 'b' && i + 1 < word.size()) --key, ++i;
  if (i + 1 != word.size() || word[i] < '0' || word[i] > '9') return -1;
  return key + (word[i] - '0' + 1) * 12;
}

int NoteKey(const std::string& where, const std::string& word) {
  if (word.size() > 1 && word[0] == 'n' && std::isdigit(static_cast<unsigned char>(word[1]))) {
    const int k = ParseInt(where, word.substr(1));
    if (k < 0 || k > 127) Fail(where, "key out of range: " + QuotedBytes(word));
    return k;
  }
  int k = PitchKey(word);
  if (k < 0) k = DrumKey(word);
  if (k < 0 || k > 127) Fail(where, QuotedBytes(word) + " is not a note");
  return k;
}

// Expands "[ ... ]xN" groups.
std::vector<std::string> Expand(const std::string& where, const std::vector<std::string>& words, size_t* i, bool inner) {
  std::vector<std::string> out;
  while (*i < words.size()) {
    const std::string& w = words[(*i)++];
    if (w == "[") {
      auto group = Expand(where, words, i, true);
      if (*i > words.size() || words[*i - 1].rfind("]x", 0) != 0) Fail(where, "'[' without ']xN'");
      const int n = ParseInt(where, words[*i - 1].substr(2));
      if (n < 1 || n > 64) Fail(where, "repeat count out of range");
      if (out.size() + group.size() * n > kMostUnfoldedWords)
        Fail(where, "the repeats unfold to more than " + std::to_string(kMostUnfoldedWords) + " words");
      for (int k = 0; k < n; ++k) out.insert(out.end(), group.begin(), group.end());
    } else if (w.rfind("]x", 0) == 0) {
      if (!inner) Fail(where, "']' without '['");
      return out;
    } else {
      out.push_back(w);
    }
  }
  if (inner) Fail(where, "'[' without ']xN'");
  return out;
}

void ParseNotes(const std::string& where, const std::string& text, const Score& score, Part* part, int* tick,
                int* duration) {
  std::vector<std::string> raw = Words(text);
  size_t i = 0;
  const auto words = Expand(where, raw, &i, false);
  const int bar = score.meter * kDivision;
  for (const auto& w : words) {
    if (w == "|") {
      if (part->timed && *tick % bar != 0)
        Fail(where, "bar line " + std::to_string(*tick / bar + 1) + " of part " + QuotedBytes(part->name) + " falls inside a bar");
      continue;
    }
    if (w.size() > 1 && w[0] == 'v' && std::isdigit(static_cast<unsigned char>(w[1]))) {
      part->velocity = ParseInt(where, "a velocity", w.substr(1), 1, 127);
      continue;
    }
    std::string body = w;
    const auto colon = w.find(':');
    if (colon != std::string::npos) {
      const int sixteenths = ParseInt(where, w.substr(colon + 1));
      if (sixteenths <= 0) Fail(where, "a duration must be positive: " + QuotedBytes(w));
      *duration = sixteenths * kTicksPerSixteenth;
      body = w.substr(0, colon);
    }
    if (part->timed && *duration > score.Ticks() - *tick)
      Fail(where, "part " + QuotedBytes(part->name) + " runs past the score's " + std::to_string(score.bars) + " bars");
    if (body != "r") {
      size_t start = 0;
      for (;;) {
        const size_t plus = body.find('+', start);
        Note n;
        n.start = *tick;
        n.length = std::max(1, static_cast<int>(*duration * part->legato));
        n.key = NoteKey(where, body.substr(start, plus - start));
        n.velocity = part->velocity;
        if (part->timed) part->notes.push_back(n);
        if (plus == std::string::npos) break;
        start = plus + 1;
      }
    }
    if (part->timed) *tick += *duration;
  }
}

// The lowest and highest value of a tempo, meter or bars line.
std::pair<int, int> LengthRange(const std::string& key) {
  return key == "tempo" ? std::pair{kSlowestTempo, kFastestTempo} : std::pair{1, 400};
}

// Reads a part line's settings (its words after the name) into *part.
void ReadPartSettings(const std::string& where, const std::vector<std::string>& words, Part* part) {
  for (size_t w = 2; w < words.size(); ++w) {
    const auto eq = words[w].find('=');
    if (eq == std::string::npos) Fail(where, "expected key=value: " + QuotedBytes(words[w]));
    const std::string k = words[w].substr(0, eq), v = words[w].substr(eq + 1);
    if (k == "ch") part->channel = ParseInt(where, "ch=", v, 0, 15);
    else if (k == "prog") part->program = ParseInt(where, "prog=", v, 0, 127);
    else if (k == "vol") part->volume = ParseInt(where, "vol=", v, 0, 127);
    else if (k == "pan") part->pan = ParseInt(where, "pan=", v, 0, 127);
    else if (k == "rev") part->reverb = ParseInt(where, "rev=", v, 0, 127);
    else if (k == "vel") part->velocity = ParseInt(where, "vel=", v, 1, 127);
    // A note sounds for at most its whole length, so that it ends inside the score.
    else if (k == "legato") part->legato = ParseInt(where, "legato=", v, 1, 100) / 100.0;
    else Fail(where, "unknown part setting " + QuotedBytes(k));
  }
}

// Whether words read as a whole line of a score, one a comment may hold
// joined to it (common/comment_joins.h): notes with a bar line among them,
// a title, tempo, meter or bars line of a score that holds none of its own
// (`given`: a comment may speak of its title, "# the main theme (title and
// menus)"; a score that lacks one lost it, glued to the comment's text or
// after a blank), or, `glued` to the comment's text as a line written at
// the start of its line is, a part line with its settings.
bool IsScoreLine(const std::vector<std::string>& words, bool glued, const std::set<std::string>& given) {
  if (words.size() < 2) return false;
  const std::string& key = words[0];
  if (key == "part" && !glued) return false;
  try {
    if (key == "title") {
      std::string title;
      for (size_t w = 1; w < words.size(); ++w) title += (w > 1 ? " " : "") + words[w];
      return !given.count(key) && UnshownByte(title, false) == std::string::npos;
    }
    if (key == "tempo" || key == "meter" || key == "bars") {
      const auto [low, high] = LengthRange(key);
      return !given.count(key) && words.size() == 2 && (ParseInt("", key, words[1], low, high), true);
    }
    if (key == "part") {
      Part part;
      if (words.size() < 3 || UnshownByte(words[1], false) != std::string::npos) return false;
      ReadPartSettings("", words, &part);
      return true;
    }
    if (std::find(words.begin(), words.end(), "|") == words.end()) return false;
    Score score;
    score.bars = 1;
    Part part;
    part.timed = false;
    int tick = 0, duration = kDivision;
    std::string line;
    for (const std::string& w : words) line += w + " ";
    ParseNotes("", line, score, &part, &tick, &duration);
    return true;
  } catch (const SourceFault&) {
    return false;
  }
}

// A score, every line read: each fault is reported (see SoundFaults).
Score ParseScore(const std::string& file, const std::string& text) {
  Score s;
  s.file = file;
  // The heading lines the score holds, by the word they may begin with: a
  // comment holds such a line joined to it only when the score holds none.
  std::set<std::string> given;
  for (const SoundLine& line : SoundLines(text, [](const std::vector<std::string>&, bool) { return false; })) {
    const auto words = Words(line.line.text);
    for (const char* word : {"title", "tempo", "meter", "bars"})
      if (!words.empty() && MayBeginWithWord(words[0], word)) given.insert(word);
  }
  const auto lines =
      SoundLines(text, [&](const std::vector<std::string>& words, bool glued) { return IsScoreLine(words, glued, given); });
  std::set<std::string> headings;  // the title, tempo, meter and bars lines read
  int tick = 0, duration = kDivision;
  SoundFaults faults;
  bool lengthRefused = false;  // a tempo, meter or bars line refused: no part is timed
  bool partMayBegin = false;   // a line before the parts refused: it may have been a part line
  // The length of the part read last, checked as the next part or the score ends.
  auto PartEnds = [&](const std::string& where) {
    if (s.parts.empty() || !s.parts.back().timed || tick == s.Ticks()) return;
    faults.Keep([&] {
      Fail(where, "part " + QuotedBytes(s.parts.back().name) + " lasts " + std::to_string(tick / kTicksPerSixteenth) +
                      " sixteenths, the score " + std::to_string(s.Ticks() / kTicksPerSixteenth));
    });
  };
  for (const SoundLine& sourceLine : lines) {
    const std::string where = file + ":" + std::to_string(sourceLine.number);
    ReadingAt(file, sourceLine.number);
    const std::string& line = sourceLine.line.text;
    const auto words = Words(line);
    // A refused line counts as what its first word may be, itself or with
    // the blank after it damaged (common/shown_bytes.h): a tempo, meter or
    // bars line refused before the parts leaves them untimed, a part line
    // begins a part, and any other line of a part is its notes.
    const std::string head = words.empty() ? "" : words[0];
    const bool partLine = MayBeginWithWord(head, "part"), titleLine = MayBeginWithWord(head, "title");
    const bool lengthLine =
        MayBeginWithWord(head, "tempo") || MayBeginWithWord(head, "meter") || MayBeginWithWord(head, "bars");
    // Notes before the parts after a refused line, which may have been the
    // first part's, are read into a part begun untimed.
    if (!words.empty() && !partLine && !titleLine && !lengthLine && s.parts.empty() && partMayBegin)
      s.parts.emplace_back().timed = false;
    // A fault of a part's notes, or of the score's length.
    const bool notes = !words.empty() && !partLine && !titleLine && !lengthLine && !s.parts.empty();
    bool length = lengthLine && s.parts.empty();
    if (partLine) {
      PartEnds(where);
      // The notes that follow belong to this part whatever its line's
      // fault; they are timed only when the line is read whole.
      s.parts.emplace_back().timed = false;
      tick = 0;
      duration = kDivision;
    }
    const bool read = !sourceLine.joined && faults.Keep([&] {
      CheckLineBytes(where, sourceLine.line);
      if (words.empty()) return;
      const std::string& key = words[0];
      const size_t unshown = partLine || lengthLine || titleLine ? UnshownByte(key, false) : std::string::npos;
      if (unshown != std::string::npos) Fail(where, UnshownByteMessage("", key, unshown));
      // A score has one title, tempo, meter and bars line each.
      auto once = [&] {
        if (!headings.insert(key).second) Fail(where, "the score has one " + key + " line");
      };
      if (key == "title") {
        once();
        // The text after the word: what the game's fonts show.
        const std::string title = TextAfterFirstWord(line);
        if (title.empty()) Fail(where, "the title has no text");
        const size_t unshown = UnshownByte(title, false);
        if (unshown != std::string::npos) Fail(where, UnshownByteMessage(key, title, unshown));
        // A line end lost after it joins the next line to it: "Village Green tempo 100".
        const size_t held =
            HeldLineAt(title, [&](std::string_view tail) { return IsScoreLine(LineWords(tail), true, given); });
        if (held != std::string::npos) Fail(where, JoinedLineMessage(title, held, "the title"));
        s.title = title;
      } else if (key == "tempo" || key == "meter" || key == "bars") {
        if (!s.parts.empty()) Fail(where, key + " must come before the parts");
        once();
        if (words.size() != 2) Fail(where, key + " takes one number");
        const auto [low, high] = LengthRange(key);
        const int v = ParseInt(where, key, words[1], low, high);
        if (key == "tempo") s.tempo = v;
        if (key == "meter") s.meter = v;
        if (key == "bars") s.bars = v;
      } else if (key == "part") {
        Part& part = s.parts.back();  // begun above
        if (words.size() < 2) Fail(where, "a part needs a name");
        // A name holds what the fonts show, as a word of every source does.
        if (const size_t unshown = UnshownByte(words[1], false); unshown != std::string::npos)
          Fail(where, UnshownByteMessage(key, words[1], unshown));
        part.name = words[1];
        if (!lengthRefused) {
          // A fault of the score's length is the score's: reported at its first part alone.
          length = true;
          if (s.bars == 0) Fail(where, "'bars' must come before the parts");
          const int64_t seconds = int64_t{s.bars} * s.meter * 60 / s.tempo;
          if (seconds > platform::kMidiLongestSong)
            Fail(where, "the score lasts " + std::to_string(seconds) + " seconds, a track at most " +
                            std::to_string(platform::kMidiLongestSong));
          length = false;
        }
        ReadPartSettings(where, words, &part);
        part.timed = !lengthRefused;
      } else {
        if (s.parts.empty()) Fail(where, "notes before any part");
        ParseNotes(where, line, s, &s.parts.back(), &tick, &duration);
      }
    });
    if (read && !sourceLine.joinFault.empty()) faults.Keep([&] { Fail(where, sourceLine.joinFault); });
    // A fault in a part's notes puts its later bar lines out: they are not
    // checked; a fault of the score's length leaves every part untimed.
    if (!read && notes) s.parts.back().timed = false;
    if (!read && length) lengthRefused = true;
    // A refused line before the parts may be a part line or, its first word
    // no other, a length line.
    if (!read && s.parts.empty()) {
      partMayBegin = true;
      if (!titleLine) lengthRefused = true;
    }
    // A refused line may be two, its damaged byte standing for the line end
    // before a part line or a length line (common/refused_lines.h).
    auto joins = [&](const char* word) {
      const bool part = std::string_view(word) == "part";
      return !read && MayJoinLine(line, sourceLine.line.comment, {word, 2, part ? SIZE_MAX : 2});
    };
    if (joins("part")) {
      if (!s.parts.empty()) s.parts.back().timed = false;
      s.parts.emplace_back().timed = false;
    }
    if (s.parts.empty() && (joins("tempo") || joins("meter") || joins("bars"))) lengthRefused = true;
  }
  ReadingAt(file, 0);
  if (s.parts.empty()) faults.Keep([&] { Fail(file, "no parts"); });
  PartEnds(file);
  faults.Throw();
  return s;
}

// ---- Standard MIDI file ----------------------------------------------------

struct Event {
  int tick;
  int order;  // at equal ticks: settings, note-offs, note-ons
  std::vector<uint8_t> bytes;
};

void PutVlq(std::vector<uint8_t>& out, uint32_t v) {
  uint8_t tmp[5];
  int n = 0;
  do {
    tmp[n++] = v & 0x7F;
    v >>= 7;
  } while (v);
  while (n--) out.push_back(static_cast<uint8_t>(tmp[n] | (n ? 0x80 : 0)));
}

std::vector<uint8_t> TrackChunk(std::vector<Event> events, int endTick) {
  std::stable_sort(events.begin(), events.end(),
                   [](const Event& a, const Event& b) { return a.tick != b.tick ? a.tick < b.tick : a.order < b.order; });
  std::vector<uint8_t> body;
  int last = 0;
  for (const auto& e : events) {
    PutVlq(body, static_cast<uint32_t>(e.tick - last));
    body.insert(body.end(), e.bytes.begin(), e.bytes.end());
    last = e.tick;
  }
  PutVlq(body, static_cast<uint32_t>(endTick - last));
  body.insert(body.end(), {0xFF, 0x2F, 0x00});
  std::vector<uint8_t> chunk = {'M', 'T', 'r', 'k'};
  const uint32_t n = static_cast<uint32_t>(body.size());
  chunk.insert(chunk.end(), {uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)});
  chunk.insert(chunk.end(), body.begin(), body.end());
  return chunk;
}

std::vector<Event> PartEvents(const Part& p) {
  const uint8_t ch = static_cast<uint8_t>(p.channel);
  std::vector<Event> ev;
  std::vector<uint8_t> name = {0xFF, 0x03};
  PutVlq(name, static_cast<uint32_t>(p.name.size()));
  name.insert(name.end(), p.name.begin(), p.name.end());
  ev.push_back({0, 0, name});
  ev.push_back({0, 0, {uint8_t(0xC0 | ch), uint8_t(p.program)}});
  ev.push_back({0, 0, {uint8_t(0xB0 | ch), 7, uint8_t(std::clamp(p.volume, 0, 127))}});
  ev.push_back({0, 0, {uint8_t(0xB0 | ch), 10, uint8_t(std::clamp(p.pan, 0, 127))}});
  ev.push_back({0, 0, {uint8_t(0xB0 | ch), 91, uint8_t(std::clamp(p.reverb, 0, 127))}});
  for (const auto& n : p.notes) {
    ev.push_back({n.start, 2, {uint8_t(0x90 | ch), uint8_t(n.key), uint8_t(n.velocity)}});
    ev.push_back({n.start + n.length, 1, {uint8_t(0x80 | ch), uint8_t(n.key), 0}});
  }
  return ev;
}

std::vector<uint8_t> MidiFile(const Score& s) {
  std::vector<uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
  const int tracks = static_cast<int>(s.parts.size()) + 1;
  out.insert(out.end(), {uint8_t(tracks >> 8), uint8_t(tracks), uint8_t(kDivision >> 8), uint8_t(kDivision)});
  const uint32_t us = 60000000u / static_cast<uint32_t>(s.tempo);
  std::vector<Event> tempo;
  std::vector<uint8_t> title = {0xFF, 0x03};
  PutVlq(title, static_cast<uint32_t>(s.title.size()));
  title.insert(title.end(), s.title.begin(), s.title.end());
  tempo.push_back({0, 0, title});
  tempo.push_back({0, 0, {0xFF, 0x51, 0x03, uint8_t(us >> 16), uint8_t(us >> 8), uint8_t(us)}});
  tempo.push_back({0, 0, {0xFF, 0x58, 0x04, uint8_t(s.meter), 2, 24, 8}});
  auto chunk = TrackChunk(tempo, s.Ticks());
  out.insert(out.end(), chunk.begin(), chunk.end());
  for (const auto& p : s.parts) {
    chunk = TrackChunk(PartEvents(p), s.Ticks());
    out.insert(out.end(), chunk.begin(), chunk.end());
  }
  return out;
}

// ---- The combat track --------------------------------------------------------

Stereo RenderScore(const Score& s, int passes) {
  fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
  fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
  fluid_settings_t* settings = new_fluid_settings();
  fluid_settings_setnum(settings, "synth.sample-rate", kRate);
  fluid_settings_setnum(settings, "synth.gain", 0.5);
  fluid_settings_setint(settings, "synth.chorus.active", 0);
  fluid_synth_t* synth = new_fluid_synth(settings);
  const char* fonts[] = {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2"};
  bool loaded = false;
  for (const char* f : fonts)
    if (!loaded && std::filesystem::exists(f)) loaded = fluid_synth_sfload(synth, f, 1) != FLUID_FAILED;
  if (!loaded) Fail(s.file, "no General MIDI soundfont (install timgm6mb-soundfont)");
  std::vector<Event> all;
  for (int pass = 0; pass < passes; ++pass)
    for (const auto& p : s.parts)
      for (auto e : PartEvents(p)) {
        if (e.bytes[0] == 0xFF) continue;
        e.tick += pass * s.Ticks();
        all.push_back(e);
      }
  std::stable_sort(all.begin(), all.end(),
                   [](const Event& a, const Event& b) { return a.tick != b.tick ? a.tick < b.tick : a.order < b.order; });
  const double framesPerTick = kRate * 60.0 / s.tempo / kDivision;
  const size_t tail = kRate * 2;  // let the last chord ring out
  const size_t total = static_cast<size_t>(passes * s.Ticks() * framesPerTick) + tail;
  Stereo out(total * 2, 0.0f);
  size_t done = 0;
  auto renderTo = [&](size_t frame) {
    frame = std::min(frame, total);
    if (frame <= done) return;
    fluid_synth_write_float(synth, static_cast<int>(frame - done), out.data() + done * 2, 0, 2, out.data() + done * 2, 1, 2);
    done = frame;
  };
  for (const auto& e : all) {
    renderTo(static_cast<size_t>(e.tick * framesPerTick));
    const int ch = e.bytes[0] & 0x0F;
    switch (e.bytes[0] & 0xF0) {
      case 0x90: fluid_synth_noteon(synth, ch, e.bytes[1], e.bytes[2]); break;
      case 0x80: fluid_synth_noteoff(synth, ch, e.bytes[1]); break;
      case 0xB0: fluid_synth_cc(synth, ch, e.bytes[1], e.bytes[2]); break;
      case 0xC0: fluid_synth_program_change(synth, ch, e.bytes[1]); break;
    }
  }
  renderTo(total);
  delete_fluid_synth(synth);
  delete_fluid_settings(settings);
  return out;
}

// The samples encoded as MP3; `path` names the file in a fault.
std::vector<unsigned char> Mp3(const std::string& path, const Stereo& samples) {
  lame_global_flags* lame = lame_init();
  lame_set_in_samplerate(lame, kRate);
  lame_set_out_samplerate(lame, kRate);
  lame_set_num_channels(lame, 2);
  lame_set_brate(lame, 64);
  lame_set_quality(lame, 5);
  if (lame_init_params(lame) < 0) Fail(path, "the MP3 encoder would not start");
  const int frames = static_cast<int>(samples.size() / 2);
  std::vector<short> pcm(samples.size());
  for (size_t i = 0; i < samples.size(); ++i)
    pcm[i] = static_cast<short>(std::clamp(samples[i] * 32767.0f, -32768.0f, 32767.0f));
  std::vector<unsigned char> mp3(static_cast<size_t>(frames * 1.25 + 7200));
  int n = lame_encode_buffer_interleaved(lame, pcm.data(), frames, mp3.data(), static_cast<int>(mp3.size()));
  if (n < 0) Fail(path, "the MP3 encoder failed");
  int m = lame_encode_flush(lame, mp3.data() + n, static_cast<int>(mp3.size()) - n);
  if (m < 0) Fail(path, "the MP3 encoder failed");
  lame_close(lame);
  mp3.resize(static_cast<size_t>(n + m));
  return mp3;
}

}  // namespace

void MakeMusic(const std::string& scoreFolder, const std::string& midiFolder, const std::string& mp3Path) {
  std::map<int, std::string> tracks;
  std::string combat;
  for (const auto& entry : std::filesystem::directory_iterator(scoreFolder)) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".txt") continue;
    if (name == "combat.txt") {
      combat = entry.path().string();
      continue;
    }
    const auto dash = name.find('-');
    if (dash == std::string::npos || dash == 0) Fail(entry.path().string(), "a score's name starts with its track number and '-'");
    const int track = ParseInt(entry.path().string(), name.substr(0, dash));
    if (track < 0 || track > 17) Fail(entry.path().string(), "track numbers run from 0 to 17");
    if (tracks.count(track)) Fail(entry.path().string(), "track " + std::to_string(track) + " is written twice");
    tracks[track] = entry.path().string();
  }
  for (int t = 0; t < 18; ++t)
    if (!tracks.count(t)) Fail(scoreFolder, "no score for track " + std::to_string(t));
  if (combat.empty()) Fail(scoreFolder, "no score 'combat.txt'");
  // Every score is read, and every fault of each reported, before anything is written.
  SoundFaults faults;
  std::map<int, std::vector<uint8_t>> midi;
  for (const auto& [track, file] : tracks)
    faults.Keep([&, track = track, file = file] { midi[track] = MidiFile(ParseScore(file, ReadTextFile(file))); });
  Score combatScore;
  faults.Keep([&] {
    combatScore = ParseScore(combat, ReadTextFile(combat));
    if (int64_t{combatScore.bars} * combatScore.meter * 60 / combatScore.tempo > kLongestCombatScore)
      Fail(combat, "the combat score lasts longer than " + std::to_string(kLongestCombatScore) + " seconds");
  });
  faults.Throw();
  OutputFiles files;
  for (const auto& [track, bytes] : midi) {
    const std::string path = midiFolder + "/" + std::to_string(track) + ".mid";
    if (const std::string fault = files.Write(path, bytes); !fault.empty()) throw SourceFault(fault);
  }
  if (const std::string fault = files.Write(mp3Path, Mp3(mp3Path, RenderScore(combatScore, 2))); !fault.empty())
    throw SourceFault(fault);
  if (const std::string fault = files.Commit(); !fault.empty()) throw SourceFault(fault);
}

std::vector<uint8_t> CompileScore(const std::string& fileName, const std::string& text) {
  return MidiFile(ParseScore(fileName, text));
}
