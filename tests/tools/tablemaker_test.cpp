#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tablemaker/table_schema.h"
#include "tablemaker/tablemaker.h"
#include "tools/damaged_lines.h"

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
  // A description is laid out in lines: it may end one with a carriage return.
  const std::string items = ReadFile(kSources / "items.txt");
  const ToolRun lines = Compile("items", Replace(items, "Plain wooden arrows", "Plain wooden\\rarrows"));
  EXPECT_EQ(lines.status, 0) << lines.errors;
  // A pound sign written in UTF-8 is the highlight mark, as in every other source.
  const ToolRun marked = Compile("items", Replace(items, "Plain wooden arrows", "Plain \u00a3wooden\u00a3 arrows"));
  EXPECT_EQ(marked.status, 0) << marked.errors;
}

// The line of a source at which `at` is found (at the character after its '|'
// when it has one); the last line for an empty `at`.
int LineOf(const std::string& source, const std::string& at) {
  if (at.empty()) return static_cast<int>(std::count(source.begin(), source.end(), '\n'));
  const size_t bar = at.find('|');
  const std::string text = bar == std::string::npos ? at : at.substr(0, bar) + at.substr(bar + 1);
  const size_t found = source.find(text);
  EXPECT_NE(found, std::string::npos) << at;
  if (found == std::string::npos) return 0;
  const size_t mark = found + (bar == std::string::npos ? 0 : bar);
  return 1 + static_cast<int>(std::count(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(mark), '\n'));
}

// The real sources, and the start of Fireball's row up to its level, that
// the tables of refusals damage.
struct RealTables {
  std::string spells = ReadFile(kSources / "spells.txt"), items = ReadFile(kSources / "items.txt"),
              crafted = ReadFile(kSources / "crafted.txt");
  std::string fireball = "row 31\n  name \"Fireball\"\n  level ";
};

// A broken source, where its fault lies (see LineOf) and the message that
// must name it: the only one, unless the fault breaks several rows.
struct Refusal {
  const char* table;
  std::string source;
  std::string at;
  std::string message;
  bool alone = true;
};

void ExpectRefusals(const std::vector<Refusal>& refusals) {
  for (const Refusal& c : refusals) {
    const ToolRun run = Compile(c.table, c.source);
    EXPECT_EQ(run.status, 1) << c.message;
    // Each refusal is one line that names its place, whatever bytes the source held.
    std::istringstream lines(run.errors);
    for (std::string l; std::getline(lines, l);)
      EXPECT_TRUE(l.find("/source.txt:") != std::string::npos || l.rfind("tablemaker: ", 0) == 0) << l;
    const std::string line = "source.txt:" + std::to_string(LineOf(c.source, c.at)) + ": " + c.message + "\n";
    EXPECT_NE(run.errors.find("/" + line), std::string::npos) << "expected \"" << line << "\" in:\n" << run.errors;
    if (c.alone) {
      EXPECT_NE(run.errors.find("tablemaker: 1 fault,"), std::string::npos) << run.errors;
    }
  }
}

