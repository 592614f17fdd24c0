// The fields of the three row layouts as the sources name them, and the rules
// each table must keep for the game.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum class FieldKind { kNumber, kText, kFlags };

struct FieldSpec {
  const char* key;
  int offset;
  FieldKind kind;
  int width = 4;                 // texts: bytes with the terminator
  bool lines = false;            // texts: laid out in lines, a carriage return ending one
  int64_t min = 0;
  int64_t max = 0;
  const char* const* names = nullptr;  // accepted names, numbered from nameBase
  int nameBase = 0;
  const char* letters = nullptr;       // flags: one word per letter, in order
  const int32_t* marks = nullptr;      // numbers: values taken beyond max (markCount of them)
  int markCount = 0;
};

using Rows = std::vector<std::vector<uint8_t>>;

// A row that breaks a rule of its table: the field whose line the report
// names (null for the row as a whole, as a missing row) and what is wrong, as
// "row <row> '<field>': <text>".
struct RowProblem {
  int row;
  const char* field;
  std::string text;
};
using RowProblems = std::vector<RowProblem>;

struct TableSchema {
  const char* table;
  int rows;
  int rowBytes;
  std::vector<FieldSpec> fields;
  void (*check)(const Rows& rows, const std::vector<int>& defined, RowProblems* problems);
  // The game's own test of a row as its loader makes it (null: the loader
  // takes any row); a row it refuses is a fault of the source.
  bool (*gameTakes)(const std::vector<uint8_t>& row) = nullptr;
  // Bytes after each row that only the source holds (words the table's rules
  // read and the table file leaves out).
  int sourceOnlyBytes = 0;

  const FieldSpec* Find(const std::string& key) const {
    for (const FieldSpec& f : fields)
      if (key == f.key) return &f;
    return nullptr;
  }
  int IndexOf(const FieldSpec* field) const { return static_cast<int>(field - fields.data()); }
};

const TableSchema* FindSchema(const std::string& table);
