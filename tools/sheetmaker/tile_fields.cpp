#include "tile_fields.h"

#include <cmath>

#include "canvas.h"

float TileNoise(float x, float y, uint32_t seed, int cell, int octaves, int period) {
  return FractalNoise(x / cell, y / cell, seed, octaves, period / cell);
}

float Rand01(uint32_t seed, int a, int b) {
  return (Hash(seed, static_cast<uint32_t>(a), static_cast<uint32_t>(b)) & 0xFFFFFF) / 16777216.0f;
}

CellHit TileCells(float x, float y, uint32_t seed, int cell, int period, float jitter) {
  const int n = period / cell;
  const int cx = static_cast<int>(std::floor(x / cell)), cy = static_cast<int>(std::floor(y / cell));
  CellHit best{1e9f, 1e9f, 0, 0, 0};
  for (int j = -1; j <= 1; ++j)
    for (int i = -1; i <= 1; ++i) {
      const int gx = cx + i, gy = cy + j;
      const int wx = ((gx % n) + n) % n, wy = ((gy % n) + n) % n;
      const float px = (gx + 0.5f + (Rand01(seed, wx, wy) - 0.5f) * jitter) * cell;
      const float py = (gy + 0.5f + (Rand01(seed + 7, wx, wy) - 0.5f) * jitter) * cell;
      const float d = std::hypot(x - px, y - py);
      const uint32_t id = static_cast<uint32_t>(wy * n + wx);
      if (d < best.f1) {
        best.f2 = best.f1;
        best.f1 = d;
        best.id = id;
        best.px = px;
        best.py = py;
      } else if (d < best.f2) {
        best.f2 = d;
      }
    }
  return best;
}
