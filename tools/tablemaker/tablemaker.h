// The table compiler's source reader: one source text in, the table's row
// file image or the faults out.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tablemaker/table_schema.h"

struct TableResult {
  std::vector<uint8_t> image;       // rows x row bytes; empty when a fault was found
  std::vector<std::string> errors;  // "file:line: message", naming the field of a refused value
  Rows rows;                        // the rows as read, with the words only the source holds
};

TableResult CompileTable(const TableSchema& schema, const std::string& fileName, const std::string& text);
