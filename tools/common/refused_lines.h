// How the content tools read a line and its comment: a line cut at its
// comment, the fault of a byte no line may hold, and what a line the sheet
// and the sound tool refuse for such a byte may be: one damaged byte, which
// may be its line end damaged and the next line joined to it.
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
