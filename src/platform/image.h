// Reading and writing PNG pictures as 32-bit ARGB pixels (0xAARRGGBB).
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace platform {

// The widest and tallest picture read: far beyond the largest sheet. A file
// whose header claims more is refused before anything is allocated.
constexpr int kLargestPictureSide = 4096;

// False when the file is missing, malformed or larger than the above.
bool LoadPng(const char* path, int* width, int* height, std::vector<uint32_t>* argb);
// The same from the file's bytes.
bool LoadPngFromMemory(const uint8_t* bytes, size_t size, int* width, int* height, std::vector<uint32_t>* argb);
// Decodes a PNG straight into the caller's pixels: once the size is known
// (and no larger than the above), `place` is asked where the rows go; it
// returns the first row and sets the pixels from one row to the next (at
// least the width), or returns null to refuse. False when the file cannot be read or was refused.
bool LoadPngInto(const char* path, int* width, int* height,
                 const std::function<uint32_t*(int width, int height, int* stride)>& place);
// The same from the file's bytes.
bool LoadPngFromMemoryInto(const uint8_t* bytes, size_t size, int* width, int* height,
                           const std::function<uint32_t*(int width, int height, int* stride)>& place);
// Checks a PNG file whole without decoding it: its signature, every chunk
// within the file with its checksum, a header first (no larger than the
// above, its size given back) and the end chunk last; the file's bytes are
// given back in `kept` when asked for. False when the file is missing or
// damaged.
bool CheckPngFile(const char* path, int* width, int* height, std::vector<uint8_t>* kept = nullptr);
bool SavePng(const char* path, int width, int height, const uint32_t* argb);

}  // namespace platform
