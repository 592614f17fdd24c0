#include "platform/image.h"

#include <png.h>

#include <array>
#include <cstdio>
#include <cstring>

#include "platform/files.h"

namespace platform {

namespace {

using Placer = std::function<uint32_t*(int width, int height, int* stride)>;

// Reads an image begun by one of libpng's begin calls into the rows `place`
// gives; a size beyond the largest picture is refused before it is asked.
bool FinishPng(png_image* image, int* width, int* height, const Placer& place) {
  if (image->width < 1 || image->height < 1 || image->width > static_cast<png_uint_32>(kLargestPictureSide) ||
      image->height > static_cast<png_uint_32>(kLargestPictureSide)) {
    png_image_free(image);
    return false;
  }
  image->format = PNG_FORMAT_BGRA;  // little-endian words read as 0xAARRGGBB
  const int w = static_cast<int>(image->width), h = static_cast<int>(image->height);
  int stride = w;
  uint32_t* rows = place(w, h, &stride);
  if (!rows || stride < w ||
      !png_image_finish_read(image, nullptr, rows, static_cast<png_int_32>(stride) * 4, nullptr)) {
    png_image_free(image);
    return false;
  }
  *width = w;
  *height = h;
  return true;
}

bool IntoVector(png_image* image, int* width, int* height, std::vector<uint32_t>* argb) {
  std::vector<uint32_t> pixels;
  const bool read = FinishPng(image, width, height, [&](int w, int h, int* stride) {
    pixels.assign(static_cast<size_t>(w) * h, 0u);
    *stride = w;
    return pixels.data();
  });
  if (read) *argb = std::move(pixels);
  return read;
}

uint32_t BigEndian32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 | p[3];
}

// The PNG chunk checksum (CRC-32, polynomial 0xEDB88320) of a run of bytes.
uint32_t ChunkChecksum(const uint8_t* bytes, size_t size) {
  static const auto table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) c = table[(c ^ bytes[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

}  // namespace

bool CheckPngFile(const char* path, int* width, int* height, std::vector<uint8_t>* kept) {
  std::FILE* f = path ? std::fopen(GamePath(path).c_str(), "rb") : nullptr;
  if (!f) return false;
  std::vector<uint8_t> bytes;
  uint8_t block[65536];
  for (size_t n; (n = std::fread(block, 1, sizeof block, f)) > 0;) bytes.insert(bytes.end(), block, block + n);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (failed || bytes.size() < 8 || std::memcmp(bytes.data(), kSignature, 8) != 0) return false;
  size_t at = 8;
  bool first = true;
  while (bytes.size() - at >= 12) {
    const uint32_t length = BigEndian32(&bytes[at]);
    if (length > bytes.size() - at - 12) return false;
    const uint8_t* type = &bytes[at + 4];
    if (ChunkChecksum(type, 4 + static_cast<size_t>(length)) != BigEndian32(type + 4 + length)) return false;
    if (first) {
      if (std::memcmp(type, "IHDR", 4) != 0 || length < 8) return false;
      const uint32_t w = BigEndian32(type + 4), h = BigEndian32(type + 8);
      if (w < 1 || h < 1 || w > static_cast<uint32_t>(kLargestPictureSide) ||
          h > static_cast<uint32_t>(kLargestPictureSide))
        return false;
      *width = static_cast<int>(w);
      *height = static_cast<int>(h);
      first = false;
    }
    if (std::memcmp(type, "IEND", 4) == 0) {
      if (kept) *kept = std::move(bytes);
      return true;
    }
    at += 12 + static_cast<size_t>(length);
  }
  return false;
}

bool LoadPngInto(const char* path, int* width, int* height, const Placer& place) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  const std::string p = GamePath(path);
  if (!png_image_begin_read_from_file(&image, p.c_str())) return false;
  return FinishPng(&image, width, height, place);
}

bool LoadPng(const char* path, int* width, int* height, std::vector<uint32_t>* argb) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  const std::string p = GamePath(path);
  if (!png_image_begin_read_from_file(&image, p.c_str())) return false;
  return IntoVector(&image, width, height, argb);
}

bool LoadPngFromMemory(const uint8_t* bytes, size_t size, int* width, int* height, std::vector<uint32_t>* argb) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!bytes || !png_image_begin_read_from_memory(&image, bytes, size)) return false;
  return IntoVector(&image, width, height, argb);
}

bool LoadPngFromMemoryInto(const uint8_t* bytes, size_t size, int* width, int* height, const Placer& place) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!bytes || !png_image_begin_read_from_memory(&image, bytes, size)) return false;
  return FinishPng(&image, width, height, place);
}

bool SavePng(const char* path, int width, int height, const uint32_t* argb) {
  if (width <= 0 || height <= 0 || !argb) return false;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_BGRA;
  const std::string p = GamePath(path);
  return png_image_write_to_file(&image, p.c_str(), 0, argb, 0, nullptr) != 0;
}

}  // namespace platform
