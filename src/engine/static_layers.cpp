#include "engine/static_layers.h"

#include <memory>
#include <vector>

#include "engine/graphics.h"
#include "platform/render.h"

namespace {

// Everything a kept picture depends on.
struct Circumstances {
  StaticLayer layer;
  uint32_t arguments[3];
  int width, height, scale;
  uint32_t clearColour;
  bool alphaBlend, alphaTest;
  uint32_t srcBlend, dstBlend, alphaRef, alphaFunc;
  uint64_t textures;
  bool operator==(const Circumstances&) const = default;
};

struct KeptLayer {
  bool valid = false;
  Circumstances when{};
  std::shared_ptr<const platform::Picture> picture;
  uint64_t lastUsed = 0;
};

// Two pictures, so that going from page to page and back finds them kept
// (each is a whole back buffer: 2.6 MB at 960x720).
constexpr int kKeptLayers = 2;
KeptLayer g_kept[kKeptLayers];
uint64_t g_uses = 0;
bool g_drawing = false;  // a layer inside a layer is drawn as it is
Circumstances g_drawn{};
int g_drawnCount = 0;

// The circumstances now, without the cleared back buffer a copy needs.
bool CurrentCircumstances(const StaticLayerKey& key, Circumstances* c) {
  if (!Graphics.device) return false;
  const platform::RenderStates& st = Graphics.device->States();
  *c = Circumstances{key.layer,
                     {key.arguments[0], key.arguments[1], key.arguments[2]},
                     Graphics.device->Width(),
                     Graphics.device->Height(),
                     GetDisplayScale(),
                     0,
                     st.alphaBlend,
                     st.alphaTest,
                     st.srcBlend,
                     st.dstBlend,
                     st.alphaRef,
                     st.alphaFunc,
                     platform::TextureGeneration()};
  return true;
}

}  // namespace

StaticLayerStart BeginStaticLayer(const StaticLayerKey& key) {
  Circumstances now;
  if (g_drawing || !CurrentCircumstances(key, &now) || !Graphics.device->ClearedOnly(&now.clearColour))
    return StaticLayerStart::kDrawOnly;
  for (KeptLayer& kept : g_kept)
    if (kept.valid && kept.when == now && Graphics.device->WritePicture(kept.picture)) {
      kept.lastUsed = ++g_uses;
      return StaticLayerStart::kCopied;
    }
  g_drawing = true;
  g_drawn = now;
  return StaticLayerStart::kDrawAndKeep;
}

void EndStaticLayer(const StaticLayerKey& key) {
  g_drawing = false;
  Circumstances after;
  if (!CurrentCircumstances(key, &after)) return;
  after.clearColour = g_drawn.clearColour;
  // A layer that changed a texture or a render state while drawing is not
  // the same picture next time.
  if (!(after == g_drawn)) return;
  KeptLayer* slot = &g_kept[0];
  for (KeptLayer& kept : g_kept)
    if (!kept.valid || kept.lastUsed < slot->lastUsed) slot = &kept;
  slot->picture.reset();  // the picture it replaces goes first (a whole back buffer each)
  slot->picture = Graphics.device->KeepPicture();
  slot->when = g_drawn;
  slot->valid = true;
  slot->lastUsed = ++g_uses;
  ++g_drawnCount;
}

void ForgetStaticLayers() {
  for (KeptLayer& kept : g_kept) kept = KeptLayer{};  // a scene that puts one back keeps it until drawn
  g_drawing = false;
}

int StaticLayersDrawn() { return g_drawnCount; }

size_t StaticLayerBytes() {
  size_t bytes = 0;
  for (const KeptLayer& kept : g_kept)
    if (kept.picture) bytes += kept.picture->pixels.capacity() * sizeof(uint32_t);
  return bytes;
}
