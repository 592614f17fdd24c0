#include "platform/render.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <cstring>
#include <set>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "platform/image.h"
#include "platform/internal.h"
#include "platform/system.h"

namespace platform {
namespace {

std::set<uint32_t> g_refusedFullScreen;
// Every device, so that a texture about to change has the scenes that show
// it drawn first (never destroyed: textures may go after other statics).
std::vector<RenderDevice*>& Devices() {
  static auto* devices = new std::vector<RenderDevice*>;
  return *devices;
}
uint64_t g_pictureNumbers = 0;

// A texture is about to change or go: scenes that still have to draw it are drawn now.
void DrawScenesShowing(const Texture* texture) {
  for (RenderDevice* device : Devices())
    if (device->WaitsToDraw(texture)) device->Flush();
}

PixelFormat FormatOf(uint32_t sdlFormat) {
  switch (SDL_BYTESPERPIXEL(sdlFormat)) {
    case 4: return kFormatX8R8G8B8;
    case 3: return kFormatR8G8B8;
    case 2: return SDL_BITSPERPIXEL(sdlFormat) == 15 ? kFormatX1R5G5B5 : kFormatR5G6B5;
    case 1: return kFormatP8;
    default: return kFormatUnknown;
  }
}

uint64_t g_textureGeneration = 0;
uint64_t g_textureVersions = 0;

}  // namespace

int RoundUpToPowerOfTwo(int n) {
  int p = 1;
  while (p < n) p <<= 1;
  return p;
}

uint64_t TextureGeneration() { return g_textureGeneration; }

std::shared_ptr<const Picture> MakePicture(std::vector<uint32_t> pixels) {
  auto picture = std::make_shared<Picture>();
  picture->pixels = std::move(pixels);
  picture->number = ++g_pictureNumbers;
  return picture;
}

// A texture made new has a version no texture had before; no picture drawn
// earlier can show it, so the generation stays.
Texture::Texture(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, 0u),
      version_(++g_textureVersions) {}

Texture::Texture(int width, int height, std::vector<uint8_t> picture, uint32_t colourKey)
    : width_(width), height_(height), picture_(std::move(picture)), colourKey_(colourKey),
      version_(++g_textureVersions) {}

void Texture::DecodePicture() const {
  const std::vector<uint8_t> png = std::move(picture_);
  picture_.clear();
  pixels_.assign(static_cast<size_t>(width_) * height_, 0u);
  int w = 0, h = 0;
  const bool read =
      LoadPngFromMemoryInto(png.data(), png.size(), &w, &h, [&](int width, int height, int* stride) -> uint32_t* {
        if (width > width_ || height > height_) return nullptr;
        *stride = width_;
        return pixels_.data();
      });
  if (!read) {
    // The file was checked whole: its picture data itself is damaged.
    std::fprintf(stderr, "A picture could not be decoded; it stays transparent\n");
    std::fill(pixels_.begin(), pixels_.end(), 0u);
    return;
  }
  for (int y = 0; y < h; ++y)
    for (uint32_t *p = pixels_.data() + static_cast<size_t>(y) * width_, *end = p + w; p != end; ++p)
      if (*p == colourKey_) *p = 0u;
}

Texture::~Texture() {
  DrawScenesShowing(this);
  ++g_textureGeneration;
}

uint32_t* Texture::Lock() {
  DrawScenesShowing(this);
  Decode();
  return pixels_.data();
}

void Texture::Unlock() {
  version_ = ++g_textureVersions;
  ++g_textureGeneration;
}

void Texture::CheckAlphas() const {
  if (alphaCheckedVersion_ == version_) return;
  Decode();
  std::fill(std::begin(alphas_), std::end(alphas_), 0);
  for (uint32_t t : pixels_) alphas_[t >> 30] |= uint64_t{1} << (t >> 24 & 63);
  alphaCheckedVersion_ = version_;
  // No alpha but 0 (bit 0 of the first word) and 255 (bit 63 of the last).
  binaryAlpha_ = (alphas_[0] & ~uint64_t{1}) == 0 && alphas_[1] == 0 && alphas_[2] == 0 &&
                 (alphas_[3] & ~(uint64_t{1} << 63)) == 0;
}

bool Texture::BinaryAlpha() const {
  CheckAlphas();
  return binaryAlpha_;
}

std::unique_ptr<Texture> LoadTextureFile(const char* path, uint32_t colourKey) {
  int w = 0, h = 0;
  std::vector<uint8_t> png;
  if (!path || !CheckPngFile(path, &w, &h, &png)) return nullptr;
  return std::make_unique<Texture>(RoundUpToPowerOfTwo(w), RoundUpToPowerOfTwo(h), std::move(png), colourKey);
}

Matrix2D Transformation2D(float sx, float sy, float cx, float cy, float rotation, float tx, float ty) {
  // Scale, move the rotation centre to the origin, rotate, move it back, translate.
  // No turn (the usual case) needs no cosine or sine.
  const bool unturned = rotation == 0.0f && !std::signbit(rotation);
  const float c = unturned ? 1.0f : std::cos(rotation), s = unturned ? 0.0f : std::sin(rotation);
  Matrix2D m;
  m.m11 = sx * c;
  m.m12 = sx * s;
  m.m21 = -sy * s;
  m.m22 = sy * c;
  m.dx = -cx * c + cy * s + cx + tx;
  m.dy = -cx * s - cy * c + cy + ty;
  return m;
}

int BitsPerPixel(PixelFormat format) {
  switch (format) {
    case kFormatA8R8G8B8:
    case kFormatX8R8G8B8: return 32;
    case kFormatR8G8B8: return 24;
    case kFormatR5G6B5:
    case kFormatX1R5G5B5: return 16;
    case kFormatP8: return 8;
    default: return 0;
  }
}

void RefuseFullScreenFormat(PixelFormat format, bool refuse) {
  if (refuse)
    g_refusedFullScreen.insert(format);
  else
    g_refusedFullScreen.erase(format);
}

std::unique_ptr<DisplayAdapter> CreateDisplayAdapter() {
  if (!InitPlatform()) return nullptr;
  return std::make_unique<DisplayAdapter>();
}

bool DisplayAdapter::GetDesktopMode(DisplayMode* mode) {
  SDL_DisplayMode m;
  if (!mode || SDL_GetDesktopDisplayMode(0, &m) != 0) return false;
  mode->width = m.w;
  mode->height = m.h;
  mode->refreshRate = m.refresh_rate;
  mode->format = FormatOf(m.format);
  return true;
}

bool DisplayAdapter::CheckDeviceType(bool hardware, PixelFormat format, bool windowed) {
  if (BitsPerPixel(format) == 0) return false;
  if (!windowed && g_refusedFullScreen.count(format)) return false;
  if (hardware) return !IsHeadless();
  return true;  // the software device shows every format
}

std::unique_ptr<RenderDevice> DisplayAdapter::CreateDevice(bool hardware, const PresentParams& params) {
  if (!IsAppWindow(params.window)) return nullptr;
  std::unique_ptr<RenderDevice> device(new RenderDevice());
  device->hardware_ = hardware;
  if (!device->Apply(params)) return nullptr;
  return device;
}

RenderDevice::RenderDevice() { Devices().push_back(this); }

RenderDevice::~RenderDevice() {
  Devices().erase(std::find(Devices().begin(), Devices().end(), this));
  DropPresenter(params_.window);
}

bool RenderDevice::Apply(const PresentParams& params) {
  if (params.width <= 0 || params.height <= 0 || !IsAppWindow(params.window)) return false;
  if (params_.window && params_.window != params.window) DropPresenter(params_.window);
  if (!IsHeadless() || ShowsPicturesHeadless()) SetWindowFullScreen(params.window, !params.windowed);
  params_ = params;
  width_ = params.width;
  height_ = params.height;
  // A black back buffer: the scene of a black clear, already drawn.
  pixels_.assign(static_cast<size_t>(width_) * height_, 0xFF000000u);
  scene_ = Scene();
  held_ = Scene();
  heldKnown_ = true;
  sceneStarted_ = false;
  quadsDrawn_ = 0;
  ++pictureSerial_;
  presentedSerial_ = 0;
  changed_.clear();
  clearedOnly_ = false;
  pictureUnder_ = 0;
  tilesWide_ = (width_ + kTile - 1) / kTile;
  touched_.assign(static_cast<size_t>(tilesWide_) * ((height_ + kTile - 1) / kTile), 0);
  columnTexels_.assign(static_cast<size_t>(width_), 0);
  rowTexels_.assign(static_cast<size_t>(width_) * 2, 0u);
  rowsMapped_.assign(static_cast<size_t>(height_), 0);
  ExpectPicture(params.window, width_, height_);  // shown anew at the next Present, at the new size
  wasLost_ = false;
  inScene_ = false;
  return true;
}

bool RenderDevice::Reset(const PresentParams& params) { return Apply(params); }

// A full-screen device is lost while its window lacks the focus (the window
// has left full screen for the desktop) and is reset when the focus is back.
DeviceState RenderDevice::TestState() {
  if (IsWindowMinimised(params_.window) || (!params_.windowed && GetFocusWindow() != params_.window)) {
    wasLost_ = true;
    return DeviceState::kLost;
  }
  return wasLost_ ? DeviceState::kNeedsReset : DeviceState::kOk;
}

bool RenderDevice::Scene::SameStart(const Scene& other) const {
  return pictureNumber == other.pictureNumber && (pictureNumber != 0 || clearColour == other.clearColour);
}

// A new scene begins; what the back buffer holds of the one before is kept
// in mind.
void RenderDevice::StartScene() {
  if (sceneStarted_) {
    scene_.quads.resize(quadsDrawn_);
    std::swap(held_, scene_);
    held_.picture.reset();  // known by its number alone
    heldKnown_ = !forgetHeld_;
    forgetHeld_ = false;
  }
  scene_.picture.reset();
  scene_.pictureNumber = 0;
  scene_.quads.clear();
  sceneStarted_ = false;
  quadsDrawn_ = 0;
}

namespace {

void Include(PixelArea* area, int x0, int y0, int x1, int y1) {
  if (x0 >= x1 || y0 >= y1) return;
  if (area->Empty()) {
    *area = PixelArea{x0, y0, x1, y1};
    return;
  }
  area->x0 = std::min(area->x0, x0);
  area->y0 = std::min(area->y0, y0);
  area->x1 = std::max(area->x1, x1);
  area->y1 = std::max(area->y1, y1);
}

bool Overlap(const PixelArea& a, const PixelArea& b) {
  return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

// Adds a rectangle to areas that do not overlap: it takes in every area it
// meets (and their union, every area that one meets, and so on); past the
// most areas kept, all become one.
void AddArea(std::vector<PixelArea>* areas, PixelArea a) {
  if (a.Empty()) return;
  constexpr size_t kMostAreas = 64;
  for (bool merged = true; merged;) {
    merged = false;
    for (size_t i = 0; i < areas->size(); ++i)
      if (Overlap((*areas)[i], a)) {
        Include(&a, (*areas)[i].x0, (*areas)[i].y0, (*areas)[i].x1, (*areas)[i].y1);
        (*areas)[i] = areas->back();
        areas->pop_back();
        merged = true;
        break;
      }
  }
  if (areas->size() == kMostAreas) {
    for (const PixelArea& b : *areas) Include(&a, b.x0, b.y0, b.x1, b.y1);
    areas->clear();
  }
  areas->push_back(a);
}

}  // namespace

bool RenderDevice::SameQuad(const Quad& a, const Quad& b) { return std::memcmp(&a, &b, sizeof(Quad)) == 0; }

// Where the scene may differ from the one the back buffer holds, as areas
// that do not overlap (none when the two are the same scene). Two scenes of
// as many quads differ only where a quad differs from the one in its place
// (a glow moved by whole pixels, only where its gains differ); otherwise the
// quads they have alike at their beginning and their end draw the same
// pixels, and only the places of the others can differ.
void RenderDevice::FindAreasUnlikeHeld(std::vector<PixelArea>* areas) {
  areas->clear();
  const std::vector<Quad>& was = held_.quads;
  const std::vector<Quad>& now = scene_.quads;
  const auto place = [](const Quad& q) { return PixelArea{q.x0, q.y0, q.x1, q.y1}; };
  if (was.size() == now.size()) {
    for (size_t i = 0; i < now.size(); ++i) {
      if (SameQuad(was[i], now[i])) continue;
      if (MovedGlowAreas(was[i], now[i], &moved_)) {
        for (const PixelArea& a : moved_) AddArea(areas, a);
        continue;
      }
      AddArea(areas, place(was[i]));
      AddArea(areas, place(now[i]));
    }
    return;
  }
  size_t first = 0;
  while (first < was.size() && first < now.size() && SameQuad(was[first], now[first])) ++first;
  size_t last = 0;
  while (first + last < was.size() && first + last < now.size() &&
         SameQuad(was[was.size() - 1 - last], now[now.size() - 1 - last]))
    ++last;
  for (size_t i = first; i + last < was.size(); ++i) AddArea(areas, place(was[i]));
  for (size_t i = first; i + last < now.size(); ++i) AddArea(areas, place(now[i]));
}

void RenderDevice::Flush() {
  if (!sceneStarted_) {
    sceneStarted_ = true;
    quadsDrawn_ = scene_.quads.size();
    if (heldKnown_ && held_.SameStart(scene_)) {
      FindAreasUnlikeHeld(&unlike_);
      if (unlike_.empty()) return;  // the back buffer holds this very scene
      // Changes in small parts of the picture (something animated on a
      // still screen) are drawn there alone.
      int64_t pixels = 0;
      for (const PixelArea& a : unlike_) pixels += static_cast<int64_t>(a.x1 - a.x0) * (a.y1 - a.y0);
      if (pixels * 2 < static_cast<int64_t>(width_) * height_) {
        FindQuadsMeeting(unlike_);
        for (const PixelArea& a : unlike_) DrawSceneIn(a, &meeting_);
        ++pictureSerial_;
        ++draws_;
        return;
      }
    }
    DrawSceneIn(PixelArea{0, 0, width_, height_});
    ++pictureSerial_;
    ++draws_;
    return;
  }
  if (quadsDrawn_ == scene_.quads.size()) return;
  for (; quadsDrawn_ < scene_.quads.size(); ++quadsDrawn_) {
    const Quad& q = scene_.quads[quadsDrawn_];
    DrawQuadIn(q, PixelArea{q.x0, q.y0, q.x1, q.y1});
    AddArea(&changed_, PixelArea{q.x0, q.y0, q.x1, q.y1});
  }
  ++pictureSerial_;
  ++draws_;
}

// The quads of the scene that may meet one of the areas: those on a cell of
// kCell by kCell pixels that one of them reaches.
void RenderDevice::FindQuadsMeeting(const std::vector<PixelArea>& areas) {
  constexpr int kCell = 32;
  const int cellsWide = (width_ + kCell - 1) / kCell;
  cells_.assign(static_cast<size_t>(cellsWide) * ((height_ + kCell - 1) / kCell), 0);
  for (const PixelArea& a : areas)
    for (int cy = a.y0 / kCell; cy <= (a.y1 - 1) / kCell; ++cy)
      std::fill_n(cells_.data() + static_cast<size_t>(cy) * cellsWide + a.x0 / kCell,
                  (a.x1 - 1) / kCell - a.x0 / kCell + 1, uint8_t{1});
  meeting_.clear();
  for (size_t i = 0; i < scene_.quads.size(); ++i) {
    const Quad& q = scene_.quads[i];
    bool meets = false;
    for (int cy = q.y0 / kCell; cy <= (q.y1 - 1) / kCell && !meets; ++cy)
      for (int cx = q.x0 / kCell; cx <= (q.x1 - 1) / kCell && !meets; ++cx)
        meets = cells_[static_cast<size_t>(cy) * cellsWide + cx] != 0;
    if (meets) meeting_.push_back(static_cast<uint32_t>(i));
  }
}

// The scene's start and every quad of it (of those listed, when a list is
// given), within the area alone.
void RenderDevice::DrawSceneIn(const PixelArea& area, const std::vector<uint32_t>* listed) {
  if (scene_.picture) {
    PutBackWhereTouched(*scene_.picture, area);
  } else {
    pictureUnder_ = 0;
    for (int y = area.y0; y < area.y1; ++y) {
      uint32_t* row = pixels_.data() + static_cast<size_t>(y) * width_;
      std::fill(row + area.x0, row + area.x1, scene_.clearColour);
    }
  }
  const auto drawPart = [&](const Quad& q) {
    const PixelArea part{std::max(q.x0, area.x0), std::max(q.y0, area.y0), std::min(q.x1, area.x1),
                         std::min(q.y1, area.y1)};
    if (!part.Empty()) DrawQuadIn(q, part);
  };
  if (listed)
    for (uint32_t i : *listed) drawPart(scene_.quads[i]);
  else
    for (const Quad& q : scene_.quads) drawPart(q);
  AddArea(&changed_, area);
}

bool RenderDevice::WaitsToDraw(const Texture* texture) const {
  for (size_t i = sceneStarted_ ? quadsDrawn_ : 0; i < scene_.quads.size(); ++i)
    if (scene_.quads[i].texture == texture) return true;
  return false;
}

void RenderDevice::ForgetShownPicture() {
  heldKnown_ = false;
  forgetHeld_ = sceneStarted_;
  presentedSerial_ = 0;
}

bool RenderDevice::Clear(uint32_t argb) {
  StartScene();
  scene_.clearColour = argb | 0xFF000000u;
  clearedOnly_ = true;
  return true;
}

const uint32_t* RenderDevice::Pixels() const {
  const_cast<RenderDevice*>(this)->Flush();
  return pixels_.data();
}

bool RenderDevice::ClearedOnly(uint32_t* colour) const {
  if (clearedOnly_ && colour) *colour = scene_.clearColour;
  return clearedOnly_;
}

namespace {

// Whether the picture is made of squares of blocks by blocks pixels of one colour.
bool MadeOfBlocks(const uint32_t* pixels, int width, int height, int blocks) {
  if (width % blocks != 0 || height % blocks != 0) return false;
  for (int y = 0; y < height; y += blocks) {
    const uint32_t* row = pixels + static_cast<size_t>(y) * width;
    for (int x = 0; x < width; x += blocks)
      for (int k = 1; k < blocks; ++k)
        if (row[x + k] != row[x]) return false;
    for (int k = 1; k < blocks; ++k)
      if (std::memcmp(row + static_cast<size_t>(k) * width, row, static_cast<size_t>(width) * 4) != 0) return false;
  }
  return true;
}

}  // namespace

std::shared_ptr<const Picture> RenderDevice::KeepPicture() const {
  const uint32_t* pixels = Pixels();
  for (int blocks : {3, 2}) {
    if (!MadeOfBlocks(pixels, width_, height_, blocks)) continue;
    std::vector<uint32_t> kept(pixels_.size() / (blocks * blocks));
    uint32_t* out = kept.data();
    for (int y = 0; y < height_; y += blocks)
      for (int x = 0; x < width_; x += blocks) *out++ = pixels[static_cast<size_t>(y) * width_ + x];
    auto picture = std::const_pointer_cast<Picture>(MakePicture(std::move(kept)));
    picture->blocks = blocks;
    return picture;
  }
  return MakePicture(std::vector<uint32_t>(pixels, pixels + pixels_.size()));
}

// A kept picture into an area of the back buffer, each of its pixels a
// square of blocks.
void RenderDevice::PutBack(const Picture& picture, const PixelArea& area) {
  const int b = picture.blocks;
  const int keptWidth = width_ / b;
  const size_t span = static_cast<size_t>(area.x1 - area.x0);
  for (int y = area.y0; y < area.y1; ++y) {
    const uint32_t* in = picture.pixels.data() + static_cast<size_t>(y / b) * keptWidth;
    uint32_t* row = pixels_.data() + static_cast<size_t>(y) * width_;
    if (b == 1) {
      std::memcpy(row + area.x0, in + area.x0, span * 4);
    } else if (y > area.y0 && y % b != 0) {
      std::memcpy(row + area.x0, row - width_ + area.x0, span * 4);  // the row above came from the same kept row
    } else {
      // Each kept pixel over its b columns, the area's ends cut.
      uint32_t* out = row + area.x0;
      int x = area.x0;
#ifdef __SSE2__
      if (b == 2) {  // four kept pixels (eight of the back buffer) at a time
        if (x % 2 != 0) *out++ = in[x++ / 2];
        for (; x + 8 <= area.x1; x += 8, out += 8) {
          const __m128i kept = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x / 2));
          _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi32(kept, kept));
          _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4), _mm_unpackhi_epi32(kept, kept));
        }
      } else if (b == 3) {  // four kept pixels (twelve of the back buffer) at a time
        for (; x % 3 != 0 && x < area.x1; ++x) *out++ = in[x / 3];
        for (; x + 12 <= area.x1; x += 12, out += 12) {
          const __m128i kept = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x / 3));
          _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi32(kept, _MM_SHUFFLE(1, 0, 0, 0)));
          _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4), _mm_shuffle_epi32(kept, _MM_SHUFFLE(2, 2, 1, 1)));
          _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_shuffle_epi32(kept, _MM_SHUFFLE(3, 3, 3, 2)));
        }
      }
