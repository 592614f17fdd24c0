#include "sources.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <utility>

#include "engine/sheet_table.h"
#include "palette.h"

namespace {

// The sources of the folder in the order they are read: the palette first
// (set as the painters' palette, so that the fonts' colours are checked
// against it as they are read), then the sheet list, the fonts, the pixel
// art and the frame maps (a frame belongs to one line).
const char* const kSources[] = {"palette.txt",   "sheets.txt", "font_large.txt", "font_small.txt",
                                "interface.txt", "cursors.txt", "terrain.txt",   "figures.txt",
                                "effects.txt",   "icons.txt",   "pictures.txt"};
constexpr size_t kFirstFrameMap = 6;

// Reads one source into *src, its faults kept in *faults.
void ReadSource(const std::string& file, SheetSources* src, SourceFaults<SourceError>* faults) {
  const std::string path = src->dir + "/" + file;
  if (file == "palette.txt") {
    Palette palette;
    faults->Keep([&] { ReadPalette(path, &palette); });
    SetPalette(palette);
    src->paletteRefused = palette.refused;
  } else if (file == "sheets.txt") {
    faults->Keep([&] { src->sheets = ReadSheetList(path); });
  } else if (file == "font_large.txt") {
    faults->Keep([&] { src->large = ReadFont(path, 8, 8, &Pal()); });
  } else if (file == "font_small.txt") {
    faults->Keep([&] { src->small = ReadFont(path, 5, 6, &Pal()); });
  } else if (file == "interface.txt") {
    faults->Keep([&] { src->interface = ReadPixelArt(path); });
  } else if (file == "cursors.txt") {
    faults->Keep([&] { src->cursors = ReadPixelArt(path); });
  } else {
    // Its lines take the place of those it gave, after the maps before it.
    size_t start = 0;
    for (size_t i = kFirstFrameMap; i < std::size(kSources) && file != kSources[i]; ++i) start += src->mapLines[kSources[i]];
    const auto at = src->frames.begin() + static_cast<std::ptrdiff_t>(start);
    src->frames.erase(at, at + static_cast<std::ptrdiff_t>(std::exchange(src->mapLines[file], 0)));
    std::vector<FrameLine> lines;
    if (faults->Keep([&] { lines = ReadFrameMap(path); })) src->refusedMaps.erase(file);
    else src->refusedMaps.insert(file);
    src->frames.insert(src->frames.begin() + static_cast<std::ptrdiff_t>(start), lines.begin(), lines.end());
    src->mapLines[file] = lines.size();
  }
}

// A recipe's colours are not refused for a ramp a refused line may have
// given, nor a recipe for want of a figure a refused line may have drawn.
void CheckSourceRecipes(const SheetSources& src, SourceFaults<SourceError>* faults) {
  ReadingAt(src.dir, 0);
  faults->Keep([&] { CheckRecipes(src.frames, !src.paletteRefused, src.refusedMaps.empty()); });
}

}  // namespace

SheetSources ReadSheetSources(const std::string& dir, SourceFaults<SourceError>* faults) {
  SheetSources src;
  src.dir = dir;
  for (const char* file : kSources) ReadSource(file, &src, faults);
  CheckSourceRecipes(src, faults);
  return src;
}

void ReadSheetSourceAgain(const std::string& file, SheetSources* src, SourceFaults<SourceError>* faults) {
  ReadSource(file, src, faults);
  if (file == "palette.txt")
    for (const char* font : {"font_large.txt", "font_small.txt"}) ReadSource(font, src, faults);
  CheckSourceRecipes(*src, faults);
}

void CheckArtSheets(const SheetSources& src) {
  SourceFaults<SourceError> faults;
  for (const SheetLine& sheet : src.sheets) {
    auto drawsOn = [&](const auto& lines) {
      return std::any_of(lines.begin(), lines.end(), [&](const auto& line) { return line.sheet == sheet.slot; });
    };
    if (sheet.style != "art" || drawsOn(src.frames) || drawsOn(src.interface) || drawsOn(src.cursors)) continue;
    faults.Keep([&] {
      throw SourceError(src.dir + "/sheets.txt:" + std::to_string(sheet.line) + ": sheet " + std::to_string(sheet.slot) +
                        " is of the art style, and no frame map or pixel art draws on it");
    });
  }
  faults.Throw();
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
