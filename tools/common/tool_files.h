// What every content tool does with its files: reads a source whole, puts
// its outputs in place only when the whole run is sound, and ends a failed
// run with the same summary line.
#pragma once
#include <cstddef>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

// The bytes of a file, read whole; false when it cannot be read.
bool ReadSourceFile(const std::string& path, std::string* text);

// The last line of a failed run: "makemaps: 2 faults, nothing written".
std::string FaultSummary(const std::string& tool, size_t faults);

// The place of a source the tool is reading, as a message names it
// ("Map21.txt:48"), for a fault that nothing else catches; a line of 0 names
// the file alone, once the tool has read its lines.
void ReadingAt(const std::string& file, int line);

// A tool's whole run, its exit status returned: whatever `run` throws ends
// it as a failed run with exit status 1, one message naming the place of
// the source it was reading (or the tool, when it read none) and the
// summary line. The run's outputs are gone with it: the output folders stay
// as they were.
int RunTool(const char* tool, int (*run)(int argc, char** argv), int argc, char** argv);

// The files of one run, put in place together or not at all. Each is written
// whole, every byte of it checked, beside its place under a name of this run's
// own (".Map7.dat.staged-RUN-N"), and all are moved into place only when the
// run commits. A run that ends without committing (a fault, a file that could
// not be written) removes what it wrote and the folders it made, so that a
// failed run leaves its output folders as they were. In each folder it writes
// in, the run holds a lock on a file of its own (".staged-RUN.lock") while it
// lives; what a run killed midway left under its names is removed by the next
// run that writes beside it and can take that lock, whatever process now
// bears the killed run's number.
//
// GREVENHOLT_TOOL_WRITE_FAULT=N makes the run's Nth file fail halfway as on a
// full disk (for the tools' tests).
class OutputFiles {
 public:
  OutputFiles();
  OutputFiles(const OutputFiles&) = delete;
  OutputFiles& operator=(const OutputFiles&) = delete;
  ~OutputFiles();

  // Writes the bytes of the file of `path` under its staged name, its folder
  // made when missing. Empty when every byte is written; else the one line of
  // the fault, naming the file: it cannot be written, or the run wrote that
  // place already. Threads may write files side by side.
  std::string Write(const std::string& path, const void* bytes, size_t size);
  template <typename Bytes>
  std::string Write(const std::string& path, const Bytes& bytes) {
    return Write(path, bytes.data(), bytes.size() * sizeof bytes[0]);
  }
  // Moves every file written into its place, all or none: empty when all
  // stand; else the line naming the file that could not be put in place, and
  // every place is as it was before the run (a file replaced is put back).
  std::string Commit();

 private:
  struct Staged {
    std::string staged, place, kept;  // kept: the file the place held, while the run commits
    std::string run;                  // the run's name in the place's folder
  };
  struct Folder {
    std::string run, lock;  // the run's name there, and its lock file
    int fd = -1;            // the lock file, locked
  };
  int OpenFolder(const std::string& folder, Folder* opened);
  static void ClearLeftovers(const std::string& folder);
  static std::string PrivateName(const std::string& place, const char* what, const std::string& run);

  std::mutex mutex_;
  std::vector<Staged> staged_;
  std::set<std::string> places_;             // every place written, as one name for one file
  std::map<std::string, Folder> folders_;    // every folder written in
  std::vector<std::string> madeFolders_;     // made by this run, outermost first
  size_t written_ = 0;                       // files written so far
  size_t failingWrite_ = 0;                  // the file that fails on purpose, 0 for none
};
