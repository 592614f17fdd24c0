#include "engine/widgets.h"

#include <algorithm>

#include "engine/graphics.h"
#include "engine/sprite_sheets.h"
#include "engine/static_layers.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/game_screen_state.h"

int32_t CursorShape = 0;

// The figures are drawn centred on their frames; no figure needs moving yet.
const uint8_t FigureOffsets[kFigureOffsetCount][2] = {};

namespace {

constexpr int kSheetBorder = 53;
constexpr int kSheetMosaic = 54;
constexpr int kSheetPanelLeft = 55;
constexpr int kSheetPanelRight = 56;
constexpr int kFillFrame = 7;  // sheet 13's plain piece that boxes are filled with

// Fills draw the frame at the display scale straight from the sheet's record,
// so neighbouring pieces meet without seams at every scale.
int Piece(int slot, int frame, int x, int y, uint32_t colour, int extraWidth = 0, int extraHeight = 0) {
  return DrawSheetFrame(slot, frame, x, y, colour, 1.0f, 1.0f, 0.0f, 1, 0, 0, extraWidth, extraHeight, 1, 0, 1);
}

void FillBox(int left, int top, int right, int bottom, uint32_t colour, int stepX = 8, int stepY = 8) {
  const DrawLayerScope backdrop(DrawLayer::kBackdrop);
  // Pieces side by side of a plain fill are one quad stretched over the box:
  // every pixel of it shows the one texel, blended once.
  if (stepX == 8 && stepY == 8 && right > left && bottom > top && SheetFrameIsPlain(kSheetInterface, kFillFrame)) {
    DrawSheetFrame(kSheetInterface, kFillFrame, left, top, colour, (right - left) / 8.0f, (bottom - top) / 8.0f, 0.0f,
                   1, 0, 0, 0, 0, 1, 0, 0);
    return;
  }
  for (int y = top; y < bottom; y += stepY)
    for (int x = left; x < right; x += stepX)
      Piece(kSheetInterface, kFillFrame, x, y, colour, std::min(0, right - x - 8), std::min(0, bottom - y - 8));
}

// The border strip along the top edge and along a lower edge at `bottomY`:
// fourteen corner-side pieces at each end, and the plain middle run between
// them when asked.
void BorderStrips(int bottomY, uint32_t colour, bool withMiddle) {
  if (withMiddle)
    for (int x = 104; x < 208; x += 8) {
      Piece(kSheetBorder, 14, x, 0, colour);
      Piece(kSheetBorder, 43, x, bottomY, colour);
    }
  for (int i = 0; i < 14; ++i) {
    Piece(kSheetBorder, i, i * 8, 0, colour);
    Piece(kSheetBorder, 15 + i, 208 + i * 8, 0, colour);
    Piece(kSheetBorder, 29 + i, i * 8, bottomY, colour);
    Piece(kSheetBorder, 44 + i, 208 + i * 8, bottomY, colour);
  }
}

}  // namespace

bool MouseInRect(int y, int x, int width, int height) {
  const int px = PointerX(), py = PointerY();
  return px >= x && px < x + width && py >= y && py < y + height;
}

bool MouseInTextRow(int row, int column, int widthColumns, int heightRows, int large, int yOffset) {
  const int w = large ? 8 : 5, h = large ? 8 : 6;
  const int px = PointerX(), py = PointerY();
  return px >= column * w && px < (column + widthColumns) * w && py >= yOffset + row * h &&
         py < yOffset + (row + heightRows) * h;
}

bool MouseInRow8(int column, int big, int row) {
  const int extent = big ? 21 : 19;
  const int px = PointerX(), py = PointerY();
  return px >= column * 8 + 3 && px < column * 8 + extent && py >= row * 8 + 3 && py < row * 8 + extent;
}

bool ListHasKind(int32_t kind) {
  const uint32_t count = std::min<uint32_t>(ActionList.count, kActionListSize);
  for (uint32_t i = 0; i < count; ++i)
    if (ActionList.kinds[i] == kind) return true;
  return false;
}

int CursorFrame(int32_t kind) {
  // Ground codes 1-43 draw the sheet's frame of the same number, so these
  // kinds keep their pictures a hundred frames further on.
  constexpr int32_t kKindsOnGroundTiles[] = {1, 2, 3, 5, 6, 10, 12, 13, 15, 17, 19};
  constexpr int kCursorsBelowTiles = 100;
  if (kind == 100) return 43;
  if (kind == 101) return 56;
  for (int32_t k : kKindsOnGroundTiles)
    if (kind == k) return kCursorsBelowTiles + kind;
  return kind;
}

