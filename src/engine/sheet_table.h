// The sheet table: frame size and colour key of each of the 66 sprite sheets
// "Graphics\0.dat" to "Graphics\65.dat". The game's loader and the tool that
// draws the sheets both read it, so the two always agree.
#pragma once
#include <cstdint>

constexpr int kSheetCount = 66;

struct SheetFormat {
  int32_t frameWidth;
  int32_t frameHeight;
  uint32_t colourKey;  // texels of exactly this colour load as transparent
};

constexpr uint32_t kSheetKeyGrey = 0xFF6B6D73u;
constexpr uint32_t kSheetKeyBlack = 0xFF000000u;

constexpr SheetFormat SheetFormatFor(int slot) {
  const uint32_t key = (slot == 32 || slot == 57 || slot == 64 || slot == 65) ? kSheetKeyBlack : kSheetKeyGrey;
  switch (slot) {
    case 1: case 48: return {34, 34, key};
    case 2: case 18: case 19: case 20: return {18, 18, key};
    case 3: case 5: case 6: return {64, 43, key};
    case 7: return {64, 38, key};
    case 13: case 53: case 54: case 55: case 56: return {8, 8, key};
    case 14: return {100, 100, key};
    case 15: case 16: case 28: case 31: case 33: case 34: case 35: case 36: case 37:
    case 45: case 46: case 47: return {48, 48, key};
    case 17: case 50: case 51: case 52: case 58: return {64, 64, key};
    case 32: case 63: return {128, 128, key};
    case 38: case 39: case 40: case 41: case 42: case 43: case 44: return {72, 72, key};
    case 49: return {32, 32, key};
    case 57: case 64: return {256, 256, key};
    case 60: return {16, 16, key};
    case 61: return {15, 18, key};
    case 62: return {10, 12, key};
    case 65: return {256, 48, key};
    default: return {24, 24, key};  // 0, 4, 8-12, 21-27, 29, 30, 59
  }
}

// The font sheets and the interface sheet.
constexpr int kSheetLargeFont2 = 60;  // 8x8 glyphs at display scale 2
constexpr int kSheetLargeFont3 = 59;  // at display scale 3
constexpr int kSheetSmallFont2 = 62;  // 5x6 glyphs at display scale 2
constexpr int kSheetSmallFont3 = 61;  // at display scale 3
constexpr int kSheetInterface = 13;   // window frames, panels and the alternative font
// Frame of a character in the alternative font of the interface sheet.
constexpr int kAltLargeFontBase = 11;   // large frame = code + 11
constexpr int kAltSmallFontBase = 504;  // small frame = code + 504
