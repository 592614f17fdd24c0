// tablemaker: compiles the readable table sources into the game's row files
// and lints them on the way.
//
//   tablemaker items   <source> <Item1.iml>
//   tablemaker spells  <source> <Spell1.sml> [<listing.txt>]
//   tablemaker crafted <source> <SaveWeapon.wml>
//
// A source is a sequence of row blocks:
//
//   row 107
//     name "Cure Light Wounds"
//     level 1  school Conjuration  comp VS  range Touch
//     text "Positive energy closes wounds ..."
//
// Each line holds key/value pairs; a value with blanks is written in double
// quotes with the escapes of every source (common/source_quotes.h: \" \\ \r
// \n \t, \xNN for any byte; "£" written in UTF-8 is the highlight mark
// 0xA3). A name holds no control byte, a text none but the carriage return
// that ends a line of it, as the game shows them (a zero byte would end it).
// Named values may be given by name or number; a field is given once in a
// row. "copy A-B to C key value ..." copies rows A to B onto C onwards, with
// the given fields changed. '#' starts a comment. Any fault is reported on
// one line as file:line: message, naming the field ("'level' value 12 is
// outside 1 to 9", "row 31 'level': has level 4 but stands in the level 3
// block"; words of the source shown as a quoted value writes them), one
// message a line; after a refused line the lines up to the next row or copy
// line are passed over. The tool then exits with status 1, writing nothing.
// The faults between lines (a row given twice, a copy of a row not given)
// and the table's rules are checked once every line reads without a fault. The spells may also be written out in words
// (the listing) for readers.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/comment_joins.h"
#include "common/shown_bytes.h"
#include "common/source_bytes.h"
#include "common/source_faults.h"
#include "common/source_lines.h"
#include "common/source_numbers.h"
#include "common/source_quotes.h"
#include "common/tool_files.h"
#include "tablemaker/tablemaker.h"

namespace {

struct Token {
  std::string text;
  bool quoted = false;
};

// "'key': " for the word before a text being read (the field it is the value
// of), nothing at the start of a line.
std::string FieldBefore(const std::vector<Token>& tokens) {
  return tokens.empty() ? "" : QuotedBytes(tokens.back().text) + ": ";
}

// Cuts a line into words; false with the fault. *comment (when given) gets
// where the line's comment begins, npos for none.
bool Tokenise(std::string_view line, std::vector<Token>* out, std::string* error, size_t* comment = nullptr) {
  if (comment) *comment = std::string::npos;
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (BlankAt(line, i)) {
      ++i;
      continue;
    }
    if (c == '#') {
      if (comment) *comment = i;
      break;
    }
    Token t;
    if (c == '"') {
      QuotedValue value = ReadQuotedValue(line, i);
      if (!value.fault.empty()) {
        *error = FieldBefore(*out) + value.fault;
        return false;
      }
      t.quoted = true;
      t.text = std::move(value.text);
      i = value.end;
    } else {
      while (i < line.size() && !BlankAt(line, i)) t.text += line[i++];
    }
    out->push_back(t);
  }
  return true;
}

// A number is digits, after a sign or not: nothing else, no blank or line
// end before it either (common/source_numbers.h).
bool ParseInt(const std::string& s, int64_t* value) {
  long long v = 0;
  if (!ReadWholeNumber(s, &v)) return false;
  *value = v;
  return true;
}

void PutWord(std::vector<uint8_t>& row, int offset, int32_t value) {
  const uint32_t v = static_cast<uint32_t>(value);
  row[offset] = v & 0xFF;
  row[offset + 1] = (v >> 8) & 0xFF;
  row[offset + 2] = (v >> 16) & 0xFF;
  row[offset + 3] = (v >> 24) & 0xFF;
}

