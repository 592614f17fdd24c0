// Every content tool on its real sources damaged by one byte, as a content
// author's file is damaged: every line kind of every source, each byte kind
// replacing a byte, inserted and a byte deleted, and every line end of every
// source turned into the comment mark (tools/damaged_lines.h), a case for
// each part of each source. A run never stops the tool; it gives
// the good source's output, or fails with one message at the damaged file
// and line and writes nothing; a comment that a damaged line end joined the
// next line to is refused at its line when that line is lost.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>
#include <iterator>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "common/comment_joins.h"
#include "helpmaker/help_names.h"
#include "helpmaker/help_source.h"
#include "map/map_record.h"
#include "mapmaker/map_source.h"
#include "scriptmaker/script_source.h"
#include "startmaker/start_builder.h"
#include "startmaker/start_source.h"
#include "tablemaker/tablemaker.h"
#include "tools/damaged_lines.h"

namespace fs = std::filesystem;

namespace {

const fs::path kContent = fs::path(__FILE__).parent_path().parent_path().parent_path() / "content";

struct Source {
  std::string name;  // as the tool's messages name it: the path under content/
  std::string text;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The sources of a folder under content/ (and its folders) with the extensions,
// in name order; none when the folder is missing.
std::vector<Source> Sources(const std::string& folder, std::initializer_list<const char*> extensions) {
  std::vector<fs::path> paths;
  std::error_code missing;
  for (const auto& entry : fs::recursive_directory_iterator(kContent / folder, missing))
    for (const char* e : extensions)
      if (entry.is_regular_file() && entry.path().extension() == e) paths.push_back(entry.path());
  std::sort(paths.begin(), paths.end());
  std::vector<Source> sources;
  for (const fs::path& p : paths) sources.push_back({fs::relative(p, kContent).generic_string(), ReadFile(p)});
  return sources;
}

std::string FolderOf(const std::string& name) { return name.substr(0, name.rfind('/')); }

SweepRun Run(bool ok, std::string output, std::vector<std::string> messages) {
  SweepRun run;
  run.ok = ok && messages.empty();
  if (run.ok) run.output = std::move(output);
  run.messages = std::move(messages);
  return run;
}

// A map source alone, as makemaps compiles it.
SweepRun MakeMaps(const std::vector<Source>& sources, size_t at) {
  static MapRecord map;
  static uint8_t image[kMapRecordBytes];
  const Source& s = sources[at];
  const bool world = s.name.find("WorldMap") != std::string::npos;
  MapSourceResult result = CompileMapSource(s.name, s.text, world, &map);
  if (result.ok) WriteMapImage(map, image);
  return Run(result.ok, std::string(reinterpret_cast<const char*>(image), kMapRecordBytes), std::move(result.errors));
}

// A table source, as tablemaker compiles it.
SweepRun MakeTable(const std::vector<Source>& sources, size_t at) {
  const Source& s = sources[at];
  const std::string table = fs::path(s.name).stem().string();
  TableResult result = CompileTable(*FindSchema(table), s.name, s.text);
  return Run(result.errors.empty(), std::string(result.image.begin(), result.image.end()), std::move(result.errors));
}

// The scripts of a folder with its names files, as makescripts compiles
// them: every script when a names file is the damaged one, else the
// damaged script alone (its faults are its own).
SweepRun MakeScripts(const std::vector<Source>& sources, size_t at) {
  const std::string folder = FolderOf(sources[at].name);
  const bool names = fs::path(sources[at].name).extension() == ".names";
  std::vector<ScriptText> namesFiles, scripts;
  for (size_t i = 0; i < sources.size(); ++i) {
    if (FolderOf(sources[i].name) != folder) continue;
    if (fs::path(sources[i].name).extension() == ".names") namesFiles.push_back({sources[i].name, sources[i].text});
    else if (names || i == at) scripts.push_back({sources[i].name, sources[i].text});
  }
  if (!names) {
    ScriptNames shared;
    std::vector<std::string> errors;
    for (const ScriptText& n : namesFiles) ReadScriptNames(n.file, n.text, &shared, &errors);
    ScriptSourceResult result = CompileScriptSource(scripts[0].file, scripts[0].text, shared);
    errors.insert(errors.end(), result.errors.begin(), result.errors.end());
    return Run(true, std::string(result.bytes.begin(), result.bytes.end()), std::move(errors));
  }
  ScriptSetResult set = CompileScriptSet(namesFiles, scripts);
  std::string output;
  for (const std::vector<uint8_t>& bytes : set.compiled) output.append(bytes.begin(), bytes.end());
  return Run(true, output, std::move(set.errors));
}

// Every help source, checked against the names the game uses (the list the
// build made) when every line read soundly, as compile_help compiles them for
// the build.
SweepRun MakeHelp(const std::vector<Source>& sources, size_t) {
  std::vector<HelpSource> help;
  for (const Source& s : sources) help.push_back({s.name, s.text});
  HelpResult result = CompileHelp(help);
  if (!result.errors.empty()) return Run(false, "", std::move(result.errors));
  static HelpNames names;
  static HelpRequirement required;
  static const bool read = [] {
    std::string bad;
    return names.Parse(ReadFile("help_names.txt"), &bad) && required.Parse("10000-99999", "src/,content/,spell");
  }();
  EXPECT_TRUE(read);
  const HelpNameCheck check = CheckHelpNames(names, required, result.pageIds, result.keywords);
  result.errors.insert(result.errors.end(), check.errors.begin(), check.errors.end());
  return Run(true, result.file, std::move(result.errors));
}

// The start sources of an adventure, as makestart builds them (the tables
// compiled from their sources and installed first, once): the roster and
// the crafted table.
SweepRun MakeStart(const std::vector<Source>& sources, size_t at) {
  static std::vector<std::string> faults;
  static const std::optional<StartTables> tables = InstallStartTables((kContent / "tables").string(), &faults);
  EXPECT_TRUE(tables);
  StartSource source;
  for (const Source& s : sources)
    if (FolderOf(s.name) == FolderOf(sources[at].name)) ReadStartSource(s.name, s.text, &source);
  if (source.errors.empty()) CheckStartSource(&source);
  if (!source.errors.empty()) return Run(false, "", std::move(source.errors));
  BuildStart(*tables, source, kStartSeed, &source.errors);
  std::vector<uint8_t> roster, crafted;
  PackStartFiles(&roster, &crafted);
  CheckStartFiles(roster, crafted, &source.errors);
  return Run(true, std::string(roster.begin(), roster.end()) + std::string(crafted.begin(), crafted.end()),
             std::move(source.errors));
}

// A map's line kind: its keyword, "key" and "end" in a layer, "row" for a drawn row.
std::string MapLineKind(const std::string& line) {
  const std::string kind = LineKind(line);
  return kind == "other" ? "row" : kind;
}

// A table's line kind: a row or copy line, a line of fields with a quoted
// text or with words alone, a comment, a blank line.
std::string TableLineKind(const std::string& line) {
  const std::string kind = LineKind(line);
  if (kind == "row" || kind == "copy" || kind == "#" || kind.empty()) return kind;
  return line.find('"') != std::string::npos ? "text" : "fields";
}

// A help line's kind: a page or keyword line, a list item, a line of text,
// a comment, a blank line.
std::string HelpLineKind(const std::string& line) {
  const std::string kind = LineKind(line);
  if (kind == "page" || kind == "keyword" || kind == "#" || kind.empty()) return kind;
  return line.rfind("- ", 0) == 0 ? "item" : "text";
}

// A tool as the sweep runs it.
struct SweptTool {
  const char* name;
  const char* folder;  // under content/
  std::initializer_list<const char*> extensions;
  SweepRun (*run)(const std::vector<Source>&, size_t);
  std::string (*kind)(const std::string&);
  size_t every;  // one damaged source of so many is run, so that a tool that reads all its sources stays fast
  size_t chunk;  // the damages a case sweeps, so that each case stays fast
};

const SweptTool kTools[] = {
    {"makemaps", "maps", {".txt"}, MakeMaps, MapLineKind, 1, 2000},
    {"tablemaker", "tables", {".txt"}, MakeTable, TableLineKind, 3, 500},
    {"makescripts", "scripts", {".txt", ".names"}, MakeScripts, LineKind, 2, 600},
    {"compile_help", "help", {".txt"}, MakeHelp, HelpLineKind, 5, 1200},
    {"makestart", "start", {".txt"}, MakeStart, LineKind, 2, 150},
};

// The real sources of a tool, read once.
const std::vector<Source>& SourcesOf(size_t tool) {
  static std::vector<Source> read[std::size(kTools)];
  static bool done[std::size(kTools)] = {};
  if (!done[tool]) read[tool] = Sources(kTools[tool].folder, kTools[tool].extensions), done[tool] = true;
  return read[tool];
}

// A case: the damages first to last of the lines a tool's sweep samples in
// one of its sources (the first line of each kind in all its sources), or
// of its line ends turned into the comment mark (`lineEnds`, every one).
struct SweepCase {
  size_t tool, source;
  std::vector<int> lines;
  size_t first, last;
  std::string name;
  bool lineEnds = false;
};
void PrintTo(const SweepCase& c, std::ostream* out) { *out << c.name; }

std::vector<SweepCase> Cases() {
  std::vector<SweepCase> cases;
  for (size_t t = 0; t < std::size(kTools); ++t) {
    const std::vector<Source>& sources = SourcesOf(t);
    std::set<std::string> seen;
    for (size_t i = 0; i < sources.size(); ++i) {
      const std::vector<int> lines = SampledLines(sources[i].text, kTools[t].kind, &seen);
      const size_t damages = lines.empty() ? 0 : SweptDamages(SweptPlaces(sources[i].text, lines).size());
      std::string name = std::string(kTools[t].name) + "_" + sources[i].name;
      for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      for (size_t first = 0, part = 0; first < damages; first += kTools[t].chunk, ++part)
        cases.push_back({t, i, lines, first, std::min(first + kTools[t].chunk, damages), name + "_" + std::to_string(part)});
      // As many runs a case as the sweep's.
      const size_t ends = static_cast<size_t>(std::count(sources[i].text.begin(), sources[i].text.end(), '\n'));
      const size_t chunk = kTools[t].chunk / kTools[t].every;
      for (size_t first = 0, part = 0; first < ends; first += chunk, ++part)
        cases.push_back({t, i, {}, first, std::min(first + chunk, ends), name + "_ends_" + std::to_string(part), true});
    }
  }
  return cases;
}

// The lines of a text, and an empty one after them.
std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  lines.emplace_back();
  return lines;
}

// Whether a line whose line end turned into '#' runs on as a text, the next
// line's words read as words of it: a map's name or text before a blank or
// a comment line, a help page's text or title before anything but a page or
// keyword line.
bool RunsOnAsText(size_t tool, const std::string& line, const std::string& next) {
  const std::string kind = LineKind(line), nextKind = LineKind(next);
  if (std::string(kTools[tool].name) == "makemaps") return (kind == "name" || kind == "text") && (nextKind.empty() || nextKind == "#");
  if (std::string(kTools[tool].name) == "compile_help") return kind != "#" && kind != "keyword" && nextKind != "page" && nextKind != "keyword";
  return false;
}

class SourceSweep : public testing::TestWithParam<SweepCase> {};

TEST_P(SourceSweep, OneDamagedByteGivesItsOutputOrOneMessageAtItsLine) {
  const SweepCase& c = GetParam();
  const SweptTool& tool = kTools[c.tool];
  const std::vector<Source>& sources = SourcesOf(c.tool);
  const Source& source = sources[c.source];
  const SweepRun good = tool.run(sources, c.source);
  ASSERT_TRUE(good.ok) << source.name << ": " << (good.messages.empty() ? "" : good.messages[0]);
  std::vector<Source> damaged = sources;
  const std::vector<std::string> lines = LinesOf(source.text);
  const std::vector<DamagedLine> swept = c.lineEnds ? MarkedLineEnds(source.text, c.first, c.last)
                                                     : SweptBytes(source.text, c.lines, CommentAfterBlank, kSweptBytes, c.first, c.last);
  size_t runs = 0, faults = 0, taken = 0;  // taken: with another output
  for (size_t k = c.first; k < c.last; ++k) {
    if (!c.lineEnds && k % tool.every != 0) continue;
    const DamagedLine& d = swept[k - c.first];
    damaged[c.source].text = d.text;
    std::string fault;
    try {
      const SweepRun run = tool.run(damaged, c.source);
      const size_t at = static_cast<size_t>(d.line - 1);
      if (!(run.ok && d.lineEnd && d.byte == '#' && RunsOnAsText(c.tool, lines[at], lines[at + 1])))
        fault = SweepFault(source.name, source.text, d, good, run, {true, false});
      taken += run.ok && !fault.empty();
    } catch (const std::exception& e) {
      fault = d.what + ": the tool stopped: " + e.what();
    }
    ++runs;
    if (!fault.empty() && ++faults <= 20) ADD_FAILURE() << tool.name << " " << source.name << ", " << fault;
  }
  EXPECT_EQ(faults, 0u) << tool.name << " " << source.name << ": " << faults << " of " << runs << " runs, " << taken
                        << " taken with another output";
}

// A sweep with nothing to sweep fails: every tool has sources, and cases
// among them.
TEST(SourceSweep, EveryToolHasSourcesToSweep) {
  const std::vector<SweepCase> cases = Cases();
  for (size_t t = 0; t < std::size(kTools); ++t) {
    EXPECT_FALSE(SourcesOf(t).empty()) << kTools[t].name << ": no sources under content/" << kTools[t].folder;
    EXPECT_TRUE(std::any_of(cases.begin(), cases.end(), [&](const SweepCase& c) { return c.tool == t; })) << kTools[t].name;
  }
}

// Where a comment holds a line, as every tool tells it: from any byte after
// the comment's own text has begun, mid-word too, but not at its first
// word (a line written out of use, which holds that one line); a reader
// whose headings stand at the start of their lines takes one only glued to
// the comment's text, as a lost line end leaves it.
TEST(SourceSweep, ACommentHoldsALineAfterItsOwnText) {
  // A sound line (its word and 2 or 3 more), or "end" alone.
  auto isLine = [](std::string_view text) {
    const std::vector<std::string> words = LineWords(text);
    return !words.empty() &&
           ((words[0] == "sound" && words.size() >= 3 && words.size() <= 4) || (words[0] == "end" && words.size() == 1));
  };
  auto headingGlued = [&](std::string_view text, bool glued) { return (glued || text.rfind("sound", 0) != 0) && isLine(text); };
  const struct {
    const char* comment;
    const char* held;       // the line it holds, none for ""
    const char* heldGlued;  // the same where a sound line is taken glued alone
  } cases[] = {
      {"# a blade.sound Miss_2 0.4", "sound Miss_2 0.4", "sound Miss_2 0.4"},
      {"# a blade\"sound Miss_2 0.4 2", "sound Miss_2 0.4 2", "sound Miss_2 0.4 2"},
      {"# the last layer\\end", "end", "end"},
      {"# a friend", "end", "end"},  // a word's last bytes may be a line a lost line end joined
      {"# makes the sound Miss_2 0.4", "sound Miss_2 0.4", ""},
      {"# sound Miss_2 0.4", "", ""},  // a line written out of use
      {"## end", "", ""},
      {"# sound Miss_1 0.28sound Miss_2 0.4", "sound Miss_2 0.4", "sound Miss_2 0.4"},
      {"# the sound Miss_2 is quiet at night", "", ""},
      {"# the end of it", "", ""},
      {"#", "", ""},
      {"# sound Miss_1 0.28 end", "end", "end"},  // a line written out of use holds that one line
      {"# sound Miss_1 0.28  sound Miss_2 0.4", "sound Miss_2 0.4", ""},
  };
  for (const auto& c : cases) {
    const std::string_view comment = c.comment;
    auto held = [&](size_t at) { return at == std::string_view::npos ? std::string_view() : comment.substr(at); };
    EXPECT_EQ(held(JoinedLineAt(comment, isLine)), c.held) << c.comment;
    EXPECT_EQ(held(JoinedLineAt(comment, headingGlued)), c.heldGlued) << c.comment;
  }
  // A comment after a line's words writes no line out of use: a line from
  // its first byte is one its mark took (a heading glued to the mark alone).
  EXPECT_EQ(JoinedLineAt("#end", isLine, true), 1u);
  EXPECT_EQ(JoinedLineAt("#sound Miss_2 0.4", headingGlued, true), 1u);
  EXPECT_EQ(JoinedLineAt("#  sound Miss_2 0.4", headingGlued, true), std::string_view::npos);
  // A value that runs to its line's end holds a line from any byte.
  EXPECT_EQ(HeldLineAt("The Old Mill end", isLine), 13u);
  EXPECT_EQ(HeldLineAt("end", isLine), 0u);
  EXPECT_EQ(HeldLineAt("A friend's end of day", isLine), std::string_view::npos);
}

// Every tool refuses a comment that holds a line after its own text, at the
// comment's line, and takes a line commented out as the comment it is (a
// table's line of fields though each field reads as a line).
TEST(SourceSweep, EveryToolRefusesALineJoinedToACommentAndTakesOneCommentedOut) {
  const struct {
    size_t tool;
    const char* source;
    const char* line;  // a line of the source, written again before it
  } cases[] = {
      {0, "maps/DemoVersion/Map21.txt", "width: 32"},
      {1, "tables/items.txt", "type Arrow  price 1  bonus 0  icon 150  place Ammunition"},  // fields, each a line
      {2, "scripts/DemoVersion/Map21_2.txt", "if_flag CottageChestOpened 0"},
      {3, "help/combat.txt", "page 41003 Attack Roll"},
      {4, "start/DemoVersion/Party.txt", "wear Torso \"Chainmail\""},
  };
  for (const auto& c : cases) {
    const SweptTool& tool = kTools[c.tool];
    std::vector<Source> sources = SourcesOf(c.tool);
    const size_t at = static_cast<size_t>(
        std::find_if(sources.begin(), sources.end(), [&](const Source& s) { return s.name == c.source; }) - sources.begin());
    ASSERT_LT(at, sources.size()) << c.source;
    const SweepRun good = tool.run(sources, at);
    const std::string text = sources[at].text;
    const size_t place = text.find(c.line);
    ASSERT_NE(place, std::string::npos) << c.source;
    const auto line = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(place), '\n') + 1;
    const std::string where = std::string(c.source) + ":" + std::to_string(line) + ":";
    sources[at].text = text.substr(0, place) + "# " + c.line + "\n" + text.substr(place);
    const SweepRun commentedOut = tool.run(sources, at);
    EXPECT_TRUE(commentedOut.ok && commentedOut.output == good.output)
        << c.source << (commentedOut.messages.empty() ? "" : ": " + commentedOut.messages[0]);
    sources[at].text = text.substr(0, place) + "# as written." + c.line + "\n" + text.substr(place);
    const SweepRun joined = tool.run(sources, at);
    ASSERT_EQ(joined.messages.size(), 1u) << c.source;
    EXPECT_EQ(joined.messages[0].rfind(where, 0), 0u) << joined.messages[0];
    const std::string message = "the comment ends with a line of its own, " + QuotedBytes(c.line) + ": a line end lost or damaged?";
    EXPECT_NE(joined.messages[0].find(message), std::string::npos) << joined.messages[0];
  }
}

