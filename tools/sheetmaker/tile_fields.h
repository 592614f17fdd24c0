// Fields that tile: noise and cells that repeat every `period` pixels, so a
// ground tile meets copies of itself (and its variants) without a seam.
#pragma once
#include <cstdint>

// Smooth noise in 0..1 repeating every period pixels; cell is the feature
// size in pixels and must divide the period.
float TileNoise(float x, float y, uint32_t seed, int cell, int octaves = 3, int period = 24);

// Cells round jittered points, repeating every period pixels: the distance
// to the nearest point (f1), to the second (f2) and the nearest point's id.
struct CellHit {
  float f1, f2;
  uint32_t id;
  float px, py;  // the nearest point
};
CellHit TileCells(float x, float y, uint32_t seed, int cell, int period = 24, float jitter = 0.8f);

// A random number 0..1 from a seed and two integers.
float Rand01(uint32_t seed, int a, int b = 0);
