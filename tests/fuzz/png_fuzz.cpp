// PNG pictures, as sheets are loaded: from memory and from a file into a
// texture with its colour key.
#include <vector>

#include "fuzz/fuzz_target.h"
#include "platform/image.h"
#include "platform/render.h"

GH_FUZZ_TARGET(png) {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  if (platform::LoadPngFromMemory(data, size, &width, &height, &pixels) &&
      pixels.size() != static_cast<size_t>(width) * height)
    FuzzFault("a picture's pixels do not match its size");
  WriteScratchFile("sheet.dat", data, size);
  (void)platform::LoadTextureFile("sheet.dat", 0xFF6B6D73u);
}
