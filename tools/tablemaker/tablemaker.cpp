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
// quotes (\" and \\ inside). Named values may be given by name or number.
// "copy A-B to C key value ..." copies rows A to B onto C onwards, with the
// given fields changed. '#' starts a comment. Any fault is reported as
// file:line: message and the tool exits with status 1, writing nothing. The
// spells may also be written out in words (the listing) for readers.
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tablemaker/tablemaker.h"

namespace {

struct Token {
  std::string text;
  bool quoted = false;
};


bool Tokenise(const std::string& line, std::vector<Token>* out, std::string* error) {
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    if (c == '#') break;
    Token t;
    if (c == '"') {
      t.quoted = true;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char d = line[i++];
        if (d == '\\' && i < line.size()) {
          const char e = line[i++];
          if (e == 'x') {
            // Exactly two hex digits, or the source is refused (never a crash).
            if (i + 1 >= line.size() || !std::isxdigit(static_cast<unsigned char>(line[i])) ||
                !std::isxdigit(static_cast<unsigned char>(line[i + 1]))) {
              *error = "a \\x escape needs two hex digits";
              return false;
            }
            t.text += static_cast<char>(std::stoi(line.substr(i, 2), nullptr, 16));
            i += 2;
          } else if (e == 'r') {
            t.text += '\r';
          } else {
            t.text += e;
          }
          continue;
        }
        if (d == '"') {
          closed = true;
          break;
        }
        t.text += d;
      }
      if (!closed) {
        *error = "unterminated text";
        return false;
      }
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') t.text += line[i++];
    }
    out->push_back(t);
  }
  return true;
}

std::string Hex(char c) {
  static const char digits[] = "0123456789abcdef";
  const unsigned char u = static_cast<unsigned char>(c);
  return {digits[u >> 4], digits[u & 15]};
}

