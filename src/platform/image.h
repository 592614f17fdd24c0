// Reading and writing PNG pictures as 32-bit ARGB pixels (0xAARRGGBB).
#pragma once
#include <cstdint>
#include <vector>

namespace platform {

bool LoadPng(const char* path, int* width, int* height, std::vector<uint32_t>* argb);
bool SavePng(const char* path, int width, int height, const uint32_t* argb);

}  // namespace platform
