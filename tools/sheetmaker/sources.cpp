#include "sources.h"

#include "palette.h"

namespace {

// The frame maps, in the order they are read (a frame belongs to one line).
const char* const kFrameMaps[] = {"terrain.txt", "figures.txt", "effects.txt", "icons.txt", "pictures.txt"};

}  // namespace

SheetSources ReadSheetSources(const std::string& dir, SourceFaults<SourceError>* faults) {
  SheetSources src;
  src.dir = dir;
  Palette palette;
  faults->Keep([&] { ReadPalette(dir + "/palette.txt", &palette); });
  SetPalette(palette);
  faults->Keep([&] { src.sheets = ReadSheetList(dir + "/sheets.txt"); });
  faults->Keep([&] { src.large = ReadFont(dir + "/font_large.txt", 8, 8, &palette); });
  faults->Keep([&] { src.small = ReadFont(dir + "/font_small.txt", 5, 6, &palette); });
  faults->Keep([&] { src.interface = ReadPixelArt(dir + "/interface.txt"); });
  faults->Keep([&] { src.cursors = ReadPixelArt(dir + "/cursors.txt"); });
  for (const char* name : kFrameMaps)
    faults->Keep([&] {
      const std::vector<FrameLine> lines = ReadFrameMap(dir + "/" + name);
      src.frames.insert(src.frames.end(), lines.begin(), lines.end());
    });
  faults->Keep([&] { CheckRecipes(src.frames); });
  return src;
}
