// What the sheet and the sound tool read in a comment, and what a line they
// refuse for a byte it holds may be: one damaged byte, which may be its line
// end damaged and the next line joined to it.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "common/shown_bytes.h"
#include "common/source_bytes.h"

// The fault of a comment, empty for none. A comment is text of any language
// (UTF-8) without control bytes, a tab being a blank as in the rest of its
// line: its bytes are read as every byte of a line is, so that a line end
// damaged into a control byte or a byte of no text does not join the next
// line into it unseen.
inline std::string CommentFault(std::string_view comment) {
  if (const size_t stray = StrayControlByte(comment); stray != std::string_view::npos)
    return "the comment holds the control byte " + ShownBytes(comment.substr(stray, 1)) + ": " + QuotedBytes(comment);
  if (const size_t bad = NonUtf8Byte(comment); bad != std::string_view::npos)
    return "the comment holds the byte " + ShownBytes(comment.substr(bad, 1)) + ", which is no UTF-8 text: " +
           QuotedBytes(comment);
  return "";
}

// The words of what may be a line of its own after the damaged byte of a
// refused line (its first control byte but a tab, or byte past '~'), which
// may stand for the line end between the two: "# a blade\x01sound Miss_2
// 0.4" may be a comment and a sound line. None when it holds no such byte.
inline std::vector<std::string> WordsAfterDamage(std::string_view line) {
  for (size_t i = 0; i < line.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    if ((IsControlByte(c) && c != '\t') || c > '~') return LineWords(line.substr(i + 1));
  }
  return {};
}

// Whether a refused line may begin with `word` (MayBeginWithWord), or may
// be two lines of which the second does.
inline bool RefusedLineMayBegin(std::string_view line, std::string_view word) {
  const std::vector<std::string> words = LineWords(line), after = WordsAfterDamage(line);
  return (!words.empty() && MayBeginWithWord(words[0], word)) || (!after.empty() && MayBeginWithWord(after[0], word));
}
