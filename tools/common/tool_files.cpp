// What every content tool does with its files (see tool_files.h).
#include "common/tool_files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/source_numbers.h"

namespace fs = std::filesystem;

namespace {

// The kinds of file a run keeps beside a place under a name of its own: the
// file it writes, and the file the place held while the run commits.
constexpr const char* kStagedMark = ".staged-";
constexpr const char* kKeptMark = ".kept-";

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

// The process that made a leftover name (".Map7.dat.staged-PID-N"), or 0
// when the name is none of a run's own.
pid_t MakerOfLeftover(const std::string& name) {
  if (name.empty() || name[0] != '.') return 0;
  for (const char* mark : {kStagedMark, kKeptMark}) {
    const size_t at = name.rfind(mark);
    if (at == std::string::npos || at == 0) continue;
    const std::string_view tail = std::string_view(name).substr(at + std::strlen(mark));
    const size_t dash = tail.find('-');
    const auto digits = [](std::string_view s) {
      return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    long long pid = 0;
    if (dash != std::string_view::npos && digits(tail.substr(0, dash)) && digits(tail.substr(dash + 1)) &&
        ReadWholeNumber(tail.substr(0, dash), 1, INT_MAX, &pid))
      return static_cast<pid_t>(pid);
  }
  return 0;
}

// Makes `made` by `make` (a new file, or a second name of a file); a file
// already of that name is a leftover of a process gone whose id this one has
// now (the count in a run's names is this process's own), and goes first.
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
  // Innermost first: a folder this run made goes when it holds nothing else.
  for (auto it = madeFolders_.rbegin(); it != madeFolders_.rend(); ++it) fs::remove(*it, ec);
}

// Removes what runs killed midway left in the folder under their own names;
// a name of a run still going is left to it.
void OutputFiles::ClearLeftovers(const std::string& folder) {
  if (!cleared_.insert(folder).second) return;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const pid_t maker = MakerOfLeftover(it->path().filename().string());
    if (maker != 0 && maker != ::getpid() && ::kill(maker, 0) != 0 && errno == ESRCH) {
      std::error_code ignored;
      fs::remove(it->path(), ignored);
    }
  }
}

// A name beside the place that no other file of this process or any other
// has: ".Map7.dat.staged-PID-N".
std::string OutputFiles::PrivateName(const std::string& place, const char* what) {
  static std::atomic<size_t> named{0};
  const fs::path p(place);
  std::string name = ".";
  name += p.filename().string();
  name += what;
  name += std::to_string(::getpid()) + "-" + std::to_string(++named);
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
    ClearLeftovers(FolderOf(path).string());
    staged = PrivateName(path, kStagedMark);
    staged_.push_back({staged, path, ""});  // listed first, so that a file half written goes with the run
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
    const std::string kept = PrivateName(s.place, kKeptMark);
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
