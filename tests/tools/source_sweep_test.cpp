// Every content tool on its real sources damaged by one byte, as a content
// author's file is damaged: every line kind of every source, each byte kind
// replacing a byte, inserted and a byte deleted (tools/damaged_lines.h). A
// run never stops the tool; it gives the good source's output, or fails with
// one message at the damaged file and line and writes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

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

// The sources of a folder under content/ (and its folders) with the extensions, in name order.
std::vector<Source> Sources(const std::string& folder, std::initializer_list<const char*> extensions) {
  std::vector<fs::path> paths;
  for (const auto& entry : fs::recursive_directory_iterator(kContent / folder))
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
// them: a script alone, or every script when a names file is the damaged one.
SweepRun MakeScripts(const std::vector<Source>& sources, size_t at) {
  const std::string folder = FolderOf(sources[at].name);
  const bool names = fs::path(sources[at].name).extension() == ".names";
  ScriptNames shared;
  std::vector<std::string> errors;
  for (const Source& s : sources)
    if (FolderOf(s.name) == folder && fs::path(s.name).extension() == ".names") ReadScriptNames(s.name, s.text, &shared, &errors);
  std::string output;
  for (size_t i = 0; i < sources.size(); ++i) {
    if (FolderOf(sources[i].name) != folder || fs::path(sources[i].name).extension() != ".txt" || (!names && i != at)) continue;
    ScriptSourceResult result = CompileScriptSource(sources[i].name, sources[i].text, shared);
    errors.insert(errors.end(), result.errors.begin(), result.errors.end());
    output.append(result.bytes.begin(), result.bytes.end());
  }
  return Run(true, output, errors);
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

TEST(SourceSweep, OneDamagedByteInAnyRealSourceGivesItsOutputOrOneMessageAtItsLine) {
  const struct {
    const char* tool;
    std::vector<Source> sources;
    SweepRun (*run)(const std::vector<Source>&, size_t);
    std::string (*kind)(const std::string&);
    size_t every;  // one damaged source of so many is run, so that a tool that reads all its sources stays fast
  } tools[] = {
      {"makemaps", Sources("maps", {".txt"}), MakeMaps, MapLineKind, 1},
      {"tablemaker", Sources("tables", {".txt"}), MakeTable, TableLineKind, 3},
      {"makescripts", Sources("scripts", {".txt", ".names"}), MakeScripts, LineKind, 2},
      {"compile_help", Sources("help", {".txt"}), MakeHelp, HelpLineKind, 5},
      {"makestart", Sources("start", {".txt"}), MakeStart, LineKind, 2},
  };
  for (const auto& tool : tools) {
    ASSERT_FALSE(tool.sources.empty()) << tool.tool;
    std::set<std::string> seen;
    size_t runs = 0, faults = 0;
    for (size_t i = 0; i < tool.sources.size(); ++i) {
      const std::vector<int> lines = SampledLines(tool.sources[i].text, tool.kind, &seen);
      if (lines.empty()) continue;
      const SweepRun good = tool.run(tool.sources, i);
      ASSERT_TRUE(good.ok) << tool.sources[i].name << ": " << (good.messages.empty() ? "" : good.messages[0]);
      std::vector<Source> damaged = tool.sources;
      const std::vector<DamagedLine> swept = SweptBytes(tool.sources[i].text, lines);
      for (size_t k = 0; k < swept.size(); k += tool.every) {
        const DamagedLine& d = swept[k];
        damaged[i].text = d.text;
        std::string fault;
        try {
          fault = SweepFault(tool.sources[i].name, tool.sources[i].text, d, good, tool.run(damaged, i), {true, false});
        } catch (const std::exception& e) {
          fault = d.what + ": the tool stopped: " + e.what();
        }
        ++runs;
        if (!fault.empty() && ++faults <= 20) ADD_FAILURE() << tool.tool << " " << tool.sources[i].name << ", " << fault;
      }
      damaged[i].text = tool.sources[i].text;
    }
    EXPECT_EQ(faults, 0u) << tool.tool << ": " << faults << " of " << runs << " runs";
  }
}

}  // namespace
