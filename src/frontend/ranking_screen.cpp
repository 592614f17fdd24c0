#include "frontend/ranking_screen.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/click_sound.h"
#include "engine/frame.h"
#include "engine/input.h"
#include "engine/last_screen.h"
#include "engine/sheet_table.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "frontend/front_screens.h"
#include "frontend/menu_pages.h"
#include "state/game_progress.h"
#include "state/score_board.h"

namespace {

constexpr int kRankingMusicTrack = 7;
constexpr int kKeyHome = 0xC7, kKeyUp = 0xC8, kKeyPageUp = 0xC9, kKeyEnd = 0xCF, kKeyDown = 0xD0,
              kKeyPageDown = 0xD1;
constexpr int kArrowX = 264, kArrowUpY = 72, kArrowDownY = 176;
constexpr int kFrameArrowUp = 485, kFrameArrowDown = 486;
constexpr uint32_t kArrowLit = 0xFF969696u;

void DrawSmallText(const char* text, int column, int row) {
  DrawTextAt(kDefaultColour, kSmallColumns, 0, text, 1, column, row, 0, 0, 1, 0);
}

// A scroll arrow: drawn, hovered (hint, cursor), and a fresh left press
// taken. True on the press.
bool ScrollArrow(int frame, int y, const char* name, int32_t cursor, int32_t hoverId) {
  const bool over = MouseInRect(y, kArrowX, 8, 8);
  DrawSheetFrame(kSheetInterface, frame, kArrowX, y, over ? kArrowLit : 0xFFFFFFFFu);
  if (!over) return false;
  SetHoverHint(name);
  CursorShape = cursor;
  HoverEntry(hoverId);
  if (!ButtonPressed(0)) return false;
  LatchButton(0);
  return true;
}

}  // namespace

int RankingWindowStart(int firstShown, int shownCount, int total, int move) {
  const bool atEnd = shownCount <= 0 || firstShown + shownCount - 1 >= total;
  if (move < 0) {
    if (firstShown <= 1) return 0;
    return move == kToFirst ? 1 : std::max(firstShown + move, 1);
  }
  if (atEnd) return 0;
  const int last = total - 9;
  const int start = move == kToLast ? last : std::min(firstShown + move, last);
  return std::max(start, 1);
}

void ShownPlayerName(const char* name, char* out, size_t size) {
  if (size == 0) return;
  if (std::strlen(name) > 24)
    std::snprintf(out, size, "%.21s...", name);
  else
    std::snprintf(out, size, "%s", name);
}

int RankingScreen() {
  LastScreenDrawn = "RankingScreen";
  PlayPageMusic(kRankingMusicTrack, 1);
  BeginMenuFrame(kCursorMenu);
  DrawScreenBackdrop();
  if (GameRunningFlag == 1) {
    DrawTextF(kStyleUnavailable, 7, 2, "Current Score:");
    DrawNumberAt(PartyScore, kStyleTitle, 22, 2);
  } else {
    DrawTextF(kStyleUnavailable, 7, 2, "Ranking of the Heroes");
  }
  DrawTextF(1, 6, 7, "Rank");
  DrawTextF(1, 16, 7, "Name");
  DrawTextF(1, 27, 7, "Score");

  ScoreBoardEntry entries[kScoreBoardEntriesShown];
  const int count = ScoreBoardEntries(entries);
  const int total = ScoreBoardTotal();
  for (int i = 0; i < count; ++i) {
    const int row = 12 + 2 * i;
    char text[48];
    std::snprintf(text, sizeof text, "%i", entries[i].rank);
    DrawSmallText(text, 15 - static_cast<int>(std::strlen(text)), row);
    ShownPlayerName(PlayerDisplayName(entries[i].player), text, sizeof text);
    DrawSmallText(text, 30 - static_cast<int>(std::strlen(text)) / 2, row);
    std::snprintf(text, sizeof text, "%i", entries[i].score);
    DrawSmallText(text, 50 - static_cast<int>(std::strlen(text)), row);
  }

  // Moving through the board: keys, the wheel and the arrows.
  const int first = count > 0 ? entries[0].rank : 1;
  const bool atEnd = RankingWindowStart(first, count, total, 1) == 0;
  int move = 0;
  if (first > 1) {
    if (TakeKey(kKeyUp)) move = -1;
    else if (TakeKey(kKeyPageUp)) move = -3;
    else if (TakeKey(kKeyHome)) move = kToFirst;
  }
  if (move == 0 && !atEnd) {
    if (TakeKey(kKeyDown)) move = 1;
    else if (TakeKey(kKeyPageDown)) move = 3;
    else if (TakeKey(kKeyEnd)) move = kToLast;
  }
  const int wheel = GetMouseWheel();
  if (move == 0 && wheel != 0 && MouseInRect(24, 8, 304, 176)) {
    if (wheel > 0 && first >= 2) move = -3;
    if (wheel < 0 && !atEnd) move = 3;
  }
  if (first > 1 && ScrollArrow(kFrameArrowUp, kArrowUpY, "Scroll Up", 22, kHoverRankingUp)) move = -3;
  if (!atEnd && ScrollArrow(kFrameArrowDown, kArrowDownY, "Scroll Down", 23, kHoverRankingDown)) move = 3;
  if (move != 0) {
    const int start = RankingWindowStart(first, count, total, move);
    if (start > 0) RequestScoreRanks(start);
  }

  MainMenuLabel(22, 26);
  SettleMenuHover();
  EndMenuFrame();
  return 1;
}
