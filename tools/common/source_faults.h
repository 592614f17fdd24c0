// The faults of a source, each reported: a reader that throws at a fault
// keeps it and goes on at the next line, and then reports them all as one
// fault, a line each, so that a second fault on a later line is not lost.
#pragma once
#include <climits>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/comment_joins.h"

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

// The faults of the lines a tool reads, each "file:line: message" (a line of
// 0 names the file alone): one message a line, the first fault found there,
// so that one damaged byte is one message however many words it spoils. A
// line's own fault (a byte, a word, a number or a text the line holds) is
// reported at once; a fault between lines (a name, key, row, page or block
// that another line gives or lacks) only when no line was refused, since a
// refused line may have given what is found wanting (a map's key, a
// script's name) or made another line what it is (a layer's rows, a row's
// fields).
class LineFaults {
 public:
  // A line's own fault.
  void Line(const std::string& file, int line, const std::string& message) { Add(&lines_, file, line, message); }
  // A fault between lines.
  void Between(const std::string& file, int line, const std::string& message) { Add(&between_, file, line, message); }
  // A heading written out of use at a line, a comment (`heading`, what it
  // writes out of use: "row 70", "layer floor"), would leave the lines
  // after it up to the next heading (BlockBegins) to the block before it: a
  // line of words among them (LineOfWords) refuses the comment's line, once,
  // and no fault among them is said besides.
  void OutOfUse(const std::string& file, int line, const std::string& heading) {
    spans_.push_back({file, line, INT_MAX, heading, false});
  }
  void BlockBegins(const std::string& file, int line) {
    for (Span& s : spans_)
      if (s.file == file && s.end == INT_MAX && s.line < line) s.end = line;
  }
  void LineOfWords(const std::string& file, int line, const std::string& kind = "") {
    for (Span& s : spans_) {
      if (s.file != file || line <= s.line || line >= s.end || s.said) continue;
      Line(file, s.line, kind + OutOfUseMessage(s.heading));
      s.said = true;
    }
  }
  // A line of another reading that this one depends on (a shared names
  // file's) was refused: the faults between lines are not reported.
  void DependsOnRefused() { dependsOnRefused_ = true; }
  // Whether a line was refused: what follows it is then read for its own
  // faults alone.
  bool Refused() const { return !lines_.empty(); }
  // Whether no fault at all was found.
  bool Clean() const { return lines_.empty() && between_.empty(); }
  // The messages in the order found: the lines' faults, or when there are
  // none (and no line it depends on was refused) the faults between lines.
  const std::vector<std::string>& Messages() const { return lines_.empty() && !dependsOnRefused_ ? between_ : lines_; }

 private:
  struct Span {
    std::string file;
    int line, end;  // the comment's line, and the next heading's
    std::string heading;
    bool said;
  };
  void Add(std::vector<std::string>* to, const std::string& file, int line, const std::string& message) {
    for (const Span& s : spans_)
      if (s.said && s.file == file && line > s.line && line < s.end) return;
    const std::string place = file + ":" + (line > 0 ? std::to_string(line) + ":" : "");
    if (line > 0 && !said_.insert(place).second) return;
    to->push_back(place + " " + message);
  }
  std::vector<std::string> lines_, between_;
  std::set<std::string> said_;  // the lines that have their message
  std::vector<Span> spans_;     // the headings written out of use
  bool dependsOnRefused_ = false;
};
