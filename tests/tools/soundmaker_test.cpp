// The sound tool on broken scores and recipes: each is reported as
// file:line: message with status 1, and the game folder is left as it was.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "soundmaker/soundmaker.h"
#include "tools/damaged_lines.h"

namespace fs = std::filesystem;

namespace {

const fs::path kTool = fs::current_path().parent_path() / "tools" / "makesounds";
const fs::path kContent = fs::path(__FILE__).parent_path().parent_path().parent_path() / "content";

struct ToolRun {
  int status;
  std::string errors;
  bool wroteAnything;  // a file or folder in the game folder, empty before
  std::string track0;  // the MIDI file of track 0, when written
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The text with the first `from` replaced.
std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// Runs the tool on a copy of the game's music (or effects) with one source
// replaced by `text`.
ToolRun RunTool(const char* kind, const std::string& replaced, const std::string& text) {
  const fs::path dir = fs::temp_directory_path() / ("soundmaker_test_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  const fs::path sources = dir / "sources", game = dir / "game", err = dir / "errors.txt";
  fs::create_directories(sources);
  fs::create_directories(game);
  std::string input;
  if (std::string(kind) == "music") {
    for (const auto& e : fs::directory_iterator(kContent / "music"))
      if (e.path().extension() == ".txt") fs::copy_file(e.path(), sources / e.path().filename());
    std::ofstream(sources / replaced, std::ios::binary) << text;
    input = sources.string();
  } else {
    std::ofstream(sources / replaced, std::ios::binary) << text;
    input = (sources / replaced).string();
  }
  const std::string command = kTool.string() + " " + kind + " " + input + " " + game.string() + " 2>" + err.string();
  const int status = std::system(command.c_str());
  std::ifstream in(err);
  std::stringstream errors;
  errors << in.rdbuf();
  const bool wrote = !fs::is_empty(game);
  const std::string track0 = ReadFile(game / "Midi" / "0.mid");
  fs::remove_all(dir);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, errors.str(), wrote, track0};
}

TEST(SoundmakerTest, BrokenScoresAreReportedByLineAndNothingIsWritten) {
  const std::string head = "title Test\ntempo 60\nmeter 4\nbars 1\n";
  const struct {
    std::string score;
    const char* message;
  } cases[] = {
      {"title\ntempo 60\nbars 1\npart a ch=0\n  c4:16 |\n", "00-stillness.txt:1: the title has no text"},
      {head + "part a ch=0\n  c4:100000000 |\n", "00-stillness.txt:6: '100000000' is out of range"},
      {head + "part a ch=0\n  c4:8 c4:10 |\n", "00-stillness.txt:6: part 'a' runs past the score's 1 bars"},
      {head + "part a ch=0 legato=150\n  c4:16 |\n", "00-stillness.txt:5: legato= is 1 to 100, not 150"},
      {"title Slow\ntempo 1\nmeter 4\nbars 1\n", "00-stillness.txt:2: tempo is 10 to 400, not 1"},
      // A part's level, place and velocity lie in the MIDI range, and a score
      // has one tempo.
      {head + "part a ch=0 vol=300\n  c4:16 |\n", "00-stillness.txt:5: vol= is 0 to 127, not 300"},
      {head + "part a ch=0\n  v200 c4:16 |\n", "00-stillness.txt:6: a velocity is 1 to 127, not 200"},
      {head + "tempo 90\npart a ch=0\n  c4:16 |\n", "00-stillness.txt:5: the score has one tempo line"},
      {"title Slow\ntempo 10\nmeter 400\nbars 400\npart a ch=0\n  r:64000\n",
       "00-stillness.txt:5: the score lasts 960000 seconds, a track at most 3600"},
      {head + "part a ch=0\n  c4:16 |\nmeter 3\n", "00-stillness.txt:7: meter must come before the parts"},
      {head + "part a ch=0\n  [ [ [ [ c4:1 ]x64 ]x64 ]x64 ]x64\n", "00-stillness.txt:6: the repeats unfold to more than"},
      // A title that took the next line in, or lost to the comment before it
      // (a line end turned into a blank).
      {"title Test tempo 60\nmeter 4\nbars 1\npart a ch=0\n  c4:16 |\n",
       "00-stillness.txt:1: the title ends with a line of its own, 'tempo 60': a line end lost or damaged?\n"},
      {"# Track 0: quiet. title Test\ntempo 60\nmeter 4\nbars 1\npart a ch=0\n  c4:16 |\n",
       "00-stillness.txt:1: the comment ends with a line of its own, 'title Test': a line end lost or damaged?\n"},
      // A title holds what the game's fonts show, a tab not among them.
      {"title Still\tness\n", "00-stillness.txt:1: 'title' holds the control byte \\x09: 'Still\\x09ness'\n"},
  };
  for (const auto& c : cases) {
    const ToolRun run = RunTool("music", "00-stillness.txt", c.score);
    EXPECT_EQ(run.status, 1) << c.message;
    EXPECT_NE(run.errors.find(c.message), std::string::npos) << "expected \"" << c.message << "\" in:\n" << run.errors;
    EXPECT_FALSE(run.wroteAnything) << c.message;
  }
}

TEST(SoundmakerTest, RecipesOutOfRangeAreReportedByLine) {
  using namespace std::string_literals;
  const struct {
    std::string recipe;
    const char* message;
  } cases[] = {
      {"sound Miss_1 0.2\n  noise lp=nan\n", "effects.txt:2: 'nan' is not a number"},
      // A control byte is shown, not cut at or split by.
      {"sound Mi\0ss_1 0.2\n  noise\n"s, "effects.txt:1: 'sound' holds the control byte \\x00: 'Mi\\x00ss_1'\n"},
      {"sound Miss_1 0.2\n  noise lp=1\r2\n", "effects.txt:2: 'noise' holds the control byte \\x0d: 'lp=1\\x0d2'\n"},
      {"sound Miss_1 0.2\n  noise repeat=1e300:0.1\n", "effects.txt:2: '1e300' is out of range"},
      {"sound Miss_1 0.2\n  noise repeat=5000:0\n", "effects.txt:2: a repeat's count is 1 to 100, not 5000"},
      {"sound Miss_1 0.2\n  noise at=-1\n", "effects.txt:2: at= is 0 to 10, not -1"},
      // Each setting is played as it says, within its range (a row with no
      // message plays): no time, amp=, rate=, drive= or part of a vibrato,
      // tremolo or modulation below its least.
      {"sound Miss_1 0.2\n  noise at=0 len=0 attack=0 decay=0 release=0 sweep=0 amp=0 rate=0 drive=0.1\n", nullptr},
      {"sound Miss_1 0.2\n  noise at=10 len=10 attack=10 decay=10 release=10 sweep=10 amp=10 rate=22050 drive=100\n",
       nullptr},
      {"sound Miss_1 0.2\n  sine f=440 vib=0:0 trem=0:0 mod=0:0:0\n", nullptr},
      {"sound Miss_1 0.2\n  sine f=440 vib=1000:48 trem=1000:1 mod=100:100:100\n", nullptr},
      {"sound Miss_1 0.2\n  noise attack=-1\n", "effects.txt:2: attack= is 0 to 10, not -1"},
      {"sound Miss_1 0.2\n  noise decay=-0.001\n", "effects.txt:2: decay= is 0 to 10, not -0.001"},
      {"sound Miss_1 0.2\n  noise release=-1\n", "effects.txt:2: release= is 0 to 10, not -1"},
      {"sound Miss_1 0.2\n  noise len=-1\n", "effects.txt:2: len= is 0 to 10, not -1"},
      {"sound Miss_1 0.2\n  noise sweep=-1\n", "effects.txt:2: sweep= is 0 to 10, not -1"},
      {"sound Miss_1 0.2\n  noise amp=-1\n", "effects.txt:2: amp= is 0 to 10, not -1"},
      {"sound Miss_1 0.2\n  noise amp=10.5\n", "effects.txt:2: amp= is 0 to 10, not 10.5"},
      {"sound Miss_1 0.2\n  dust rate=-1\n", "effects.txt:2: rate= is 0 to 22050, not -1"},
      {"sound Miss_1 0.2\n  noise drive=0.09\n", "effects.txt:2: drive= is 0.1 to 100, not 0.09"},
      {"sound Miss_1 0.2\n  noise drive=2:-1\n", "effects.txt:2: drive= is 0.1 to 100, not -1"},
      {"sound Miss_1 0.2\n  sine f=440 vib=-1:1\n", "effects.txt:2: a vibrato's rate is 0 to 1000, not -1"},
      {"sound Miss_1 0.2\n  sine f=440 vib=5:-0.5\n", "effects.txt:2: a vibrato's depth is 0 to 48, not -0.5"},
      {"sound Miss_1 0.2\n  noise trem=-5:0.5\n", "effects.txt:2: a tremolo's rate is 0 to 1000, not -5"},
      {"sound Miss_1 0.2\n  noise trem=5:1.5\n", "effects.txt:2: a tremolo's depth is 0 to 1, not 1.5"},
      {"sound Miss_1 0.2\n  fm f=440 mod=-1:2\n", "effects.txt:2: a modulation's ratio is 0 to 100, not -1"},
      {"sound Miss_1 0.2\n  fm f=440 mod=1:2:-1\n", "effects.txt:2: a modulation's index is 0 to 100, not -1"},
      // A pan lies from side to side, a seed is a whole number, a value is
      // never left out, and a number is decimal.
      {"sound Miss_1 0.2\n  noise pan=5\n", "effects.txt:2: pan= is -1 to 1, not 5"},
      {"sound Miss_1 0.2\n  noise seed=1.5\n", "effects.txt:2: seed= wants a whole number, not '1.5'"},
      {"sound Miss_1 0.2\n  noise amp=\n", "effects.txt:2: '' is not a number"},
      {"sound Miss_1 0.2\n  noise amp=0x1p3\n", "effects.txt:2: '0x1p3' is not a number"},
  };
  for (const auto& c : cases) {
    if (!c.message) {
      EXPECT_NO_THROW(RenderRecipes("effects.txt", c.recipe)) << c.recipe;
      continue;
    }
    const ToolRun run = RunTool("effects", "effects.txt", c.recipe);
    EXPECT_EQ(run.status, 1) << c.message;
    EXPECT_NE(run.errors.find(c.message), std::string::npos) << "expected \"" << c.message << "\" in:\n" << run.errors;
    EXPECT_FALSE(run.wroteAnything) << c.message;
  }
}

// Every fault of a source is reported, once: a second on a later line is not
// lost behind the first, a part whose line or notes were refused is not
// timed besides (its bars would all be out), and a refused heading line
// counts as what it may be (its sound or part begun, the score's length
// untimed), so that one bad byte in it is one message.
TEST(SoundmakerTest, EveryFaultOfASourceIsReportedOnce) {
  using namespace std::string_literals;
  const std::string effects = ReadFile(kContent / "sounds" / "effects.txt");
  const std::string score = ReadFile(kContent / "music" / "00-stillness.txt");
  const int sound = 18, layer = 20;  // the first sound's line, and its second layer's
  auto at = [](const char* file, int line) { return std::string(file) + ":" + std::to_string(line) + ": "; };
  const struct {
    const char* kind;
    const char* source;
    std::string text;
    std::vector<std::string> messages;
  } cases[] = {
      {"music", "00-stillness.txt",
       "title Test\ntempo 60\nmeter 4\nbars 1\npart a ch=0 legato=150\n  c4:8 c4:8 |\npart b ch=1\n  q4:8 c4:8 |\n",
       {"00-stillness.txt:5: legato= is 1 to 100, not 150", "00-stillness.txt:8: 'q4' is not a note"}},
      {"music", "00-stillness.txt", "title Slow\ntempo 10\nmeter 400\nbars 400\npart a ch=0\n  r:6400\npart b ch=1\n  r:6400\n",
       {"00-stillness.txt:5: the score lasts 960000 seconds"}},
      // A name is checked beside the other faults of the recipes.
      {"effects", "effects.txt",
       Replace(Replace(Replace(effects, "amp=0.25 attack", "amp=nan attack"), "sound Miss_2 0.40", "sound Miss_2 x"),
               "sound Miss_3", "sound Miss_9"),
       {at("effects.txt", layer) + "'nan' is not a number", at("effects.txt", 22) + "'x' is not a number",
        at("effects.txt", 26) + "'Miss_9' is not one of the game's sounds"}},
      // One bad byte in a heading line.
      {"effects", "effects.txt", Replace(effects, "sound Miss_1", "so\0und Miss_1"s),
       {at("effects.txt", sound) + "'so\\x00und' holds the control byte \\x00"}},
      {"effects", "effects.txt", Replace(effects, "sound Miss_1", "sou\xe9nd Miss_1"),
       {at("effects.txt", sound) + "'sou\\xe9nd' holds the byte \\xe9, which is no UTF-8 text"}},
      {"effects", "effects.txt", Replace(effects, "loop Ambient_9", "lo\x01op Ambient_9"),
       {at("effects.txt", 100) + "'lo\\x01op' holds the control byte \\x01"}},
      {"music", "00-stillness.txt", Replace(score, "part celesta", "pa\x01rt celesta"),
       {at("00-stillness.txt", 8) + "'pa\\x01rt' holds the control byte \\x01"}},
      {"music", "00-stillness.txt", Replace(score, "meter 4", "me\xe9ter 4"),
       {at("00-stillness.txt", 4) + "'me\\xe9ter' holds the byte \\xe9, which is no UTF-8 text"}},
      // A comment's line end damaged into a byte no line holds, which
      // would join Miss_1's first layer or the track's title to it.
      {"effects", "effects.txt", Replace(effects, "through air\n", "through air\x01"),
       {at("effects.txt", sound) + "the comment holds the control byte \\x01"}},
      {"music", "00-stillness.txt", Replace(score, "places.\n", "places.\xe9"),
       {at("00-stillness.txt", 1) + "the comment holds the byte \\xe9, which is no UTF-8 text"}},
      // A comment's line end lost, or turned into a byte a comment may hold:
      // the line it joined to the comment is the comment's fault, and counts
      // as refused (a layer, a sound, the title, a score's length, a part,
      // its notes).
      {"effects", "effects.txt", Replace(effects, "through air\n", "through air"),
       {at("effects.txt", sound) + "the comment ends with a line of its own, 'noise bp=700:3200"}},
      {"effects", "effects.txt", Replace(effects, "into wood\n", "into wood\""),
       {at("effects.txt", 31) + "the comment ends with a line of its own, 'noise bp=5000:1800"}},
      {"music", "00-stillness.txt", Replace(score, "places.\n", "places."),
       {at("00-stillness.txt", 1) + "the comment ends with a line of its own, 'title Stillness'"}},
  };
  for (const auto& c : cases) {
    const ToolRun run = RunTool(c.kind, c.source, c.text);
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(run.wroteAnything) << run.errors;
    // Each fault a line, and the summary.
    EXPECT_EQ(static_cast<size_t>(std::count(run.errors.begin(), run.errors.end(), '\n')), c.messages.size() + 1)
        << run.errors;
    EXPECT_NE(run.errors.find("makesounds: " + std::to_string(c.messages.size()) + " fault"), std::string::npos)
        << run.errors;
    for (const std::string& m : c.messages) EXPECT_NE(run.errors.find(m), std::string::npos) << m << " in:\n" << run.errors;
  }
}

// One damaged byte anywhere in a good score, a comment too, is one message
// at its line: a line refused for it counts as what its first word may be,
// itself or before its damaged blank ("bars\x008" is the score's length,
// "part\x00lead" begins a part), and a note line refused leaves its part
// untimed, not short of the score's length.
TEST(SoundmakerTest, OneDamagedByteAnywhereInAScoreIsOneMessage) {
  const std::string good =
      "# A score of every kind of line.\n"
      "title Test Score\n"
      "tempo 90\n"
      "meter 4\n"
      "bars 2\n"
      "part lead ch=0 prog=73 vol=90 pan=40 rev=30 vel=80 legato=90   # a flute\n"
      "  v70 c4:4 eb4 g#4 c5 | [ d4:2 f4 ]x2 a4:8 |\n"
      "part drums ch=9\n"
      "  kick:4 hat snare n42 | kick+hat:8 r:8 |   # the last bar\n";
  ASSERT_NO_THROW(CompileScore("score.txt", good));
  for (const DamagedLine& d : DamagedBytes(good)) {
    std::string faults;
    try {
      CompileScore("score.txt", d.text);
    } catch (const SourceFault& fault) {
      faults = fault.what();
    }
    EXPECT_EQ(faults.rfind("score.txt:" + std::to_string(d.line) + ": ", 0), 0u) << d.what << "\n" << faults;
    EXPECT_EQ(faults.find('\n'), std::string::npos) << d.what << "\n" << faults;
  }
}

// The same in the recipes, at every kind of their lines (a comment, a sound
// line with its comment and with a level, a loop line, layers of each shape):
// a sound whose line is refused may be the sound its words name, and is not
// missing besides.
TEST(SoundmakerTest, OneDamagedByteAnywhereInTheRecipesIsOneMessage) {
  const std::string good = ReadFile(kContent / "sounds" / "effects.txt");
  const std::set<int> kinds = {1, 18, 19, 27, 51, 54, 73, 100, 101};
  for (const DamagedLine& d : DamagedBytes(good)) {
    if (!kinds.count(d.line)) continue;
    std::string faults;
    try {
      RenderGameSounds("effects.txt", d.text);
    } catch (const SourceFault& fault) {
      faults = fault.what();
    }
    EXPECT_EQ(faults.rfind("effects.txt:" + std::to_string(d.line) + ": ", 0), 0u) << d.what << "\n" << faults;
    EXPECT_EQ(faults.find('\n'), std::string::npos) << d.what << "\n" << faults;
  }
}

// A run of the tool on a source, a score or the recipes: the track written,
// or whether the sounds' recipes (each rendered from its recipe alone) are
// the good ones.
SweepRun ReadSound(bool music, const std::string& text, const std::vector<SoundRecipe>& goodRecipes) {
  SweepRun run;
  try {
    if (music) {
      const std::vector<uint8_t> track = CompileScore("source.txt", text);
      run.output.assign(track.begin(), track.end());
    } else {
      run.output = ReadGameRecipes("source.txt", text) == goodRecipes ? "the good recipes" : "other recipes";
    }
    run.ok = true;
  } catch (const SourceFault& fault) {
    run.output.clear();
    std::istringstream lines(fault.what());
    for (std::string line; std::getline(lines, line);) run.messages.push_back(line);
  }
  return run;
}

// A sweep of damaged bytes over every kind of line of the real recipes and a
// real score (tools/damaged_lines.h): a run reads as the good source did (the
// same sounds or track) or fails with one message at the damaged line. A
// quote is a byte of a title (its line end too) or a part's name as written.
// A comment's line end lost or turned into a byte a comment may hold, which
// joins the next line to it, is refused at the comment's line too, or is
// harmless.
TEST(SoundmakerTest, ADamagedByteReadsAsTheGoodSourceOrIsRefusedAtItsLine) {
  const struct {
    const char* file;
    // A comment, a blank, each kind of heading, setting and layer or notes,
    // and a layer or notes before a heading.
    std::vector<int> lines;
  } sources[] = {
      {"sounds/effects.txt", {1, 16, 17, 18, 19, 20, 27, 54, 73, 75, 100, 101}},
      {"music/combat.txt", {1, 2, 3, 4, 5, 6, 7, 8, 13, 14}},
  };
  for (const auto& source : sources) {
    const bool music = std::string(source.file).rfind("music", 0) == 0;
    const std::string good = ReadFile(kContent / source.file);
    const std::vector<SoundRecipe> goodRecipes = music ? std::vector<SoundRecipe>() : ReadGameRecipes("source.txt", good);
    const SweepRun goodRun = ReadSound(music, good, goodRecipes);
    ASSERT_TRUE(goodRun.ok) << source.file;
    for (const DamagedLine& d : SweptBytes(good, source.lines)) {
      SweepRun run = ReadSound(music, d.text, goodRecipes);
      const size_t start = good.rfind('\n', d.at == 0 ? 0 : d.at - 1);
      const std::string_view line = std::string_view(good).substr(start == std::string::npos ? 0 : start + 1);
      if (run.ok && music && d.byte == '"' && (line.rfind("title", 0) == 0 || line.rfind("part", 0) == 0)) run.output = goodRun.output;
      EXPECT_EQ(SweepFault("source.txt", good, d, goodRun, run, {false, true}), "") << source.file;
    }
  }
}

// Every line end of the recipes and of every score turned into the comment
// mark: the line after it, when it holds words, is lost in no run. A run
// reads as the good source did or fails with one message at the damaged line.
TEST(SoundmakerTest, ALineEndTurnedIntoACommentMarkLosesNoLine) {
  std::vector<fs::path> files = {kContent / "sounds" / "effects.txt"};
  for (const auto& e : fs::directory_iterator(kContent / "music"))
    if (e.path().extension() == ".txt") files.push_back(e.path());
  size_t taken = 0;  // with another output
  for (const fs::path& file : files) {
    const bool music = file.parent_path().filename() == "music";
    const std::string good = ReadFile(file);
    const std::vector<SoundRecipe> goodRecipes = music ? std::vector<SoundRecipe>() : ReadGameRecipes("source.txt", good);
    const SweepRun goodRun = ReadSound(music, good, goodRecipes);
    ASSERT_TRUE(goodRun.ok) << file;
    for (const DamagedLine& d : MarkedLineEnds(good)) {
      const SweepRun run = ReadSound(music, d.text, goodRecipes);
      const std::string fault = SweepFault("source.txt", good, d, goodRun, run, {false, true});
      taken += run.ok && !fault.empty();
      EXPECT_EQ(fault, "") << file.filename();
    }
  }
  EXPECT_EQ(taken, 0u);
}

// A title is its words: a comment after it leaves no blank at its end. A
// comment that speaks of the score's own title and tempo, or holds a line
// written out of use, holds no line joined to it.
TEST(SoundmakerTest, ATitleEndsAtItsLastWord) {
  std::string score = ReadFile(kContent / "music" / "00-stillness.txt");
  score = Replace(score, "title Stillness", "title  Stillness  # hushed");
  score = Replace(score, "# Track 0: a hushed drone for quiet places.", "# Track 0: the title Stillness, tempo 60\n#  part pad ch=0 vol=90");
  const ToolRun run = RunTool("music", "00-stillness.txt", score);
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_NE(run.track0.find("\xff\x03\x09Stillness"), std::string::npos);
}

}  // namespace

// A disk that fills as the sounds are written fails the run on one line
// naming the file, and a good run's sounds stay as they were.
TEST(SoundmakerTest, AFullDiskFailsTheRunAndKeepsTheSoundsBefore) {
  const fs::path dir = fs::temp_directory_path() / ("soundmaker_full_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  const std::string run = kTool.string() + " effects " + (kContent / "sounds" / "effects.txt").string() + " " +
                          dir.string() + " 2>" + (dir.string() + ".errors");
  ASSERT_EQ(std::system(run.c_str()), 0);
  auto sounds = [&] {
    std::string all;
    for (const auto& e : fs::directory_iterator(dir / "Sounds")) all += e.path().string() + ReadFile(e.path());
    return all;
  };
  const std::string good = sounds();
  const int status = std::system(("GREVENHOLT_TOOL_WRITE_FAULT=5 " + run).c_str());
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1);
  EXPECT_EQ(ReadFile(dir.string() + ".errors"), (dir / "Sounds" / "Hit_1.wav").string() +
                                                    ": cannot be written: No space left on device\n"
                                                    "makesounds: 1 fault, nothing written\n");
  EXPECT_TRUE(sounds() == good);
  fs::remove_all(dir);
  fs::remove(dir.string() + ".errors");
}
