// The graphics object: the device, the one sprite through which every picture
// element is drawn, the display scale, and the three blits that sprite sheets,
// text and widgets rest on. All screens draw in a logical picture of 320 by
// 240 pixels, turned into device pixels by an integer display scale.
#pragma once
#include <cstdint>
#include <memory>

#include "platform/render.h"
#include "platform/window.h"

struct GraphicsObject {
  platform::WindowHandle window = 0;
  std::unique_ptr<platform::DisplayAdapter> adapter;  // created at start-up
  std::unique_ptr<platform::RenderDevice> device;
  std::unique_ptr<platform::SpriteBatch> sprite;
  platform::DisplayMode desktop;
  uint8_t windowed = 1;
  uint8_t depthBuffer = 0;
  uint8_t hardwareDevice = 0;
  int32_t backBufferWidth = 0;
  int32_t backBufferHeight = 0;
  uint8_t bitsPerPixel = 0;
  uint8_t alphaTest = 0;  // 1 once start-up has turned the alpha test on
};

// One picture loaded into a texture: owner, texture, size of level 0.
struct TextureRecord {
  GraphicsObject* owner = nullptr;
  std::unique_ptr<platform::Texture> texture;
  int32_t width = 0;
  int32_t height = 0;
  uint32_t spare = 0;
};

extern GraphicsObject Graphics;

// Creates the display adapter ("the Direct3D object"); false when there is none.
bool CreateGraphicsAdapter();

int SetDisplayMode(uint8_t bitsPerPixel, int windowed, int width, int height);
int ResetGraphicsDevice(uint8_t bitsPerPixel, int windowed, int width, int height);
int ShutdownGraphics();
int BeginScene();
int EndScene();
int BeginSprite();
int EndSprite();
int FlushSprite();
int PresentFrame();
int ClearScreen(uint32_t argb);
int EnableZBuffer(int flag);
int SetBlendMode(uint32_t sourceFactor, uint32_t destinationFactor);
int SetPointFiltering();
// Turns the alpha test on (reference 8, greater-or-equal: nearly transparent
// texels are not drawn), as start-up does once the pictures are loaded. Every
// device made again afterwards (a new window size, full screen or back, a
// lost device) gets it too. 0 without a device.
int EnableAlphaTest();
int LoadTexture(TextureRecord* record, const char* fileName, uint32_t colourKey);
void FreeTexture(TextureRecord* record);
int TextureWidth(const TextureRecord* record);
int TextureHeight(const TextureRecord* record);
int GetDisplayScale();
int BlitTexture(TextureRecord* record, int srcLeft, int x, int y, int srcTop, int srcWidth, int srcHeight,
                float scaleX, float scaleY, uint32_t colour, float rotation, int centreMode,
                int alreadyScaled);
int BlitTextureSilhouette(TextureRecord* record, int srcLeft, int x, int y, int srcTop, int srcWidth,
                          int srcHeight, float scaleX, float scaleY, uint32_t colour, float rotation,
                          int centreMode, int alreadyScaled);
int BlitTextureGradient(TextureRecord* record, int srcLeft, int x, int y, int srcTop, int srcWidth,
                        int srcHeight, float scaleX, float scaleY, uint32_t colour, float rotation,
                        int centreMode, int alreadyScaled, uint32_t c1, uint32_t c2, uint32_t c3,
                        uint32_t c4, uint32_t c5, uint32_t c6);
int ResizeWindowToClient(int width, int height);

// The sprite transformation a blit uses (exposed for tests).
struct BlitTransform {
  platform::SourceRect src;
  float scaleX, scaleY;
  float centreX, centreY;
  float rotation;
  float translateX, translateY;
};
BlitTransform ComputeBlitTransform(const TextureRecord* record, int srcLeft, int x, int y, int srcTop,
                                   int srcWidth, int srcHeight, float scaleX, float scaleY,
                                   float rotation, int centreMode, int alreadyScaled);

// Set to 0 whenever full screen is entered (kept for the display code).
extern uint8_t FullScreenScaleByte;
// Set while the "960x720 (b)" window draws its wider view at scale 2.
extern uint8_t WideViewDrawSwitch;
// The switch is set and the view in use is the wide one (IsWideView): the
// sprites, the text cells and the labels then draw in the 480 by 360 space,
// the space the pointer is read in.
bool WideViewDrawn();