// Applies one key/value pair to a row image: the field written, or null with
// a message on a fault (the row then keeps what it held).
const FieldSpec* Apply(const TableSchema& schema, std::vector<uint8_t>& row, const std::string& key,
                       const Token& value, std::string* error) {
  const FieldSpec* field = schema.Find(key);
  if (!field) {
    *error = "unknown field " + QuotedBytes(key);
    return nullptr;
  }
  switch (field->kind) {
    case FieldKind::kText: {
      // A name shows what the game's fonts show ("£" is its highlight mark);
      // a text laid out in lines shows a carriage return as its line end too.
      const std::string text = WithGamePoundSigns(value.text);
      const size_t unshown = UnshownByte(text, field->lines);
      if (unshown != std::string::npos) {
        *error = UnshownByteMessage(key, text, unshown);
        return nullptr;
      }
      if (text.size() + 1 > static_cast<size_t>(field->width)) {
        *error = "'" + key + "' is longer than " + std::to_string(field->width - 1) + " characters";
        return nullptr;
      }
      std::memset(&row[field->offset], 0, field->width);
      std::memcpy(&row[field->offset], text.data(), text.size());
      return field;
    }
    case FieldKind::kFlags: {
      // One letter per flag word, in the order of the field's letters; every
      // letter is looked at before a word is written.
      std::vector<int> set;
      for (char c : value.text) {
        if (c == '-') continue;
        // strchr would find a NUL at the letters' end: a NUL is no letter.
        const char* at = c != '\0' ? std::strchr(field->letters, c) : nullptr;
        if (!at) {
          *error = "'" + key + "' has no letter " + QuotedBytes(std::string(1, c)) + " (letters " + field->letters + ")";
          return nullptr;
        }
        set.push_back(static_cast<int>(at - field->letters));
      }
      for (int i = 0; field->letters[i]; ++i) PutWord(row, field->offset + 4 * i, 0);
      for (int i : set) PutWord(row, field->offset + 4 * i, 1);
      return field;
    }
    case FieldKind::kNumber: {
      int64_t v = 0;
      bool found = ParseInt(value.text, &v);
      if (!found && field->names) {
        // A code without a name (an empty entry of the list) is given by its number.
        for (int i = 0; field->names[i]; ++i) {
          if (field->names[i][0] != '\0' && value.text == field->names[i]) {
            v = field->nameBase + i;
            found = true;
            break;
          }
        }
      }
      if (!found) {
        *error = field->names ? "'" + key + "' has no value " + QuotedBytes(value.text)
                              : "'" + key + "' needs a whole number, not " + QuotedBytes(value.text);
        return nullptr;
      }
      bool fits = v >= field->min && v <= field->max;
      std::string marks;
      for (int i = 0; i < field->markCount; ++i) {
        fits = fits || v == field->marks[i];
        marks += (i == 0 ? " and is not " : " or ") + std::to_string(field->marks[i]);
      }
      if (!fits) {
        // The value as the source spells it: one too long for a number is not
        // reported as the number it was cut to.
        *error = "'" + key + "' value " + ShownBytes(value.text) + " is outside " + std::to_string(field->min) + " to " +
                 std::to_string(field->max) + marks;
        return nullptr;
      }
      PutWord(row, field->offset, static_cast<int32_t>(v));
      return field;
    }
  }
  return nullptr;
}

// The field of a line with an odd count of words that has no value: the first
// one followed by another field's name, else the last word.
std::string FieldWithoutValue(const TableSchema& schema, const std::vector<Token>& tokens) {
  for (size_t k = 0; k + 1 < tokens.size(); k += 2)
    if (!tokens[k + 1].quoted && schema.Find(tokens[k + 1].text)) return tokens[k].text;
  return tokens.back().text;
}

// The field of a row the game's own test refuses: the one whose word, put
// back to 0, lets the row through; null when no one field does.
const char* UnfitField(const TableSchema& schema, const std::vector<uint8_t>& row) {
  for (const FieldSpec& f : schema.fields) {
    if (f.kind != FieldKind::kNumber) continue;
    std::vector<uint8_t> probe = row;
    PutWord(probe, f.offset, 0);
    if (schema.gameTakes(probe)) return f.key;
  }
  return nullptr;
}

// "A-B" or "A"; the numbers stay wide until checked against the table.
bool ParseRange(const std::string& s, int64_t* a, int64_t* b);

