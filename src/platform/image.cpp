#include "platform/image.h"

#include <png.h>

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

}  // namespace

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
