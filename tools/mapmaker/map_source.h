// The readable map source: named header fields and layers drawn one
// character per square, compiled into a map record.
#pragma once
#include <string>
#include <vector>

#include "map/map_record.h"

struct MapSourceResult {
  bool ok = false;
  std::vector<std::string> errors;  // "file:line: message"
};

// Parses and checks one source; on success fills *out (every square the
// source does not set is 0). worldMap selects the world map's code ranges.
MapSourceResult CompileMapSource(const std::string& fileName, const std::string& text, bool worldMap,
                                 MapRecord* out);

// The output name of a source file: "Map7.txt" gives "Map7.dat", "WorldMap.txt"
// gives "WorldMap.dat"; empty when the name is neither Map0 to Map40 nor WorldMap.
std::string MapOutputName(const std::string& sourcePath);
