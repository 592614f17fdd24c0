// The bytes of a content source as the tools' messages quote them, and the
// control bytes a name or text may not hold: a fault is reported on one
// printable line, whatever bytes the source held.
#pragma once
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

// A blank between the words of a source line: a space, a tab, or the
// carriage return of a CRLF line end (one inside a line is a byte of the
// word it stands in).
inline bool BlankAt(std::string_view line, size_t i) {
  return line[i] == ' ' || line[i] == '\t' || (line[i] == '\r' && i + 1 == line.size());
}

// The words of a line of a source (cut from it by SourceLines, its comment
// perhaps cut off), cut at spaces and tabs alone: a carriage return or
// another damaged byte stays in the word it stands in, so that "ba\rs" is
// one word a reader may take for "bars", and "11\r" before a comment no
// number.
inline std::vector<std::string> LineWords(std::string_view line) {
  auto blank = [&](size_t i) { return line[i] == ' ' || line[i] == '\t'; };
  std::vector<std::string> words;
  for (size_t i = 0; i < line.size();) {
    while (i < line.size() && blank(i)) ++i;
    const size_t start = i;
    while (i < line.size() && !blank(i)) ++i;
    if (i > start) words.emplace_back(line.substr(start, i - start));
  }
  return words;
}

// A text without the blanks at its ends (spaces, tabs, carriage returns).
inline std::string TrimBlanks(std::string_view text) {
  const size_t start = text.find_first_not_of(" \t\r");
  if (start == std::string_view::npos) return "";
  return std::string(text.substr(start, text.find_last_not_of(" \t\r") - start + 1));
}

// A text without the spaces and tabs at its ends. A carriage return is kept:
// one inside a line (where a line's value begins, "width: \r4") is a byte of
// it, not a blank (the one of a CRLF line end is gone with the line's end).
inline std::string TrimSpaces(std::string_view text) {
  const size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return "";
  return std::string(text.substr(start, text.find_last_not_of(" \t") - start + 1));
}

// Where a text holds the first byte that is no part of UTF-8 text (a byte no
// character begins with, or a character cut short); std::string_view::npos
// for none. A comment is such text: a byte 0xE9 between letters is damage.
inline size_t NonUtf8Byte(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const size_t length = c < 0x80 ? 1 : c >= 0xC2 && c < 0xE0 ? 2 : c >= 0xE0 && c < 0xF0 ? 3 : c >= 0xF0 && c < 0xF5 ? 4 : 0;
    if (length == 0 || text.size() - i < length) return i;
    for (size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return i;
    i += length;
  }
  return std::string_view::npos;
}

// The text of a line after its first word, without the blanks at its ends:
// "title  Still Night " gives "Still Night" (a title, a name written whole).
inline std::string TextAfterFirstWord(std::string_view line) {
  size_t i = 0;
  while (i < line.size() && BlankAt(line, i)) ++i;
  while (i < line.size() && !BlankAt(line, i)) ++i;
  return TrimBlanks(line.substr(i));
}

// A control byte: below 32, or 127. The game draws none of them (a glyph
// starts at 33 and the space is a blank), and a zero byte ends a text.
inline bool IsControlByte(unsigned char c) { return c < 32 || c == 127; }

// The words of a source as a quoted value writes them: a backslash or a quote
// after a backslash, any byte but a printable one as \xNN.
inline std::string ShownBytes(std::string_view text) {
  static const char digits[] = "0123456789abcdef";
  std::string s;
  for (const char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '\\' || c == '"') {
      s += '\\';
      s += c;
    } else if (c >= ' ' && c <= '~') {
      s += c;
    } else {
      s += "\\x";
      s += digits[u >> 4];
      s += digits[u & 15];
    }
  }
  return s;
}

// The same between single quotes, as messages name words.
inline std::string QuotedBytes(std::string_view text) {
  std::string s(1, '\'');
  s += ShownBytes(text);
  s += '\'';
  return s;
}

// The same between double quotes, as the sheet tool's messages name words.
inline std::string DoubleQuotedBytes(std::string_view text) { return '"' + ShownBytes(text) + '"'; }

// The message for a control byte at `at` in `text`, the value of `field`:
// "'name' holds the control byte \x00: 'Arr\x00ows'". With no field the
// text is itself the word the line is read by: "'Arr\x00ows' holds ...".
inline std::string ControlByteMessage(std::string_view field, std::string_view text, size_t at) {
  const std::string byte = ShownBytes(text.substr(at, 1));
  const std::string said = " holds the control byte " + byte;
  if (field.empty()) return QuotedBytes(text) + said;
  return QuotedBytes(field) + said + ": " + QuotedBytes(text);
}

