// Drawing: the display adapter, a device with its back buffer, textures with
// CPU-side pixels, and a sprite batch that draws textured quads through a 2D
// transformation. Drawing is done in software into the back buffer (so the
// picture is exact and can be read back anywhere, display or none) and the
// back buffer is shown in the window on Present, letterboxed in full screen.
//
// A scene is kept as what it draws (its clear or kept picture, then each
// quad with its texture's version and the render states) and drawn into the
// back buffer only when its pixels are needed: a scene that draws exactly
// what the last one drew leaves the back buffer as it is and is not sent to
// the window again, so a screen left alone costs no drawing; one that
// differs in a few quads is drawn again, and sent, only where they lie.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/window.h"

namespace platform {

enum PixelFormat : uint32_t {
  kFormatUnknown = 0,
  kFormatR8G8B8 = 20,
  kFormatA8R8G8B8 = 21,
  kFormatX8R8G8B8 = 22,
  kFormatR5G6B5 = 23,
  kFormatX1R5G5B5 = 24,
  kFormatP8 = 41,
};

struct DisplayMode {
  int width = 0, height = 0, refreshRate = 0;
  PixelFormat format = kFormatUnknown;
};

struct PresentParams {
  WindowHandle window = 0;
  int width = 0, height = 0;
  PixelFormat format = kFormatUnknown;
  bool windowed = true;
};

enum BlendFactor : uint32_t {
  kBlendZero = 1,
  kBlendOne = 2,
  kBlendSrcColour = 3,
  kBlendInvSrcColour = 4,
  kBlendSrcAlpha = 5,
  kBlendInvSrcAlpha = 6,
  kBlendDestAlpha = 7,
  kBlendInvDestAlpha = 8,
  kBlendDestColour = 9,
  kBlendInvDestColour = 10,
};

enum CompareFunc : uint32_t {
  kCompareNever = 1,
  kCompareLess = 2,
  kCompareEqual = 3,
  kCompareLessEqual = 4,
  kCompareGreater = 5,
  kCompareNotEqual = 6,
  kCompareGreaterEqual = 7,
  kCompareAlways = 8,
};

struct RenderStates {
  bool zEnable = false;
  bool alphaBlend = false;
  uint32_t srcBlend = kBlendOne;
  uint32_t dstBlend = kBlendZero;
  bool alphaTest = false;
  uint32_t alphaRef = 0;
  uint32_t alphaFunc = kCompareAlways;
  bool pointFilter = true;  // the only filter the game uses
  bool clampAddress = true;
  bool modulateDiffuse = true;
};

enum class DeviceState { kOk, kLost, kNeedsReset };

// A picture in video memory with a CPU copy: width and height are powers of
// two, texels 0xAARRGGBB. Texels are changed between Lock and Unlock. A
// texture made from a picture file keeps the file's bytes and decodes them
// the first time its texels are read or locked, so that pictures nobody
// draws cost only their compressed size.
class Texture {
 public:
  Texture(int width, int height);
  // From the bytes of a PNG file checked beforehand, of at most width by
  // height pixels: texels of exactly the colour key become transparent black.
  Texture(int width, int height, std::vector<uint8_t> picture, uint32_t colourKey);
  ~Texture();
  Texture(const Texture&) = delete;
  Texture& operator=(const Texture&) = delete;
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Scenes not yet drawn that show the texture are drawn first.
  uint32_t* Lock();
  void Unlock();
  const uint32_t* Pixels() const {
    Decode();
    return pixels_.data();
  }
  // Whether the texels are in memory (a picture not yet read has none).
  bool Decoded() const { return picture_.empty(); }
  // Which texels the texture holds: a number no other texture or version
  // had, new whenever it is made or unlocked.
  uint64_t Version() const { return version_; }
  // Whether every texel's alpha is 0 or 255, and the alphas some texel has,
  // one bit each (alpha a: bit a % 64 of word a / 64); found once per version.
  bool BinaryAlpha() const;
  const uint64_t* Alphas() const {
    CheckAlphas();
    return alphas_;
  }