TEST(TablemakerTest, BrokenSourcesAreRefusedAtTheirLineAndField) {
  const auto [spells, items, crafted, fireball] = RealTables();
  ExpectRefusals({
      {"spells", Replace(spells, fireball + "3", fireball + "4"), "Fireball\"\n  |level 4",
       "row 31 'level': has level 4 but stands in the level 3 block"},
      // A value refused is reported alone: no rule speaks of the value it left unwritten.
      {"spells", Replace(spells, fireball + "3", fireball + "2147483647"), "level 2147483647",
       "'level' value 2147483647 is outside 1 to 9"},
      {"spells", Replace(spells, fireball + "3", fireball + "99999999999999999999"), "level 9999",
       "'level' value 99999999999999999999 is outside 1 to 9"},
      {"spells", Replace(spells, fireball + "3  divine", fireball + "divine"), "Fireball\"\n  |level divine",
       "'level' has no value"},
      // What the game's own row test refuses, the tool refuses by its field.
      {"spells", Replace(spells, "durvalue1 1\n", "durvalue1 1500\n"), "durvalue1 1500",
       "'durvalue1' value 1500 is outside 0 to 999 and is not 1000 or 2000"},
      // The fields of a refused row block are read, but not reported as outside a block.
      {"spells", Replace(spells, "row 31\n", "row 30\n"), "row 30\n  name \"Fireball\"",
       "row 30 is given twice (first at line " + std::to_string(LineOf(spells, "row 30\n")) + ")"},
      {"spells", Replace(spells, "row 31\n", "row 180\n"), "row 180", "a row number from 0 to 179 must follow 'row'"},
      {"spells", Replace(spells, "school Evocation", "school Alchemy"), "school Alchemy",
       "'school' has no value 'Alchemy'"},
      {"spells", Replace(spells, "range Touch", "range 6"), "range 6  target", "'range' value 6 is outside 0 to 5"},
      {"spells", Replace(spells, "meta HS\n", "meta HST\n"), "meta HST\n  effect1 TrueStrike",
       "row 2 'meta': allows Still without a somatic component"},
      {"spells", Replace(spells, "castsound Magic_15  ", ""), "row 0\n", "row 0 'castsound': has no casting sound"},
      {"spells", Replace(spells, "castsound Magic_15", "castsound Magic_25"), "Magic_25",
       "'castsound' has no value 'Magic_25'"},
      // A spell sounds as the family it names, and as the one it names as taking hold.
      {"spells", Replace(spells, "family Silence\n  castsound Magic_9", "family Silence\n  castsound Magic_13"),
       "family Silence\n  |castsound Magic_13", "row 20 'castsound': Magic_13 is not of its family Silence (Magic_9)"},
      {"spells", Replace(spells, "holds Change\n  castsound Magic_17  effectsound Magic_18", "holds Change\n  castsound Magic_17  effectsound Magic_13"),
       "Magic_17  effectsound Magic_13",
       "row 157 'effectsound': Magic_13 is not of its family Holy (Magic_16, Magic_17, Magic_24) nor of Change "
       "(Magic_18), which takes hold"},
      {"spells", Replace(spells, "holds Change\n  castsound Magic_17  effectsound Magic_18", "holds Change\n  castsound Magic_17  effectsound Magic_24"),
       "Holy  |holds Change\n  castsound Magic_17  effectsound Magic_24", "row 157 'holds': no sound of the row is of Change (Magic_18)"},
      {"crafted", Replace(crafted, "diekind 4\n  icon 119", "diekind 5\n  icon 119"), "diekind 5\n  icon 119",
       "row 4970 'diekind': has a die kind that does not match its medium damage"},
      // A missing row is named where the rows after it go on, or at the end.
      {"crafted", Replace(crafted, "row 4999\n", "row 4900\n"), "", "row 4999 is missing (prepared kind 48)"},
      {"items", Replace(items, "type Scroll  price 375  bonus 31", "type Scroll  price 375  bonus 30"),
       "Fireball\"\n  |type Scroll", "row 34 'bonus': is the scroll of spell 31, its bonus must say so"},
      {"items", Replace(items, "icon 150", "icon 600"), "icon 600", "'icon' value 600 is outside 0 to 587"},
      {"items", Replace(items, "name \"Arrows\"", "name \"" + std::string(50, 'x') + "\""), "xxxx",
       "'name' is longer than 49 characters"},
      // The rows generated creatures carry and drop must hold items.
      {"items", Replace(items, "copy 1-240 to 242", "copy 1-200 to 242"), "row 484\n",
       "row 457 is handed out to creatures but holds no item", false},
      {"items", Replace(items, "copy 486-500 to 502", "copy 486-499 to 502"), "row 520\n",
       "row 516 is handed out to creatures but holds no item"},
  });
}

