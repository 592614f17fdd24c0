#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "fuzz/fuzz_target.h"

std::map<std::string, FuzzFunction>& FuzzTargets() {
  static std::map<std::string, FuzzFunction> targets;
  return targets;
}

void FuzzFault(const std::string& what) {
  std::fprintf(stderr, "fuzz fault: %s\n", what.c_str());
  std::abort();
}

namespace {

std::filesystem::path g_scratch;

void RemoveScratchFolder() {
  std::error_code ec;
  if (!g_scratch.empty()) std::filesystem::remove_all(g_scratch, ec);
}

}  // namespace

const std::string& GameFolder() {
  static const std::string folder = [] {
    std::error_code ec;
    const std::filesystem::path beside = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path().parent_path() / "game";
    if (!ec && std::filesystem::exists(beside / "Item1.iml")) return beside.string();
    return std::filesystem::current_path().string();
  }();
  return folder;
}

void EnterScratchFolder() {
  if (!g_scratch.empty()) return;
  char pattern[] = "/tmp/grevenholt_fuzz_XXXXXX";
  if (!::mkdtemp(pattern)) FuzzFault("no scratch folder");
  g_scratch = pattern;
  std::filesystem::current_path(g_scratch);
  std::atexit(RemoveScratchFolder);
}

void WriteScratchFile(const std::string& name, const uint8_t* data, size_t size) {
  EnterScratchFolder();
  const std::filesystem::path path = g_scratch / name;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) FuzzFault("cannot write " + path.string());
}

std::string InputText(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

std::string TakeFirstLine(std::string* text) {
  const size_t nl = text->find('\n');
  std::string first = text->substr(0, nl);
  text->erase(0, nl == std::string::npos ? text->size() : nl + 1);
  return first;
}
