// The faults of a source, each reported: a reader that throws at a fault
// keeps it and goes on at the next line, and then reports them all as one
// fault, a line each, so that a second fault on a later line is not lost.
#pragma once
#include <string>
#include <utility>
#include <vector>

// Fault: the exception the reader throws, made from and read as its message.
template <typename Fault>
class SourceFaults {
 public:
  // Runs `read` (one line's reading); false when it threw, its fault kept.
  template <typename Read>
  bool Keep(Read&& read) {
    try {
      std::forward<Read>(read)();
      return true;
    } catch (const Fault& fault) {
      lines_.emplace_back(fault.what());
      return false;
    }
  }
  bool Any() const { return !lines_.empty(); }
  // Throws the faults kept, if any, as one.
  void Throw() const {
    if (lines_.empty()) return;
    std::string all;
    for (const std::string& line : lines_) all += (all.empty() ? "" : "\n") + line;
    throw Fault(all);
  }

 private:
  std::vector<std::string> lines_;
};
