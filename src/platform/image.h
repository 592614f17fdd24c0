// Reading and writing PNG pictures as 32-bit ARGB pixels (0xAARRGGBB).
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

// The widest and tallest picture read: far beyond the largest sheet. A file
// whose header claims more is refused before anything is allocated.
constexpr int kLargestPictureSide = 4096;

// False when the file is missing, malformed or larger than the above.
bool LoadPng(const char* path, int* width, int* height, std::vector<uint32_t>* argb);
// The same from the file's bytes.
bool LoadPngFromMemory(const uint8_t* bytes, size_t size, int* width, int* height, std::vector<uint32_t>* argb);
bool SavePng(const char* path, int width, int height, const uint32_t* argb);

}  // namespace platform
