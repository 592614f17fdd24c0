// makescripts OUTPUT_FOLDER [--names NAMES_FILE]... SOURCE...
//   Compiles each script source ("Map3_7.txt") into its compiled script
//   ("Map3_7.mls") in the output folder, with the names of the names files
//   shared by all of them. Nothing is written unless every source is sound;
//   each fault is reported as file:line: message.
// makescripts --check [--names NAMES_FILE]... SOURCE...
//   Only checks the sources.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "scriptmaker/script_source.h"

namespace {

bool ReadText(const std::string& path, std::string* out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  *out = ss.str();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: makescripts OUTPUT_FOLDER [--names FILE]... SOURCE...\n"
                 "       makescripts --check [--names FILE]... SOURCE...\n");
    return 2;
  }
  const bool checkOnly = std::strcmp(argv[1], "--check") == 0;
  const std::string outDir = argv[1];
  ScriptNames names;
  std::vector<std::string> errors;
  std::vector<std::string> sources;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--names") == 0 && i + 1 < argc) {
      const std::string path = argv[++i];
      std::string text;
      if (!ReadText(path, &text)) errors.push_back(path + ": cannot be read");
      else ReadScriptNames(path, text, &names, &errors);
      continue;
    }
    sources.push_back(argv[i]);
  }
  struct Output {
    std::string name;
    std::vector<uint8_t> bytes;
  };
  std::vector<Output> outputs;
  if (errors.empty()) {
    for (const std::string& path : sources) {
      const std::string outName = ScriptOutputName(path);
      if (outName.empty()) {
        errors.push_back(path + ": a script source is named NAME.txt with letters, digits, '_', '-' and '.'");
        continue;
      }
      std::string text;
      if (!ReadText(path, &text)) {
        errors.push_back(path + ": cannot be read");
        continue;
      }
      ScriptSourceResult r = CompileScriptSource(path, text, names);
      errors.insert(errors.end(), r.errors.begin(), r.errors.end());
      if (r.ok) outputs.push_back({outName, std::move(r.bytes)});
    }
  }
  for (const std::string& e : errors) std::fprintf(stderr, "%s\n", e.c_str());
  if (!errors.empty()) {
    std::fprintf(stderr, "makescripts: %zu fault%s, no script written\n", errors.size(),
                 errors.size() == 1 ? "" : "s");
    return 1;
  }
  if (checkOnly) return 0;
  std::error_code ec;
  std::filesystem::create_directories(outDir, ec);
  for (const Output& o : outputs) {
    const std::string target = outDir + "/" + o.name;
    FILE* f = std::fopen(target.c_str(), "wb");
    bool written = f && std::fwrite(o.bytes.data(), 1, o.bytes.size(), f) == o.bytes.size();
    if (f && std::fclose(f) != 0) written = false;
    if (!written) {
      std::fprintf(stderr, "%s: cannot be written\n", target.c_str());
      return 1;
    }
  }
  return 0;
}
