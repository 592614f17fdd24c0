// One damaged byte in one line of a good source, as a source is damaged on a
// disk or in an editor. Each such source is one fault, reported once at its
// line.
//
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
#include <map>
#include <set>
#include <string>
#include <vector>

enum class Damage { kReplaced, kInserted, kDeleted };

struct DamagedLine {
  int line;          // from 1
  std::string text;  // the whole source, that line damaged
  std::string what;  // "line 3 byte 1", to name the case
  Damage damage = Damage::kReplaced;
  char byte = 0;         // the byte put in (none for a deletion)
  size_t at = 0;         // where, in the source
  bool lineEnd = false;  // the damage struck the line's end
  bool comment = false;  // the line holds a comment
};

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
                               ", byte " + std::to_string(byte & 0xff),
                           Damage::kReplaced, byte, at});
      }
    start = end + 1;
  }
  return damaged;
}

// The byte kinds of a sweep: control bytes (a zero byte, 0x01, a tab, a
// carriage return, DEL), a quote and a backslash (which read as the marks of
// a quoted text), the comment mark, and bytes no UTF-8 text holds alone
// (0xE9, 0xFF).
inline const std::string kSweptBytes("\x00\x01\x09\x0d\x22\x5c\x23\x7f\xe9\xff", 10);

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

// Where a line's comment begins (npos for none): a '#' at the line's start
// or after a blank. A source that marks its comments otherwise (a font's
// "# ", which its glyph rows' '#' never is) says so.
using CommentMark = std::function<size_t(const std::string& line)>;
inline size_t CommentAfterBlank(const std::string& line) {
  for (size_t i = 0; i < line.size(); ++i)
    if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) return i;
  return std::string::npos;
}

// A place a sweep damages: its line, its offset in the source, what kind of
// place it is, whether it is the line's end and whether the line holds a
// comment.
struct SweptPlace {
  int line;
  size_t at;
  std::string what;  // "line 3, first byte of a word at column 1"
  bool lineEnd, comment;
};

// The places of the lines a sweep damages: the line's first byte; the
// first, middle and last byte of each of the first two words, of the last
// word before the comment and of the line's last word; the blank after each
// of the first two words; the first '=' after the first word and before the
// comment; the comment's mark and a byte of its text; and the line's end.
inline std::vector<SweptPlace> SweptPlaces(const std::string& good, const std::vector<int>& lines,
                                           const CommentMark& commentMark = CommentAfterBlank) {
  std::vector<SweptPlace> swept;
  int line = 1;
  for (size_t start = 0; start < good.size(); ++line) {
    const size_t end = std::min(good.find('\n', start), good.size());
    if (std::find(lines.begin(), lines.end(), line) == lines.end()) {
      start = end + 1;
      continue;
    }
    const std::string text = good.substr(start, end - start);
    const size_t mark = std::min(commentMark(text), text.size());
    std::map<size_t, const char*> places;  // offset in the source, what kind of place (the first named)
    auto place = [&](size_t at, const char* kind) { places.emplace(start + at, kind); };
    auto word = [&](size_t from, size_t to) {  // a word's first, middle and last byte
      place(from, "first byte of a word");
      if (to - from > 2) place(from + (to - from) / 2, "middle of a word");
      if (to - from > 1) place(to - 1, "last byte of a word");
    };
    if (!text.empty()) place(0, "first byte of the line");
    int words = 0;
    size_t lastBeforeComment = std::string::npos, lastEnd = 0, firstEnd = 0;
    for (size_t w = text.find_first_not_of(" \t"); w < text.size(); ++words) {
      const size_t wordEnd = std::min(text.find_first_of(" \t", w), text.size());
      const size_t next = text.find_first_not_of(" \t", wordEnd);
      if (words < 2 || next >= text.size()) word(w, wordEnd);
      if (next < text.size() && words < 2) place(wordEnd, "blank between words");
      if (words == 0) firstEnd = wordEnd;
      if (wordEnd <= mark) lastBeforeComment = w, lastEnd = wordEnd;
      w = next;
    }
    if (lastBeforeComment != std::string::npos) word(lastBeforeComment, lastEnd);
    if (const size_t eq = text.find('=', firstEnd); eq < mark) place(eq, "first '=' after the first word");
    if (mark < text.size()) {
      place(mark, "comment's mark");
      place(mark + (text.size() - mark) / 2, "comment's text");
    }
    if (end < good.size()) place(text.size(), "line end");
    for (const auto& [at, kind] : places)
      swept.push_back({line, at, "line " + std::to_string(line) + ", " + kind + " at column " + std::to_string(at - start + 1),
                       at == end, mark < text.size()});
    start = end + 1;
  }
  return swept;
}

