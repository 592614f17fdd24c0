// What every content tool does with its files (see tool_files.h).
#include "common/tool_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/source_bytes.h"
#include "common/source_numbers.h"

namespace fs = std::filesystem;

namespace {

// The kinds of file a run keeps beside a place under a name of its own: the
// file it writes, and the file the place held while the run commits; and
// the lock file the run holds in that folder while it lives.
constexpr const char* kStagedMark = ".staged-";
constexpr const char* kKeptMark = ".kept-";
constexpr const char* kLockEnd = ".lock";

// The folder a place's file is written in: "." for a bare file name.
fs::path FolderOf(const std::string& place) {
  const fs::path folder = fs::path(place).parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

// One name for one place however it is written ("out//a.dat", "./out/a.dat").
std::string PlaceKey(const std::string& place) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(place, ec).lexically_normal();
  const fs::path folder = fs::weakly_canonical(absolute.parent_path(), ec);
  return ((ec ? absolute.parent_path() : folder) / absolute.filename()).string();
}

bool AllDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A run's name: digits, a dot between digits ("4711.2").
bool IsRunName(std::string_view run) {
  const size_t dot = run.find('.');
  return dot == std::string_view::npos ? AllDigits(run) : AllDigits(run.substr(0, dot)) && AllDigits(run.substr(dot + 1));
}

// The lock file of run `run` in `folder`.
std::string LockOf(const fs::path& folder, const std::string& run) {
  return (folder / (kStagedMark + run + kLockEnd)).string();
}

// The run that made a leftover name (".Map7.dat.staged-RUN-N", or the run's
// lock file ".staged-RUN.lock"), or "" when the name is none of a run's own.
std::string RunOfLeftover(const std::string& name) {
  const std::string_view all(name);
  const size_t markSize = std::strlen(kStagedMark), endSize = std::strlen(kLockEnd);
  if (all.size() > markSize + endSize && all.substr(0, markSize) == kStagedMark &&
      all.substr(all.size() - endSize) == kLockEnd) {
    const std::string_view run = all.substr(markSize, all.size() - markSize - endSize);
    return IsRunName(run) ? std::string(run) : "";
  }
  if (all.empty() || all[0] != '.') return "";
  for (const char* mark : {kStagedMark, kKeptMark}) {
    const size_t at = all.rfind(mark);
    if (at == std::string_view::npos || at == 0) continue;
    const std::string_view tail = all.substr(at + std::strlen(mark));
    const size_t dash = tail.rfind('-');
    if (dash != std::string_view::npos && IsRunName(tail.substr(0, dash)) && AllDigits(tail.substr(dash + 1)))
      return std::string(tail.substr(0, dash));
  }
  return "";
}

// Makes `made` by `make` (a new file, or a second name of a file); a file
// already of that name is a leftover of a run gone whose name this one has
// now (no live run has it: this run holds its lock), and goes first.
template <typename Make>
int MakeAfresh(const std::string& made, Make make) {
  if (make() == 0) return 0;
  if (errno != EEXIST || ::unlink(made.c_str()) != 0) return errno;
  return make() == 0 ? 0 : errno;
}

// Writes every byte into the new file `path`; 0 when all are written and the
// file closed, else the error. With `failHalfway` it stops halfway as on a
// full disk.
int WriteNewFile(const std::string& path, const char* bytes, size_t size, bool failHalfway) {
  int fd = -1;
  if (const int error = MakeAfresh(path, [&] {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        return fd < 0 ? -1 : 0;
      }))
    return error;
  const size_t end = failHalfway ? size / 2 : size;
  int error = 0;
  for (size_t done = 0; done < end && !error;) {
    const ssize_t n = ::write(fd, bytes + done, std::min<size_t>(end - done, size_t{1} << 30));
    if (n > 0) done += static_cast<size_t>(n);
    else if (n == 0) error = EIO;
    else if (errno != EINTR) error = errno;
  }
  if (failHalfway && !error) error = ENOSPC;
  if (::close(fd) != 0 && !error) error = errno;
  return error;
}

std::string CannotBe(const std::string& place, const char* what, int error) {
  return place + ": cannot be " + what + ": " + std::strerror(error);
}

}  // namespace

bool ReadSourceFile(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream all;
  all << in.rdbuf();
  *text = all.str();
  return true;
}

namespace {
std::string g_readingAt;
}  // namespace

void ReadingAt(const std::string& file, int line) {
  g_readingAt = line > 0 ? file + ":" + std::to_string(line) : file;
}

int RunTool(const char* tool, int (*run)(int argc, char** argv), int argc, char** argv) {
  std::string what;
  try {
    return run(argc, argv);
  } catch (const std::exception& e) {
    what = e.what();
  } catch (...) {
    what = "an unknown fault";
  }
  const std::string place = g_readingAt.empty() ? std::string(tool) : g_readingAt;
  std::fprintf(stderr, "%s: the tool stopped here: %s\n%s\n", place.c_str(), ShownBytes(what).c_str(),
               FaultSummary(tool, 1).c_str());
  return 1;
}

std::string FaultSummary(const std::string& tool, size_t faults) {
  return tool + ": " + std::to_string(faults) + (faults == 1 ? " fault" : " faults") + ", nothing written";
}

OutputFiles::OutputFiles() {
  long long n = 0;
  if (const char* fault = std::getenv("GREVENHOLT_TOOL_WRITE_FAULT"); fault && ReadWholeNumber(fault, 1, LLONG_MAX, &n))
    failingWrite_ = static_cast<size_t>(n);
}