int DrawMouseCursor() {
  const int frame = CursorFrame(CursorShape);
  if (frame < 0) return 0;
  const DrawLayerScope pointer(DrawLayer::kOnTop);
  return DrawSheetFrame(0, frame, PointerX(), PointerY());
}

namespace {

int ScreenBackdropPieces() {
  constexpr uint32_t kColour = 0xFFA0A0A0u;
  constexpr int kLeft[4][3] = {{1, 2, 3}, {5, 6, 7}, {9, 10, 11}, {13, 14, 15}};
  constexpr int kRight[4][2] = {{0, 1}, {4, 5}, {8, 9}, {12, 13}};
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 3; ++c) Piece(51, kLeft[r][c], c * 64, r * 64, kColour);
    for (int c = 0; c < 2; ++c) Piece(52, kRight[r][c], 192 + c * 64, r * 64, kColour);
  }
  return 1;
}

}  // namespace

// The right panel sheet holds sixteen columns of stone on each row (its other
// half is the band of the script picture), so a cell past column 38 starts
// that stone again instead of showing the picture's edge.
int DrawPanelCells(int firstColumn, int firstRow, int lastColumn, int lastRow, uint32_t colour) {
  constexpr int kRightStoneColumns = 16;
  for (int r = firstRow; r <= lastRow; ++r)
    for (int c = firstColumn; c <= lastColumn; ++c) {
      if (c <= 22)
        Piece(kSheetPanelLeft, 32 * r + c + 8, c * 8, r * 8, colour);
      else
        Piece(kSheetPanelRight, 32 * r + (c - 23) % kRightStoneColumns, c * 8, r * 8, colour);
    }
  return 1;
}

namespace {

int ScreenMosaicPieces(uint32_t colour) {
  for (int r = 0; r < 30; ++r) {
    for (int c = 0; c < 32; ++c) Piece(kSheetMosaic, 32 * r + c, c * 8, r * 8, colour);
    for (int c = 0; c < 8; ++c) Piece(kSheetPanelLeft, 32 * r + c, 256 + c * 8, r * 8, colour);
  }
  return 1;
}

}  // namespace

// A frame of interface pieces round the cells from (left, top) to (right,
// bottom) in 8-pixel steps: the edges are tiled between the corners, which
// stand on the outside corner cells (left - 8 and right, top - 8 and bottom).
struct FramePieces {
  int top, bottom, left, right;                           // edge pieces
  int topLeft, topRight, bottomLeft, bottomRight;         // corner pieces
};

void TiledFrame(int left, int top, int right, int bottom, const FramePieces& f, uint32_t colour) {
  for (int x = left; x < right; x += 8) {
    Piece(kSheetInterface, f.top, x, top - 8, colour);
    Piece(kSheetInterface, f.bottom, x, bottom, colour);
  }
  for (int y = top; y < bottom; y += 8) {
    Piece(kSheetInterface, f.left, left - 8, y, colour);
    Piece(kSheetInterface, f.right, right, y, colour);
  }
  Piece(kSheetInterface, f.topLeft, left - 8, top - 8, colour);
  Piece(kSheetInterface, f.topRight, right, top - 8, colour);
  Piece(kSheetInterface, f.bottomLeft, left - 8, bottom, colour);
  Piece(kSheetInterface, f.bottomRight, right, bottom, colour);
}

namespace {

int FramedBoxPieces(uint32_t frameColour, uint32_t backgroundColour, int style) {
  uint32_t border = frameColour;
  switch (style) {
    case 0: DrawPanelCells(0, 0, 39, 29, 0xFF7D7D7Du); border = 0xFFB4B4B4u; break;
    case 1: DrawScreenMosaic(0xFF646464u); border = 0xFFC8C8C8u; break;
    case 2: DrawScreenMosaic(0xFF787878u); border = 0xFFD2D2D2u; break;
    case 3: DrawPanelCells(0, 0, 39, 29, backgroundColour); break;
    case 4: DrawScreenMosaic(backgroundColour); break;
    default: break;
  }
  BorderStrips(232, border, style == 1 || style == 2 || style == 4);
  return 1;
}

}  // namespace