// A source's damaged text, words and lines: each refused at its line, once,
// naming the value that holds the fault as a quoted value writes it.
TEST(TablemakerTest, BrokenTextsWordsAndLinesAreRefusedAtTheirLine) {
  const auto [spells, items, crafted, fireball] = RealTables();
  ExpectRefusals({
      // A broken text is reported, not a crash of the tool.
      {"items", Replace(items, "name \"Arrows\"", "name \"Arrows\\xzz\""), "Arrows\\xzz",
       "'name': a \\x escape takes two hexadecimal digits"},
      {"items", Replace(items, "name \"Arrows\"", "name \"Arrows\\x4\""), "Arrows\\x4",
       "'name': a \\x escape takes two hexadecimal digits"},
      {"items", Replace(items, "name \"Arrows\"", "name \"Arrows"), "Arrows\n", "'name': a text is not closed"},
      // The escapes are every source's: any other is refused, not read as the byte after the backslash.
      {"items", Replace(items, "name \"Arrows\"", "name \"Arr\\qows\""), "Arr", "'name': unknown escape '\\\\q'"},
      // A NUL is no flag letter (the list of letters ends at one), and a
      // copy's destination is checked as written, a number past the table's
      // end refused whole.
      {"spells", Replace(spells, "meta HS\n", "meta \"H\\x00\"\n"), "meta \"H",
       "'meta' has no letter '\\x00' (letters MEWHST)"},
      {"items", items + "copy 0-1 to 2147483647\n", "copy 0-1 to 2147483647",
       "expected 'copy A-B to C [field value]...' within the table"},
      {"items", items + "copy 0-4294967297 to 600\n", "copy 0-4294967297",
       "expected 'copy A-B to C [field value]...' within the table"},
      // A field a copy changes is refused once for the line, not once a row.
      {"items", Replace(items, "copy 1-240 to 242 nosale LeftBehind", "copy 1-240 to 242 nosale Lost"),
       "copy 1-240", "'nosale' has no value 'Lost'"},
      // A field is given once in a row (a later value would pass over the
      // first unread), and once in a copy's changes; a field that writes
      // another's word is that word given twice.
      {"items", Replace(items, "price 375  bonus 31", "price 375  bonus 31  price 376"), "price 376",
       "'price' is given twice (first at line " + std::to_string(LineOf(items, "price 375  bonus 31")) + ")"},
      {"items", Replace(items, "copy 1-240 to 242 nosale LeftBehind", "copy 1-240 to 242 nosale 1 nosale 1"),
       "copy 1-240", "'nosale' is given twice (first at line " + std::to_string(LineOf(items, "copy 1-240")) + ")"},
      {"crafted", Replace(crafted, "diekind 4\n  icon 119", "diekind 4\n  icon 119  armor 3"), "icon 119  armor",
       "'armor' is given twice (first as 'sides' at line " + std::to_string(LineOf(crafted, "sides 8  crit 19  mult 2  diekind 4\n")) +
           ")"},
      // The source's bytes are shown as a quoted value writes them: a line end,
      // a NUL or a carriage return in a value neither splits nor cuts the
      // refusal, and a number is digits alone: with a carriage return before
      // them, or a zero byte and junk after them, it is no number.
      {"spells", Replace(spells, fireball + "3", fireball + "\"\\r3\""), "level \"",
       "'level' needs a whole number, not '\\x0d3'"},
      {"spells", Replace(spells, fireball + "3", fireball + "\"\\x0a3\""), "level \"",
       "'level' needs a whole number, not '\\x0a3'"},
      {"items", Replace(items, "price 375  bonus 31", "price \"375\\x00junk\"  bonus 31"), "price \"375",
       "'price' needs a whole number, not '375\\x00junk'"},
      {"spells", Replace(spells, "school Evocation", "school \"Evo\\x00cation\\\\\""), "school \"Evo",
       "'school' has no value 'Evo\\x00cation\\\\'"},
      {"items", Replace(items, "name \"Arrows\"", "\"na\\x0ame\" \"Arrows\""), "\"na",
       "'na\\x0ame': a field name cannot be quoted"},
      // A name shows no control byte, written or escaped (a zero byte would
      // cut it, a carriage return or a line end it never shows); a line end
      // inside a value is one fault, at the line the value began.
      {"items", Replace(items, "name \"Arrows\"", "name \"Arr\\x00ows\""), "Arr",
       "'name' holds the control byte \\x00: 'Arr\\x00ows'"},
      {"items", Replace(items, "name \"Arrows\"", "name \"Arr\rows\""), "Arr",
       "'name' holds the control byte \\x0d: 'Arr\\x0dows'"},
      {"items", Replace(items, "name \"Arrows\"", "name \"Arr\nows\""), "Arr", "'name': a text is not closed"},
      // A description writes its line ends as \r: a raw carriage return in one is refused.
      {"items", Replace(items, "Plain wooden arrows", "Plain\rwooden arrows"), "Plain\rwooden",
       "'text' holds the control byte \\x0d: 'Plain\\x0dwooden arrows fletched with goose feathers, for longbows and shortbows.'"},
      // A name shows what the game's fonts show: 0xE9 has no glyph.
      {"items", Replace(items, "name \"Arrows\"", "name \"Arr\\xe9ows\""), "Arr",
       "'name' holds the byte \\xe9, which the game cannot show: 'Arr\\xe9ows'"},
      // A line that starts with no field is one fault: the fields of the row
      // it meant to start are not each reported (outside a block, or given
      // twice in the row before).
      {"spells", Replace(spells, "row 31\n", "row\r31\n"), "row\r31", "'row\\x0d31' holds the control byte \\x0d"},
      {"spells", Replace(spells, "row 31\n", "r\\row 31\n"), "r\\row", "unknown field 'r\\\\row'"},
      // A refused row or copy line is one fault: a copy of the rows it names
      // is not refused besides as of rows not given.
      {"items", Replace(items, "\nrow 1\n", "\nr\row 1\n"), "r\row 1", "'r\\x0dow' holds the control byte \\x0d"},
      {"items", Replace(items, "\nrow 1\n", "\nrow 1\x01\n"), "row 1\x01", "'row' holds the control byte \\x01: '1\\x01'"},
      {"items", Replace(items, "copy 1-240", "co\x01py 1-240") + "copy 242-243 to 1900\n", "co\x01py",
       "'co\\x01py' holds the control byte \\x01"},
      // A comment holds no whole line of the table: a line end lost, or
      // damaged into a quote or a backslash, joins the next line to it.
      {"items", Replace(items, "renumbered).\ncopy 1-240", "renumbered).copy 1-240"), "# floor when",
       "the comment ends with a line of its own, 'copy 1-240 to 242 nosale LeftBehind': a line end lost or damaged?"},
      {"items", Replace(items, "wrapped in).\nrow 532", "wrapped in).\"row 532"), "# of instructions",
       "the comment ends with a line of its own, 'row 532': a line end lost or damaged?"},
      {"items", Replace(items, "icon 202\n  text \"The remains", "icon 202  # a corpse\\  text \"The remains"), "icon 202  #",
       "the comment ends with a line of its own, 'text \\\"The remains of someone who met a bad end.\\\"': a line end lost or damaged?"},
      // An empty value names no code of a list, not the list's first code without a name.
      {"spells", Replace(spells, "  immunity1 Hampering\n", "  immunity1 Hampering  descriptor \"\"\n"), "Hampering  descriptor",
       "'descriptor' has no value ''"},
  });
}

