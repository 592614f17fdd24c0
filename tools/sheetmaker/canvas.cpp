#include "canvas.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

uint32_t Argb(const Rgb& c, int alpha) {
  auto ch = [](float v) { return static_cast<uint32_t>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
  return (static_cast<uint32_t>(alpha) << 24) | (ch(c.r) << 16) | (ch(c.g) << 8) | ch(c.b);
}

Rgb HsvColour(float h, float s, float v) {
  h = h - std::floor(h);
  const float i = std::floor(h * 6), f = h * 6 - i;
  const float p = v * (1 - s), q = v * (1 - f * s), t = v * (1 - (1 - f) * s);
  switch (static_cast<int>(i) % 6) {
    case 0: return {v, t, p};
    case 1: return {q, v, p};
    case 2: return {p, v, t};
    case 3: return {p, q, v};
    case 4: return {t, p, v};
    default: return {v, p, q};
  }
}

Rgb Mix(const Rgb& a, const Rgb& b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Scale(const Rgb& c, float k) { return {c.r * k, c.g * k, c.b * k}; }

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

void Canvas::FillRect(int x, int y, int w, int h, uint32_t argb) {
  for (int yy = y; yy < y + h; ++yy)
    for (int xx = x; xx < x + w; ++xx) Put(xx, yy, argb);
}

void Canvas::FillEllipse(float cx, float cy, float rx, float ry, uint32_t argb) {
  if (rx <= 0 || ry <= 0) return;
  for (int y = static_cast<int>(cy - ry - 1); y <= static_cast<int>(cy + ry + 1); ++y)
    for (int x = static_cast<int>(cx - rx - 1); x <= static_cast<int>(cx + rx + 1); ++x) {
      const float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
      if (dx * dx + dy * dy <= 1.0f) Put(x, y, argb);
    }
}

void Canvas::ThickLine(float x0, float y0, float x1, float y1, float width, uint32_t argb) {
  const float r = width / 2;
  const float minX = std::min(x0, x1) - r - 1, maxX = std::max(x0, x1) + r + 1;
  const float minY = std::min(y0, y1) - r - 1, maxY = std::max(y0, y1) + r + 1;
  const float dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
  for (int y = static_cast<int>(minY); y <= static_cast<int>(maxY); ++y)
    for (int x = static_cast<int>(minX); x <= static_cast<int>(maxX); ++x) {
      const float px = x + 0.5f - x0, py = y + 0.5f - y0;
      const float t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0.0f;
      const float ex = px - t * dx, ey = py - t * dy;
      if (ex * ex + ey * ey <= r * r) Put(x, y, argb);
    }
}

void Canvas::FillPolygon(const std::vector<float>& xy, uint32_t argb) {
  const size_t n = xy.size() / 2;
  if (n < 3) return;
  float minY = xy[1], maxY = xy[1];
  for (size_t i = 0; i < n; ++i) {
    minY = std::min(minY, xy[2 * i + 1]);
    maxY = std::max(maxY, xy[2 * i + 1]);
  }
  for (int y = static_cast<int>(minY); y <= static_cast<int>(maxY); ++y) {
    const float sy = y + 0.5f;
    std::vector<float> xs;
    for (size_t i = 0; i < n; ++i) {
      const float ax = xy[2 * i], ay = xy[2 * i + 1];
      const float bx = xy[2 * ((i + 1) % n)], by = xy[2 * ((i + 1) % n) + 1];
      if ((ay <= sy && by > sy) || (by <= sy && ay > sy)) xs.push_back(ax + (sy - ay) / (by - ay) * (bx - ax));
    }
    std::sort(xs.begin(), xs.end());
    for (size_t i = 0; i + 1 < xs.size(); i += 2)
      for (int x = static_cast<int>(std::ceil(xs[i] - 0.5f)); x <= static_cast<int>(std::floor(xs[i + 1] - 0.5f)); ++x)
        Put(x, y, argb);
  }
}

void Canvas::Outline(int x, int y, int w, int h, uint32_t argb) {
  std::vector<std::pair<int, int>> rim;
  for (int yy = y; yy < y + h; ++yy)
    for (int xx = x; xx < x + w; ++xx) {
      if (Inked(xx, yy)) continue;
      bool near = false;
      for (int k = 0; k < 4 && !near; ++k) {
        const int nx = xx + (k == 0) - (k == 1), ny = yy + (k == 2) - (k == 3);
        near = nx >= x && ny >= y && nx < x + w && ny < y + h && Inked(nx, ny);
      }
      if (near) rim.emplace_back(xx, yy);
    }
  for (auto [px, py] : rim) Put(px, py, argb);
}

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

bool WritePng(const std::string& path, const Canvas& canvas) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
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
  return std::fclose(f) == 0;
}
