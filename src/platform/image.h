// Reading and writing PNG pictures as 32-bit ARGB pixels (0xAARRGGBB).
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

namespace platform {

bool LoadPng(const char* path, int* width, int* height, std::vector<uint32_t>* argb);
// Decodes a PNG straight into the caller's pixels: once the size is known,
// `place` is asked where the rows go; it returns the first row and sets the
// pixels from one row to the next (at least the width), or returns null to
// refuse. False when the file cannot be read or was refused.
bool LoadPngInto(const char* path, int* width, int* height,
                 const std::function<uint32_t*(int width, int height, int* stride)>& place);
bool SavePng(const char* path, int width, int height, const uint32_t* argb);

}  // namespace platform
