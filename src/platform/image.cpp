#include "platform/image.h"

#include <png.h>

#include <cstring>

#include "platform/files.h"

namespace platform {

namespace {

// Reads an image begun by one of libpng's begin calls.
bool FinishPng(png_image* image, int* width, int* height, std::vector<uint32_t>* argb) {
  if (image->width < 1 || image->height < 1 || image->width > static_cast<png_uint_32>(kLargestPictureSide) ||
      image->height > static_cast<png_uint_32>(kLargestPictureSide)) {
    png_image_free(image);
    return false;
  }
  image->format = PNG_FORMAT_BGRA;  // little-endian words read as 0xAARRGGBB
  std::vector<uint32_t> pixels(static_cast<size_t>(image->width) * image->height);
  if (!png_image_finish_read(image, nullptr, pixels.data(), 0, nullptr)) {
    png_image_free(image);
    return false;
  }
  *width = static_cast<int>(image->width);
  *height = static_cast<int>(image->height);
  *argb = std::move(pixels);
  return true;
}

}  // namespace

bool LoadPng(const char* path, int* width, int* height, std::vector<uint32_t>* argb) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  const std::string p = GamePath(path);
  if (!png_image_begin_read_from_file(&image, p.c_str())) return false;
  return FinishPng(&image, width, height, argb);
}

bool LoadPngFromMemory(const uint8_t* bytes, size_t size, int* width, int* height, std::vector<uint32_t>* argb) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!bytes || !png_image_begin_read_from_memory(&image, bytes, size)) return false;
  return FinishPng(&image, width, height, argb);
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