// Whether a text reads whole as a line of the table: a row or copy line,
// or fields each with a value it takes.
bool IsTableLine(const TableSchema& schema, std::string_view text) {
  std::vector<Token> t;
  std::string error;
  if (!Tokenise(text, &t, &error) || t.empty() || t[0].quoted || t.size() % 2 != 0) return false;
  int64_t a = 0, b = 0;
  if (t[0].text == "row") return t.size() == 2 && ParseInt(t[1].text, &a);
  if (t[0].text == "copy" && (t.size() < 4 || t[2].text != "to" || !ParseRange(t[1].text, &a, &b) || !ParseRange(t[3].text, &a, &b)))
    return false;
  std::vector<uint8_t> row(static_cast<size_t>(schema.rowBytes + schema.sourceOnlyBytes), 0);
  for (size_t k = t[0].text == "copy" ? 4 : 0; k + 1 < t.size(); k += 2)
    if (t[k].quoted || !Apply(schema, row, t[k].text, t[k + 1], &error)) return false;
  return true;
}

bool ParseRange(const std::string& s, int64_t* a, int64_t* b) {
  const size_t dash = s.find('-', 1);
  int64_t x = 0, y = 0;
  if (dash == std::string::npos) {
    if (!ParseInt(s, &x)) return false;
    y = x;
  } else if (!ParseInt(s.substr(0, dash), &x) || !ParseInt(s.substr(dash + 1), &y)) {
    return false;
  }
  *a = x;
  *b = y;
  return true;
}

}  // namespace

