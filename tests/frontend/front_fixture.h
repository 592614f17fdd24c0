// The front pages on the game started headless: a page drawn once a frame as
// page view draws it, injected keys and mouse, and the glyphs drawn read back.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/input.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/text.h"
#include "harness/harness.h"
#include "platform/input.h"

namespace fronttest {

// A game folder of the test's own (the built game's files linked in, the
// saved-game folders made afresh), so that saved games stay apart from the
// other tests. The test runs in it.
inline bool MakeOwnGameFolder(std::filesystem::path* made) { return harness::MakeOwnGameFolder(made); }

// The waiting input taken in and the devices read, as the frame does.
inline void ReadInput() {
  harness::PumpMessages();
  ReadInputDevice(&KeyboardDevice);
  ReadInputDevice(&PointerDevice);
}

// One frame of a page inside a scene; the glyphs it drew go to `glyphs`.
template <typename Page>
int DrawFrame(Page page, std::vector<GlyphDraw>* glyphs = nullptr) {
  ReadInput();
  if (glyphs) glyphs->clear();
  RecordGlyphs(glyphs);
  BeginScene();
  ClearScreen(0xFF000000u);
  BeginSprite();
  const int result = page();
  EndSprite();
  EndScene();
  PresentFrame();
  RecordGlyphs(nullptr);
  return result;
}

// The large glyphs drawn on a cell row, each at its column.
inline std::string RowText(const std::vector<GlyphDraw>& glyphs, int row) {
  std::string line(40, ' ');
  for (const GlyphDraw& g : glyphs)
    if (g.y == row * 8 && g.x % 8 == 0 && g.x / 8 < 40) line[g.x / 8] = static_cast<char>(g.c);
  return line.substr(0, line.find_last_not_of(' ') + 1);
}

// The colour of the glyph drawn at a logical point (0 when none was).
inline uint32_t ColourAt(const std::vector<GlyphDraw>& glyphs, int x, int y) {
  for (const GlyphDraw& g : glyphs)
    if (g.x == x && g.y == y) return g.colour;
  return 0;
}
// The colours of the menu styles: available, unavailable.
constexpr uint32_t kAvailable = 0xFF7DF7E7u, kUnavailable = 0xFFB1ACF4u;

inline void PointAt(int x, int y) { harness::MoveMouse(x, y); }
inline void LeftButton(bool down) { platform::InjectMouseButton(0, down); }
inline void Key(const char* name, bool down) { down ? harness::KeyDown(name) : harness::KeyUp(name); }
// A key pressed for one frame of the page.
template <typename Page>
void PressKey(const char* name, Page page) {
  Key(name, true);
  DrawFrame(page);
  Key(name, false);
  ReadInput();
}
// A left click at (x, y) on one frame of the page; returns the page's result.
template <typename Page>
int ClickOn(int x, int y, Page page) {
  PointAt(x, y);
  LeftButton(true);
  const int result = DrawFrame(page);
  LeftButton(false);
  ReadInput();
  return result;
}

}  // namespace fronttest
