// makestart OUTPUT_FOLDER TABLES_FOLDER SOURCE...
//   Builds the prepared start of an adventure from its sources: the creature
//   roster "SaveChar.cml" and the crafted table "SaveWeapon.wml" in the output
//   folder. TABLES_FOLDER holds the table sources (items.txt, spells.txt,
//   crafted.txt) whose names the sources use. Nothing is written unless every
//   source is sound; each fault is reported as file:line.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/tool_files.h"
#include "startmaker/start_builder.h"
#include "startmaker/start_source.h"

namespace {

// Ends a failed run: its faults, and the summary.
int Failed(const std::vector<std::string>& errors) {
  for (const std::string& e : errors) std::fprintf(stderr, "%s\n", e.c_str());
  std::fprintf(stderr, "%s\n", FaultSummary("makestart", errors.size()).c_str());
  return 1;
}

}  // namespace

namespace {

// The run, as main runs it (RunTool stops it on anything it throws).
int Make(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: makestart OUTPUT_FOLDER TABLES_FOLDER SOURCE...\n");
    return 2;
  }
  const std::filesystem::path outDir = argv[1];
  std::vector<std::string> tableFaults;
  const std::optional<StartTables> tables = InstallStartTables(argv[2], &tableFaults);
  if (!tables) return Failed(tableFaults);

  StartSource source;
  for (int i = 3; i < argc; ++i) {
    std::string text;
    if (!ReadSourceFile(argv[i], &text)) {
      source.faults.Line(argv[i], 0, "cannot be read");
      source.errors = source.faults.Messages();
      continue;
    }
    ReadStartSource(argv[i], text, &source);
  }
  if (source.errors.empty()) CheckStartSource(&source);
  if (source.errors.empty()) BuildStart(*tables, source, kStartSeed, &source.errors);
  if (!source.errors.empty()) return Failed(source.errors);
  std::vector<uint8_t> roster, weapons;
  PackStartFiles(&roster, &weapons);
  CheckStartFiles(roster, weapons, &source.errors);
  if (!source.errors.empty()) return Failed(source.errors);
  OutputFiles files;
  for (const auto& [name, bytes] : {std::pair{"SaveChar.cml", &roster}, std::pair{"SaveWeapon.wml", &weapons}})
    if (std::string fault = files.Write((outDir / name).string(), *bytes); !fault.empty())
      return Failed({std::move(fault)});
  if (std::string fault = files.Commit(); !fault.empty()) return Failed({std::move(fault)});
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return RunTool("makestart", Make, argc, argv); }
