// What the sheets are drawn from: the sources of the graphics folder, read
// whole before a sheet is drawn.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "art.h"
#include "frame_map.h"

struct SheetSources {
  std::string dir;
  std::vector<SheetLine> sheets;
  Font large, small;
  std::vector<PixelArt> interface, cursors;
  std::vector<FrameLine> frames;  // every frame map's lines, in the order they are read
  // How many of the frames' lines each frame map gave, the frame maps
  // refused and whether the palette had a refused line: what the recipes
  // are checked with.
  std::map<std::string, size_t> mapLines;
  std::set<std::string> refusedMaps;
  bool paletteRefused = false;
};

// Reads the sources of the graphics folder `dir`, every fault of each kept in
// *faults: the palette first (set as the painters' palette, so that the
// fonts' colours are checked against it as they are read), then the sheet
// list, the fonts, the pixel art, the frame maps and their recipes. The
// world map the pictures are painted from is read apart (ReadPictureSources).
SheetSources ReadSheetSources(const std::string& dir, SourceFaults<SourceError>* faults);

// Reads the source `file` of src->dir again, as ReadSheetSources read it,
// every fault of it kept in *faults: what it gives replaces what it gave
// (after the palette the fonts are read again, their colours checked
// against it), and the recipes are checked again.
void ReadSheetSourceAgain(const std::string& file, SheetSources* src, SourceFaults<SourceError>* faults);

// Refuses a sheet of the art style, drawn wholly by the frame maps and the
// pixel art, that none of their lines draws on, at its line of the sheet
// list (throws SourceError with every such sheet). A fault between the
// sources, checked when they are read and drawn without a fault: a refused
// line may have been one drawing on it, and a frame line moved onto another
// sheet is found where that sheet is drawn.
void CheckArtSheets(const SheetSources& src);

// The picture of a sheet as its line's style, the frame maps and the pixel
// art draw it; throws SourceError with every fault of its lines.
Canvas DrawSheetPicture(const SheetLine& s, const SheetSources& src);