TableResult CompileTable(const TableSchema& schema, const std::string& fileName, const std::string& text) {
  TableResult result;
  LineFaults faults;
  int lineNumber = 0;
  // A line's own fault: the line is refused whole, and the lines after it
  // are passed over up to the next row or copy line (the fields of the row
  // it may have begun are no row's).
  bool passing = false;
  auto Refuse = [&](const std::string& message) {
    faults.Line(fileName, lineNumber, message);
    passing = true;
  };
  auto Between = [&](int line, const std::string& message) { faults.Between(fileName, line, message); };

  const size_t fieldCount = schema.fields.size();
  const size_t rowBytes = static_cast<size_t>(schema.rowBytes + schema.sourceOnlyBytes);
  std::vector<std::vector<uint8_t>> rows(schema.rows, std::vector<uint8_t>(rowBytes, 0));
  std::vector<int> definedAt(schema.rows, 0);  // source line of each row, 0 not given
  // Where each field's word of a row was written: the line (0 not written
  // there) and the field that wrote it (fields may share a word).
  struct Given {
    int line = 0;
    int field = -1;
  };
  std::vector<std::vector<Given>> fieldAt(schema.rows);
  // The fields of a row given twice, or outside a row block, land here, read for their own faults.
  std::vector<uint8_t> scratch(rowBytes, 0);
  constexpr int kNoBlock = -1, kOtherBlock = -2;
  int current = kNoBlock;
  // Marks a field of a row written at a line (and the fields that share its words).
  auto Written = [&](int r, const FieldSpec* field, int line) {
    std::vector<Given>& at = fieldAt[r];
    if (at.empty()) at.assign(fieldCount, Given{});
    for (size_t i = 0; i < fieldCount; ++i)
      if (schema.fields[i].offset == field->offset) at[i] = {line, schema.IndexOf(field)};
  };
  // A field whose word was given before (in the row, or in the same line of a
  // copy) is refused: the later value would pass over the first unread.
  auto GivenTwice = [&](const FieldSpec* field, const Given& first) {
    if (!field || first.line == 0) return false;
    const std::string key = field->key, firstKey = schema.fields[first.field].key;
    Between(lineNumber, "'" + key + "' is given twice (first " + (firstKey == key ? "" : "as '" + firstKey + "' ") +
                            "at line " + std::to_string(first.line) + ")");
    return true;
  };
  auto FieldOf = [&](const Token& key) { return key.quoted ? nullptr : schema.Find(key.text); };
  // One key/value pair: the field written, or null when the pair was refused.
  auto ApplyPair = [&](std::vector<uint8_t>& row, const Token& key, const Token& value) -> const FieldSpec* {
    if (key.quoted) {
      Refuse(QuotedBytes(key.text) + ": a field name cannot be quoted");
      return nullptr;
    }
    std::string error;
    const FieldSpec* field = Apply(schema, row, key.text, value, &error);
    if (!field) Refuse(error);
    return field;
  };
  const auto isLine = [&](std::string_view tail) { return IsTableLine(schema, tail); };
  for (const std::string& line : SourceLines(text)) {
    ++lineNumber;
    ReadingAt(fileName, lineNumber);
    if (const size_t at = RefusedLineByte(line, true, true); at != std::string::npos) {
      Refuse(RefusedLineByteMessage(line, at));
      continue;
    }
    std::vector<Token> tokens;
    std::string error;
    size_t comment = 0;
    if (!Tokenise(line, &tokens, &error, &comment)) {
      Refuse(error);
      continue;
    }
    // A comment holds no whole line of the table (a line end lost joins one
    // to it, a mark put before a field takes the rest of its line). A line of
    // fields written out of use holds any of its fields: lines of fields
    // joined read as one.
    const std::string_view text = std::string_view(line).substr(std::min(comment, line.size()));
    const size_t own = text.find_first_not_of("# \t");
    const bool fieldsOutOfUse = tokens.empty() && own != std::string::npos && isLine(text.substr(own));
    if (const size_t at = JoinedLineAt(text, isLine, !tokens.empty()); at != std::string::npos && !fieldsOutOfUse) {
      Refuse(JoinedLineMessage(text, at));
      continue;
    }
    if (tokens.empty()) {
      // A row or copy line written out of use leaves its lines to the row before it.
      const std::string heading = HeadingOutOfUse(text, {"row", "copy"}, [&](std::string_view t) {
        return isLine(t) && (t.rfind("row", 0) == 0 || t.rfind("copy", 0) == 0);
      });
      if (!heading.empty()) faults.OutOfUse(fileName, lineNumber, heading);
      continue;
    }
    const std::string& head = tokens[0].text;
    const bool row = !tokens[0].quoted && head == "row", copy = !tokens[0].quoted && head == "copy";
    if (row || copy) faults.BlockBegins(fileName, lineNumber);
    else faults.LineOfWords(fileName, lineNumber);
    if (passing && !row && !copy) continue;
    if (row) {
      int64_t r = -1;
      if (tokens.size() != 2 || !ParseInt(tokens[1].text, &r) || r < 0 || r >= schema.rows) {
        Refuse("a row number from 0 to " + std::to_string(schema.rows - 1) + " must follow 'row'");
        continue;
      }
      passing = false;
      if (definedAt[r]) {
        Between(lineNumber, "row " + std::to_string(r) + " is given twice (first at line " + std::to_string(definedAt[r]) + ")");
        current = kOtherBlock;
        continue;
      }
      current = static_cast<int>(r);
      definedAt[r] = lineNumber;
      continue;
    }
    if (copy) {
      current = kNoBlock;
      int64_t a = 0, b = 0, to = 0, unused = 0;
      if (tokens.size() < 4 || tokens[2].text != "to" || !ParseRange(tokens[1].text, &a, &b) ||
          !ParseRange(tokens[3].text, &to, &unused) || a > b || a < 0 || to < 0 || b >= schema.rows ||
          to >= schema.rows || to + (b - a) >= schema.rows || (tokens.size() - 4) % 2 != 0) {
        Refuse("expected 'copy A-B to C [field value]...' within the table");
        continue;
      }
      passing = false;
      // The fields the copy changes are read once, so that a fault is reported once for the line.
      std::vector<std::pair<const FieldSpec*, const Token*>> changes;
      bool refused = false;
      for (size_t k = 4; k + 1 < tokens.size() && !refused; k += 2) {
        const FieldSpec* field = FieldOf(tokens[k]);
        const auto earlier = std::find_if(changes.begin(), changes.end(),
                                          [&](const auto& c) { return field && c.first->offset == field->offset; });
        if (earlier != changes.end() && GivenTwice(field, {lineNumber, schema.IndexOf(earlier->first)})) continue;
        if ((field = ApplyPair(scratch, tokens[k], tokens[k + 1]))) changes.emplace_back(field, &tokens[k + 1]);
        else refused = true;
      }
      if (refused) continue;
      for (int64_t r = a; r <= b; ++r) {
        const int64_t dest = to + (r - a);
        if (!definedAt[r]) {
          Between(lineNumber, "copy of row " + std::to_string(r) + ", which is not given above");
          continue;
        }
        if (definedAt[dest]) {
          Between(lineNumber, "row " + std::to_string(dest) + " is given twice (first at line " +
                                  std::to_string(definedAt[dest]) + ")");
          continue;
        }
        // The copied values keep the lines they were written at.
        rows[dest] = rows[r];
        fieldAt[dest] = fieldAt[r];
        definedAt[dest] = lineNumber;
        for (const auto& [field, value] : changes) {
          Apply(schema, rows[dest], field->key, *value, &error);
          Written(static_cast<int>(dest), field, lineNumber);
        }
      }
      continue;
    }
    // A line that starts with no field of the table is refused; one that
    // stands outside a row block is read for its own faults.
    if (tokens[0].quoted) {
      Refuse(QuotedBytes(head) + ": a field name cannot be quoted");
      continue;
    }
    if (!schema.Find(head)) {
      Refuse("unknown field " + QuotedBytes(head));
      continue;
    }
    if (tokens.size() % 2 != 0) {
      Refuse(QuotedBytes(FieldWithoutValue(schema, tokens)) + " has no value");
      continue;
    }
    if (current == kNoBlock) {
      Between(lineNumber, QuotedBytes(head) + " stands outside a row block");
      current = kOtherBlock;
    }
    std::vector<uint8_t>& values = current >= 0 ? rows[current] : scratch;
    for (size_t k = 0; k + 1 < tokens.size(); k += 2) {
      const FieldSpec* field = FieldOf(tokens[k]);
      if (current >= 0 && field && !fieldAt[current].empty() &&
          GivenTwice(field, fieldAt[current][schema.IndexOf(field)]))
        continue;
      if (!(field = ApplyPair(values, tokens[k], tokens[k + 1]))) break;
      if (current >= 0) Written(current, field, lineNumber);
    }
  }
  ReadingAt(fileName, 0);
  result.errors = faults.Messages();
  auto Report = [&](int line, const std::string& message) {
    result.errors.push_back(fileName + ":" + (line > 0 ? std::to_string(line) + ":" : "") + " " + message);
  };

  // The rules the game relies on, row by row, once every line has been read
  // without a fault: a refused line leaves values unwritten that no rule
  // should speak of.
  if (result.errors.empty()) {
    RowProblems found, problems;
    schema.check(rows, definedAt, &found);
    // A row as a whole (a missing one) is spoken of once, by the first rule that does.
    std::vector<bool> spoken(schema.rows, false), spokenWhole(schema.rows, false);
    for (RowProblem& p : found) {
      if (!p.field && spokenWhole[p.row]) continue;
      spokenWhole[p.row] = spokenWhole[p.row] || !p.field;
      spoken[p.row] = true;
      problems.push_back(std::move(p));
    }
    for (int r = 0; schema.gameTakes && r < schema.rows; ++r)
      if (!spoken[r] && !schema.gameTakes(rows[r]))
        problems.push_back({r, UnfitField(schema, rows[r]), "holds a value the game would refuse"});
    // A row's line: where it is given, or for a missing row where the next
    // given row is (the end of the source when none follows).
    auto RowLine = [&](int r) {
      for (int n = r; n < schema.rows; ++n)
        if (definedAt[n]) return definedAt[n];
      return std::max(lineNumber, 1);
    };
    auto ProblemLine = [&](const RowProblem& p) {
      const FieldSpec* field = p.field ? schema.Find(p.field) : nullptr;
      if (field && definedAt[p.row] && !fieldAt[p.row].empty()) {
        const int at = fieldAt[p.row][schema.IndexOf(field)].line;
        if (at > 0) return at;
      }
      return RowLine(p.row);
    };
    std::vector<std::pair<int, const RowProblem*>> byLine;
    for (const RowProblem& p : problems) byLine.emplace_back(ProblemLine(p), &p);
    std::stable_sort(byLine.begin(), byLine.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    for (const auto& [at, p] : byLine)
      Report(at, "row " + std::to_string(p->row) + (p->field ? std::string(" '") + p->field + "': " : " ") + p->text);
  }

  // The table file holds the rows without the words only the source holds.
  result.image.reserve(static_cast<size_t>(schema.rows) * schema.rowBytes);
  for (const auto& r : rows) result.image.insert(result.image.end(), r.begin(), r.begin() + schema.rowBytes);
  if (result.image.size() != static_cast<size_t>(schema.rows) * schema.rowBytes)
    Report(0, "the table image has the wrong size");
  if (!result.errors.empty()) result.image.clear();
  result.rows = std::move(rows);
  return result;
}
