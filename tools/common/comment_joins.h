// A comment that holds a whole line of its source: the line end after the
// comment lost, or damaged into a byte a comment may hold (a quote, a
// backslash), joins the next line into it, and the run would go on without
// that line. The sheet and sound tools refuse such a comment at its line,
// and read the line it holds after it, at the same line, as the line it
// was, so that nothing after it is refused for the want of it.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "common/source_bytes.h"

// Where the line a comment holds begins in it (`comment` from its mark to
// the line's end): the first byte after the comment's own text from which
// the rest reads as a whole line of the source, as `isLine(text, glued)`
// tells (the reader's own test of a line's text, its comment cut off as the
// reader cuts one); std::string_view::npos for none. `glued` says that the
// text follows a byte of the comment that is no space: a line the source
// writes at the start of its line (a heading: "sheet 21", "sound Miss_1
// 0.28") is joined so, as the comment's words never are ("... sheet 51
// columns 1-3, sheet 52"), and only a line written indented (a frame, a
// layer) may follow a space. A comment whose first word already begins such
// a line is a line written out of use ("# sound Miss_1 0.28"), not one
// joined to it.
template <typename IsLine>
size_t JoinedLineAt(std::string_view comment, IsLine&& isLine) {
  bool text = false;  // the comment's own text has begun
  for (size_t i = 1; i < comment.size(); ++i) {
    if (comment[i] == ' ' || comment[i] == '\t' || (!text && comment[i] == '#')) continue;
    // A tab is no blank of a comment, which is written with spaces: one
    // there is a damaged byte, as a line end turned into a tab is.
    const bool glued = comment[i - 1] != ' ';
    if (isLine(comment.substr(i), glued)) return text ? i : std::string_view::npos;
    text = true;
  }
  return std::string_view::npos;
}

// The one message for such a comment.
inline std::string JoinedLineMessage(std::string_view comment, size_t at) {
  return "the comment holds a line joined to it, its line end lost: " + QuotedBytes(TrimBlanks(comment.substr(at)));
}

// A line of a source as a reader reads it: its number in the source and
// its text. A comment's joined line is a line of its own, at the number of
// the line it was joined to, after the rest of that line, which holds the
// comment's fault; the reader takes it as a line it refused (it counts as
// what it may be, and no line after it is refused for the want of it)
// without a message of its own: its line has one already.
struct ReadLine {
  int number = 0;
  std::string text;
  std::string joinFault;  // the comment holds a joined line: the message
  bool joined = false;    // the line a comment held
};

// The lines of a source, each comment that holds a line of it read as two
// lines. `commentAt` gives where a line's comment begins (npos for none),
// and `isLine(text, glued)` tells whether a text reads as a whole line
// (JoinedLineAt).
template <typename CommentAt, typename IsLine>
std::vector<ReadLine> LinesWithJoins(const std::vector<std::string>& lines, CommentAt&& commentAt, IsLine&& isLine) {
  std::vector<ReadLine> read;
  read.reserve(lines.size() + 1);
  int number = 0;
  for (const std::string& line : lines) {
    ++number;
    const size_t mark = commentAt(line);
    const size_t at = mark < line.size() ? JoinedLineAt(std::string_view(line).substr(mark), isLine) : std::string_view::npos;
    if (at == std::string_view::npos) {
      read.push_back({number, line, "", false});
      continue;
    }
    read.push_back({number, line.substr(0, mark + at), JoinedLineMessage(std::string_view(line).substr(mark), at), false});
    read.push_back({number, line.substr(mark + at), "", true});
  }
  return read;
}