 private:
  void Decode() const {
    if (!picture_.empty()) DecodePicture();
  }
  void DecodePicture() const;
  int width_, height_;
  mutable std::vector<uint32_t> pixels_;
  mutable std::vector<uint8_t> picture_;  // the PNG still to decode, if any
  uint32_t colourKey_ = 0;
  uint64_t version_ = 0;
  void CheckAlphas() const;
  mutable uint64_t alphaCheckedVersion_ = 0;
  mutable bool binaryAlpha_ = false;
  mutable uint64_t alphas_[4] = {};  // one bit for each alpha some texel has
};

// Moves on whenever any texture is unlocked or destroyed: a picture drawn
// from textures stays valid while this stays the same.
uint64_t TextureGeneration();

// Rounds up to the next power of two (1 for 0).
int RoundUpToPowerOfTwo(int n);

// A whole picture of a back buffer, kept as it was: its number is its own
// (no other picture, kept before or after, has it). A picture made of
// squares of blocks by blocks pixels of one colour (drawn at a display scale
// of 2 or 3) keeps one pixel of each square.
struct Picture {
  std::vector<uint32_t> pixels;
  uint64_t number = 0;
  int blocks = 1;
};
std::shared_ptr<const Picture> MakePicture(std::vector<uint32_t> pixels);

// Loads a picture file at its size rounded up to powers of two (the image in
// the top-left corner, the rest transparent black); texels of exactly the
// colour key become transparent black. Null when the file is missing or
// damaged: it is checked whole here, and its picture read when first drawn.
std::unique_ptr<Texture> LoadTextureFile(const char* path, uint32_t colourKey);

// A 2D affine transformation applied to row vectors: (x, y) ->
// (x m11 + y m21 + dx, x m12 + y m22 + dy).
struct Matrix2D {
  float m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
};
// Scaling about the origin, then rotation (radians, clockwise on screen) about
// a centre, then translation.
Matrix2D Transformation2D(float scaleX, float scaleY, float centreX, float centreY, float rotation,
                          float translateX, float translateY);

struct SourceRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// A rectangle of back-buffer pixels, x0 to x1 and y0 to y1 (the ends outside).
struct PixelArea {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  bool Empty() const { return x0 >= x1 || y0 >= y1; }
};

struct KeptGains;

class RenderDevice {
 public:
  ~RenderDevice();
  bool Reset(const PresentParams& params);
  DeviceState TestState();
  bool Clear(uint32_t argb);
  bool BeginScene();
  bool EndScene();
  // Sends the picture to the window unless it shows it already.
  bool Present();
  // Sends the picture last presented again when the window has lost it
  // (exposed while no frame is drawn), unless the back buffer has changed
  // since; false when there is nothing to show.
  bool ShowAgain();
  RenderStates& States() { return states_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Windowed() const { return params_.windowed; }
  bool Hardware() const { return hardware_; }
  PixelFormat Format() const { return params_.format; }
  // The back buffer's pixels, the scene drawn into them first.
  const uint32_t* Pixels() const;
  int PresentCount() const { return presents_; }
  // How many times the back buffer was drawn (a scene or part of one).
  int DrawCount() const { return draws_; }
  bool InScene() const { return inScene_; }

  // Draws the source rectangle of a texture, mapped through the matrix, in
  // the colour (multiplied with the texels), honouring the render states.
  // The texture must stay as it is until the scene is drawn: locking or
  // destroying it draws the scene first.
  void DrawQuad(const Texture& texture, const SourceRect& src, const Matrix2D& m, uint32_t colour);

  // Whole pictures of the back buffer, for layers drawn once and copied
  // again: whether nothing has been drawn since the last Clear (and its
  // colour), the picture kept, a copy of it, and a kept picture of the same
  // size put back (as a Clear, it starts the scene anew).
  bool ClearedOnly(uint32_t* colour) const;
  std::shared_ptr<const Picture> KeepPicture() const;
  void ReadPicture(std::vector<uint32_t>* out) const;
  bool WritePicture(std::shared_ptr<const Picture> picture);

  // Forgets that the back buffer and the window show the last scene: the
  // next scene is drawn and sent whole (benchmarks of whole frames).
  void ForgetShownPicture();

  // Draws whatever of the scene is not yet in the back buffer.
  void Flush();
  // Whether a scene not yet drawn shows the texture.
  bool WaitsToDraw(const Texture* texture) const;

 private:
  friend class DisplayAdapter;
  RenderDevice();
  bool Apply(const PresentParams& params);

  // One quad of a scene: everything its pixels depend on, and the part of
  // the back buffer it covers. Two quads draw the same pixels when their
  // bytes are the same (there are no gaps between the fields).
  struct Quad {
    const Texture* texture;
    uint64_t version;
    Matrix2D m;
    SourceRect src;
    uint32_t colour;
    uint32_t blendAndTest;  // bit 0 alpha blending, bit 1 the alpha test
    uint32_t srcBlend, dstBlend, alphaRef, alphaFunc;
    int32_t x0, y0, x1, y1;
  };
  static_assert(sizeof(Quad) == 96, "a quad's fields leave no gaps");
  // A scene: what it starts from (a clear colour or a kept picture), then its quads.
  struct Scene {
    uint32_t clearColour = 0xFF000000u;
    std::shared_ptr<const Picture> picture;
    uint64_t pictureNumber = 0;  // 0: the clear colour
    std::vector<Quad> quads;
    bool SameStart(const Scene& other) const;
  };
  void StartScene();
  static bool SameQuad(const Quad& a, const Quad& b);
  void FindAreasUnlikeHeld(std::vector<PixelArea>* areas);
  void FindQuadsMeeting(const std::vector<PixelArea>& areas);
  void DrawSceneIn(const PixelArea& area, const std::vector<uint32_t>* listed = nullptr);
  void PutBack(const Picture& picture, const PixelArea& area);
  void PutBackWhereTouched(const Picture& picture, const PixelArea& area);
  void Touch(const PixelArea& area);
  void DrawQuadIn(const Quad& q, const PixelArea& area);
  const uint8_t* AlphaTestTable(const RenderStates& st);
  void DrawScaledQuad(const Texture& texture, const SourceRect& src, const Matrix2D& m, uint32_t colour,
                      const RenderStates& st, int x0, int y0, int x1, int y1);
  // An additive quad's kept gains, and its kept spread of them added in the
  // area (false for a quad too large to keep one).
  KeptGains& AdditiveGains(const Texture& texture, const SourceRect& src, uint32_t colour, const RenderStates& st);
  bool AddSpreadGains(KeptGains& kept, const SourceRect& src, const Matrix2D& m, int x0, int y0, int x1, int y1);
  // Where the back buffer can differ when an additive quad is drawn whole
  // pixels away from where it was, all else of it alike: the pixels whose
  // gains differ, as areas apart (false when the quads differ otherwise).
  bool MovedGlowAreas(const Quad& was, const Quad& now, std::vector<PixelArea>* out);
  // The part of a source rectangle whose texels have some alpha (empty when
  // none has), found once for each version of the texture.
  SourceRect ShownTexels(const Texture& texture, const SourceRect& src);
  void DrawTurnedQuad(const Texture& texture, const SourceRect& src, const Matrix2D& m, uint32_t colour,
                      const RenderStates& st, int x0, int y0, int x1, int y1, double det);

  PresentParams params_;
  bool hardware_ = false;
  int width_ = 0, height_ = 0;
  std::vector<uint32_t> pixels_;
  // The scene being recorded; how many of its quads the back buffer holds
  // (when it holds the scene's start at all); what the back buffer held
  // before the scene began, and a number that moves on whenever the back
  // buffer's pixels change.
  Scene scene_;
  bool sceneStarted_ = false;
  size_t quadsDrawn_ = 0;
  Scene held_;
  bool heldKnown_ = false;
  bool forgetHeld_ = false;  // the scene being drawn is not to be known as held
  uint64_t pictureSerial_ = 1;
  // The picture last presented, and the pixels changed since (areas that
  // do not overlap).
  uint64_t presentedSerial_ = 0;
  std::vector<PixelArea> changed_;
  std::vector<PixelArea> unlike_, moved_;  // scratch of Flush
  std::vector<uint8_t> cells_;
  std::vector<uint32_t> meeting_;
  // The kept picture the back buffer holds (0: none) but in the tiles of
  // kTile by kTile pixels quads have drawn on since it was put back whole:
  // putting it back again copies those tiles alone.
  static constexpr int kTile = 16;
  uint64_t pictureUnder_ = 0;
  int tilesWide_ = 0;
  std::vector<uint8_t> touched_;
  bool clearedOnly_ = false;
  // Textures multiplied by a colour, kept for the unscaled quads that draw
  // the same picture in the same colour many times (the glyphs of text).
  struct TintedTexture {
    const Texture* source = nullptr;
    uint64_t version = 0;
    uint32_t colour = 0;
    std::vector<uint32_t> texels;
    bool binaryAlpha = false;
    uint64_t lastUsed = 0;
  };
  static constexpr int kTintedTextures = 8;
  const TintedTexture& Tinted(const Texture& texture, uint32_t colour);
  TintedTexture tinted_[kTintedTextures];
  uint64_t tintUses_ = 0;
  // The shown parts of the source rectangles quads drew, four places for
  // each hash of texture, version and rectangle.
  struct ShownPart {
    const Texture* texture = nullptr;
    uint64_t version = 0;
    SourceRect src, shown;
    uint64_t lastUsed = 0;
  };
  static constexpr int kShownParts = 1024;
  ShownPart shownParts_[kShownParts];
  uint64_t shownUses_ = 0;

  // Scratch of the quad drawing: a texel column per back-buffer column, a
  // texel row per back-buffer row, and two rows of texels.
  std::vector<int> columnTexels_, rowsMapped_;
  std::vector<uint32_t> rowTexels_;
  // Which alphas pass the alpha test, for the reference and function below.
  uint8_t alphaPasses_[256] = {};
  uint64_t alphasTurnedAway_[4] = {};  // the same, one bit for each alpha that fails
  uint32_t alphaTableRef_ = 0, alphaTableFunc_ = 0;
  RenderStates states_;
  bool inScene_ = false;
  bool wasLost_ = false;
  int presents_ = 0;
  int draws_ = 0;
};

// The adapter: desktop mode, device capabilities and device creation.
class DisplayAdapter {
 public:
  bool GetDesktopMode(DisplayMode* mode);
  // Whether a device of this kind (hardware or the software reference) can
  // show this back-buffer format.
  bool CheckDeviceType(bool hardware, PixelFormat format, bool windowed);
  std::unique_ptr<RenderDevice> CreateDevice(bool hardware, const PresentParams& params);
};
std::unique_ptr<DisplayAdapter> CreateDisplayAdapter();

// How pictures reach the window: "software", or "accelerated" with SDL's
// renderer and OpenGL's driver; empty before the first picture was shown.
const std::string& PresentationPath();
// The display's refresh period where the window shows its pictures, in
// microseconds (60 a second when the display reports no rate); 0 when no
// picture is shown (headless).
int64_t DisplayRefreshMicroseconds(WindowHandle w);
// How many pictures a renderer has shown in step with the display, waiting
// for its refresh: a frame whose picture waited so was paced by the display.
uint64_t PicturesInStepWithDisplay();
// When the first picture reached a window, in nanoseconds of the steady
// clock (std::chrono::steady_clock, never the manual clock); 0 before.
int64_t FirstPresentTime();
// For tests: pictures are shown in the (dummy) window headless too (which
// then also goes full screen as on a display), and what the window shows on
// the software path, its drawing area of width by height, is read back
// (false elsewhere).
void PresentWhileHeadless(bool on);
bool WindowPicture(WindowHandle w, std::vector<uint32_t>* out, int* width = nullptr, int* height = nullptr);
// Where the window shows its last picture: the rectangle of its drawing area
// the back buffer was put into (false before a picture was shown).
bool ShownPicturePlace(WindowHandle w, int* x, int* y, int* width, int* height);

// For tests: make the adapter refuse a back-buffer format in full screen, as a
// display that cannot show it would.
void RefuseFullScreenFormat(PixelFormat format, bool refuse);

// Bits per pixel of a format: 8, 16, 24 or 32; 0 for a format outside the map.
int BitsPerPixel(PixelFormat format);

// Draws textures through one device (which keeps the quads until their
// pixels are needed); flushing only orders the work callers do between draws.
class SpriteBatch {
 public:
  explicit SpriteBatch(RenderDevice* device) : device_(device) {}
  bool Begin(bool alphaBlend);
  bool End();
  bool Flush();
  bool Draw(const Texture* texture, const SourceRect* src, const Matrix2D& transform, uint32_t colour);
  bool Active() const { return active_; }
  RenderDevice* Device() const { return device_; }

 private:
  RenderDevice* device_;
  bool active_ = false;
};

}  // namespace platform