// The effect blocks: a code no effect handles, amounts and areas outside their
// codes, and the spells the effects test by id without what they expect.
TEST(TablemakerTest, SpellEffectBlocksTheEffectsCannotCarryAreRefused) {
  const std::string spells = ReadFile(kSources / "spells.txt");
  const std::string fireball = "effect1 Fire  sides1 6  count1 40  save1 RefHalf  sr1 1";
  const std::string finger =
      "family Death\n  castsound Magic_11  effectsound Magic_11  targetsound Magic_11\n  animation Closing  colour Negative\n  text \"The "
      "caster points";
  const std::string plague =
      "range 60Feet  target Circle  area 20\n  beneficial 0  harmful 1  meta MEWHST\n  effect1 PlagueArea";
  ExpectRefusals({
      {"spells", Replace(spells, fireball, "effect1 74  sides1 6  count1 40"), "effect1 74",
       "row 31 'effect1': effect code 74 is handled by no effect"},
      {"spells", Replace(spells, fireball, "effect1 Fire  sides1 6  count1 57"), "count1 57",
       "'count1' value 57 is outside 0 to 56"},
      {"spells", Replace(spells, fireball, "effect1 Fire  sides1 40  count1 40"), "sides1 40",
       "row 31 'sides1': sides 40 is neither a die nor an amount code (46 to 53)"},
      {"spells", Replace(spells, fireball, "effect1 Fire  count1 40"), "effect1 Fire  count1 40",
       "row 31 'count1': count code 40 without die sides"},
      {"spells",
       Replace(spells, "target CircBurst  area 20\n  beneficial 0  harmful 1  meta MEWHST\n  effect1 Fire",
               "target CircBurst  area 60\n  beneficial 0  harmful 1  meta MEWHST\n  effect1 Fire"),
       "CircBurst  area 60", "row 31 'area': needs an area of 5 to 50 feet for its targeting (has 60)"},
      {"spells", Replace(spells, "effect1 WebArea", "effect1 EntangleArea"),
       "effect1 EntangleArea  duration1 PerLevel10",
       "row 15 'effect1': must carry effect code 119 (WebArea), as the game treats this spell by its id"},
      {"spells", Replace(spells, "param1 53", "param1 54"), "Summon  duration1 PerLevel1  param1 54",
       "row 114 'param1': a summoning needs the elemental 53, 109, 49 or 22 as parameter", false},
      {"spells", Replace(spells, plague, Replace(plague, "Circle", "CircBurst")),
       Replace(plague, "Circle", "CircBurst"),
       "row 146 'target': must have targeting kind 6 for effect code 116 (PlagueArea), as the game treats this spell "
       "by its id"},
      {"spells",
       Replace(spells, "effect1 Death  save1 FortHalf  sr1 1\n  immunity1 Death\n  " + finger,
               "effect1 Death  save1 FortNegates  sr1 1\n  immunity1 Death\n  " + finger),
       "effect1 Death  save1 FortNegates  sr1 1\n  immunity1 Death\n  " + finger,
       "row 81 'save1': needs a halving save with effect code 124 (Death), as the game treats this spell by its id"},
      {"spells",
       Replace(spells, "effect1 Summon  duration1 PerLevel1  param1 53", "effect1 Summon  duration1 16  param1 53"),
       "duration1 16", "row 114 'duration1': duration code 16 is no duration"},
  });
}

