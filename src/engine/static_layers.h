// Layers that look the same from frame to frame (page backdrops, the
// mosaic, framed boxes, the logo) are drawn once, kept as a picture of the
// whole back buffer and copied into it in the frames after. A layer is kept
// only when it is the first thing drawn after the back buffer was cleared,
// and it is drawn again whenever what it shows may have changed: its own
// arguments, the display scale, the back buffer's size, the render states,
// the clear colour, or any texture.
#pragma once
#include <cstddef>
#include <cstdint>

#include "engine/sprite_sheets.h"

// The layers, each with up to three words of arguments.
enum class StaticLayer : uint32_t {
  kScreenBackdrop = 1,
  kScreenMosaic,
  kFramedBox,
  kTitleBackdrop,
  kLogoScreen,
  kMapViewBase,  // the map view's squares below the creatures (arguments: a digest of what they show)
};

struct StaticLayerKey {
  StaticLayer layer;
  uint32_t arguments[3];
};

// What BeginStaticLayer found: the kept picture was copied; the layer is to
// be drawn and kept (EndStaticLayer); or it is to be drawn as it is.
enum class StaticLayerStart { kCopied, kDrawAndKeep, kDrawOnly };

StaticLayerStart BeginStaticLayer(const StaticLayerKey& key);
void EndStaticLayer(const StaticLayerKey& key);
// Forgets every kept picture (tests, and a device that goes away).
void ForgetStaticLayers();
// How many times a layer was drawn and kept since start-up (for tests).
int StaticLayersDrawn();
// The bytes the kept pictures hold (for the memory report).
size_t StaticLayerBytes();

// Draws a layer through the cache: `draw` runs only when the kept picture
// cannot be used. Returns what `draw` returned, 1 after a copy.
template <typename Draw>
int DrawStaticLayer(const StaticLayerKey& key, Draw draw) {
  const DrawLayerScope backdrop(DrawLayer::kBackdrop);
  switch (BeginStaticLayer(key)) {
    case StaticLayerStart::kCopied: return 1;
    case StaticLayerStart::kDrawAndKeep: {
      const int result = draw();
      EndStaticLayer(key);
      return result;
    }
    case StaticLayerStart::kDrawOnly: break;
  }
  return draw();
}