int DrawTopLeftPanelShade() {
  const DrawLayerScope backdrop(DrawLayer::kBackdrop);
  for (int y = 0; y < 80; y += 8)
    for (int x = 0; x < 184; x += 8) Piece(kSheetInterface, 0, x, y, 0x8CFFFFFFu);
  return 1;
}

int DrawCentrePanelFrame() {
  TiledFrame(144, 32, 304, 208, FramePieces{529, 532, 530, 531, 535, 536, 534, 533}, 0xFFFFFFFFu);
  return 1;
}

bool DrawPopupBox(int leftColumn, int topRow, int rightColumn, int bottomRow, int yOffset) {
  if (rightColumn * 8 >= 313 || bottomRow * 8 > 232) return false;
  const int left = leftColumn * 8, right = rightColumn * 8;
  const int top = yOffset + topRow * 8, bottom = yOffset + bottomRow * 8;
  PopupRect = PopupRectangle{top, bottom, left, right};
  const DrawLayerScope over(DrawLayer::kOnTop);
  constexpr uint32_t kEdge = 0xDCFFFFFFu;
  FillBox(left + 8, top + 8, right, bottom, 0xC4FFFFFFu);
  for (int x = left; x <= right; x += 8) {
    Piece(kSheetInterface, 948, x, top, kEdge);
    Piece(kSheetInterface, 951, x, bottom, kEdge);
  }
  for (int y = top; y <= bottom; y += 8) {
    Piece(kSheetInterface, 949, left, y, kEdge);
    Piece(kSheetInterface, 950, right, y, kEdge);
  }
  return true;
}

bool DrawSpellBookPopup(int rightSmallColumn, int bottomSmallRow) {
  const int right = rightSmallColumn * 5, bottom = bottomSmallRow * 6;
  if (right >= 316 || bottom > 234) return false;
  constexpr int kLeft = 80, kTop = 120;
  const DrawLayerScope over(DrawLayer::kOnTop);
  constexpr uint32_t kEdge = 0xDCFFFFFFu;
  FillBox(kLeft, kTop, right, bottom, 0xC4FFFFFFu, 5, 6);
  for (int x = kLeft; x < right; x += 5) {
    Piece(kSheetInterface, 948, x, kTop - 6, kEdge, -3, -2);
    Piece(kSheetInterface, 951, x, bottom, kEdge, -3, -2);
  }
  for (int y = kTop; y < bottom; y += 6) {
    Piece(kSheetInterface, 949, kLeft - 5, y, kEdge, -3, -2);
    Piece(kSheetInterface, 950, right, y, kEdge, -3, -2);
  }
  return true;
}

int DrawViewportBorder() {
  DrawPanelCells(1, 24, 38, 28, 0xFF8C8C8Cu);
  constexpr uint32_t kColour = 0xFFC8C8C8u;
  for (int x = 0; x < 320; x += 8) {
    Piece(kSheetBorder, 14, x, 184, kColour);
    Piece(kSheetBorder, 43, x, 232, kColour);
  }
  for (int y = 192; y < 232; y += 8) {
    Piece(kSheetBorder, 131, 0, y, kColour);
    Piece(kSheetBorder, 131, 312, y, kColour);
  }
  return 1;
}

int DrawSeparatorLine(int first, int start, int end, int last) {
  constexpr uint32_t kColour = 0xFF969696u;
  if (first == last) {
    for (int c = start; c <= end; ++c) Piece(kSheetBorder, 130, c * 8, first * 8, kColour);
  } else {
    for (int r = start; r <= end; ++r) Piece(kSheetBorder, 131, first * 8, r * 8, kColour);
  }
  return 1;
}

int DrawNumberBacking(int left, int top, int right, int bottom) {
  FillBox(left, top, right, bottom, 0xE6FFFFFFu);
  return 1;
}

int DrawSidePanelFrame(int heightRows) {
  const int rows = std::clamp(heightRows, 1, 29);
  const int bottom = rows * 8;
  constexpr uint32_t kColour = 0xB4FFFFFFu;
  FillBox(192, 8, 312, bottom, kColour);
  TiledFrame(192, 8, 312, bottom, FramePieces{956, 958, 959, 957, 952, 953, 955, 954}, kColour);
  return 1;
}