#endif
      for (const uint32_t *p = in + x / b, *end = in + (area.x1 - 1) / b + 1; x < area.x1 && p != end; ++p) {
        const int upTo = std::min(area.x1, (static_cast<int>(p - in) + 1) * b);
        for (; x < upTo; ++x) *out++ = *p;
      }
    }
  }
}

// A kept picture into an area: where the back buffer holds it already (it
// was put back whole and no quad has drawn there since) nothing is copied.
void RenderDevice::PutBackWhereTouched(const Picture& picture, const PixelArea& area) {
  if (picture.number != pictureUnder_) {
    PutBack(picture, area);
    const bool whole = area.x0 == 0 && area.y0 == 0 && area.x1 == width_ && area.y1 == height_;
    pictureUnder_ = whole ? picture.number : 0;
    if (whole) std::fill(touched_.begin(), touched_.end(), 0);
    return;
  }
  for (int ty = area.y0 / kTile; ty * kTile < area.y1; ++ty) {
    uint8_t* tiles = touched_.data() + static_cast<size_t>(ty) * tilesWide_;
    const int top = ty * kTile, bottom = std::min(height_, top + kTile);
    // A tile wholly inside the area holds the picture again once it is copied.
    const bool rowsInside = top >= area.y0 && bottom <= area.y1;
    for (int tx = area.x0 / kTile; tx * kTile < area.x1;) {
      if (!tiles[tx]) {
        ++tx;
        continue;
      }
      const int first = tx;
      for (; tx * kTile < area.x1 && tiles[tx]; ++tx)
        if (rowsInside && tx * kTile >= area.x0 && std::min(width_, (tx + 1) * kTile) <= area.x1) tiles[tx] = 0;
      PutBack(picture, PixelArea{std::max(area.x0, first * kTile), std::max(area.y0, top),
                                 std::min(area.x1, tx * kTile), std::min(area.y1, bottom)});
    }
  }
}