// One damaged byte anywhere in a row block, a comment or a copy line of a
// real source is one fault, one message at its line: after a refused line
// the lines up to the next row or copy line are passed over, and the table's
// rules are not checked. A byte of a comment, and a raw carriage return
// inside a description (which writes its line ends \r), is refused as any
// other.
TEST(TablemakerTest, OneDamagedByteAnywhereIsOneMessageAtItsLine) {
  std::string items = Replace(ReadFile(kSources / "items.txt"), "Plain wooden arrows fletched with goose feathers, for longbows and shortbows.", "Plain arrows.");
  items = Replace(items, "# The same items as rows 1-240, left behind by creatures (removed from the\n# floor when the map is left; the party's own copies are renumbered).\n", "# Left behind.\n");
  const TableSchema& schema = *FindSchema("items");
  ASSERT_TRUE(CompileTable(schema, "items.txt", items).errors.empty());
  for (const std::string excerpt : {"row 1\n  name \"Arrows\"\n  type Arrow  price 1  bonus 0  icon 150  place Ammunition\n"
                                    "  text \"Plain arrows.\"\n",
                                    "# Left behind.\ncopy 1-240 to 242 nosale LeftBehind\n"}) {
    const size_t from = items.find(excerpt);
    ASSERT_NE(from, std::string::npos);
    const long before = std::count(items.begin(), items.begin() + static_cast<std::ptrdiff_t>(from), '\n');
    for (const DamagedLine& d : DamagedBytes(excerpt)) {
      const TableResult result = CompileTable(schema, "items.txt", items.substr(0, from) + d.text + items.substr(from + excerpt.size()));
      std::string all;
      for (const std::string& e : result.errors) all += e + "\n";
      ASSERT_EQ(result.errors.size(), 1u) << d.what << "\n" << all;
      EXPECT_EQ(result.errors[0].rfind("items.txt:" + std::to_string(before + d.line) + ": ", 0), 0u) << d.what << "\n" << all;
      EXPECT_EQ(result.errors[0].find_first_of("\r\n"), std::string::npos) << d.what;  // one printable line
    }
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

// The table and the listing are put in place together or not at all: a disk
// that fills as the listing is written, or a listing named as the table,
// fails the run on one line naming the file and leaves a good run's files.
TEST(TablemakerTest, AListingThatCannotBeWrittenLeavesTheFilesBefore) {
  const fs::path dir = fs::temp_directory_path() / ("tablemaker_full_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path table = dir / "Spell1.sml", listing = dir / "listing.txt", err = dir / "errors.txt";
  const std::string spells = kTool.string() + " spells " + (kSources / "spells.txt").string() + " ";
  ASSERT_EQ(std::system((spells + table.string() + " " + listing.string()).c_str()), 0);
  const std::string goodTable = ReadFile(table), goodListing = ReadFile(listing);
  const struct {
    std::string run, fault;
  } cases[] = {
      {"GREVENHOLT_TOOL_WRITE_FAULT=2 " + spells + table.string() + " " + listing.string(),
       listing.string() + ": cannot be written: No space left on device"},
      {spells + table.string() + " " + table.string(), table.string() + ": is written twice in one run"},
  };
  for (const auto& c : cases) {
    const int status = std::system((c.run + " 2>" + err.string()).c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1) << c.run;
    EXPECT_EQ(ReadFile(err), c.fault + "\ntablemaker: 1 fault, nothing written\n");
    EXPECT_TRUE(ReadFile(table) == goodTable && ReadFile(listing) == goodListing) << c.run;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3) << c.run;
  }
  fs::remove_all(dir);
}
