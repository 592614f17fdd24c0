// How the content tools read a line and its comment: a comment that holds a
// whole line of its source (every tool), and what a line the sheet and the
// sound tool refuse for a byte it holds may be: one damaged byte, which may
// be its line end damaged and the next line joined to it.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/shown_bytes.h"
#include "common/source_bytes.h"

// A line of a source cut at its comment: the text of its words, and the
// comment (from its mark to the line's end; empty for none).
struct CommentedLine {
  std::string text, comment;
};
inline CommentedLine CutLineAt(const std::string& line, size_t mark) {
  mark = std::min(mark, line.size());
  return {line.substr(0, mark), line.substr(mark)};
}

// The one message for a line that holds a byte no line may hold, as every
// tool reads its lines (RefusedLineByte: a control byte but a tab between
// words and the carriage return of a CRLF line end, a tab in the comment,
// a byte of no UTF-8 text, wherever it stands); empty for none. A
// comment's bytes are read as every byte of its line, so that a line end
// damaged into a control byte, a tab or a byte of no text does not join the
// next line into it unseen.
inline std::string RefusedLineFault(const CommentedLine& line) {
  const std::string whole = line.text + line.comment;
  const size_t comment = line.comment.empty() ? std::string::npos : line.text.size();
  const size_t at = RefusedLineByte(whole, true, false, comment);
  return at == std::string::npos ? "" : RefusedLineByteMessage(whole, at, comment);
}

// The shape of a line a refused line may hold: its first word (as
// MayBeginWithWord tells), and how many words it has in all.
struct LineShape {
  std::string_view word;
  size_t fewest = 1, most = SIZE_MAX;
};

// Whether a refused line may be two, the second of the shape given, its
// line end damaged and the next line joined to it: at a blank, a quote or a
// backslash among its words (`text`, where a description or a value runs
// on), or at a damaged byte anywhere, its `comment` too (a control byte but
// a tab, or a byte past '~'): "# a blade\x01sound Miss_2 0.4" and
// "amp=0.6\"sound Ambient_2 0.22" may each be two lines. *joined (when
// given) gets the second line's words.
inline bool MayJoinLine(std::string_view text, std::string_view comment, const LineShape& shape,
                        std::vector<std::string>* joined = nullptr) {
  const std::string line = std::string(text) + std::string(comment);
  for (size_t i = 0; i < line.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    const bool damaged = (IsControlByte(c) && c != '\t') || c > '~';
    if (!damaged && !(i < text.size() && (c == ' ' || c == '\t' || c == '"' || c == '\\'))) continue;
    // The second line's words: up to the comment, when the joint is before
    // it; its first word is looked at before they are cut.
    const size_t end = i < text.size() ? text.size() : line.size();
    const std::string_view rest = std::string_view(line).substr(i + 1, end - i - 1);
    const size_t first = rest.find_first_not_of(" \t");
    if (first == std::string_view::npos ||
        !MayBeginWithWord(rest.substr(first, rest.find_first_of(" \t", first) - first), shape.word))
      continue;
    std::vector<std::string> words = LineWords(rest);
    if (words.size() < shape.fewest || words.size() > shape.most) continue;
    if (joined) *joined = std::move(words);
    return true;
  }
  return false;
}

// Whether a refused line may begin with the shape's word (MayBeginWithWord),
// or may be two lines of which the second is of the shape (MayJoinLine).
inline bool RefusedLineMayBegin(std::string_view text, std::string_view comment, const LineShape& shape) {
  const std::vector<std::string> words = LineWords(text);
  return (!words.empty() && MayBeginWithWord(words[0], shape.word)) || MayJoinLine(text, comment, shape);
}

// Where a comment holds a whole line of its source after some byte: the
// offset in `comment` (which begins at its mark) of the first tail, tried
// from each byte after the mark, that `isLine` takes for a line of the
// tool's own, whole (its first word a line's word, with the words that line
// takes); std::string_view::npos for none. A line end deleted, or damaged
// into a byte a comment may hold (a quote, a backslash), joins the next line
// to the comment anywhere in it, mid-word too ("# as written.if_journal
// Fallen 1"): such a comment is refused at its line, not read as a longer
// one, and a comment is worded so that it does not end as a line would.
template <typename IsLine>
size_t JoinedLineAt(std::string_view comment, IsLine&& isLine) {
  for (size_t at = 1; at < comment.size(); ++at)
    if (comment[at] != ' ' && comment[at] != '\t' && isLine(comment.substr(at))) return at;
  return std::string_view::npos;
}

// The one message for a comment that holds a line from `at` on.
inline std::string JoinedLineMessage(std::string_view comment, size_t at) {
  return "the comment ends with a line of its own, " + QuotedBytes(TrimBlanks(comment.substr(at))) +
         ": a line end lost or damaged?";
}

// Whether a text is a line of one of the shapes, as the sheet and the sound
// tool tell their lines: its first word that of the shape, exactly, and as
// many words as the shape takes, its comment (from a '#' that begins a word)
// left out.
inline bool HasLineShape(std::string_view text, const std::vector<LineShape>& shapes) {
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] == '#' && (i == 0 || text[i - 1] == ' ' || text[i - 1] == '\t')) text = text.substr(0, i);
  const std::vector<std::string> words = LineWords(text);
  for (const LineShape& shape : shapes)
    if (!words.empty() && words[0] == shape.word && words.size() >= shape.fewest && words.size() <= shape.most) return true;
  return false;
}

// The message for a comment (from its mark) that holds a line of one of the
// shapes, empty for none: the comment rule of a source whose lines are told
// by their first word and their count of words.
inline std::string JoinedLineFault(std::string_view comment, const std::vector<LineShape>& shapes) {
  const size_t at = JoinedLineAt(comment, [&](std::string_view tail) { return HasLineShape(tail, shapes); });
  return at == std::string_view::npos ? "" : JoinedLineMessage(comment, at);
}
