#include "engine/sprite_sheets.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <new>

#include "engine/main_window.h"

SpriteSheetBank SheetBank;

namespace {

bool SlotValid(int slot) { return SheetBank.records && slot >= 0 && slot < SheetBank.count; }

bool Ready(int slot) { return SheetBank.owner && SlotValid(slot); }

}  // namespace

int InitSheetBank() {
  FreeSheetBank();
  SheetBank.owner = &Graphics;
  SheetBank.count = kSheetCount;
  SheetBank.records.reset(new (std::nothrow) TextureRecord[kSheetCount]);
  SheetBank.frameWidth.reset(new (std::nothrow) int32_t[kSheetCount]());
  SheetBank.frameHeight.reset(new (std::nothrow) int32_t[kSheetCount]());
  SheetBank.framesPerRow.reset(new (std::nothrow) int32_t[kSheetCount]());
  if (!SheetBank.records || !SheetBank.frameWidth || !SheetBank.frameHeight || !SheetBank.framesPerRow) {
    FreeSheetBank();
    return 0;
  }
  return 1;
}

int FreeSheetBank() {
  SheetBank.owner = nullptr;
  if (SheetBank.records)
    for (int i = 0; i < SheetBank.count; ++i) FreeTexture(&SheetBank.records[i]);
  SheetBank.records.reset();
  SheetBank.frameWidth.reset();
  SheetBank.frameHeight.reset();
  SheetBank.framesPerRow.reset();
  SheetBank.count = 0;
  return 1;
}

int FreeSheet(int slot) {
  if (!SlotValid(slot)) return 0;
  FreeTexture(&SheetBank.records[slot]);
  SheetBank.records[slot] = TextureRecord{};
  SheetBank.frameWidth[slot] = 0;
  SheetBank.frameHeight[slot] = 0;
  SheetBank.framesPerRow[slot] = 0;
  return 1;
}

int LoadSheet(int slot, const char* fileName, int frameWidth, int frameHeight, uint32_t colourKey) {
  if (!SlotValid(slot)) return 0;
  FreeSheet(slot);
  // A frame must have a size: a zero width would leave frames per row undefined.
  if (frameWidth <= 0 || frameHeight <= 0) return 0;
  TextureRecord& record = SheetBank.records[slot];
  if (!LoadTexture(&record, fileName, colourKey)) {
    FreeSheet(slot);
    return 0;
  }
  SheetBank.frameWidth[slot] = frameWidth;
  SheetBank.frameHeight[slot] = frameHeight;
  SheetBank.framesPerRow[slot] = record.width / frameWidth;
  return 1;
}

int LoadTextures() {
  if (!InitSheetBank()) {
    ShowError(1, "Could not create texture memory.");
    return 0;
  }
  for (int slot = 0; slot < kSheetCount; ++slot) {
    char path[32];
    std::snprintf(path, sizeof path, "Graphics\\%i.dat", slot);
    const SheetFormat f = SheetFormatFor(slot);
    if (!LoadSheet(slot, path, f.frameWidth, f.frameHeight, f.colourKey)) {
      ShowError(1, "Could not load texture %i", slot);
      return 0;
    }
  }
  return 1;
}

namespace {
std::vector<SheetDraw>* g_sheetDrawSink = nullptr;
DrawLayer g_drawLayer = DrawLayer::kPicture;
int64_t g_drawOrder = 0;

// The recorded draw, its texels and their place on the device as the blit
// will put them.
void Note(int kind, int slot, int frame, int x, int y, uint32_t colour, float scaleX, float scaleY,
          const TextureRecord* record, int left, int top, int width, int height, int blitX, int blitY,
          float blitScaleX, float blitScaleY, float rotation, int alreadyScaled) {
  ++g_drawOrder;
  if (!g_sheetDrawSink) return;
  SheetDraw d{kind, slot, frame, x, y, colour, scaleX, scaleY};
  const BlitTransform t = ComputeBlitTransform(record, left, blitX, blitY, top, width, height, blitScaleX,
                                               blitScaleY, rotation, 1, alreadyScaled);
  d.srcLeft = left;
  d.srcTop = top;
  d.srcWidth = width;
  d.srcHeight = height;
  d.deviceX = t.translateX;
  d.deviceY = t.translateY;
  d.texelWidth = blitScaleX;
  d.texelHeight = blitScaleY;
  d.rotated = rotation != 0.0f;
  d.layer = g_drawLayer;
  d.order = g_drawOrder;
  g_sheetDrawSink->push_back(d);
}
}  // namespace

int64_t DrawOrder() { return g_drawOrder; }

DrawLayerScope::DrawLayerScope(DrawLayer layer) : kept_(g_drawLayer) {
  // A backdrop stays one, whatever is drawn within it, but for a mark on it.
  if (g_drawLayer == DrawLayer::kPicture || (layer == DrawLayer::kMark && g_drawLayer == DrawLayer::kBackdrop))
    g_drawLayer = layer;
}
DrawLayerScope::~DrawLayerScope() { g_drawLayer = kept_; }

void RecordSheetDraws(std::vector<SheetDraw>* sink) { g_sheetDrawSink = sink; }