// A real source whose line took the next in, or lost it to a comment mark
// put in or glued to a word, whose line written out of use took the next,
// whose heading was written out of use, or whose declared name was damaged
// into another: one message, at the damaged line.
TEST(SourceSweep, ALineTakenIntoAnotherIsRefusedAtTheDamagedLine) {
  const struct {
    size_t tool;
    const char* source;
    const char* from;
    const char* to;       // the damaged line holds its first byte
    const char* message;  // what the message holds
  } cases[] = {
      {0, "maps/DemoVersion/Map5.txt", "out.\nnumber", "out. number", "the text ends with a line of its own, 'number: 5'"},
      {0, "maps/DemoVersion/Map5.txt", "out.\nnumber", "out.#number", "the text ends with a line of its own, 'number: 5'"},
      {0, "maps/DemoVersion/Map5.txt", "number: 5", "number: 6", "'number' is 6, but Map5.txt is map 5"},
      {0, "maps/DemoVersion/Map5.txt", "text: A squat", "# text: An old text.text: A squat",
       "the comment ends with a line of its own, 'text: A squat"},
      {0, "maps/DemoVersion/Map5.txt", "\nlayer floor", "#layer floor", "'layer floor' is written out of use here"},
      {1, "tables/items.txt", "bonus 2  icon 168", "bonus 2 # icon 168", "own, 'icon 168  place Waist'"},
      {1, "tables/spells.txt", "\"Foresight\"\n", "\"Foresight\"#", "the comment ends with a line of its own, 'level 7 "},
      {1, "tables/spells.txt", "\nrow 70\n", "#row 70\n", "'row 70' is written out of use here"},
      {1, "tables/spells.txt", "row 71\n", "#ow 71\n", "'row 71' is written out of use here"},
      {2, "scripts/DemoVersion/Map21_2.txt", "0\n  set_flag", "0#  set_flag", "own, 'set_flag CottageChestOpened 1'"},
      {2, "scripts/DemoVersion/Map21_2.txt", "  gold 40", "  # op 32 40 1   gold 40", "own, 'gold 40'"},
      {2, "scripts/DemoVersion/Map22_1.txt", "8\nend", "8#end", "the comment ends with a line of its own, 'end'"},
      {2, "scripts/DemoVersion/Map23_Open5.txt", "5\nelse", "5#else", "the comment ends with a line of its own, 'else'"},
      {3, "help/abilities.txt", "Drench\nkeyword", "Drench#keyword", "the title ends with a line of its own, 'keyword @DRENCH@'"},
      {3, "help/combat.txt", "\npage 41004 Damage", "#page 41004 Damage", "'page 41004 Damage' is written out of use here"},
      {3, "help/combat.txt", "keyword @DAMAGE@", "keyword @DAMAG@",
       "the keyword @DAMAG@ is linked from no page, and the link @DAMAGE@, one byte from it, names no page (help/"},
      {4, "start/FullVersion/Party.txt", "\"CLEAVE\"\n ", "\"CLEAVE\"# ", "the comment ends with a line of its own, 'feat \\\"IMPROVED INITIATIVE"},
      {4, "start/DemoVersion/People.txt", "\ncreature 4", "#creature 4", "'creature 4' is written out of use here"},
  };
  for (const auto& c : cases) {
    const SweptTool& tool = kTools[c.tool];
    std::vector<Source> sources = SourcesOf(c.tool);
    const size_t at = static_cast<size_t>(
        std::find_if(sources.begin(), sources.end(), [&](const Source& s) { return s.name == c.source; }) - sources.begin());
    ASSERT_LT(at, sources.size()) << c.source;
    std::string& text = sources[at].text;
    const size_t place = text.find(c.from);
    ASSERT_NE(place, std::string::npos) << c.from;
    text.replace(place, std::string_view(c.from).size(), c.to);
    const auto line = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(place), '\n') + 1;
    const SweepRun run = tool.run(sources, at);
    ASSERT_EQ(run.messages.size(), 1u) << c.to << (run.messages.empty() ? "" : "\n" + run.messages[0]);
    EXPECT_EQ(run.messages[0].rfind(std::string(c.source) + ":" + std::to_string(line) + ":", 0), 0u) << run.messages[0];
    EXPECT_NE(run.messages[0].find(c.message), std::string::npos) << run.messages[0];
  }
}

INSTANTIATE_TEST_SUITE_P(RealSources, SourceSweep, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<SweepCase>& info) { return info.param.name; });

}  // namespace