int DrawCaptionBoxFrame() {
  constexpr uint32_t kEdge = 0xDCFFFFFFu;
  FillBox(16, 16, 304, 104, 0xC4FFFFFFu);
  TiledFrame(16, 16, 304, 104, FramePieces{1, 1, 2, 2, 3, 4, 5, 6}, kEdge);
  return 1;
}

int DrawMainScreenPanels() {
  DrawPanelCells(1, 1, 38, 5, 0xFF787878u);
  constexpr uint32_t kColour = 0xFFC8C8C8u;
  BorderStrips(48, kColour, true);
  for (int y = 8; y < 48; y += 8) {
    Piece(kSheetBorder, 131, 0, y, kColour);
    Piece(kSheetBorder, 131, 312, y, kColour);
  }
  return 1;
}

int DrawFigureSprite(int figure, int x, int y, uint32_t colour, int offsetFlag) {
  if (figure < 0 || figure > kLastFigure) return 0;
  if (offsetFlag && figure < kFigureOffsetCount) {
    x += FigureOffsets[figure][0];
    y += FigureOffsets[figure][1];
  }
  return DrawSheetFrame(kFirstFigureSheet + figure / kFiguresPerSheet, figure % kFiguresPerSheet, x, y, colour);
}

int DrawFigureIcon(int xOffset, int yOffset, int figure, int column, int row, uint32_t colour, int outline) {
  if (figure < 0 || figure > kLastFigure) return 0;
  int x = xOffset + column * 8 + 3, y = yOffset + row * 8 + 3;
  if (figure < kFigureOffsetCount) {
    x += FigureOffsets[figure][0];
    y += FigureOffsets[figure][1];
  }
  const int slot = 18 + figure / 196, frame = figure % 196;
  if (!outline) return DrawSheetFrame(slot, frame, x, y, colour);
  // The outlined icon: the left part, then the top and bottom of the rest.
  DrawSheetFrame(slot, frame, x, y, colour, 1.0f, 1.0f, 0.0f, 1, 0, 0, -9, 0);
  DrawSheetFrame(slot, frame, x + 9, y, colour, 1.0f, 1.0f, 0.0f, 1, 9, 0, -9, -9);
  return DrawSheetFrame(slot, frame, x + 9, y + 9, colour, 1.0f, 1.0f, 0.0f, 1, 9, 9, -9, -9);
}

namespace {

int LogoScreenPieces(uint32_t colour) {
  const bool large = GetDisplayScale() == 3;
  const int x = large ? 30 : 45, y = large ? 60 : 85;
  const float scale = large ? 1.51f : 1.0f;
  for (int i = 0; i < 4; ++i)
    DrawSheetFrame(63, i, x, y, colour, scale, scale, 0.0f, 1, 0, 0, 0, 0, 0, 128 * i, 1);
  return 1;
}

int TitleBackdropPieces(uint32_t colour) {
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) Piece(17, 4 * r + c, c * 64, r * 64, colour);
    Piece(17, 16 + r, 256, r * 64, colour);
  }
  return 1;
}

}  // namespace

// The backdrops, the mosaic and the framed boxes are drawn once and copied
// after (see static_layers.h).
int DrawScreenBackdrop() {
  return DrawStaticLayer({StaticLayer::kScreenBackdrop, {}}, [] { return ScreenBackdropPieces(); });
}

int DrawScreenMosaic(uint32_t colour) {
  return DrawStaticLayer({StaticLayer::kScreenMosaic, {colour}}, [&] { return ScreenMosaicPieces(colour); });
}

int DrawFramedBox(uint32_t frameColour, uint32_t backgroundColour, int style) {
  return DrawStaticLayer({StaticLayer::kFramedBox, {frameColour, backgroundColour, static_cast<uint32_t>(style)}},
                         [&] { return FramedBoxPieces(frameColour, backgroundColour, style); });
}

int DrawTitleBackdrop(uint32_t colour) {
  return DrawStaticLayer({StaticLayer::kTitleBackdrop, {colour}}, [&] { return TitleBackdropPieces(colour); });
}

int DrawLogoScreenImage() { return DrawLogoScreenImage(0xFFFFFFFFu); }

int DrawLogoScreenImage(uint32_t colour) {
  ClearScreen(0xFF000000u);
  return DrawStaticLayer({StaticLayer::kLogoScreen, {colour}}, [&] { return LogoScreenPieces(colour); });
}
