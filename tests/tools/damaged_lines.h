// One damaged byte in one line of a good source, as a source is damaged on a
// disk or in an editor. Each such source is one fault, reported once at its
// line.
//
// DamagedLines damages the middle byte of each line's first word.
// DamagedBytes damages every kind of place in every line: the first, middle
// and last byte of each word and the first blank between two words, each
// with a zero byte, a byte the game cannot show, a carriage return and a
// control byte. A carriage return as a line's last byte is left out: it is
// how a line ends in a source saved with Windows line ends.
//
// SweptBytes damages sampled lines as a content author's file is damaged:
// each byte kind replacing a byte and inserted before it, and a byte
// deleted, at every kind of place (see there). SweepFault judges a run of a
// tool on such a source against its run on the good one.
#pragma once
#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

enum class Damage { kReplaced, kInserted, kDeleted };

struct DamagedLine {
  int line;          // from 1
  std::string text;  // the whole source, that line damaged
  std::string what;  // "line 3 byte 1", to name the case
  Damage damage = Damage::kReplaced;
  char byte = 0;     // the byte put in (none for a deletion)
};

inline std::vector<DamagedLine> DamagedLines(const std::string& good, const std::string& bytes = std::string("\x01\xe9\0", 3)) {
  std::vector<DamagedLine> damaged;
  int line = 1;
  for (size_t start = 0; start < good.size(); ++line) {
    const size_t end = std::min(good.find('\n', start), good.size());
    const size_t word = good.find_first_not_of(" \t", start);
    const size_t wordEnd = std::min(good.find_first_of(" \t\n", word), good.size());
    for (const char byte : bytes)
      if (word < end) {
        std::string text = good;
        text[word + (wordEnd - word) / 2] = byte;
        damaged.push_back({line, text, "line " + std::to_string(line) + " byte " + std::to_string(byte & 0xff)});
      }
    start = end + 1;
  }
  return damaged;
}

inline std::vector<DamagedLine> DamagedBytes(const std::string& good, const std::string& bytes = std::string("\0\xe9\r\x01", 4)) {
  std::vector<DamagedLine> damaged;
  int line = 1;
  for (size_t start = 0; start < good.size(); ++line) {
    const size_t end = std::min(good.find('\n', start), good.size());
    std::vector<std::pair<size_t, const char*>> places;  // offset in the source, what kind of place
    for (size_t word = good.find_first_not_of(" \t", start); word < end;) {
      const size_t wordEnd = std::min(good.find_first_of(" \t\n", word), end);
      places.push_back({word, "first byte of a word"});
      if (wordEnd - word > 2) places.push_back({word + (wordEnd - word) / 2, "middle of a word"});
      if (wordEnd - word > 1) places.push_back({wordEnd - 1, "last byte of a word"});
      const size_t next = good.find_first_not_of(" \t", wordEnd);
      if (next < end) places.push_back({wordEnd, "blank between words"});
      word = next;
    }
    for (const auto& [at, kind] : places)
      for (const char byte : bytes) {
        if (byte == '\r' && at + 1 == end) continue;
        std::string text = good;
        text[at] = byte;
        damaged.push_back({line, text,
                           "line " + std::to_string(line) + ", " + kind + " at column " + std::to_string(at - start + 1) +
                               ", byte " + std::to_string(byte & 0xff)});
      }
    start = end + 1;
  }
  return damaged;
}

// Where the damaged byte of a damaged line lies against the comments of the
// good source: in no comment; in one (a source reads a comment's bytes as no
// words of it); or on the blank after a comment's '#' (a source that marks
// its comments with "# ", as a font does, then reads the line as no
// comment). A comment begins at a '#' that stands at the line's start or
// after a blank and is followed by a blank or the line's end (a glyph row's
// '#', a sharp's, or a comment mark the damage struck is none).
enum class CommentPlace { kNone, kInComment, kOnMarkBlank };

inline CommentPlace DamagedInComment(const std::string& good, const DamagedLine& damaged) {
  const size_t at = static_cast<size_t>(
      std::mismatch(good.begin(), good.end(), damaged.text.begin()).first - good.begin());
  const size_t start = at == 0 ? 0 : good.rfind('\n', at - 1) + 1;  // npos + 1 is 0
  for (size_t h = start; h < at; ++h)
    if (good[h] == '#' && (h == start || good[h - 1] == ' ' || good[h - 1] == '\t') &&
        (h + 1 == good.size() || good[h + 1] == ' ' || good[h + 1] == '\t' || good[h + 1] == '\n'))
      return h + 1 == at ? CommentPlace::kOnMarkBlank : CommentPlace::kInComment;
  return CommentPlace::kNone;
}

// The byte kinds of a sweep: control bytes (a zero byte, 0x01, a tab, a
// carriage return, DEL), a quote and a backslash (which read as the marks of
// a quoted text), and bytes no UTF-8 text holds alone (0xE9, 0xFF).
inline const std::string kSweptBytes("\x00\x01\x09\x0d\x22\x5c\x7f\xe9\xff", 9);

// The lines a sweep damages: the first line of each kind, a line's kind
// being what `kind` says of it; a comment's kind is "#" and the kind of the
// line after it (so that the line a damaged comment end joins to the comment
// is each kind), and a line with a comment after its words has a kind of
// its own (kind + " #"). With `seen`, the kinds sampled from other sources
// are not sampled again.
inline std::vector<int> SampledLines(const std::string& good, const std::function<std::string(const std::string&)>& kind,
                                     std::set<std::string>* seen = nullptr) {
  std::vector<std::string> lines;
  for (size_t start = 0; start < good.size();) {
    const size_t end = std::min(good.find('\n', start), good.size());
    lines.push_back(good.substr(start, end - start));
    start = end + 1;
  }
  std::vector<int> sampled;
  std::set<std::string> own;
  if (!seen) seen = &own;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string k = kind(lines[i]);
    if (k == "#") k += " before " + (i + 1 < lines.size() ? kind(lines[i + 1]) : "the end");
    else if (lines[i].find(" #") != std::string::npos) k += " #";
    if (seen->insert(k).second) sampled.push_back(static_cast<int>(i) + 1);
  }
  return sampled;
}

