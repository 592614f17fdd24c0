#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// The tool lies beside the game folder in the build; the sources in the
// repository this test file belongs to.
const fs::path kTool = fs::current_path().parent_path() / "tools" / "tablemaker";
const fs::path kSources = fs::path(__FILE__).parent_path().parent_path().parent_path() / "content" / "tables";

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct ToolRun {
  int status;
  std::string errors;
};

ToolRun Compile(const char* table, const std::string& source) {
  const fs::path dir = fs::temp_directory_path() / ("tablemaker_test_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path src = dir / "source.txt", out = dir / "out.bin", err = dir / "errors.txt";
  std::ofstream(src, std::ios::binary) << source;
  fs::remove(out);
  const std::string command = kTool.string() + " " + table + " " + src.string() + " " + out.string() + " 2>" + err.string();
  const int status = std::system(command.c_str());
  ToolRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(err)};
  if (run.status != 0) {
    EXPECT_FALSE(fs::exists(out)) << "a failed compile wrote its output";
  }
  fs::remove_all(dir);
  return run;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST(TablemakerTest, TheSourcesCompileAsTheyStand) {
  for (const char* t : {"items", "spells", "crafted"}) {
    const std::string name = std::string(t) + ".txt";
    const ToolRun run = Compile(t, ReadFile(kSources / name));
    EXPECT_EQ(run.status, 0) << run.errors;
  }
  // The duration marks (until removed, until the next rest) are values the game loads.
  const std::string spells = ReadFile(kSources / "spells.txt");
  for (const char* mark : {"durvalue1 1000\n", "durvalue1 2000\n"}) {
    const ToolRun run = Compile("spells", Replace(spells, "durvalue1 1\n", mark));
    EXPECT_EQ(run.status, 0) << mark << run.errors;
  }
}

TEST(TablemakerTest, BrokenSourcesAreRefused) {
  const std::string spells = ReadFile(kSources / "spells.txt");
  const std::string items = ReadFile(kSources / "items.txt");
  const std::string crafted = ReadFile(kSources / "crafted.txt");
  struct Case {
    const char* table;
    std::string source;
    const char* message;
  } cases[] = {
      {"spells", Replace(spells, "row 31\n  name \"Fireball\"\n  level 3", "row 31\n  name \"Fireball\"\n  level 4"),
       "row 31 has level 4 but stands in the level 3 block"},
      {"spells", Replace(spells, "row 31\n", "row 30\n"), "row 30 is given twice"},
      {"spells", Replace(spells, "school Evocation", "school Alchemy"), "'school' has no value 'Alchemy'"},
      {"spells", Replace(spells, "range Touch", "range 6"), "'range' value 6 is outside 0 to 5"},
      {"spells", Replace(spells, "meta HS\n", "meta HST\n"), "allows Still without a somatic component"},
      {"spells", Replace(spells, "castsound Magic_15  ", ""), "row 0 has no casting sound"},
      {"spells", Replace(spells, "castsound Magic_15", "castsound Magic_25"), "'castsound' has no value 'Magic_25'"},
      // What the game's own row test refuses, the tool refuses.
      {"spells", Replace(spells, "durvalue1 1\n", "durvalue1 1500\n"),
       "row 2 holds a value out of range: the game would refuse the file"},
      {"items", Replace(items, "row 484\n", "row 483\n"), "row 484 is missing"},
      {"items", Replace(items, "type Scroll  price 375  bonus 31", "type Scroll  price 375  bonus 30"),
       "row 34 is the scroll of spell 31"},
      {"items", Replace(items, "icon 150", "icon 600"), "'icon' value 600 is outside 0 to 587"},
      {"items", Replace(items, "name \"Arrows\"", "name \"" + std::string(50, 'x') + "\""), "longer than 49 characters"},
      {"crafted", Replace(crafted, "diekind 4\n  icon 119", "diekind 5\n  icon 119"),
       "row 4970 has a die kind that does not match its medium damage"},
      {"crafted", Replace(crafted, "row 4999\n", "row 4998\n"), "row 4999 is missing"},
      // The rows generated creatures carry and drop must hold items.
      {"items", Replace(items, "copy 1-240 to 242", "copy 1-200 to 242"),
       "row 457 is handed out to creatures but holds no item"},
      {"items", Replace(items, "copy 486-500 to 502", "copy 486-499 to 502"),
       "row 516 is handed out to creatures but holds no item"},
      // A broken escape in a text is reported, not a crash of the tool.
      {"items", Replace(items, "name \"Arrows\"", "name \"Arrows\\xzz\""), "a \\x escape needs two hex digits"},
      {"items", Replace(items, "name \"Arrows\"", "name \"Arrows\\x4\""), "a \\x escape needs two hex digits"},
      // A NUL is no flag letter (it once wrote a word past the row), and a copy's
      // destination is checked without overflowing.
      {"spells", Replace(spells, "meta HS\n", "meta \"H\\x00\"\n"), "'meta' has no letter '\\x00'"},
      {"items", items + "copy 0-1 to 2147483647\n", "expected 'copy A-B to C [field value]...' within the table"},
      {"items", items + "copy 0-4294967297 to 600\n", "expected 'copy A-B to C [field value]...' within the table"},
  };
  for (const Case& c : cases) {
    const ToolRun run = Compile(c.table, c.source);
    EXPECT_EQ(run.status, 1) << c.message;
    EXPECT_NE(run.errors.find(c.message), std::string::npos) << "expected \"" << c.message << "\" in:\n" << run.errors;
  }
}

// The effect blocks: a code no effect handles, amounts and areas outside their
// codes, and the spells the effects test by id without what they expect.
TEST(TablemakerTest, SpellEffectBlocksTheEffectsCannotCarryAreRefused) {
  const std::string spells = ReadFile(kSources / "spells.txt");
  const std::string fireball = "effect1 Fire  sides1 6  count1 40  save1 RefHalf  sr1 1";
  const std::string finger =
      "castsound Magic_13  effectsound Magic_11  targetsound Magic_11\n  animation Closing  colour Negative\n  text \"The "
      "caster points";
  const struct {
    std::string source;
    const char* message;
  } cases[] = {
      {Replace(spells, fireball, "effect1 74  sides1 6  count1 40"), "row 31 effect1: effect code 74 is handled by no effect"},
      {Replace(spells, fireball, "effect1 Fire  sides1 6  count1 57"), "'count1' value 57 is outside 0 to 56"},
      {Replace(spells, fireball, "effect1 Fire  sides1 40  count1 40"), "sides 40 is neither a die nor an amount code"},
      {Replace(spells, fireball, "effect1 Fire  count1 40"), "count code 40 without die sides"},
      {Replace(spells, "target CircBurst  area 20\n  beneficial 0  harmful 1  meta MEWHST\n  effect1 Fire",
               "target CircBurst  area 60\n  beneficial 0  harmful 1  meta MEWHST\n  effect1 Fire"),
       "row 31 needs an area of 5 to 50 feet"},
      {Replace(spells, "effect1 WebArea", "effect1 EntangleArea"),
       "row 15 (treated by its id) must carry effect code 119 (WebArea)"},
      {Replace(spells, "param1 53", "param1 54"), "a summoning needs the elemental 53, 109, 49 or 22"},
      {Replace(spells, "range 60Feet  target Circle  area 20\n  beneficial 0  harmful 1  meta MEWHST\n  effect1 PlagueArea",
               "range 60Feet  target CircBurst  area 20\n  beneficial 0  harmful 1  meta MEWHST\n  effect1 PlagueArea"),
       "row 146 (treated by its id) must have targeting kind 6"},
      {Replace(spells, "effect1 Death  save1 FortHalf  sr1 1\n  immunity1 Death\n  " + finger,
               "effect1 Death  save1 FortNegates  sr1 1\n  immunity1 Death\n  " + finger),
       "row 81 (treated by its id) needs a halving save"},
      {Replace(spells, "effect1 Summon  duration1 PerLevel1  param1 53", "effect1 Summon  duration1 16  param1 53"),
       "duration code 16 is no duration"},
  };
  for (const auto& c : cases) {
    const ToolRun run = Compile("spells", c.source);
    EXPECT_EQ(run.status, 1) << c.message;
    EXPECT_NE(run.errors.find(c.message), std::string::npos) << "expected \"" << c.message << "\" in:\n" << run.errors;
  }
}

TEST(TablemakerTest, TheSpellListingSaysEachSpellInWords) {
  const fs::path dir = fs::temp_directory_path() / ("tablemaker_listing_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string command = kTool.string() + " spells " + (kSources / "spells.txt").string() + " " +
                              (dir / "Spell1.sml").string() + " " + (dir / "listing.txt").string();
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::string listing = ReadFile(dir / "listing.txt");
  fs::remove_all(dir);
  for (const char* words :
       {"31  Fireball\n    level 3 wizard, Evocation; range 60 feet; targets a circular burst, 20 feet, spreading; harmful",
        "effect 1: Fire: fire damage of the amount; amount 1d6 per caster level, at most 10d6; Reflex halves; "
        "spell resistance applies",
        "effect 1: Summon: summons the elemental", "179  Extra Spell 5\n"})
    EXPECT_NE(listing.find(words), std::string::npos) << words;
}

}  // namespace
