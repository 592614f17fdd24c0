#include "platform/files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace platform {
namespace {

// The fault seam: off (0) unless a test sets it.
int g_failAt = 0;
bool g_failLater = false;
int g_counted = 0;

// A write or a rename about to happen: false when the seam makes it fail.
bool CountedOperationGoesAhead() {
  if (g_failAt == 0) return true;
  ++g_counted;
  return g_counted < g_failAt || (g_counted > g_failAt && !g_failLater);
}
// Any other change to the disk: false once the seam has stopped the machine.
bool OtherOperationGoesAhead() { return g_failAt == 0 || !g_failLater || g_counted < g_failAt; }

}  // namespace

namespace file_faults {
void FailOperation(int operation, bool andLater) {
  g_failAt = operation;
  g_failLater = andLater;
  g_counted = 0;
}
void Clear() { FailOperation(0, false); }
int OperationsCounted() { return g_counted; }
}  // namespace file_faults

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

bool GamePathExists(const char* path) {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::symlink_status(GamePath(path), ec));
}

long GameFileSize(const char* path) {
  std::error_code ec;
  auto size = std::filesystem::file_size(GamePath(path), ec);
  return ec ? -1 : static_cast<long>(size);
}

bool MakeGameFolder(const char* path) {
  if (!OtherOperationGoesAhead()) return false;
  std::error_code ec;
  std::filesystem::create_directories(GamePath(path), ec);
  return std::filesystem::is_directory(GamePath(path), ec);
}

bool WriteGameFileAtomically(const char* path, const void* data, size_t size) {
  const std::string target = GamePath(path);
  const std::string temp = target + ".tmp";
  if (!CountedOperationGoesAhead()) return false;
  FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  ok = (std::fflush(f) == 0) && ok;
  ok = (std::fclose(f) == 0) && ok;
  if (ok) ok = CountedOperationGoesAhead() && std::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok && OtherOperationGoesAhead()) std::remove(temp.c_str());
  return ok;
}

bool WriteGameFile(const char* path, const void* data, size_t size) {
  if (!CountedOperationGoesAhead()) return false;
  const std::string target = GamePath(path);
  const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const auto* bytes = static_cast<const uint8_t*>(data);
  size_t done = 0;
  bool ok = true;
  while (ok && done < size) {
    const ssize_t n = ::write(fd, bytes + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ok = false;
    else done += static_cast<size_t>(n);
  }
  ok = (::close(fd) == 0) && ok;
  if (!ok) ::unlink(target.c_str());
  return ok;
}

bool SyncGameFile(const char* path) {
  if (!OtherOperationGoesAhead()) return false;
  const int fd = ::open(GamePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fdatasync(fd) == 0;
  ::close(fd);
  return ok;
}

bool ReadGameFile(const char* path, size_t limit, std::vector<uint8_t>* out) {
  out->clear();
  FILE* f = OpenGameFile(path, "rb");
  if (!f) return false;
  // One byte more than the limit is asked for, so that a longer file shows.
  std::vector<uint8_t> bytes(limit + 1);
  size_t got = 0;
  while (got < bytes.size()) {
    const size_t n = std::fread(bytes.data() + got, 1, bytes.size() - got, f);
    if (n == 0) break;
    got += n;
  }
  const bool error = std::ferror(f) != 0;
  std::fclose(f);
  if (error || got > limit) return false;
  bytes.resize(got);
  out->swap(bytes);
  return true;
}

bool RenameGamePath(const char* from, const char* to) {
  if (!CountedOperationGoesAhead()) return false;
  return std::rename(GamePath(from).c_str(), GamePath(to).c_str()) == 0;
}

bool RemoveGameFile(const char* path) {
  if (!OtherOperationGoesAhead()) return false;
  const std::string p = GamePath(path);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(p, ec)) return false;
  return std::filesystem::remove(p, ec) && !ec;
}

bool RemoveGameFolderTree(const char* path) {
  const std::string p = GamePath(path);
  std::error_code ec;
  if (!OtherOperationGoesAhead()) return !std::filesystem::exists(p, ec);
  std::filesystem::remove_all(p, ec);
  return !std::filesystem::exists(p, ec);
}

bool GameFolderExists(const char* path) {
  std::error_code ec;
  return std::filesystem::is_directory(GamePath(path), ec);
}

bool SyncGameFolder(const char* path) {
  if (!OtherOperationGoesAhead()) return false;
  const int fd = ::open(GamePath(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

}  // namespace platform
