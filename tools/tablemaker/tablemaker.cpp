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

#include "spell_rules.h"
#include "table_schema.h"

namespace {

struct Token {
  std::string text;
  bool quoted = false;
};

struct Failure {
  std::string message;
};

std::string g_file;
int g_line = 0;
int g_errors = 0;

void Report(int line, const std::string& message) {
  if (line > 0)
    std::fprintf(stderr, "%s:%d: %s\n", g_file.c_str(), line, message.c_str());
  else
    std::fprintf(stderr, "%s: %s\n", g_file.c_str(), message.c_str());
  ++g_errors;
}

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
        const char* at = std::strchr(field->letters, c);
        if (!at) {
          *error = std::string("'") + key + "' has no letter '" + c + "' (letters " + field->letters + ")";
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

bool ParseRange(const std::string& s, int* a, int* b) {
  const size_t dash = s.find('-');
  int64_t x = 0, y = 0;
  if (dash == std::string::npos) {
    if (!ParseInt(s, &x)) return false;
    y = x;
  } else if (!ParseInt(s.substr(0, dash), &x) || !ParseInt(s.substr(dash + 1), &y)) {
    return false;
  }
  *a = static_cast<int>(x);
  *b = static_cast<int>(y);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && !(argc == 5 && std::strcmp(argv[1], "spells") == 0)) {
    std::fprintf(stderr, "usage: tablemaker items|spells|crafted <source> <output> (spells: [<listing>])\n");
    return 2;
  }
  const TableSchema* schema = FindSchema(argv[1]);
  if (!schema) {
    std::fprintf(stderr, "tablemaker: unknown table '%s'\n", argv[1]);
    return 2;
  }
  g_file = argv[2];
  std::ifstream in(argv[2], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "tablemaker: cannot open %s\n", argv[2]);
    return 1;
  }

  std::vector<std::vector<uint8_t>> rows(schema->rows, std::vector<uint8_t>(schema->rowBytes, 0));
  std::vector<int> definedAt(schema->rows, 0);  // source line of each row, 0 not given
  int current = -1;
  std::string line;
  while (std::getline(in, line)) {
    ++g_line;
    std::vector<Token> tokens;
    std::string error;
    if (!Tokenise(line, &tokens, &error)) {
      Report(g_line, error);
      continue;
    }
    if (tokens.empty()) continue;
    const std::string& head = tokens[0].text;
    if (!tokens[0].quoted && head == "row") {
      int64_t r = -1;
      if (tokens.size() != 2 || !ParseInt(tokens[1].text, &r) || r < 0 || r >= schema->rows) {
        Report(g_line, "a row number from 0 to " + std::to_string(schema->rows - 1) + " must follow 'row'");
        current = -1;
        continue;
      }
      if (definedAt[r]) {
        Report(g_line, "row " + std::to_string(r) + " is given twice (first at line " +
                           std::to_string(definedAt[r]) + ")");
        current = -1;
        continue;
      }
      current = static_cast<int>(r);
      definedAt[r] = g_line;
      continue;
    }
    if (!tokens[0].quoted && head == "copy") {
      int a = 0, b = 0, to = 0, unused = 0;
      if (tokens.size() < 4 || tokens[2].text != "to" || !ParseRange(tokens[1].text, &a, &b) ||
          !ParseRange(tokens[3].text, &to, &unused) || a > b || a < 0 || to < 0 ||
          b >= schema->rows || to + (b - a) >= schema->rows || (tokens.size() - 4) % 2 != 0) {
        Report(g_line, "expected 'copy A-B to C [field value]...' within the table");
        continue;
      }
      for (int r = a; r <= b; ++r) {
        const int dest = to + (r - a);
        if (!definedAt[r]) {
          Report(g_line, "copy of row " + std::to_string(r) + ", which is not given above");
          continue;
        }
        if (definedAt[dest]) {
          Report(g_line, "row " + std::to_string(dest) + " is given twice (first at line " +
                             std::to_string(definedAt[dest]) + ")");
          continue;
        }
        rows[dest] = rows[r];
        definedAt[dest] = g_line;
        for (size_t k = 4; k + 1 < tokens.size(); k += 2) {
          if (!Apply(*schema, rows[dest], tokens[k].text, tokens[k + 1], &error)) Report(g_line, error);
        }
      }
      current = -1;
      continue;
    }
    if (current < 0) {
      Report(g_line, "field outside a row block");
      continue;
    }
    if (tokens.size() % 2 != 0) {
      Report(g_line, "a field without its value");
      continue;
    }
    for (size_t k = 0; k + 1 < tokens.size(); k += 2) {
      if (tokens[k].quoted) {
        Report(g_line, "a field name cannot be quoted");
        continue;
      }
      if (!Apply(*schema, rows[current], tokens[k].text, tokens[k + 1], &error)) Report(g_line, error);
    }
  }

  // Rules the game relies on, row by row.
  std::vector<std::string> problems;
  schema->check(rows, definedAt, &problems);
  for (const std::string& p : problems) Report(0, p);

  std::vector<uint8_t> image;
  image.reserve(static_cast<size_t>(schema->rows) * schema->rowBytes);
  for (const auto& r : rows) image.insert(image.end(), r.begin(), r.end());
  if (image.size() != static_cast<size_t>(schema->rows) * schema->rowBytes) {
    Report(0, "the table image has the wrong size");
  }
  if (g_errors) {
    std::fprintf(stderr, "tablemaker: %d error(s); %s not written\n", g_errors, argv[3]);
    return 1;
  }

  const std::filesystem::path out(argv[3]);
  if (out.has_parent_path()) std::filesystem::create_directories(out.parent_path());
  const std::string temp = out.string() + ".tmp";
  {
    std::ofstream file(temp, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    if (!file) {
      std::fprintf(stderr, "tablemaker: cannot write %s\n", temp.c_str());
      return 1;
    }
  }
  std::filesystem::rename(temp, out);
  if (argc == 5 && !WriteSpellListing(rows, argv[4])) {
    std::fprintf(stderr, "tablemaker: cannot write %s\n", argv[4]);
    return 1;
  }
  return 0;
}
