// makescripts OUTPUT_FOLDER [--names NAMES_FILE]... SOURCE...
//   Compiles each script source ("Map3_7.txt") into its compiled script
//   ("Map3_7.mls") in the output folder, with the names of the names files
//   shared by all of them. Nothing is written unless every source is sound;
//   each fault is reported as file:line: message.
// makescripts --check [--names NAMES_FILE]... SOURCE...
//   Only checks the sources.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/tool_files.h"
#include "scriptmaker/script_source.h"

namespace {

// The run, as main runs it (RunTool stops it on anything it throws).
int Make(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: makescripts OUTPUT_FOLDER [--names FILE]... SOURCE...\n"
                 "       makescripts --check [--names FILE]... SOURCE...\n");
    return 2;
  }
  const bool checkOnly = std::strcmp(argv[1], "--check") == 0;
  const std::string outDir = argv[1];
  std::vector<std::string> errors;
  std::vector<ScriptText> namesFiles, scripts;
  std::vector<std::string> outNames;
  for (int i = 2; i < argc; ++i) {
    const bool names = std::strcmp(argv[i], "--names") == 0 && i + 1 < argc;
    const std::string path = argv[names ? ++i : i];
    const std::string outName = ScriptOutputName(path);
    if (!names && outName.empty()) {
      errors.push_back(path + ": a script source is named NAME.txt with letters, digits, '_', '-' and '.'");
      continue;
    }
    std::string text;
    if (!ReadSourceFile(path, &text)) {
      errors.push_back(path + ": cannot be read");
      continue;
    }
    (names ? namesFiles : scripts).push_back({path, std::move(text)});
    if (!names) outNames.push_back(outName);
  }
  // Every source is compiled for its own faults, whatever the names files
  // held (after a refused line of one, for its own faults alone).
  ScriptSetResult set = CompileScriptSet(namesFiles, scripts);
  errors.insert(errors.end(), set.errors.begin(), set.errors.end());
  OutputFiles files;
  for (size_t i = 0; errors.empty() && !checkOnly && i < set.compiled.size(); ++i)
    if (std::string fault = files.Write(outDir + "/" + outNames[i], set.compiled[i]); !fault.empty())
      errors.push_back(std::move(fault));
  if (errors.empty() && !checkOnly)
    if (std::string fault = files.Commit(); !fault.empty()) errors.push_back(std::move(fault));
  for (const std::string& e : errors) std::fprintf(stderr, "%s\n", e.c_str());
  if (!errors.empty()) {
    std::fprintf(stderr, "%s\n", FaultSummary("makescripts", errors.size()).c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return RunTool("makescripts", Make, argc, argv); }
