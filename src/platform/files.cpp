#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/uio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <filesystem>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/work_team.h"

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

// Removes the folders set aside, one after the other, on a thread of its own
// (removing a saved game's files takes longer than writing them). Finishes
// its list before the program ends.
class FolderRemover {
 public:
  ~FolderRemover() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
  }
  void Add(std::string path) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      waiting_.push_back(std::move(path));
      if (!worker_.joinable()) worker_ = std::thread([this] { Run(); });
    }
    changed_.notify_all();
  }
  void Finish() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return waiting_.empty() && !busy_; });
  }

 private:
  void Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      changed_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
      if (waiting_.empty()) return;
      const std::string path = waiting_.front();
      waiting_.pop_front();
      busy_ = true;
      lock.unlock();
      std::error_code ec;
      std::filesystem::remove_all(path, ec);
      lock.lock();
      busy_ = false;
      changed_.notify_all();
    }
  }
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::string> waiting_;
  bool busy_ = false;
  bool stopping_ = false;
  std::thread worker_;
};

FolderRemover& Remover() {
  static FolderRemover remover;
  return remover;
}

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
  // On the disk before it takes the old file's name: a crash then leaves the
  // old file or the new one, never an empty one.
  ok = ok && ::fdatasync(::fileno(f)) == 0;
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
  // The file is flushed soon after (SyncGameFile, SyncGameFolderTree): its
  // way to the disk starts now, beside the writing of the files after it, and
  // the flush then waits for what is left.
  if (ok) ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
  ok = (::close(fd) == 0) && ok;
  if (!ok) ::unlink(target.c_str());
  return ok;
}

namespace {

// Opens a file or folder for reading and flushes it with the call given.
bool FlushPath(const char* path, int openFlags, int (*flush)(int)) {
  if (!OtherOperationGoesAhead()) return false;
  const int fd = ::open(GamePath(path).c_str(), O_RDONLY | O_CLOEXEC | openFlags);
  if (fd < 0) return false;
  const bool ok = flush(fd) == 0;
  ::close(fd);
  return ok;
}

}  // namespace

bool SyncGameFile(const char* path) { return FlushPath(path, 0, ::fdatasync); }

namespace {

// Opens every file and folder below the open folder, and the folder itself.
// False when one could not be opened.
bool OpenFolderTree(int folder, std::vector<int>* opened) {
  opened->push_back(folder);
  DIR* listing = ::fdopendir(::dup(folder));
  if (!listing) return false;
  bool ok = true;
  while (const dirent* entry = ::readdir(listing)) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    const int fd = ::openat(folder, entry->d_name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
      if (fd >= 0) ::close(fd);
      ok = false;
    } else if (S_ISDIR(st.st_mode)) {
      ok = OpenFolderTree(fd, opened) && ok;
    } else {
      opened->push_back(fd);
    }
  }
  ::closedir(listing);
  return ok;
}

}  // namespace

