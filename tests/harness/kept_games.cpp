// The saved games a play script keeps (see kept_games.h).
#include "harness/kept_games.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "harness/harness.h"

namespace harness {

namespace {

namespace fs = std::filesystem;

// Beside the built game's folder, never in it.
fs::path KeptGamesFolder() { return harness::GameFolder().parent_path() / "play-games"; }

// Takes the lock `how` on the open file `fd`; 0, or the error.
int Lock(int fd, int how) {
  while (::flock(fd, how) != 0)
    if (errno != EINTR) return errno;
  return 0;
}

// The folder of the kept sets, locked `how` while this lives.
class FolderLock {
 public:
  explicit FolderLock(int how) : fd_(::open(KeptGamesFolder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    error_ = fd_ < 0 ? errno : Lock(fd_, how);
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  ~FolderLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  int error() const { return error_; }

 private:
  int fd_;
  int error_;
};

// The lock of the keepers of `name`, opened (made, with the folder, when
// missing); -1 when it cannot be.
int OpenKeepersLock(const std::string& name) {
  std::error_code ec;
  fs::create_directories(KeptGamesFolder(), ec);
  return ::open((KeptGamesFolder() / (name + ".lock")).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
}

void (*g_takeUpHook)() = nullptr;

// Whether a script that keeps `name` is at work.
bool KeeperAtWork(const std::string& name) {
  const int lock = ::open((KeptGamesFolder() / (name + ".lock")).c_str(), O_RDONLY | O_CLOEXEC);
  if (lock < 0) return false;
  const bool held = ::flock(lock, LOCK_EX | LOCK_NB) != 0;
  ::close(lock);
  return held;
}

}  // namespace

KeptGamesHold::~KeptGamesHold() {
  if (lock_ >= 0) ::close(lock_);
}

void SetTakeUpHook(void (*hook)()) { g_takeUpHook = hook; }

std::filesystem::path KeptGames(const std::string& name) { return KeptGamesFolder() / name; }

std::filesystem::path MakeFreshKeptGames(const std::string& name) {
  std::error_code ec;
  fs::create_directories(KeptGamesFolder(), ec);
  std::string pattern = (KeptGamesFolder() / (name + ".new-XXXXXX")).string();
  return ::mkdtemp(pattern.data()) ? fs::path(pattern) : fs::path();
}

KeptGamesHold ForgetKeptGames(const std::string& name) {
  const int lock = OpenKeepersLock(name);
  if (lock < 0) return KeptGamesHold();
  // The keepers' lock is taken and turned shared only while the folder is
  // locked, so that a script taking up, which asks after keepers with the
  // folder locked too, sees this keeper from its start on, and its asking
  // is never taken here for another run's keeper.
  int error;
  {
    const FolderLock folder(LOCK_EX);  // no script is bringing the set in
    // Held whole: no keeper of another run is at work.
    if (::flock(lock, LOCK_EX | LOCK_NB) == 0) {
      std::error_code ec;
      fs::remove_all(KeptGames(name), ec);
      const std::string fresh = name + ".new-";
      for (fs::directory_iterator it(KeptGamesFolder(), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code ignored;
        if (it->path().filename().string().starts_with(fresh)) fs::remove_all(it->path(), ignored);
      }
    }
    error = Lock(lock, LOCK_SH);
  }
  if (error != 0) {
    ::close(lock);
    return KeptGamesHold();
  }
  return KeptGamesHold(lock);
}

std::string PutKeptGames(const std::filesystem::path& fresh, const std::string& name) {
  const fs::path kept = KeptGames(name), before = fresh.string() + ".before";
  int error = 0;
  {
    const FolderLock lock(LOCK_EX);
    if (lock.error()) {
      error = lock.error();
    } else if (::rename(kept.c_str(), before.c_str()) != 0 && errno != ENOENT) {
      error = errno;
    } else if (::rename(fresh.c_str(), kept.c_str()) != 0) {
      error = errno;
      ::rename(before.c_str(), kept.c_str());
    }
  }
  std::error_code ignored;
  fs::remove_all(fresh, ignored);  // the new set when it could not be put in place
  fs::remove_all(before, ignored);
  return error ? std::strerror(error) : "";
}

std::string TakeUpKeptGames(const std::string& name, const std::filesystem::path& to) {
  const fs::path kept = KeptGames(name);
  for (;;) {
    if (g_takeUpHook) g_takeUpHook();
    {
      // Keepers start, and put their sets, only while the folder is locked
      // whole: with it locked shared, the set and the keepers at work are
      // seen as they stand together.
      const FolderLock lock(LOCK_SH);
      if (lock.error() && lock.error() != ENOENT)
        return std::string("the kept games could not be brought in: ") + std::strerror(lock.error());
      if (!lock.error() && fs::is_directory(kept)) {
        std::error_code ec;
        for (const fs::path& slot : PlayersGames(to))
          if (!ec) fs::remove_all(slot, ec);
        if (!ec) ec = CopyPlayersGames(kept, to);
        return ec ? "the kept games could not be brought in: " + ec.message() : "";
      }
      if (!KeeperAtWork(name)) return "no games kept as " + name + " (the script that keeps them runs first)";
    }
    ::usleep(50 * 1000);
  }
}

std::vector<std::filesystem::path> PlayersGames(const std::filesystem::path& folder) {
  std::vector<fs::path> slots;
  std::error_code ec;
  for (const fs::directory_entry& adventure : fs::directory_iterator(folder, ec)) {
    if (!adventure.is_directory()) continue;
    for (const fs::directory_entry& slot : fs::directory_iterator(adventure.path(), ec))
      if (slot.is_directory() && slot.path().filename() != "0") slots.push_back(slot.path());
  }
  return slots;
}

std::error_code CopyPlayersGames(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::error_code ec;
  for (const fs::path& slot : PlayersGames(from)) {
    const fs::path target = to / slot.parent_path().filename() / slot.filename();
    fs::remove_all(target, ec);
    fs::create_directories(target.parent_path(), ec);
    fs::copy(slot, target, fs::copy_options::recursive, ec);
    if (ec) return ec;
  }
  return {};
}

}  // namespace harness
