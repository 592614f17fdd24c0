// What every content tool does with its files: reads a source whole, puts
// its outputs in place only when the whole run is sound, and ends a failed
// run with the same summary line.
#pragma once
#include <cstddef>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

// The bytes of a file, read whole; false when it cannot be read.
bool ReadSourceFile(const std::string& path, std::string* text);

// The last line of a failed run: "makemaps: 2 faults, nothing written".
std::string FaultSummary(const std::string& tool, size_t faults);

// The files of one run, put in place together: each is written beside its
// place under a name of its own, and all are moved into place only when the
// run commits. A run that ends without committing (a fault, a file that
// could not be written) removes what it wrote and the folders it made, so
// that a failed run leaves its output folders as they were.
class OutputFiles {
 public:
  OutputFiles() = default;
  OutputFiles(const OutputFiles&) = delete;
  OutputFiles& operator=(const OutputFiles&) = delete;
  ~OutputFiles();

  // The name to write the file of `path` under until the run commits; its
  // folder is made when missing. Threads may stage files side by side.
  std::string Stage(const std::string& path);
  // Writes the bytes under the staged name of `path`; false when it cannot.
  bool Write(const std::string& path, const void* bytes, size_t size);
  template <typename Bytes>
  bool Write(const std::string& path, const Bytes& bytes) {
    return Write(path, bytes.data(), bytes.size() * sizeof bytes[0]);
  }
  // Moves every staged file into its place; false, naming the file, when one
  // cannot be moved.
  bool Commit(std::string* failed);

 private:
  std::mutex mutex_;
  std::vector<std::pair<std::string, std::string>> staged_;  // the staged name, the place
  std::vector<std::string> madeFolders_;                    // made by this run, outermost first
};
