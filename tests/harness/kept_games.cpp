// The saved games a play script keeps (see kept_games.h).
#include "harness/kept_games.h"

#include <fcntl.h>
#include <signal.h>

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <cstdio>

#include "harness/harness.h"

namespace harness {

// Beside the built game's folder, never in it.
std::filesystem::path KeptGames(const std::string& name) {
  return harness::GameFolder().parent_path() / "play-games" / name;
}

std::filesystem::path FreshKeptGames(const std::string& name, pid_t keeper) {
  return KeptGames(name).string() + ".new" + std::to_string(keeper);
}

void ForgetKeptGames(const std::string& name) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::remove_all(KeptGames(name), ec);
  const std::string prefix = name + ".new";
  for (fs::directory_iterator it(KeptGames(name).parent_path(), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string entry = it->path().filename().string();
    if (entry.size() <= prefix.size() || entry.compare(0, prefix.size(), prefix) != 0) continue;
    const char* digits = entry.c_str() + prefix.size();
    pid_t keeper = 0;
    const auto [stop, fault] = std::from_chars(digits, entry.c_str() + entry.size(), keeper);
    if (fault != std::errc() || *stop != '\0' || keeper <= 0) continue;
    if (::kill(keeper, 0) != 0 && errno == ESRCH) {
      std::error_code ignored;
      fs::remove_all(it->path(), ignored);
    }
  }
}

bool PutKeptGames(const std::filesystem::path& fresh, const std::string& name) {
  namespace fs = std::filesystem;
  const fs::path kept = KeptGames(name);
  const bool swapped = ::renameat2(AT_FDCWD, fresh.c_str(), AT_FDCWD, kept.c_str(), RENAME_EXCHANGE) == 0;
  const bool put = swapped || (errno == ENOENT && ::rename(fresh.c_str(), kept.c_str()) == 0);
  std::error_code ignored;
  fs::remove_all(fresh, ignored);  // the set before, or the new one that could not be put in place
  return put;
}

bool TakeUpKeptGames(const std::string& name, const std::filesystem::path& to) {
  namespace fs = std::filesystem;
  const fs::path kept = KeptGames(name);
  // The set copied is the one in place from the copy's start to its end.
  auto inode = [&] {
    struct stat st;
    return ::stat(kept.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? st.st_ino : ino_t{0};
  };
  for (int tries = 0; tries < 3; ++tries) {
    std::error_code ec;
    for (const fs::path& slot : PlayersGames(to)) fs::remove_all(slot, ec);
    const ino_t before = inode();
    if (before != 0 && CopyPlayersGames(kept, to) && inode() == before) return true;
  }
  return false;
}

std::vector<std::filesystem::path> PlayersGames(const std::filesystem::path& folder) {
  namespace fs = std::filesystem;
  std::vector<fs::path> slots;
  std::error_code ec;
  for (const fs::directory_entry& adventure : fs::directory_iterator(folder, ec)) {
    if (!adventure.is_directory()) continue;
    for (const fs::directory_entry& slot : fs::directory_iterator(adventure.path(), ec))
      if (slot.is_directory() && slot.path().filename() != "0") slots.push_back(slot.path());
  }
  return slots;
}

bool CopyPlayersGames(const std::filesystem::path& from, const std::filesystem::path& to) {
  namespace fs = std::filesystem;
  std::error_code ec;
  for (const fs::path& slot : PlayersGames(from)) {
    const fs::path target = to / slot.parent_path().filename() / slot.filename();
    fs::remove_all(target, ec);
    fs::create_directories(target.parent_path(), ec);
    fs::copy(slot, target, fs::copy_options::recursive, ec);
    if (ec) return false;
  }
  return true;
}

}  // namespace harness
