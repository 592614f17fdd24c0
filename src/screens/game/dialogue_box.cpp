// The box of a script's question over the map view: its text with help
// links, scrolled by wheel, keys and the mouse on its upper and lower rows,
// and up to five answers chosen by mouse or by the keys 1 to 5 (Space for a
// lone answer).
#include <cstdio>

#include "adventure/dialogue.h"
#include "engine/input.h"
#include "engine/linked_text.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "screens/game/frame_words.h"
#include "screens/game/map_input.h"
#include "screens/game/overlay_sections.h"
#include "state/game_screen_words.h"

int32_t DialogueScrollLine = 0;

namespace {

constexpr int kKeyOne = 0x02, kKeyUp = 0xC8, kKeyPageUp = 0xC9, kKeyDown = 0xD0, kKeyPageDown = 0xD1;
constexpr int kPortraitFrameSheet = 47, kPortraitFrame = 20, kPortraitSheet = 49;
constexpr int kMarkSheet = 13, kMarkUp = 485, kMarkDown = 486, kMarkUpLit = 489, kMarkDownLit = 490;
// The scroll marks stand at x 304, the upper at y 8 and the lower at y 38;
// the lower bobs 2 pixels down for the second half of each turn of Tick100.
constexpr int kMarkX = 304, kMarkUpY = 8, kMarkDownY = 38;
constexpr int kMarkBob = 2, kBobHalfTurn = 50;
constexpr int kTextRight = 37;
constexpr uint32_t kWhite = 0xFFFFFFFFu, kDimmedGlyph = 0x6EFFFFFFu;
constexpr int32_t kCursorUp = 22, kCursorDown = 23, kCursorRefused = 18, kCursorAnswer = 9;

bool AnswerOffered(int k) { return k == 0 || AnswerTexts[k][0] != '\0'; }

void Choose(int k) {
  ChosenAnswer = k + 1;
  DialogueScrollLine = 0;
}

// The text laid out and drawn from the scroll line; true while lines remain
// below the box.
bool DrawText() {
  int left = 1;
  if (DialoguePortrait != -1) {
    DrawSheetFrame(kPortraitFrameSheet, kPortraitFrame, 8, 8);
    DrawSheetFrame(kPortraitSheet, DialoguePortrait - 1, 12, 12);
    left = 6;
  }
  // Up to column 37: column 38 holds the scroll marks, so a line's last
  // word never runs into one.
  DrawLinkedText(DialogueText, 0, left, 1, kTextRight, 5, DialogueScrollLine, 1, 1, 1);
  return LinkedTextOverflow == -1;
}

// The wheel and the keys; Page Up and Page Down repeat while held.
void ScrollByWheelAndKeys(bool more) {
  const int wheel = GetMouseWheel();
  if (wheel > 0 && DialogueScrollLine > 0)
    --DialogueScrollLine;
  else if (wheel < 0 && more)
    ++DialogueScrollLine;
  if ((TakeKey(kKeyUp) || KeyPressed(kKeyPageUp)) && DialogueScrollLine > 0)
    --DialogueScrollLine;
  else if ((TakeKey(kKeyDown) || KeyPressed(kKeyPageDown)) && more)
    ++DialogueScrollLine;
}

// The upper rows scroll up, the lower ones down, by a click.
void ScrollByMouse(bool more, bool* overUpper, bool* overLower) {
  *overUpper = MouseInTextRow(1, 1, 38, 2, 1, 0);
  *overLower = MouseInTextRow(4, 1, 38, 2, 1, 0);
  if (*overUpper) {
    if (DialogueScrollLine > 0) {
      std::snprintf(CursorHint, sizeof CursorHint, "Scroll Up");
      CursorShape = kCursorUp;
      if (ButtonPressed(0)) {
        LatchButton(0);
        --DialogueScrollLine;
      }
    } else {
      CursorShape = kCursorRefused;
    }
  } else if (*overLower) {
    if (more) {
      std::snprintf(CursorHint, sizeof CursorHint, "Scroll Down");
      CursorShape = kCursorDown;
      if (ButtonPressed(0)) {
        LatchButton(0);
        ++DialogueScrollLine;
      }
    } else {
      CursorShape = kCursorRefused;
    }
  }
}

// The answer keys: 1 always, 2 to 5 for answers given, Space for a lone answer.
void AnswerByKeys() {
  for (int k = 0; k < kAnswerCount; ++k) {
    if (!AnswerOffered(k) || !TakeKey(kKeyOne + k)) continue;
    Choose(k);
    return;
  }
  bool lone = true;
  for (int k = 1; k < kAnswerCount; ++k) lone = lone && !AnswerOffered(k);
  if (lone && TakeKey(kKeySpace)) Choose(0);
}

// The scroll marks at the box's right edge, lit while the pointer is on
// their rows (a click there scrolls). While text lies below the box its
// mark bobs two pixels down and up, every three quarters of a second, so
// that the answers are not read before it.
void DrawScrollMarks(bool more, bool overUpper, bool overLower) {
  if (DialogueScrollLine > 0) DrawSheetFrame(kMarkSheet, overUpper ? kMarkUpLit : kMarkUp, kMarkX, kMarkUpY, kWhite);
  if (!more) return;
  const int bob = Tick100 >= kBobHalfTurn ? kMarkBob : 0;
  DrawSheetFrame(kMarkSheet, overLower ? kMarkDownLit : kMarkDown, kMarkX, kMarkDownY + bob, kWhite);
}

void DrawAnswers() {
  for (int k = 0; k < kAnswerCount; ++k) {
    if (!AnswerOffered(k)) continue;
    const int row = 24 + k;
    const bool over = MouseInTextRow(row, 1, 38, 1, 1, 0);
    DrawTextF(over ? 2 : 1, 1, row, "%i-%s", k + 1, AnswerTexts[k]);
    if (!over) continue;
    CursorShape = kCursorAnswer;
    if (ButtonPressed(0)) {
      LatchButton(0);
      Choose(k);
    }
  }
}

}  // namespace

void DrawDialogueBox() {
  if (RestFade != 0) return;
  const uint8_t scale = MapScaleSwitch;
  MapScaleSwitch = 0;
  SwitchMusicTrack(DialogueMusic, 0, 0);
  DrawMainScreenPanels();
  const bool more = DrawText();
  const uint32_t glyph = MouseInTextRow(0, 0, 39, 7, 1, 0) ? kDimmedGlyph : kWhite;
  DrawGradientGlyph(glyph, 20, 45, 0);
  DrawGradientGlyph(glyph, 285, 45, 1);
  ScrollByWheelAndKeys(more);
  bool overUpper = false, overLower = false;
  ScrollByMouse(more, &overUpper, &overLower);
  DrawScrollMarks(more, overUpper, overLower);
  DrawViewportBorder();
  AnswerByKeys();
  DrawAnswers();
  MapScaleSwitch = scale;
}
