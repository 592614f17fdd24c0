// The sheet tool's source readers. The input's first line names the source:
// "sheets" (the sheet list), "font-large", "font-small" or "pixelart"; the
// rest is its text. Pixel art it accepts is drawn onto its sheet.
#include "fuzz/fuzz_target.h"
#include "sheetmaker/art.h"
#include "engine/sheet_table.h"

GH_FUZZ_TARGET(sheetmaker) {
  std::string text = InputText(data, size);
  const std::string kind = TakeFirstLine(&text);
  WriteScratchFile("source.txt", reinterpret_cast<const uint8_t*>(text.data()), text.size());
  try {
    if (kind == "sheets") {
      (void)ReadSheetList("source.txt");
    } else if (kind == "font-large") {
      (void)ReadFont("source.txt", 8, 8);
    } else if (kind == "font-small") {
      (void)ReadFont("source.txt", 5, 6);
    } else if (kind == "pixelart") {
      for (const PixelArt& art : ReadPixelArt("source.txt")) {
        if (art.sheet < 0 || art.sheet >= kSheetCount) continue;
        const SheetFormat f = SheetFormatFor(art.sheet);
        Canvas canvas(256, 256, f.colourKey);
        const FrameGrid grid{f.frameWidth, f.frameHeight, 256 / f.frameWidth, 256 / f.frameHeight};
        std::map<int, std::string> owners;
        DrawPixelArt(canvas, grid, art, "source.txt", &owners);
      }
    }
  } catch (const SourceError&) {
  }
}