// Quads drew in the area: the picture under them is there no more.
void RenderDevice::Touch(const PixelArea& area) {
  if (pictureUnder_ == 0 || area.Empty()) return;
  for (int ty = area.y0 / kTile; ty <= (area.y1 - 1) / kTile; ++ty)
    std::fill_n(touched_.data() + static_cast<size_t>(ty) * tilesWide_ + area.x0 / kTile,
                (area.x1 - 1) / kTile - area.x0 / kTile + 1, uint8_t{1});
}

void RenderDevice::ReadPicture(std::vector<uint32_t>* out) const {
  const uint32_t* pixels = Pixels();
  out->assign(pixels, pixels + pixels_.size());
}

bool RenderDevice::WritePicture(std::shared_ptr<const Picture> picture) {
  if (!picture || picture->blocks < 1 || width_ % picture->blocks != 0 || height_ % picture->blocks != 0 ||
      picture->pixels.size() * picture->blocks * picture->blocks != pixels_.size())
    return false;
  StartScene();
  scene_.pictureNumber = picture->number;
  scene_.picture = std::move(picture);
  clearedOnly_ = false;
  return true;
}

bool RenderDevice::BeginScene() {
  if (inScene_) return false;
  inScene_ = true;
  return true;
}

bool RenderDevice::EndScene() {
  if (!inScene_) return false;
  inScene_ = false;
  Flush();
  return true;
}

