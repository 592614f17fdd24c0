// The widget kit of the immediate-mode screens: mouse hit tests, backdrops,
// frames, panels, popups, separators, figure icons, the logo and the cursor.
// Positions are logical pixels of the 320x240 picture; a cell is 8x8 unless
// said otherwise.
#pragma once
#include <cstdint>

// The cursor picture drawn last every frame: a frame of sheet 0 (see
// CursorFrame); negative draws nothing. Screens set it every frame; 28 over a
// link.
extern int32_t CursorShape;
// The boot: walk there (the map's walk and the combat move alike).
constexpr int32_t kCursorWalk = 12;

// The frame of sheet 0 a cursor kind draws: the kind itself, except 100
// (frame 43, the drag hand), 101 (frame 56, the cross-hair) and the kinds
// whose own frame is a ground tile of the maps (1 grass, 12 flagstones, ...),
// which draw frame 100 + kind from the cursors below the tiles.
int CursorFrame(int32_t kind);

// Per-figure pixel offsets (x, y) added to figures 0 to 302 when asked.
constexpr int kFigureOffsetCount = 303;
extern const uint8_t FigureOffsets[kFigureOffsetCount][2];

// Hit tests against the pointer; right and bottom edges excluded.
bool MouseInRect(int y, int x, int width, int height);
bool MouseInTextRow(int row, int column, int widthColumns, int heightRows, int large, int yOffset);
bool MouseInRow8(int column, int big, int row);
// Whether one of the action bar's current entries is the action kind.
bool ListHasKind(int32_t kind);

int DrawMouseCursor();
int DrawScreenBackdrop();
int DrawFramedBox(uint32_t frameColour, uint32_t backgroundColour, int style);
int DrawPanelCells(int firstColumn, int firstRow, int lastColumn, int lastRow, uint32_t colour);
int DrawScreenMosaic(uint32_t colour);
int DrawTopLeftPanelShade();
int DrawCentrePanelFrame();
// Sets the popup rectangle and draws the box; false (nothing drawn, the
// rectangle unchanged) when it would pass x 312 or y 232.
bool DrawPopupBox(int leftColumn, int topRow, int rightColumn, int bottomRow, int yOffset);
bool DrawSpellBookPopup(int rightSmallColumn, int bottomSmallRow);
int DrawViewportBorder();
// Horizontal (first == last: a row from column start to end) or vertical
// (the column first, from row start to end).
int DrawSeparatorLine(int first, int start, int end, int last);
int DrawSidePanelFrame(int heightRows);
// The dark plate a number stands on over a picture (a stack's count on its
// item), from (left, top) to (right, bottom) in logical pixels: white digits
// on white arrow fletching read as nothing.
int DrawNumberBacking(int left, int top, int right, int bottom);
int DrawCaptionBoxFrame();
int DrawMainScreenPanels();
// Figures 0 to kLastFigure of the figure sheets (18 onward, 196 a sheet).
constexpr int kLastFigure = 587;
constexpr int kFirstFigureSheet = 18, kFiguresPerSheet = 196;
int DrawFigureSprite(int figure, int x, int y, uint32_t colour, int offsetFlag);
int DrawFigureIcon(int xOffset, int yOffset, int figure, int column, int row, uint32_t colour, int outline);
// Clears the picture to black and draws the logo; the splash fades it in
// and out through the colour's alpha.
int DrawLogoScreenImage();
int DrawLogoScreenImage(uint32_t colour);
int DrawTitleBackdrop(uint32_t colour);
