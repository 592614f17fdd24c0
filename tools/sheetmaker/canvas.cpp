#include "canvas.h"

#include <png.h>

#include <algorithm>
#include <cmath>

uint32_t Argb(const Rgb& c, int alpha) {
  auto ch = [](float v) { return static_cast<uint32_t>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
  return (static_cast<uint32_t>(alpha) << 24) | (ch(c.r) << 16) | (ch(c.g) << 8) | ch(c.b);
}

Canvas::Canvas(int width, int height, uint32_t key)
    : width_(width), height_(height), key_(key), pixels_(static_cast<size_t>(width) * height, key) {}

void Canvas::Put(int x, int y, uint32_t argb) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  if (argb == key_) argb ^= 1u;
  pixels_[static_cast<size_t>(y) * width_ + x] = argb;
}

void Canvas::Clear(int x, int y) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * width_ + x] = key_;
}

uint32_t Canvas::Get(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return key_;
  return pixels_[static_cast<size_t>(y) * width_ + x];
}

bool Canvas::Inked(int x, int y) const { return Get(x, y) != key_; }

uint32_t Hash(uint32_t a, uint32_t b, uint32_t c) {
  uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

float Noise(float x, float y, uint32_t seed, int period) {
  const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  const float fx = x - x0, fy = y - y0;
  auto at = [&](int ix, int iy) {
    ix = ((ix % period) + period) % period;
    iy = ((iy % period) + period) % period;
    return (Hash(static_cast<uint32_t>(ix), static_cast<uint32_t>(iy), seed) & 0xFFFF) / 65535.0f;
  };
  const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  const float a = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * sx;
  const float b = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * sx;
  return a + (b - a) * sy;
}

float FractalNoise(float x, float y, uint32_t seed, int octaves, int period) {
  float sum = 0, amp = 0.5f, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += Noise(x, y, seed + static_cast<uint32_t>(o) * 101u, period) * amp;
    norm += amp;
    x *= 2;
    y *= 2;
    period *= 2;
    amp *= 0.5f;
  }
  return sum / norm;
}

std::vector<uint8_t> PngBytes(const Canvas& canvas) {
  std::vector<uint8_t> bytes;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(
      png, &bytes,
      [](png_structp p, png_bytep data, png_size_t size) {
        auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
        out->insert(out->end(), data, data + size);
      },
      [](png_structp) {});  // nothing to flush: the bytes are the caller's
  png_set_compression_level(png, 3);
  png_set_IHDR(png, info, static_cast<png_uint_32>(canvas.Width()), static_cast<png_uint_32>(canvas.Height()), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<uint8_t> row(static_cast<size_t>(canvas.Width()) * 4);
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      const uint32_t p = canvas.Pixels()[static_cast<size_t>(y) * canvas.Width() + x];
      row[4 * x] = static_cast<uint8_t>(p >> 16);
      row[4 * x + 1] = static_cast<uint8_t>(p >> 8);
      row[4 * x + 2] = static_cast<uint8_t>(p);
      row[4 * x + 3] = static_cast<uint8_t>(p >> 24);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return bytes;
}
