#include "frontend/credits_screen.h"

#include <cstring>
#include <iterator>

#include "engine/last_screen.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "frontend/front_screens.h"
#include "frontend/menu_pages.h"

int32_t CreditsScroll = 0;
int32_t CreditsTick = 0;

namespace {

constexpr int kHeading = 6;
constexpr int kName = 5;
constexpr int kNote = 4;
constexpr int kShownLines = 15;
constexpr int kFirstRow = 9;
constexpr int kColumn = 15;
constexpr int kSpriteX = 88;
constexpr int kSpriteTop = 58;

const CreditsLine kEmpty = {"", 0, -1, 0};

}  // namespace

const CreditsLine CreditsLines[] = {
    {"", 0, -1, 0}, {"", 0, -1, 0}, {"", 0, -1, 0}, {"", 0, -1, 0}, {"", 0, -1, 0}, {"", 0, -1, 0},
    {"", 0, -1, 0}, {"", 0, -1, 0}, {"", 0, -1, 0}, {"", 0, -1, 0}, {"", 0, -1, 0}, {"", 0, -1, 0},
    {"Programming", kHeading, -1, 0},
    {"& design", kHeading, -1, 0},
    {"", 0, -1, 0},
    {"The Grevenholt team", kName, -1, 0},
    {"", 0, -1, 0},
    {"", 0, -1, 0},
    {"Graphic Design", kHeading, -1, 0},
    {"", 0, -1, 0},
    {"Pixel art drawn with", kName, -1, 0},
    {"our own sheet tools", kName, -1, 0},
    {"", 0, -1, 0},
    {"", 0, -1, 0},
    {"Music & Sound", kHeading, -1, 0},
    {"", 0, -1, 0},
    {"Eighteen tunes written", kName, -1, 0},
    {"note by note for", kName, -1, 0},
    {"the roads of Grevenholt", kName, -1, 0},
    {"", 0, -1, 0},
    {"", 0, -1, 0},
    {"Beta Testing", kHeading, -1, 0},
    {"", 0, -1, 0},
    {"The headless players", kName, -1, 0},
    {"of the test suite", kName, -1, 0},
    {"", 0, -1, 0},
    {"", 0, -1, 0},
    {"Extra Artwork", kHeading, -1, 0},
    {"", 0, -1, 0},
    {"Maps, portraits and", kName, -1, 0},
    {"the title picture", kName, -1, 0},
    {"", 0, -1, 0},
    {"", 0, -1, 0},
    {"Rules of the d20 system", kNote, -1, 0},
    {"from the Open Game", kNote, -1, 0},
    {"Content", kNote, -1, 0},
    {"", 0, -1, 0},
    {"", 0, -1, 0},
    {"Thank you", kHeading, -1, 0},
    {"for playing!", kHeading, -1, 0},
    {"", 0, -1, 0}, {"", 0, -1, 0}, {"", 0, -1, 0}, {"", 0, -1, 0}, {"", 0, -1, 0}, {"", 0, -1, 0},
};

static_assert(std::size(CreditsLines) == kCreditsLineCount);

const CreditsLine& CreditsLineAt(int n) {
  return n >= 0 && n < kCreditsLineCount ? CreditsLines[n] : kEmpty;
}

int CreditsScreen() {
  LastScreenDrawn = "CreditsScreen";
  if (++CreditsTick >= 2) {
    CreditsTick = 0;
    if (++CreditsScroll > kCreditsScrollEnd) CreditsScroll = 0;
  }
  BeginMenuFrame(kCursorMenu);
  DrawScreenBackdrop();
  DrawTextF(kStyleTitle, 16, 2, "Credits");
  const int first = CreditsScroll / 8, f = CreditsScroll % 8;
  for (int k = 0; k < kShownLines; ++k) {
    const CreditsLine& line = CreditsLineAt(first + k);
    if (line.text[0] == '\0' && line.sheet < 0) continue;
    uint32_t colour = kDefaultColour;
    if (k == 0) colour = static_cast<uint32_t>((10 - f) * 2550 / 100) << 24 | 0x00FFFFFFu;
    if (k == kShownLines - 1) colour = static_cast<uint32_t>(f * 2550 / 100) << 24 | 0x00FFFFFFu;
    DrawTextAt(colour, 24, 0, line.text, line.style, kColumn, kFirstRow + k, 1, -f, 1, 0);
    if (line.sheet >= 0) DrawSheetFrame(line.sheet, line.frame, kSpriteX, kSpriteTop - f + 8 * k, colour);
  }
  if (MainMenuLabel(22, 26)) {
    CreditsScroll = 0;
    CreditsTick = 0;
  }
  SettleMenuHover();
  EndMenuFrame();
  return 1;
}
