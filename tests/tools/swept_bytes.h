// A sweep of damaged bytes over chosen lines of a good source, as a disk or
// an editor damages one: each of the bytes 0x00, 0x01, 0x09, 0x0D, 0x22,
// 0x5C, 0x7F, 0xE9 and 0xFF replacing a byte and inserted before it, and the
// byte deleted, at a sample of the line's places: its first byte, the first
// word's last byte and the blank after it, the first '=' (or the second
// word's first byte), the last word's last byte, the comment's mark and a
// byte of its text, and the line's end.
#pragma once
#include <algorithm>
#include <set>
#include <string>
#include <vector>

struct SweptByte {
  enum Kind { kReplaced, kInserted, kDeleted };
  int line;          // the damaged line, from 1
  std::string text;  // the whole source, damaged
  std::string what;  // names the case
  Kind kind;
  char byte;         // the byte put in (none for a deletion)
  size_t at;         // where, in the source
  bool lineEnd;      // the damage struck the line's end
  bool comment;      // the line holds a comment (after `commentMark`)
};

inline const std::string kSweptBytes("\x00\x01\x09\x0d\x22\x5c\x7f\xe9\xff", 9);

// `commentMark` tells where a line's comment begins (npos for none).
template <typename CommentMark>
std::vector<SweptByte> SweptBytes(const std::string& good, const std::set<int>& lines, CommentMark commentMark) {
  std::vector<SweptByte> swept;
  int line = 1;
  for (size_t start = 0; start < good.size(); ++line) {
    const size_t end = std::min(good.find('\n', start), good.size());
    if (lines.count(line)) {
      const std::string text = good.substr(start, end - start);
      const size_t mark = commentMark(text);
      const size_t words = std::min(mark, text.size());
      std::set<size_t> places = {0};
      auto blank = [&](size_t i) { return text[i] == ' ' || text[i] == '\t'; };
      size_t first = 0;
      while (first < words && blank(first)) ++first;
      size_t last = first;
      while (last < words && !blank(last)) ++last;
      if (last > first) places.insert(last - 1);  // the first word's last byte
      if (last < words) {
        places.insert(last);  // the blank after it
        const size_t eq = text.find('=', last);
        const size_t second = text.find_first_not_of(" \t", last);
        places.insert(eq < words ? eq : second);
        places.insert(text.find_last_not_of(" \t", words - 1));  // the last word's last byte
      }
      if (mark < text.size()) {
        places.insert(mark);
        places.insert(mark + (text.size() - mark) / 2);
      }
      places.insert(text.size());  // the line end
      for (const size_t place : places) {
        if (place > text.size() || (place == text.size() && end == good.size())) continue;
        const size_t at = start + place;
        const bool lineEnd = place == text.size();
        const std::string where = "line " + std::to_string(line) + " column " + std::to_string(place + 1);
        const bool comment = mark < text.size();
        for (const char byte : kSweptBytes) {
          const std::string shown = std::to_string(byte & 0xff);
          std::string replaced = good, inserted = good;
          replaced[at] = byte;
          inserted.insert(at, 1, byte);
          swept.push_back({line, replaced, where + " replaced by " + shown, SweptByte::kReplaced, byte, at, lineEnd, comment});
          swept.push_back({line, inserted, where + " " + shown + " inserted", SweptByte::kInserted, byte, at, lineEnd, comment});
        }
        std::string deleted = good;
        deleted.erase(at, 1);
        swept.push_back({line, deleted, where + " deleted", SweptByte::kDeleted, 0, at, lineEnd, comment});
      }
    }
    start = end + 1;
  }
  return swept;
}

// Whether a swept line end after a comment joins the next line into the
// comment: deleted, or damaged into a byte a comment may hold (a tab, a
// quote, a backslash). No reader can tell it from a longer comment, nor the
// line lost from one never written: its faults, if any, are found where the
// lost line is missed.
inline bool JoinsIntoComment(const SweptByte& d) {
  return d.lineEnd && d.comment &&
         (d.kind == SweptByte::kDeleted || (d.kind == SweptByte::kReplaced && (d.byte == '\t' || d.byte == '"' || d.byte == '\\')));
}

// Whether a swept source may read as another good one, its damage taken in
// silence or found where its other meaning is refused: a byte deleted (0.8
// seconds for 0.28, sheet 3 for sheet 13), or replaced by a tab at a word's
// end or start or by a carriage return at the line's end (that of a CRLF
// line end), which reads as deleted.
inline bool MayReadAsAnotherSource(const std::string& good, const SweptByte& d) {
  if (d.kind == SweptByte::kDeleted) return true;
  if (d.kind != SweptByte::kReplaced || d.lineEnd) return false;
  auto edge = [&](size_t i) { return i >= good.size() || good[i] == ' ' || good[i] == '\t' || good[i] == '\n'; };
  return (d.byte == '\t' && (d.at == 0 || edge(d.at - 1) || edge(d.at + 1))) ||
         (d.byte == '\r' && (d.at + 1 == good.size() || good[d.at + 1] == '\n'));
}

// The judgement of one swept run, empty when it holds: `faults` are its
// messages, a line each (none when it read the source), `same` whether it
// read it as the good source, `file` how a message names the damaged file
// ("effects.txt:"). A run either reads as the good source did or fails with
// every message at the damaged line; one that may read as another good
// source may read otherwise, or fail with a first message naming the file
// (a frame it moved onto another line's is named by that line's message).
inline std::string SweptJudgement(const std::string& good, const SweptByte& d, const std::string& faults, bool same,
                                  const std::string& file) {
  if (JoinsIntoComment(d)) return "";
  const bool another = MayReadAsAnotherSource(good, d);
  if (faults.empty()) return same || another ? "" : "taken as another source";
  if (another) return faults.substr(0, faults.find('\n')).find(file) != std::string::npos ? "" : "the first message names another file:\n" + faults;
  const std::string at = file + std::to_string(d.line) + ": ";
  for (size_t start = 0; start < faults.size();) {
    const size_t end = std::min(faults.find('\n', start), faults.size());
    if (faults.compare(start, at.size(), at) != 0) return "a message at another place:\n" + faults;
    start = end + 1;
  }
  return "";
}
