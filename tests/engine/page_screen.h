// Shared by the page tests: the game started headless with what start-up and
// the frame will give the pages (sheets, help tables, input devices), and one
// help page drawn per frame the way the help page screen draws it.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/help_pages.h"
#include "engine/input.h"
#include "engine/linked_text.h"
#include "engine/page_history.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "harness/harness.h"
#include "platform/input.h"
#include "screens/character/character_screens.h"
#include "engine/help_lookup.h"

namespace pagetest {

// Start-up gives the sheets, the help tables and the input devices.
inline bool StartPages() {
  if (!harness::StartGame()) return false;
  ReadCheckedHelpFile();  // the pages read now, as their first look-up would
  if (!SheetBank.owner || HelpPagesLoaded == 0) return false;
  if (!KeyboardDevice.present || !PointerDevice.present) return false;
  ResetPageHistory();
  ResetHover();
  return true;
}

inline void StopPages() { harness::StopGame(); }

// The waiting input taken in and the devices read, as the frame does (the
// frame itself is not run: these tests draw the page in its place).
inline void NextFrame() {
  harness::PumpMessages();
  ReadInputDevice(&KeyboardDevice);
  ReadInputDevice(&PointerDevice);
}

// Runs `draw` inside a scene and presents it.
template <typename Draw>
void DrawScene(Draw draw) {
  BeginScene();
  ClearScreen(0xFF000000u);
  BeginSprite();
  draw();
  EndSprite();
  EndScene();
  PresentFrame();
}

// A help page as the help page screen shows it: frame, linked text in small
// cells (columns 2 to 60, rows 2 to 33), the navigation bar, the cursor and
// the tooltip.
inline int DrawHelpPage(uint32_t id) {
  int result = 0;
  DrawScene([&] { DrawTextPageScreen(static_cast<int>(id)); });
  result = FindHelpPage(id) >= 0 ? 1 : 0;
  return result;
}

}  // namespace pagetest