OutputFiles::~OutputFiles() {
  std::error_code ec;
  for (const Staged& s : staged_) fs::remove(s.staged, ec);
  for (const auto& [path, folder] : folders_) {
    ::unlink(folder.lock.c_str());
    ::close(folder.fd);
  }
  // Innermost first: a folder this run made goes when it holds nothing else.
  for (auto it = madeFolders_.rbegin(); it != madeFolders_.rend(); ++it) fs::remove(*it, ec);
}

// Takes a run's name of its own in the folder, by making its lock file and
// locking it; 0, or the error. The file is locked before any file of the run
// stands beside it, and a lock file another run took for a gone run's (and
// removed) between its making and its locking is given up for another name.
int OutputFiles::OpenFolder(const std::string& folder, Folder* opened) {
  static std::atomic<unsigned> runs{0};
  for (;;) {
    const std::string run = std::to_string(::getpid()) + "." + std::to_string(++runs);
    const std::string lock = LockOf(folder, run);
    const int fd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;  // a run of another process that bears this number
      return errno;
    }
    int locked;
    while ((locked = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
    }
    struct stat st;
    if (locked == 0 && ::fstat(fd, &st) == 0 && st.st_nlink > 0) {
      *opened = {run, lock, fd};
      return 0;
    }
    const int error = locked == 0 ? 0 : errno;
    if (error) ::unlink(lock.c_str());
    ::close(fd);
    if (error) return error;
  }
}

// Removes what runs killed midway left in the folder under their own names:
// those of each run whose lock no process holds; a run still going (this
// one too) holds its own.
void OutputFiles::ClearLeftovers(const std::string& folder) {
  std::map<std::string, std::vector<fs::path>> byRun;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (const std::string run = RunOfLeftover(it->path().filename().string()); !run.empty())
      byRun[run].push_back(it->path());
  for (const auto& [run, files] : byRun) {
    const std::string lock = LockOf(folder, run);
    const int fd = ::open(lock.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && errno != ENOENT) continue;  // cannot be told
    struct stat st;
    if (fd >= 0 && (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &st) != 0 || st.st_nlink == 0)) {
      ::close(fd);  // a run going on, or one another run is clearing
      continue;
    }
    std::error_code ignored;
    for (const fs::path& file : files)
      if (file.string() != lock) fs::remove(file, ignored);
    if (fd >= 0) {
      ::unlink(lock.c_str());  // last, while it is locked: no run takes its name before its files are gone
      ::close(fd);
    }
  }
}

// A name beside the place that no other file of this run or any other has:
// ".Map7.dat.staged-RUN-N".
std::string OutputFiles::PrivateName(const std::string& place, const char* what, const std::string& run) {
  static std::atomic<size_t> named{0};
  const fs::path p(place);
  std::string name = ".";
  name += p.filename().string();
  name += what;
  name += run + "-" + std::to_string(++named);
  return (p.parent_path() / name).string();
}

std::string OutputFiles::Write(const std::string& path, const void* bytes, size_t size) {
  std::string staged;
  bool failHalfway = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!places_.insert(PlaceKey(path)).second) return path + ": is written twice in one run";
    std::vector<std::string> missing;
    std::error_code ec;
    for (fs::path folder = fs::path(path).parent_path(); !folder.empty() && !fs::exists(folder, ec);
         folder = folder.parent_path())
      missing.insert(missing.begin(), folder.string());
    for (const std::string& folder : missing)
      if (fs::create_directory(folder, ec)) madeFolders_.push_back(folder);
    const std::string folder = FolderOf(path).string();
    auto open = folders_.find(folder);
    if (open == folders_.end()) {
      ClearLeftovers(folder);
      Folder opened;
      if (const int error = OpenFolder(folder, &opened)) return CannotBe(path, "written", error);
      open = folders_.emplace(folder, opened).first;
    }
    staged = PrivateName(path, kStagedMark, open->second.run);
    staged_.push_back({staged, path, "", open->second.run});  // listed first, so that a file half written goes with the run
    failHalfway = ++written_ == failingWrite_;
  }
  if (const int error = WriteNewFile(staged, static_cast<const char*>(bytes), size, failHalfway))
    return CannotBe(path, "written", error);
  return "";
}

std::string OutputFiles::Commit() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::error_code ec;
  // Put back what stood in places already replaced, and drop what was kept.
  auto undo = [&](size_t replaced) {
    for (size_t i = 0; i < staged_.size(); ++i) {
      Staged& s = staged_[i];
      if (i < replaced) {
        if (s.kept.empty()) fs::remove(s.place, ec);
        else fs::rename(s.kept, s.place, ec);
      } else if (!s.kept.empty()) {
        fs::remove(s.kept, ec);
      }
      s.kept.clear();
    }
  };
  // Every place is looked at, and the file it holds kept under a second name
  // of the run's own, before any is replaced.
  for (size_t i = 0; i < staged_.size(); ++i) {
    Staged& s = staged_[i];
    struct stat st;
    if (::lstat(s.place.c_str(), &st) != 0) {
      if (errno == ENOENT) continue;
      const int error = errno;
      undo(0);
      return CannotBe(s.place, "replaced", error);
    }
    const std::string kept = PrivateName(s.place, kKeptMark, s.run);
    const int error =
        S_ISDIR(st.st_mode) ? EISDIR : MakeAfresh(kept, [&] { return ::link(s.place.c_str(), kept.c_str()); });
    if (error) {
      undo(0);
      return CannotBe(s.place, "replaced", error);
    }
    s.kept = kept;
  }
  for (size_t i = 0; i < staged_.size(); ++i) {
    if (::rename(staged_[i].staged.c_str(), staged_[i].place.c_str()) != 0) {
      const int error = errno;
      undo(i);
      return CannotBe(staged_[i].place, "replaced", error);
    }
  }
  for (const Staged& s : staged_)
    if (!s.kept.empty()) fs::remove(s.kept, ec);
  staged_.clear();
  madeFolders_.clear();
  return "";
}