// Where a line's comment begins, as RefusedLineByte and its message take
// it: by default at the line's first word when that begins with '#'; a
// source whose comments may follow its words gives the offset itself
// (std::string_view::npos for none).
inline constexpr size_t kCommentFirstWord = std::string_view::npos - 1;
inline size_t CommentAt(std::string_view line, size_t comment) {
  if (comment != kCommentFirstWord) return comment;
  const size_t first = line.find_first_not_of(" \t");
  return first < line.size() && line[first] == '#' ? first : std::string_view::npos;
}

// Where a line of a source holds the first byte the tool refuses in any line,
// wherever it stands (in a word, in a quoted text, in a comment: a comment's
// bytes are read as any other byte of its line): a control byte but a tab
// between words (with `tabsAreBlanks`; a tab inside a quoted text, where
// the sources write \t, or in a comment, which is written with spaces, is
// refused: a line end damaged into a tab joined the next line to the
// comment) and the carriage return of a CRLF line end, or a byte that is no
// part of UTF-8 text. `comment` is where the line's comment begins (see
// CommentAt). `quotedTexts`: the source writes its texts between double
// quotes, a backslash escaping the byte after it, and a '#' after a blank
// outside one begins a comment too.
// std::string_view::npos for a line that holds none.
inline size_t RefusedLineByte(std::string_view line, bool tabsAreBlanks, bool quotedTexts, size_t comment = kCommentFirstWord) {
  const size_t utf8 = NonUtf8Byte(line);
  const size_t commentAt = CommentAt(line, comment);
  bool quoted = false, inComment = false;
  for (size_t i = 0; i < line.size() && i < utf8; ++i) {
    inComment = inComment || i >= commentAt;
    const unsigned char c = static_cast<unsigned char>(line[i]);
    if (c == '\t' ? !tabsAreBlanks || quoted || inComment : IsControlByte(c) && !(c == '\r' && i + 1 == line.size())) return i;
    if (!quotedTexts || inComment) continue;
    if (quoted && c == '\\') ++i;
    else if (c == '"') quoted = !quoted;
    else if (!quoted && c == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) inComment = true;
  }
  return utf8;
}

// The one message for the byte at `at` of a line that RefusedLineByte
// found, as a byte of the value that holds it, named by the line's first
// word ("'name' holds the control byte \x01: 'Br\x01ackenford'"): a quoted
// text whole (without its quotes), the whole value after "field:", or else
// the word that holds it, cut at the spaces; a byte of the first word as a
// byte of that word ("'key\xe9' holds the byte \xe9, which is no UTF-8
// text"); a comment's as the comment's ("the comment holds ...: '# ...'",
// the comment beginning where `comment` says, see CommentAt; a map's drawn
// row may begin with '#' and gives npos).
inline std::string RefusedLineByteMessage(std::string_view line, size_t at, size_t comment = kCommentFirstWord) {
  const size_t commentAt = CommentAt(line, comment);
  const size_t first = std::min(line.find_first_not_of(" \t"), at);
  size_t firstEnd = first;
  while (firstEnd < line.size() && line[firstEnd] != ' ' && line[firstEnd] != '\t' && line[firstEnd] != ':') ++firstEnd;
  const std::string_view field = line.substr(first, firstEnd - first);
  size_t start = at, end = at;
  while (start > 0 && line[start - 1] != ' ') --start;
  while (end < line.size() && line[end] != ' ') ++end;
  const size_t colon = line.find_first_not_of(" \t", firstEnd);
  if (colon < at && line[colon] == ':') {  // "field: value"
    start = std::min(line.find_first_not_of(" \t", colon + 1), at);
    end = std::max(line.find_last_not_of(" \t") + 1, at + 1);
  }
  for (size_t i = firstEnd, open = std::string_view::npos; i < line.size() && i <= at; ++i) {
    if (open == std::string_view::npos && line[i] == '"') open = i;
    else if (open != std::string_view::npos && line[i] == '\\') ++i;
    else if (open != std::string_view::npos && line[i] == '"') open = std::string_view::npos;
    if (i == at && open != std::string_view::npos && open < at) {  // a quoted text's bytes
      start = open + 1;
      for (end = at; end < line.size() && line[end] != '"'; ++end)
        if (line[end] == '\\') ++end;
      end = std::min(end, line.size());
    }
  }
  const std::string byte = ShownBytes(line.substr(at, 1));
  const std::string said = IsControlByte(static_cast<unsigned char>(line[at])) ? " holds the control byte " + byte
                                                                              : " holds the byte " + byte + ", which is no UTF-8 text";
  if (at >= commentAt) return "the comment" + said + ": " + QuotedBytes(line.substr(commentAt));
  if (at < firstEnd) return QuotedBytes(line.substr(start, end - start)) + said;
  return QuotedBytes(field) + said + ": " + QuotedBytes(line.substr(start, end - start));
}
