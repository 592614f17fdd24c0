// A sheet being drawn: ARGB pixels over the sheet's colour key; the noise and
// hash the textures are made of; writing a PNG.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
  float r, g, b;
};

uint32_t Argb(const Rgb& c, int alpha = 255);

class Canvas {
 public:
  Canvas(int width, int height, uint32_t key);
  int Width() const { return width_; }
  int Height() const { return height_; }
  uint32_t Key() const { return key_; }
  const std::vector<uint32_t>& Pixels() const { return pixels_; }

  // Ink never equals the key (it is nudged by one step of blue), so drawn
  // pixels never vanish when the sheet is loaded.
  void Put(int x, int y, uint32_t argb);
  void Clear(int x, int y);
  uint32_t Get(int x, int y) const;
  bool Inked(int x, int y) const;


 private:
  int width_, height_;
  uint32_t key_;
  std::vector<uint32_t> pixels_;
};

// Smooth value noise in 0..1, tiling with the given period.
float Noise(float x, float y, uint32_t seed, int period = 256);
float FractalNoise(float x, float y, uint32_t seed, int octaves, int period = 256);
uint32_t Hash(uint32_t a, uint32_t b = 0, uint32_t c = 0);

// The canvas as a PNG file's bytes (8-bit RGBA); empty when it cannot be encoded.
std::vector<uint8_t> PngBytes(const Canvas& canvas);
