// The sprite-sheet bank: the 66 sheets every picture of the game is a frame
// of. A sheet is a grid of equal frames; frame n lies at column
// n mod (frames per row) and row n div (frames per row).
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/graphics.h"
#include "engine/sheet_table.h"

struct SpriteSheetBank {
  GraphicsObject* owner = nullptr;  // non-null: the bank is ready
  int32_t count = 0;
  std::unique_ptr<TextureRecord[]> records;
  std::unique_ptr<int32_t[]> frameWidth;
  std::unique_ptr<int32_t[]> frameHeight;
  std::unique_ptr<int32_t[]> framesPerRow;
};

extern SpriteSheetBank SheetBank;

int InitSheetBank();
int FreeSheetBank();
int LoadSheet(int slot, const char* fileName, int frameWidth, int frameHeight, uint32_t colourKey);
int FreeSheet(int slot);
// Loads "Graphics\0.dat" to "Graphics\65.dat"; shows the failure's message
// and returns 0 at the first sheet that does not load.
int LoadTextures();

// The source rectangle of a frame (offsets and extra size added); false when
// the bank is not ready or the slot is out of range.
bool SheetFrameRect(int slot, int frame, int* left, int* top, int* width, int* height);
// The box of a frame's drawn texels (alpha 8 or more), from the frame's
// corner, right and bottom excluded; an empty box for a frame with none.
// Found once per texture version.
bool SheetFrameInkBox(int slot, int frame, int* left, int* top, int* right, int* bottom);
// Whether every texel of the frame is the same (a plain piece), found once
// for each version of the sheet's picture.
bool SheetFrameIsPlain(int slot, int frame);

// The standard call: white, scale 1, no rotation, centre mode 1, no offsets,
// display-scaled, not offset, already scaled.
int DrawSheetFrame(int slot, int frame, int x, int y, uint32_t colour = 0xFFFFFFFFu, float scaleX = 1.0f,
                   float scaleY = 1.0f, float rotation = 0.0f, int centreMode = 1, int srcXOffset = 0,
                   int srcYOffset = 0, int extraWidth = 0, int extraHeight = 0, uint8_t displayScaled = 1,
                   int xOffset = 0, int alreadyScaled = 1);
int DrawSheetFrameGradient(int slot, int frame, int x, int y, uint32_t colour, float scaleX, float scaleY,
                           float rotation, int alreadyScaled, uint32_t c1, uint32_t c2 = 0, uint32_t c3 = 0,
                           uint32_t c4 = 0, uint32_t c5 = 0, uint32_t c6 = 0);
int DrawSheetFrameSilhouette(int slot, int frame, int x, int y, uint32_t colour, float scaleX = 1.0f,
                             float scaleY = 1.0f, float rotation = 0.0f);

// What a drawn frame is to the screen: a picture of its own (an icon, an
// arrow, a figure, a frame's edge), part of the backdrop the screen's texts
// stand on (the map view under the panels), something that lies over
// whatever was drawn before it by nature (the pointer and what it carries,
// a tooltip's backing, a popup box), or a mark drawn on the map view (a
// path arrow, a condition icon, the turn marker): a picture of its own on
// the backdrop, which the view's edges cut as they cut the map.
enum class DrawLayer : uint8_t { kPicture, kBackdrop, kOnTop, kMark };
// While it lives, the frames drawn count as the given layer; within a
// backdrop they stay part of it, but for a mark on it.
class DrawLayerScope {
 public:
  explicit DrawLayerScope(DrawLayer layer);
  ~DrawLayerScope();
  DrawLayerScope(const DrawLayerScope&) = delete;
  DrawLayerScope& operator=(const DrawLayerScope&) = delete;

 private:
  DrawLayer kept_;
};

// Tests watch the sheet frames drawn through this: every frame drawn by
// DrawSheetFrame, DrawSheetFrameGradient or DrawSheetFrameSilhouette is
// appended (kind 0, 1 and 2), with its position, colour and scale, the
// texels it took (source rectangle) and where they went on the device (the
// top-left corner and the size of one texel there; rotation not counted).
struct SheetDraw {
  int kind;
  int slot, frame, x, y;
  uint32_t colour;
  float scaleX, scaleY;
  int srcLeft = 0, srcTop = 0, srcWidth = 0, srcHeight = 0;
  float deviceX = 0, deviceY = 0, texelWidth = 0, texelHeight = 0;
  bool rotated = false;
  DrawLayer layer = DrawLayer::kPicture;
  int64_t order = 0;  // see DrawOrder
};
void RecordSheetDraws(std::vector<SheetDraw>* sink);
// Counts the frames drawn so far: what is drawn later has a higher count
// (tests compare it with the texts' cells).
int64_t DrawOrder();
