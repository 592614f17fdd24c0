// makestart OUTPUT_FOLDER TABLES_FOLDER SOURCE...
//   Builds the prepared start of an adventure from its sources: the creature
//   roster "SaveChar.cml" and the crafted table "SaveWeapon.wml" in the output
//   folder. TABLES_FOLDER holds the table sources (items.txt, spells.txt,
//   crafted.txt) whose names the sources use. Nothing is written unless every
//   source is sound; each fault is reported as file:line.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "startmaker/start_builder.h"
#include "startmaker/start_source.h"
#include "tablemaker/tablemaker.h"

namespace {

// The same start every build.
constexpr uint32_t kStartSeed = 20240601;

bool ReadText(const std::string& path, std::string* out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  *out = ss.str();
  return true;
}

bool CompileTableSource(const std::string& table, const std::string& path, std::vector<uint8_t>* image) {
  std::string text;
  if (!ReadText(path, &text)) {
    std::fprintf(stderr, "%s: cannot be read\n", path.c_str());
    return false;
  }
  const TableResult result = CompileTable(*FindSchema(table), path, text);
  for (const std::string& e : result.errors) std::fprintf(stderr, "%s\n", e.c_str());
  *image = result.image;
  return result.errors.empty();
}

bool WriteWhole(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  const std::filesystem::path temp = path.string() + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) return false;
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  return !ec;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: makestart OUTPUT_FOLDER TABLES_FOLDER SOURCE...\n");
    return 2;
  }
  const std::filesystem::path outDir = argv[1];
  const std::filesystem::path tables = argv[2];
  std::vector<uint8_t> items, spells, crafted;
  if (!CompileTableSource("items", (tables / "items.txt").string(), &items) ||
      !CompileTableSource("spells", (tables / "spells.txt").string(), &spells) ||
      !CompileTableSource("crafted", (tables / "crafted.txt").string(), &crafted)) {
    std::fprintf(stderr, "makestart: the tables have faults; nothing written\n");
    return 1;
  }
  InstallStartTables(items, spells, crafted);

  StartSource source;
  for (int i = 3; i < argc; ++i) {
    std::string text;
    if (!ReadText(argv[i], &text)) {
      source.errors.push_back(std::string(argv[i]) + ": cannot be read");
      continue;
    }
    ReadStartSource(argv[i], text, &source);
  }
  if (source.errors.empty()) CheckStartSource(&source);
  if (source.errors.empty()) BuildStart(source, kStartSeed, &source.errors);
  for (const std::string& e : source.errors) std::fprintf(stderr, "%s\n", e.c_str());
  if (!source.errors.empty()) {
    std::fprintf(stderr, "makestart: %zu fault%s; nothing written\n", source.errors.size(),
                 source.errors.size() == 1 ? "" : "s");
    return 1;
  }
  std::vector<uint8_t> roster, weapons;
  PackStartFiles(&roster, &weapons);
  CheckStartFiles(roster, weapons, &source.errors);
  for (const std::string& e : source.errors) std::fprintf(stderr, "%s\n", e.c_str());
  if (!source.errors.empty()) {
    std::fprintf(stderr, "makestart: the start would be refused by the game; nothing written\n");
    return 1;
  }
  std::error_code ec;
  std::filesystem::create_directories(outDir, ec);
  if (!WriteWhole(outDir / "SaveChar.cml", roster) || !WriteWhole(outDir / "SaveWeapon.wml", weapons)) {
    std::fprintf(stderr, "makestart: cannot write into %s\n", outDir.string().c_str());
    return 1;
  }
  return 0;
}