bool ParseInt(const std::string& s, int64_t* value) {
  if (s.empty()) return false;
  char* end = nullptr;
  const long long v = std::strtoll(s.c_str(), &end, 10);
  if (*end != 0) return false;
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

// Applies one key/value pair to a row image; false with a message on a fault.
bool Apply(const TableSchema& schema, std::vector<uint8_t>& row, const std::string& key,
           const Token& value, std::string* error) {
  const FieldSpec* field = schema.Find(key);
  if (!field) {
    *error = "unknown field '" + key + "'";
    return false;
  }
  switch (field->kind) {
    case FieldKind::kText: {
      if (value.text.size() + 1 > static_cast<size_t>(field->width)) {
        *error = "'" + key + "' is longer than " + std::to_string(field->width - 1) + " characters";
        return false;
      }
      std::memset(&row[field->offset], 0, field->width);
      std::memcpy(&row[field->offset], value.text.data(), value.text.size());
      return true;
    }
    case FieldKind::kFlags: {
      // One letter per flag word, in the order of the field's letters.
      for (int i = 0; field->letters[i]; ++i) PutWord(row, field->offset + 4 * i, 0);
      for (char c : value.text) {
        if (c == '-') continue;
        // strchr would find a NUL at the letters' end: a NUL is no letter.
        const char* at = c != '\0' ? std::strchr(field->letters, c) : nullptr;
        if (!at) {
          const std::string letter = std::isprint(static_cast<unsigned char>(c)) ? std::string(1, c) : "\\x" + Hex(c);
          *error = "'" + key + "' has no letter '" + letter + "' (letters " + field->letters + ")";
          return false;
        }
        PutWord(row, field->offset + 4 * static_cast<int>(at - field->letters), 1);
      }
      return true;
    }
    case FieldKind::kNumber: {
      int64_t v = 0;
      bool found = ParseInt(value.text, &v);
      if (!found && field->names) {
        for (int i = 0; field->names[i]; ++i) {
          if (value.text == field->names[i]) {
            v = field->nameBase + i;
            found = true;
            break;
          }
        }
      }
      if (!found) {
        *error = "'" + key + "' has no value '" + value.text + "'";
        return false;
      }
      if (v < field->min || v > field->max) {
        *error = "'" + key + "' value " + std::to_string(v) + " is outside " + std::to_string(field->min) +
                 " to " + std::to_string(field->max);
        return false;
      }
      PutWord(row, field->offset, static_cast<int32_t>(v));
      return true;
    }
  }
  return false;
}

// "A-B" or "A"; the numbers stay wide until checked against the table.
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

TableResult CompileTable(const TableSchema& table, const std::string& fileName, const std::string& text) {
  const TableSchema* schema = &table;
  TableResult result;
  auto Report = [&](int line, const std::string& message) {
    result.errors.push_back(fileName + ":" + (line > 0 ? std::to_string(line) + ":" : "") + " " + message);
  };
  std::istringstream in(text);
  int lineNumber = 0;

  std::vector<std::vector<uint8_t>> rows(schema->rows, std::vector<uint8_t>(schema->rowBytes, 0));
  std::vector<int> definedAt(schema->rows, 0);  // source line of each row, 0 not given
  int current = -1;
  std::string line;
  while (std::getline(in, line)) {
    ++lineNumber;
    std::vector<Token> tokens;
    std::string error;
    if (!Tokenise(line, &tokens, &error)) {
      Report(lineNumber, error);
      continue;
    }
    if (tokens.empty()) continue;
    const std::string& head = tokens[0].text;
    if (!tokens[0].quoted && head == "row") {
      int64_t r = -1;
      if (tokens.size() != 2 || !ParseInt(tokens[1].text, &r) || r < 0 || r >= schema->rows) {
        Report(lineNumber, "a row number from 0 to " + std::to_string(schema->rows - 1) + " must follow 'row'");
        current = -1;
        continue;
      }
      if (definedAt[r]) {
        Report(lineNumber, "row " + std::to_string(r) + " is given twice (first at line " +
                               std::to_string(definedAt[r]) + ")");
        current = -1;
        continue;
      }
      current = static_cast<int>(r);
      definedAt[r] = lineNumber;
      continue;
    }
    if (!tokens[0].quoted && head == "copy") {
      int64_t a = 0, b = 0, to = 0, unused = 0;
      if (tokens.size() < 4 || tokens[2].text != "to" || !ParseRange(tokens[1].text, &a, &b) ||
          !ParseRange(tokens[3].text, &to, &unused) || a > b || a < 0 || to < 0 || b >= schema->rows ||
          to >= schema->rows || to + (b - a) >= schema->rows || (tokens.size() - 4) % 2 != 0) {
        Report(lineNumber, "expected 'copy A-B to C [field value]...' within the table");
        continue;
      }
      for (int64_t r = a; r <= b; ++r) {
        const int64_t dest = to + (r - a);
        if (!definedAt[r]) {
          Report(lineNumber, "copy of row " + std::to_string(r) + ", which is not given above");
          continue;
        }
        if (definedAt[dest]) {
          Report(lineNumber, "row " + std::to_string(dest) + " is given twice (first at line " +
                                 std::to_string(definedAt[dest]) + ")");
          continue;
        }
        rows[dest] = rows[r];
        definedAt[dest] = lineNumber;
        for (size_t k = 4; k + 1 < tokens.size(); k += 2) {
          if (!Apply(*schema, rows[dest], tokens[k].text, tokens[k + 1], &error)) Report(lineNumber, error);
        }
      }
      current = -1;
      continue;
    }
    if (current < 0) {
      Report(lineNumber, "field outside a row block");
      continue;
    }
    if (tokens.size() % 2 != 0) {
      Report(lineNumber, "a field without its value");
      continue;
    }
    for (size_t k = 0; k + 1 < tokens.size(); k += 2) {
      if (tokens[k].quoted) {
        Report(lineNumber, "a field name cannot be quoted");
        continue;
      }
      if (!Apply(*schema, rows[current], tokens[k].text, tokens[k + 1], &error)) Report(lineNumber, error);
    }
  }

  // Rules the game relies on, row by row.
  std::vector<std::string> problems;
  schema->check(rows, definedAt, &problems);
  for (int r = 0; schema->gameTakes && r < schema->rows; ++r)
    if (!schema->gameTakes(rows[r]))
      problems.push_back("row " + std::to_string(r) + " holds a value out of range: the game would refuse the file");
  for (const std::string& p : problems) Report(0, p);

  result.image.reserve(static_cast<size_t>(schema->rows) * schema->rowBytes);
  for (const auto& r : rows) result.image.insert(result.image.end(), r.begin(), r.end());
  if (result.image.size() != static_cast<size_t>(schema->rows) * schema->rowBytes)
    Report(0, "the table image has the wrong size");
  if (!result.errors.empty()) result.image.clear();
  return result;
}