// A line's kind as most sources have it: a comment ('#' first), a blank
// line, a line whose first word is a keyword (lower-case letters and '_',
// perhaps with a colon after them: that word), or any other line (text, a
// drawn row).
inline std::string LineKind(const std::string& line) {
  const size_t word = line.find_first_not_of(" \t\r");
  if (word == std::string::npos) return "";
  if (line[word] == '#') return "#";
  size_t end = word;
  while (end < line.size() && ((line[end] >= 'a' && line[end] <= 'z') || line[end] == '_')) ++end;
  const bool keyword = end > word && (end == line.size() || line[end] == ' ' || line[end] == ':' || line[end] == '\r');
  return keyword ? line.substr(word, end - word) : "other";
}

// Each byte of `bytes` replacing a byte and inserted before it, and the
// byte deleted, at each place of each of the lines: the first, middle and
// last byte of each of its first two words and of its last, the blank
// after each of the first two, and the line's end (its newline, which is
// not deleted; a carriage return put before it is a Windows line end). A
// carriage return in place of a line's last byte is left out: it reads as
// that byte deleted from a line with a Windows line end.
inline std::vector<DamagedLine> SweptBytes(const std::string& good, const std::vector<int>& lines,
                                           const std::string& bytes = kSweptBytes) {
  std::vector<DamagedLine> damaged;
  int line = 1;
  for (size_t start = 0; start < good.size(); ++line) {
    const size_t end = std::min(good.find('\n', start), good.size());
    if (std::find(lines.begin(), lines.end(), line) == lines.end()) {
      start = end + 1;
      continue;
    }
    std::vector<std::pair<size_t, const char*>> places;  // offset in the source, what kind of place
    int words = 0;
    for (size_t word = good.find_first_not_of(" \t", start); word < end; ++words) {
      const size_t wordEnd = std::min(good.find_first_of(" \t\n", word), end);
      const size_t next = good.find_first_not_of(" \t", wordEnd);
      if (words < 2 || next >= end) {
        places.push_back({word, "first byte of a word"});
        if (wordEnd - word > 2) places.push_back({word + (wordEnd - word) / 2, "middle of a word"});
        if (wordEnd - word > 1) places.push_back({wordEnd - 1, "last byte of a word"});
        if (next < end && words < 2) places.push_back({wordEnd, "blank between words"});
      }
      word = next;
    }
    if (end < good.size()) places.push_back({end, "line end"});
    const std::string name = "line " + std::to_string(line) + ", ";
    for (const auto& [at, kind] : places) {
      const std::string column = std::string(kind) + " at column " + std::to_string(at - start + 1);
      for (const char byte : bytes) {
        std::string text = good;
        if (!(byte == '\r' && at + 1 == end)) {
          text[at] = byte;
          damaged.push_back({line, text, name + column + ", replaced by " + std::to_string(byte & 0xff), Damage::kReplaced, byte});
        }
        text = good;
        text.insert(at, 1, byte);
        damaged.push_back({line, text, name + column + ", " + std::to_string(byte & 0xff) + " inserted before it",
                           Damage::kInserted, byte});
      }
      if (at == end) continue;
      std::string text = good;
      text.erase(at, 1);
      damaged.push_back({line, text, name + column + ", deleted", Damage::kDeleted});
    }
    start = end + 1;
  }
  return damaged;
}

// Whether a damage may leave a line that reads soundly with another meaning
// (a digit or a letter less, another key character, a quote closing a text
// early, a backslash making "\r" of an "r", a tab, which is a blank between
// words, at a word's edge): a deletion, a quote, a backslash or a tab. The
// tools cannot tell such a line from what its author wrote.
inline bool MayReadSoundly(const DamagedLine& d) {
  return d.damage == Damage::kDeleted || d.byte == '"' || d.byte == '\\' || d.byte == '\t';
}

// What a tool's run made of a source: its output when it succeeded, its
// messages ("file:line: ...") when it failed.
struct SweepRun {
  bool ok = false;
  std::string output;
  std::vector<std::string> messages;
};

// Empty when a run on a damaged source holds, else why not: the output is
// that of the good source (the damage was harmless), or the run fails with
// one message, at the damaged file and line, on one printable line. A
// damage that may read soundly (MayReadSoundly) may also give another
// output, or faults where they show when its own line drew none.
inline std::string SweepFault(const std::string& file, const DamagedLine& d, const SweepRun& good, const SweepRun& run) {
  std::string all;
  for (const std::string& m : run.messages) all += "\n  " + m;
  if (run.ok) {
    if (run.output == good.output || MayReadSoundly(d)) return "";
    return d.what + ": taken with another output";
  }
  if (!run.output.empty()) return d.what + ": a failed run wrote its output";
  const std::string place = file + ":" + std::to_string(d.line) + ":";
  bool named = false;
  for (const std::string& m : run.messages) named = named || m.rfind(place, 0) == 0;
  if (!named && MayReadSoundly(d) && !run.messages.empty()) return "";
  if (run.messages.size() != 1 || run.messages[0].rfind(place, 0) != 0 ||
      run.messages[0].find_first_of("\r\n") != std::string::npos)
    return d.what + ": not one message at " + place + all;
  return "";
}