bool RenderDevice::Present() {
  if (wasLost_ || IsWindowMinimised(params_.window)) return false;
  ++presents_;
  Flush();
  const ShownPicture shown{pixels_.data(), width_, height_, pictureSerial_, presentedSerial_, &changed_};
  const bool sent = ShowPicture(params_.window, shown);
  changed_.clear();
  presentedSerial_ = pictureSerial_;
  return sent;
}

bool RenderDevice::ShowAgain() {
  if (presentedSerial_ == 0 || presentedSerial_ != pictureSerial_ || IsWindowMinimised(params_.window)) return false;
  const ShownPicture shown{pixels_.data(), width_, height_, pictureSerial_, presentedSerial_, &changed_};
  return ShowPicture(params_.window, shown);
}

bool SpriteBatch::Begin(bool alphaBlend) {
  if (!device_ || active_) return false;
  active_ = true;
  if (alphaBlend) {
    RenderStates& st = device_->States();
    st.alphaBlend = true;
    st.srcBlend = kBlendSrcAlpha;
    st.dstBlend = kBlendInvSrcAlpha;
  }
  return true;
}

bool SpriteBatch::End() {
  if (!active_) return false;
  active_ = false;
  return true;
}

bool SpriteBatch::Flush() { return active_; }

bool SpriteBatch::Draw(const Texture* texture, const SourceRect* src, const Matrix2D& transform,
                       uint32_t colour) {
  if (!device_ || !texture) return false;
  SourceRect r{0, 0, texture->Width(), texture->Height()};
  if (src) r = *src;
  device_->DrawQuad(*texture, r, transform, colour);
  return true;
}

}  // namespace platform