bool SheetFrameInkBox(int slot, int frame, int* left, int* top, int* right, int* bottom) {
  int x0 = 0, y0 = 0, w = 0, h = 0;
  if (!SheetFrameRect(slot, frame, &x0, &y0, &w, &h)) return false;
  const platform::Texture* texture = SheetBank.records[slot].texture.get();
  if (texture == nullptr) return false;
  struct Box {
    uint64_t version;
    int left, top, right, bottom;
  };
  static std::map<std::pair<int, int>, Box> kept;
  Box& box = kept[{slot, frame}];
  if (box.version != texture->Version() || box.version == 0) {
    box = Box{texture->Version(), w, h, 0, 0};
    const uint32_t* px = texture->Pixels();
    const int tw = texture->Width(), th = texture->Height();
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const int tx = x0 + x, ty = y0 + y;
        if (tx >= tw || ty >= th || (px[static_cast<size_t>(ty) * tw + tx] >> 24) < 8) continue;
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x + 1);
        box.bottom = std::max(box.bottom, y + 1);
      }
    if (box.right <= box.left) box.left = box.top = box.right = box.bottom = 0;
  }
  *left = box.left;
  *top = box.top;
  *right = box.right;
  *bottom = box.bottom;
  return true;
}

bool SheetFrameRect(int slot, int frame, int* left, int* top, int* width, int* height) {
  if (!Ready(slot)) return false;
  const int perRow = SheetBank.framesPerRow[slot];
  // An empty slot has no frames per row; its frames lie nowhere.
  const int column = perRow > 0 ? frame % perRow : 0;
  const int row = perRow > 0 ? frame / perRow : 0;
  if (left) *left = column * SheetBank.frameWidth[slot];
  if (top) *top = row * SheetBank.frameHeight[slot];
  if (width) *width = SheetBank.frameWidth[slot];
  if (height) *height = SheetBank.frameHeight[slot];
  return true;
}

bool SheetFrameIsPlain(int slot, int frame) {
  int left = 0, top = 0, width = 0, height = 0;
  if (!SheetFrameRect(slot, frame, &left, &top, &width, &height)) return false;
  const platform::Texture* texture = SheetBank.records[slot].texture.get();
  if (!texture || left + width > texture->Width() || top + height > texture->Height()) return false;
  struct Found {
    const platform::Texture* texture;
    uint64_t version;
    int frame;
    bool plain;
  };
  static std::vector<Found> found;
  for (const Found& f : found)
    if (f.texture == texture && f.version == texture->Version() && f.frame == frame) return f.plain;
  const uint32_t* texels = texture->Pixels();
  const uint32_t first = texels[static_cast<size_t>(top) * texture->Width() + left];
  bool plain = true;
  for (int y = top; y < top + height && plain; ++y)
    for (int x = left; x < left + width && plain; ++x) plain = texels[static_cast<size_t>(y) * texture->Width() + x] == first;
  constexpr size_t kFramesKept = 8;
  if (found.size() == kFramesKept) found.erase(found.begin());
  found.push_back(Found{texture, texture->Version(), frame, plain});
  return plain;
}

int DrawSheetFrame(int slot, int frame, int x, int y, uint32_t colour, float scaleX, float scaleY,
                   float rotation, int centreMode, int srcXOffset, int srcYOffset, int extraWidth,
                   int extraHeight, uint8_t displayScaled, int xOffset, int alreadyScaled) {
  int left = 0, top = 0, width = 0, height = 0;
  if (!SheetFrameRect(slot, frame, &left, &top, &width, &height)) return 0;
  TextureRecord* record = &SheetBank.records[slot];
  if (!record->texture) return 0;
  left += srcXOffset;
  top += srcYOffset;
  width += extraWidth;
  height += extraHeight;
  const int s = GetDisplayScale();
  const bool scaled = displayScaled == 1;
  const int blitX = scaled ? x + xOffset : s * x + xOffset, blitY = scaled ? y : s * y;
  const float blitScaleX = scaled ? s * scaleX : scaleX, blitScaleY = scaled ? s * scaleY : scaleY;
  Note(0, slot, frame, x, y, colour, scaleX, scaleY, record, left, top, std::max(width, 0), std::max(height, 0),
       blitX, blitY, blitScaleX, blitScaleY, rotation, alreadyScaled);
  // A frame cut to nothing (or below) draws nothing: a zero size would mean
  // the whole texture to the blit.
  if (width <= 0 || height <= 0) return 0;
  return BlitTexture(record, left, blitX, blitY, top, width, height, blitScaleX, blitScaleY, colour, rotation,
                     centreMode, alreadyScaled);
}

int DrawSheetFrameGradient(int slot, int frame, int x, int y, uint32_t colour, float scaleX, float scaleY,
                           float rotation, int alreadyScaled, uint32_t c1, uint32_t c2, uint32_t c3,
                           uint32_t c4, uint32_t c5, uint32_t c6) {
  int left = 0, top = 0, width = 0, height = 0;
  if (!SheetFrameRect(slot, frame, &left, &top, &width, &height)) return 0;
  TextureRecord* record = &SheetBank.records[slot];
  if (!record->texture) return 0;
  const int s = GetDisplayScale();
  Note(1, slot, frame, x, y, colour, scaleX, scaleY, record, left, top, width, height, x, y, s * scaleX, s * scaleY,
       rotation, alreadyScaled);
  return BlitTextureGradient(record, left, x, y, top, width, height, s * scaleX, s * scaleY, colour,
                             rotation, 1, alreadyScaled, c1, c2, c3, c4, c5, c6);
}

int DrawSheetFrameSilhouette(int slot, int frame, int x, int y, uint32_t colour, float scaleX, float scaleY,
                             float rotation) {
  int left = 0, top = 0, width = 0, height = 0;
  if (!SheetFrameRect(slot, frame, &left, &top, &width, &height)) return 0;
  TextureRecord* record = &SheetBank.records[slot];
  if (!record->texture) return 0;
  const int s = GetDisplayScale();
  Note(2, slot, frame, x, y, colour, scaleX, scaleY, record, left, top, width, height, x, y, s * scaleX, s * scaleY,
       rotation, 0);
  return BlitTextureSilhouette(record, left, x, y, top, width, height, s * scaleX, s * scaleY, colour,
                               rotation, 1, 0);
}