// How many damages SweptBytes makes of so many places.
inline size_t SweptDamages(size_t places, const std::string& bytes = kSweptBytes) { return places * (2 * bytes.size() + 1); }

// Each byte of `bytes` replacing a byte and inserted before it, and the
// byte deleted, at each place of each of the lines (SweptPlaces): a line end
// deleted joins the next line to it, a carriage return put before it is a
// Windows line end. Only the damages `first` to `last` (in that order) are
// made, when given.
inline std::vector<DamagedLine> SweptBytes(const std::string& good, const std::vector<int>& lines,
                                           const CommentMark& commentMark = CommentAfterBlank,
                                           const std::string& bytes = kSweptBytes, size_t first = 0,
                                           size_t last = std::string::npos) {
  std::vector<DamagedLine> damaged;
  size_t index = 0;
  auto wanted = [&] { return index >= first && index < last; };
  for (const SweptPlace& p : SweptPlaces(good, lines, commentMark)) {
    for (const char byte : bytes) {
      if (wanted()) {
        std::string replaced = good;
        replaced[p.at] = byte;
        damaged.push_back({p.line, replaced, p.what + ", replaced by " + std::to_string(byte & 0xff), Damage::kReplaced, byte,
                           p.at, p.lineEnd, p.comment});
      }
      ++index;
      if (wanted()) {
        std::string inserted = good;
        inserted.insert(p.at, 1, byte);
        damaged.push_back({p.line, inserted, p.what + ", " + std::to_string(byte & 0xff) + " inserted before it",
                           Damage::kInserted, byte, p.at, p.lineEnd, p.comment});
      }
      ++index;
    }
    if (wanted()) {
      std::string deleted = good;
      deleted.erase(p.at, 1);
      damaged.push_back({p.line, deleted, p.what + ", deleted", Damage::kDeleted, 0, p.at, p.lineEnd, p.comment});
    }
    ++index;
  }
  return damaged;
}

// Each line end of a source, from the `first` to before the `last`, turned
// into the comment mark: the next line joins its line after a '#', as a
// comment or, where the line's text runs to its end, as words of it.
inline std::vector<DamagedLine> MarkedLineEnds(const std::string& good, size_t first = 0, size_t last = std::string::npos) {
  std::vector<DamagedLine> damaged;
  int line = 1;
  size_t index = 0;
  for (size_t end = good.find('\n'); end != std::string::npos; end = good.find('\n', end + 1), ++line, ++index) {
    if (index < first || index >= last) continue;
    std::string text = good;
    text[end] = '#';
    const size_t start = good.rfind('\n', end - (end > 0)) + 1;
    damaged.push_back({line, text, "line " + std::to_string(line) + ", its line end turned into '#'", Damage::kReplaced,
                       '#', end, true, good.find('#', start) < end});
  }
  return damaged;
}

// What a tool's sources may hold that a sweep cannot tell from what their
// author wrote.
struct SweptFormat {
  // A quote and a backslash are bytes of its words: a quoted text's marks
  // (a quote may close a text early, a backslash begin an escape) or a
  // character a map key or row may draw.
  bool quotes = false;
  // The first fault a damage that may read soundly leaves away from its
  // line names the damaged file (a frame it moved onto another line's is
  // named by that line's message).
  bool firstNamesFile = false;
};

