// A comment that holds a whole line of its source: the line end after the
// comment lost, or damaged into a byte a comment may hold (a quote, a
// backslash), joins the next line into it, and a line end or a blank turned
// into a comment mark makes the next line, or the rest of its own, a comment:
// the run would go on without that line. Every content tool refuses such a
// comment at its line; the sheet and sound tools also read the line it holds
// after it, at the same line, as a refused line (LinesWithJoins). A value
// that runs to its line's end holds no line either (HeldLineAt), and a
// heading written out of use before lines of its block is refused
// (HeadingOutOfUse).
#pragma once
#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "common/source_bytes.h"

// Where the line a comment holds begins in it (`comment` from its mark to
// the line's end), std::string_view::npos for none: the first byte, mid-word
// too ("# as written.if_journal Fallen 1", "# a friend" holding "end"), from
// which the rest reads as a whole line of the source, as `isLine` tells (the
// reader's own test of a line's text). A comment that is its line's whole
// text and whose first word begins such a line is a line written out of use
// ("# place 3 10 10", "# sound Miss_1 0.28"), which a maintainer may keep; it
// holds that one line, and a line read after its first word is one joined
// to it ("# text: An old text.text: A squat ..."). A comment that stands
// after a line's words (`afterWords`: its mark glued to a word or put inside
// the line) writes no line out of use: a line from its first byte on is one
// its mark took from the line or the line after ("... 0#  set_flag ...").
// `isLine` may take `glued` besides the text (`isLine(text, glued)`):
// whether the text follows a byte that is no space. A line written at the
// start of its line (a heading: "sheet 21", "sound Miss_1 0.28") is glued to
// the comment when its line end is lost, as the comment's own words never
// are ("... sheet 51 columns 1-3, sheet 52"): a reader whose headings always
// stand at the start of their lines takes one glued alone, and an indented
// line (a frame, a layer) after a space too.
template <typename IsLine>
size_t JoinedLineAt(std::string_view comment, IsLine&& isLine, bool afterWords = false) {
  auto reads = [&](std::string_view tail, bool glued) {
    if constexpr (std::is_invocable_v<IsLine&, std::string_view, bool>) return isLine(tail, glued);
    else return isLine(tail);
  };
  bool text = afterWords;  // the comment's own text has begun, or no line is written out of use in it
  for (size_t i = 1; i < comment.size(); ++i) {
    if (comment[i] == ' ' || comment[i] == '\t' || (!text && comment[i] == '#')) continue;
    // A tab is no blank of a comment, which is written with spaces: one
    // there is a damaged byte, as a line end turned into a tab is.
    if (reads(comment.substr(i), comment[i - 1] != ' ')) {
      if (text) return i;
      // A line written out of use: its first word's own ends are no line
      // ("if_flag" holds "flag"), the rest of it is read for a line joined.
      while (i + 1 < comment.size() && comment[i + 1] != ' ' && comment[i + 1] != '\t') ++i;
    }
    text = true;
  }
  return std::string_view::npos;
}

// Where a value that runs to its line's end (a map's text, a score's title)
// holds a whole line of its source joined to it, from any byte, as
// `isLine(text, glued)` or `isLine(text)` tells; npos for none: "... leads
// out.number: 5", "Village Green tempo 100".
template <typename IsLine>
size_t HeldLineAt(std::string_view value, IsLine&& isLine) {
  const size_t at = JoinedLineAt(std::string(" ") + std::string(value), isLine, true);
  return at == std::string_view::npos ? at : at - 1;
}

// The one message for a comment (or a value, `what`) that holds a line from
// `at` on.
inline std::string JoinedLineMessage(std::string_view comment, size_t at, std::string_view what = "the comment") {
  return std::string(what) + " ends with a line of its own, " + QuotedBytes(TrimBlanks(comment.substr(at))) +
         ": a line end lost or damaged?";
}

// A comment's text after its marks and blanks ("#  end " holds "end").
inline std::string CommentText(std::string_view comment) {
  return TrimBlanks(comment.substr(std::min(comment.find_first_not_of("# \t"), comment.size())));
}

// The one message for a heading written out of use (`heading`, as it would
// read) before lines of its block: "'row 70' is written out of use here, and
// the lines after it would be read in the block before it: ...".
inline std::string OutOfUseMessage(std::string_view heading,
                                   std::string_view what = "the lines after it would be read in the block before it") {
  return QuotedBytes(heading) + " is written out of use here, and " + std::string(what) + ": a line end or a byte damaged?";
}

// The heading a comment writes out of use (`comment` from its mark to the
// line's end), empty for none: its text after its marks, as `isHeading`
// tells, written out of use ("# row 70", or "#row 70" where the line end of
// a blank line before it turned into the mark), or, glued to one mark, with
// its first byte taken by it ("#ow 70", "#heet 33"; `words` are the words
// the tool's headings begin with). The lines after it belong to the block
// before it.
template <typename IsHeading>
std::string HeadingOutOfUse(std::string_view comment, std::initializer_list<std::string_view> words,
                            IsHeading&& isHeading) {
  const size_t own = comment.find_first_not_of("# \t");
  if (own == std::string_view::npos) return "";
  const std::string text = CommentText(comment);
  if (isHeading(std::string_view(text))) return text;
  if (own != 1) return "";
  for (const std::string_view word : words) {
    const std::string whole = std::string(word.substr(0, 1)) + text;
    if (text.compare(0, word.size() - 1, word.substr(1)) == 0 && isHeading(std::string_view(whole))) return whole;
  }
  return "";
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
// lines (a comment after a line's words judged from its first byte).
// `commentAt` gives where a line's comment begins (npos for none),
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
    const bool afterWords = line.find_first_not_of(" \t") < mark;
    const size_t at =
        mark < line.size() ? JoinedLineAt(std::string_view(line).substr(mark), isLine, afterWords) : std::string_view::npos;
    if (at == std::string_view::npos) {
      read.push_back({number, line, "", false});
      continue;
    }
    read.push_back({number, line.substr(0, mark + at), JoinedLineMessage(std::string_view(line).substr(mark), at), false});
    read.push_back({number, line.substr(mark + at), "", true});
  }
  return read;
}
