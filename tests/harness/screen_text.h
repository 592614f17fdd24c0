// The large text a frame drew read back as the player reads it: the glyphs
// that stand on the 8 by 8 cells of the 320x240 picture, row by row.
#pragma once
#include <string>
#include <vector>

#include "engine/text.h"

namespace harness {

// 30 rows of at most 40 characters, blanks at their ends dropped.
inline std::vector<std::string> LargeTextRows(const std::vector<GlyphDraw>& glyphs) {
  std::vector<std::string> rows(30, std::string(40, ' '));
  for (const GlyphDraw& g : glyphs)
    if (g.x % 8 == 0 && g.y % 8 == 0 && g.x >= 0 && g.y >= 0 && g.x / 8 < 40 && g.y / 8 < 30)
      rows[g.y / 8][g.x / 8] = static_cast<char>(g.c);
  for (std::string& r : rows) r.erase(r.find_last_not_of(' ') + 1);
  return rows;
}

}  // namespace harness
