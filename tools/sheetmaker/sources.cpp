#include "sources.h"

#include "engine/sheet_table.h"
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
  bool mapsRead = true;
  for (const char* name : kFrameMaps)
    mapsRead &= faults->Keep([&] {
      const std::vector<FrameLine> lines = ReadFrameMap(dir + "/" + name);
      src.frames.insert(src.frames.end(), lines.begin(), lines.end());
    });
  // A recipe's colours are not refused for a ramp a refused line may have
  // given, nor a recipe for want of a figure a refused line may have drawn.
  ReadingAt(dir, 0);
  faults->Keep([&] { CheckRecipes(src.frames, !palette.refused, mapsRead); });
  return src;
}

Canvas DrawSheetPicture(const SheetLine& s, const SheetSources& src) {
  const SheetFormat f = SheetFormatFor(s.slot);
  Canvas c(s.width, s.height, f.colourKey);
  FrameGrid g{f.frameWidth, f.frameHeight, s.width / f.frameWidth, s.height / f.frameHeight};
  const uint32_t seed = static_cast<uint32_t>(s.number);
  std::map<int, std::string> owners;  // who drew which frame, where that matters
  if (s.style == "art") {
    // Drawn wholly by the frame maps below.
  }
  else if (s.style == "panel") DrawPanel(c, seed);
  else if (s.style == "border") DrawBorder(c, g, seed);
  else if (s.style == "font-large") DrawFontSheet(c, g, src.large, s.number);
  else if (s.style == "font-small") DrawFontSheet(c, g, src.small, s.number);
  else if (s.style == "interface") {
    if (f.frameWidth != 8 || f.frameHeight != 8) throw SourceError("the interface style needs 8x8 frames");
    DrawAltFont(c, g, src.large, kAltLargeFontBase, true, &owners);
    DrawAltFont(c, g, src.small, kAltSmallFontBase, false, &owners);
  } else {
    throw SourceError(src.dir + "/sheets.txt: sheet " + std::to_string(s.slot) + " has unknown style " + DoubleQuotedBytes(s.style));
  }
  DrawFrameMap(c, g, s.slot, src.frames, &owners);
  for (const auto& art : src.interface)
    if (art.sheet == s.slot) DrawPixelArt(c, g, art, src.dir + "/interface.txt", &owners);
  for (const auto& art : src.cursors)
    if (art.sheet == s.slot) DrawPixelArt(c, g, art, src.dir + "/cursors.txt", &owners);
  return c;
}