bool SyncGameFolderTree(const char* path) {
  if (!OtherOperationGoesAhead()) return false;
  const int top = ::open(GamePath(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (top < 0) return false;
  std::vector<int> opened;
  bool ok = OpenFolderTree(top, &opened);
  // One flush each, all at once: the disk's cache is emptied once for the
  // flushes that wait together, where one after the other would each wait
  // for their own (a saved game is some fifty files).
  constexpr size_t kMostAtOnce = 64;
  std::atomic<size_t> next{0};
  std::atomic<bool> flushed{true};
  auto flush = [&] {
    for (size_t i; (i = next++) < opened.size();)
      if (::fsync(opened[i]) != 0) flushed = false;
  };
  std::vector<std::thread> team;
  try {
    for (size_t t = 1; t < std::min(opened.size(), kMostAtOnce); ++t) team.emplace_back(flush);
  } catch (const std::system_error&) {
    // Fewer helpers than asked for: those there and this thread do it all.
  }
  flush();
  for (std::thread& t : team) t.join();
  for (int fd : opened) ::close(fd);
  return ok && flushed;
}

namespace {

// Reads the whole open file, a regular file of at most `limit` bytes that
// ends where its size said, into the room `place` gives for its size; with
// kStart a longer file gives its first `limit` bytes. Closes it.
template <typename Place>
bool ReadWholeFile(int fd, size_t limit, ReadExtent extent, Place place) {
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
            (static_cast<uint64_t>(st.st_size) <= limit || extent == ReadExtent::kStart);
  if (ok) {
    // A file cut at the limit is read up to it, and where it ends is no matter.
    const bool cut = static_cast<uint64_t>(st.st_size) > limit;
    const size_t size = cut ? limit : static_cast<size_t>(st.st_size);
    uint8_t* into = place(size);
    // The file and one byte more in one go: a file that grew meanwhile is
    // not the one measured.
    uint8_t more;
    iovec parts[2] = {{into, size}, {&more, 1}};
    ssize_t n;
    do n = ::readv(fd, parts, cut ? 1 : 2);
    while (n < 0 && errno == EINTR);
    size_t done = n < 0 ? 0 : static_cast<size_t>(n);
    ok = n >= 0 && done <= size;
    const bool endSeen = cut || done == size;  // asked for one byte more and got none
    while (ok && done < size) {
      n = ::read(fd, into + done, size - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) ok = false;
      else done += static_cast<size_t>(n);
    }
    if (ok && !endSeen) {
      do n = ::read(fd, &more, 1);
      while (n < 0 && errno == EINTR);
      ok = n == 0;
    }
  }
  ::close(fd);
  return ok;
}

// A buffer that already has the room is not cleared first.
bool ReadWholeFile(int fd, size_t limit, ReadExtent extent, std::vector<uint8_t>* out) {
  const bool ok = ReadWholeFile(fd, limit, extent, [out](size_t size) {
    out->resize(size);
    return out->data();
  });
  if (!ok) out->clear();
  return ok;
}

}  // namespace

bool ReadGameFile(const char* path, size_t limit, std::vector<uint8_t>* out, ReadExtent extent) {
  const int fd = path ? ::open(GamePath(path).c_str(), O_RDONLY | O_CLOEXEC) : -1;
  if (fd < 0) {
    out->clear();
    return false;
  }
  return ReadWholeFile(fd, limit, extent, out);
}

GameFolderFiles::GameFolderFiles(const char* folder)
    : path_(GamePath(folder)), folder_(::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}

GameFolderFiles::~GameFolderFiles() {
  if (folder_ >= 0) ::close(folder_);
}

int GameFolderFiles::Open(const char* name, Result* missingOrFailed) const {
  const std::string path = folder_ < 0 ? path_ + '/' + GamePath(name) : GamePath(name);
  const int at = folder_ < 0 ? AT_FDCWD : folder_;
  const int fd = ::openat(at, path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    // Only a name with nothing behind it is missing (a dangling link is there, and unreadable).
    struct stat st {};
    *missingOrFailed = ::fstatat(at, path.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 ? kFailed : kMissing;
  }
  return fd;
}

GameFolderFiles::Result GameFolderFiles::Read(const char* name, size_t limit, std::vector<uint8_t>* out) const {
  Result result = kFailed;
  const int fd = Open(name, &result);
  if (fd < 0) {
    out->clear();
    return result;
  }
  return ReadWholeFile(fd, limit, ReadExtent::kWhole, out) ? kRead : kFailed;
}

GameFolderFiles::Result GameFolderFiles::Read(const char* name, size_t limit, uint8_t* into, size_t* size,
                                              ReadExtent extent) const {
  Result result = kFailed;
  *size = 0;
  const int fd = Open(name, &result);
  if (fd < 0) return result;
  size_t got = 0;
  if (!ReadWholeFile(fd, limit, extent, [&got, into](size_t n) {
        got = n;
        return into;
      }))
    return kFailed;
  *size = got;
  return kRead;
}

namespace {

// Reads bytes [from, to) of the open file into `into` + from; with `last`,
// the file must end at `to` (one byte more is asked for and none may come).
bool ReadSlice(int fd, uint8_t* into, size_t from, size_t to, bool last) {
  size_t done = from;
  uint8_t more;
  while (done < to || last) {
    iovec parts[2] = {{into + done, to - done}, {&more, 1}};
    ssize_t n;
    do n = ::preadv(fd, parts, last ? 2 : 1, static_cast<off_t>(done));
    while (n < 0 && errno == EINTR);
    if (n < 0) return false;
    if (n == 0) return done == to;  // the end: where it should be only once the slice is read
    done += static_cast<size_t>(n);
    if (done > to) return false;  // the file goes on past its measured size
  }
  return true;
}

}  // namespace

void GameFolderFiles::ReadMany(Wanted* files, size_t count) const { ReadMany(files, count, [] {}); }

void GameFolderFiles::ReadMany(Wanted* files, size_t count, const std::function<void()>& beside) const {
  // Every file's room in slices of at most this many bytes, all read side by
  // side. A file's first slice opens and measures it, its other slices wait
  // for that (parts are taken in order: the first always before them), and
  // the last slice to end closes it and gives the file's result.
  constexpr size_t kSlice = 512 * 1024;
  struct File {
    std::atomic<int> state{0};  // 0 being opened, 1 open (fd and size set), 2 not to be read
    int fd = -1;
    size_t size = 0;
    bool cut = false;  // a longer file read up to the limit
    std::atomic<size_t> slicesLeft{0};
    std::atomic<bool> failed{false};
  };
  std::vector<File> opened(count);
  struct Slice {
    size_t file, from, to;
  };
  // Every file's first slice before any other, so that a later slice seldom waits.
  std::vector<Slice> slices;
  for (size_t i = 0; i < count; ++i) {
    slices.push_back({i, 0, std::min(files[i].limit, kSlice)});
    opened[i].slicesLeft = 1;
  }
  for (size_t i = 0; i < count; ++i)
    for (size_t from = kSlice; from < files[i].limit; from += kSlice) {
      slices.push_back({i, from, std::min(files[i].limit, from + kSlice)});
      ++opened[i].slicesLeft;
    }
  RunParts(slices.size(), [&](size_t k) {
    const Slice& slice = slices[k];
    Wanted& w = files[slice.file];
    File& f = opened[slice.file];
    if (slice.from == 0) {
      w.size = 0;
      w.result = kFailed;
      const int fd = Open(w.name, &w.result);
      struct stat st {};
      const bool readable = fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                            (static_cast<uint64_t>(st.st_size) <= w.limit || w.extent == ReadExtent::kStart);
      if (readable) {
        f.fd = fd;
        f.cut = static_cast<uint64_t>(st.st_size) > w.limit;
        f.size = f.cut ? w.limit : static_cast<size_t>(st.st_size);
      } else if (fd >= 0) {
        ::close(fd);
        w.result = kFailed;
      }
      f.state.store(readable ? 1 : 2, std::memory_order_release);
    }
    int state;
    while ((state = f.state.load(std::memory_order_acquire)) == 0) std::this_thread::yield();
    if (state == 1) {
      // The slice the file ends in (or the room's last, for a file that fills it) checks that it ends there;
      // a file cut at the room's end goes on past it.
      const bool last = !f.cut && slice.from <= f.size && (f.size < slice.to || slice.to == w.limit);
      if ((slice.from < f.size || last) && !ReadSlice(f.fd, w.into, slice.from, std::min(slice.to, f.size), last))
        f.failed = true;
    }
    if (f.slicesLeft.fetch_sub(1) == 1 && state == 1) {
      ::close(f.fd);
      w.result = f.failed ? kFailed : kRead;
      w.size = f.failed ? 0 : f.size;
    }
  }, beside);
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

bool DiscardGameFolder(const char* path) {
  if (!OtherOperationGoesAhead()) return false;
  static int discarded = 0;
  const std::string folder = GamePath(path);
  const std::string aside = folder + ".discarded-" + std::to_string(::getpid()) + "-" + std::to_string(++discarded);
  std::error_code ec;
  std::filesystem::rename(folder, aside, ec);
  if (ec) {
    std::filesystem::remove_all(folder, ec);
    return !std::filesystem::exists(folder, ec);
  }
  Remover().Add(aside);
  return true;
}

void FinishDiscardingFolders() { Remover().Finish(); }

bool GameFolderExists(const char* path) {
  std::error_code ec;
  return std::filesystem::is_directory(GamePath(path), ec);
}

bool SyncGameFolder(const char* path) { return FlushPath(path, O_DIRECTORY, ::fsync); }

}  // namespace platform
