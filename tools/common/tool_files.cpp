// What every content tool does with its files (see tool_files.h).
#include "common/tool_files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

bool ReadSourceFile(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream all;
  all << in.rdbuf();
  *text = all.str();
  return true;
}

std::string FaultSummary(const std::string& tool, size_t faults) {
  return tool + ": " + std::to_string(faults) + (faults == 1 ? " fault" : " faults") + ", nothing written";
}

OutputFiles::~OutputFiles() {
  std::error_code ec;
  for (const auto& [staged, place] : staged_) fs::remove(staged, ec);
  // Innermost first: a folder this run made goes when it holds nothing else.
  for (auto it = madeFolders_.rbegin(); it != madeFolders_.rend(); ++it) fs::remove(*it, ec);
}

std::string OutputFiles::Stage(const std::string& path) {
  const std::string staged = path + ".tmp";
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::string> missing;
  std::error_code ec;
  for (fs::path folder = fs::path(path).parent_path(); !folder.empty() && !fs::exists(folder, ec);
       folder = folder.parent_path())
    missing.insert(missing.begin(), folder.string());
  for (const std::string& folder : missing)
    if (fs::create_directory(folder, ec)) madeFolders_.push_back(folder);
  staged_.emplace_back(staged, path);
  return staged;
}

bool OutputFiles::Write(const std::string& path, const void* bytes, size_t size) {
  std::ofstream out(Stage(path), std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
  out.close();
  return static_cast<bool>(out);
}

bool OutputFiles::Commit(std::string* failed) {
  std::lock_guard<std::mutex> lock(mutex_);
  while (!staged_.empty()) {
    std::error_code ec;
    fs::rename(staged_.front().first, staged_.front().second, ec);
    if (ec) {
      *failed = staged_.front().second;
      return false;
    }
    staged_.erase(staged_.begin());
  }
  madeFolders_.clear();
  return true;
}