// Whether a swept line end after a comment joins the next line into the
// comment: deleted, or damaged into a byte a comment may hold (a quote, a
// backslash). Every tool refuses a comment that holds a line of its source
// at the comment's line, so such a damage gives the good output (the line
// joined was a blank line, a comment or one a comment may hold as its own
// words) or one message at its line, and never reads soundly with another
// meaning.
inline bool JoinsIntoComment(const DamagedLine& d) {
  return d.lineEnd && d.comment &&
         (d.damage == Damage::kDeleted || (d.damage == Damage::kReplaced && (d.byte == '"' || d.byte == '\\')));
}

// Whether a blank line's end turned into the comment mark, which writes the
// next line out of use, as an author may: a run may take it as written, or
// fail with its fault said at the damaged line.
inline bool WritesNextLineOutOfUse(const std::string& good, const DamagedLine& d) {
  if (!d.lineEnd || d.byte != '#' || d.damage != Damage::kReplaced) return false;
  const size_t start = d.at == 0 ? 0 : good.rfind('\n', d.at - 1) + 1;
  return good.find_first_not_of(" \t\r", start) >= d.at;
}

// Whether a damage may leave a line that reads soundly with another meaning,
// which no tool can tell from what its author wrote: a byte deleted (a digit
// or a letter less, 0.8 seconds for 0.28, sheet 3 for sheet 13, a line end
// joining two lines), a comment mark put in a line but for its line end (the
// rest of the line written out of use, or a byte of a text or of a map's
// row), a tab in place of a byte at a word's edge (a blank between words), a
// carriage return in place of a line's last byte (a Windows line end, that
// byte deleted), or where the format says so a quote or a backslash.
inline bool MayReadSoundly(const std::string& good, const DamagedLine& d, const SweptFormat& format) {
  if (d.damage == Damage::kDeleted) return true;
  if (d.byte == '#' && !(d.lineEnd && d.damage == Damage::kReplaced)) return true;
  if (format.quotes && (d.byte == '"' || d.byte == '\\')) return true;
  if (d.damage != Damage::kReplaced || d.lineEnd) return false;
  auto edge = [&](size_t i) { return i >= good.size() || good[i] == ' ' || good[i] == '\t' || good[i] == '\n'; };
  return (d.byte == '\t' && (d.at == 0 || edge(d.at - 1) || edge(d.at + 1))) ||
         (d.byte == '\r' && (d.at + 1 == good.size() || good[d.at + 1] == '\n'));
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
// damage that may read soundly (MayReadSoundly) but a line end joined into
// a comment (JoinsIntoComment) may also give another output, or faults
// where they show when its own line drew none (with
// `format.firstNamesFile` the first of them naming the damaged file).
inline std::string SweepFault(const std::string& file, const std::string& goodText, const DamagedLine& d, const SweepRun& good,
                              const SweepRun& run, const SweptFormat& format) {
  const bool soundly = !JoinsIntoComment(d) && MayReadSoundly(goodText, d, format);
  std::string all;
  for (const std::string& m : run.messages) all += "\n  " + m;
  if (run.ok) {
    if (run.output == good.output || soundly || WritesNextLineOutOfUse(goodText, d)) return "";
    return d.what + ": taken with another output";
  }
  if (!run.output.empty()) return d.what + ": a failed run wrote its output";
  const std::string place = file + ":" + std::to_string(d.line) + ":";
  bool named = false;
  for (const std::string& m : run.messages) named = named || m.rfind(place, 0) == 0;
  if (!named && soundly && !run.messages.empty()) {
    if (!format.firstNamesFile || run.messages[0].find(file + ":") != std::string::npos) return "";
    return d.what + ": the first message names another file" + all;
  }
  if (run.messages.size() != 1 || run.messages[0].rfind(place, 0) != 0 ||
      run.messages[0].find_first_of("\r\n") != std::string::npos)
    return d.what + ": not one message at " + place + all;
  return "";
}
