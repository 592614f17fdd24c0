#include "platform/files.h"

#include <filesystem>
#include <system_error>

namespace platform {

std::string GamePath(const char* path) {
  std::string p = path ? path : "";
  for (char& c : p)
    if (c == '\\') c = '/';
  return p;
}

FILE* OpenGameFile(const char* path, const char* mode) {
  if (!path || !mode) return nullptr;
  return std::fopen(GamePath(path).c_str(), mode);
}

bool GameFileExists(const char* path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(GamePath(path), ec);
}

long GameFileSize(const char* path) {
  std::error_code ec;
  auto size = std::filesystem::file_size(GamePath(path), ec);
  return ec ? -1 : static_cast<long>(size);
}

bool MakeGameFolder(const char* path) {
  std::error_code ec;
  std::filesystem::create_directories(GamePath(path), ec);
  return std::filesystem::is_directory(GamePath(path), ec);
}

bool WriteGameFileAtomically(const char* path, const void* data, size_t size) {
  const std::string target = GamePath(path);
  const std::string temp = target + ".tmp";
  FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  ok = (std::fflush(f) == 0) && ok;
  ok = (std::fclose(f) == 0) && ok;
  if (ok) ok = std::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) std::remove(temp.c_str());
  return ok;
}

}  // namespace platform
