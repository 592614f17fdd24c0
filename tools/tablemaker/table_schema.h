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
  int64_t min = 0;
  int64_t max = 0;
  const char* const* names = nullptr;  // accepted names, numbered from nameBase
  int nameBase = 0;
  const char* letters = nullptr;       // flags: one word per letter, in order
};

using Rows = std::vector<std::vector<uint8_t>>;

struct TableSchema {
  const char* table;
  int rows;
  int rowBytes;
  std::vector<FieldSpec> fields;
  void (*check)(const Rows& rows, const std::vector<int>& defined, std::vector<std::string>* problems);
  // The game's own test of a row as its loader makes it (null: the loader
  // takes any row); a row it refuses is a fault of the source.
  bool (*gameTakes)(const std::vector<uint8_t>& row) = nullptr;

  const FieldSpec* Find(const std::string& key) const {
    for (const FieldSpec& f : fields)
      if (key == f.key) return &f;
    return nullptr;
  }
};

const TableSchema* FindSchema(const std::string& table);
