#include "frontend/save_load_screen.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "adventure/scripts.h"
#include "engine/click_sound.h"
#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/input.h"
#include "engine/page_history.h"
#include "engine/settings.h"
#include "engine/sound.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "frontend/saved_game_files.h"
#include "frontend/saved_games.h"
#include "platform/files.h"
#include "state/game_progress.h"

int32_t SaveListScroll = 0;
int32_t SaveListMaxScroll = 0;
int32_t SaveListHovered = -1;
int32_t SaveListMessage = -1;
char SaveListStatus[100] = {};

namespace {

constexpr int kRows = 5;
constexpr int kCancelEntry = 10;
constexpr int kDeleteEntryBase = 100;

// Styles of the page's texts.
constexpr int kStyleHovered = 2;
constexpr int kStyleDim = 4;
constexpr int kStyleNormal = 5;
constexpr int kStyleTitle = 6;

// Scan codes of the list's keys.
constexpr int kKeyUp = 0xC8;
constexpr int kKeyDown = 0xD0;
constexpr int kKeyPageUp = 0xC9;
constexpr int kKeyPageDown = 0xD1;
constexpr int kKeyHome = 0xC7;
constexpr int kKeyEnd = 0xCF;

// The slider's pieces and the arrows of the interface sheet.
constexpr int kThumbTop = 482;
constexpr int kThumbMiddle = 483;
constexpr int kThumbEnd = 484;
constexpr int kArrowUp = 485;
constexpr int kArrowDown = 486;
constexpr int kSliderX = 256;
constexpr int kArrowUpY = 78;
constexpr int kArrowDownY = 174;

// Cursor shapes of the page.
constexpr int kCursorMenu = 29;
constexpr int kCursorEntry = 4;
constexpr int kCursorScrollUp = 22;
constexpr int kCursorScrollDown = 23;
constexpr int kCursorDrag = 100;

const char* const kMonthNames[13] = {" - ",    "January", "February", "March",     "April",   "May",     "June",
                                     "July",   "August",  "September", "October", "November", "December"};

// While 1 the slider follows the mouse.
uint8_t SliderDragged = 0;

// The page's state during one frame.
struct PageFrameState {
  int mode;
  bool hovered = false;       // the pointer is on an entry
  bool clickTaken = false;    // the frame's press has been used
};

void Text(const char* text, int style, int column, int row) {
  DrawTextAt(kDefaultColour, kLargeColumns, 0, text, style, column, row, 1, 0, 1, 0);
}

void SmallText(const char* text, int style, int column, int row, int yOffset) {
  DrawTextAt(kDefaultColour, kSmallColumns, 0, text, style, column, row, 0, yOffset, 1, 0);
}

void PlayHoverSound() {
  if (OptionWords[kOptionSoundVolume] > 0) PlaySampleOnIdleChannel(kSampleHover, kSoundChannelCount);
}

// The pointer is on entry `id`: the cursor, the hover sound once, the tooltip.
void HoverEntry(PageFrameState* f, int id, const char* tooltip) {
  f->hovered = true;
  CursorShape = kCursorEntry;
  if (id != SaveListHovered) {
    PlayHoverSound();
    SaveListHovered = id;
  }
  if (tooltip && SaveListMessage == -1) std::snprintf(SaveListStatus, sizeof SaveListStatus, "%s", tooltip);
}

// A fresh press of the left button that no entry has taken yet this frame.
bool TakeClick(PageFrameState* f) {
  if (f->clickTaken || !ButtonPressed(0)) return false;
  LatchButton(0);
  f->clickTaken = true;
  return true;
}

bool SlotHasGame(int slot) {
  char path[300];
  std::snprintf(path, sizeof path, "SaveGame\\%s\\%i\\SaveChar.cml", AdventureFolder, slot);
  return platform::GameFileExists(path);
}

// The slot's details as the list shows them; zeros when there are none.
SavedGameDetails ReadListedDetails(int slot) {
  char path[300];
  std::snprintf(path, sizeof path, "SaveGame\\%s\\%i\\Details.dat", AdventureFolder, slot);
  std::vector<uint8_t> bytes;
  SavedGameDetails d;
  if (!platform::ReadGameFile(path, kDetailsBytes, &bytes, platform::ReadExtent::kStart)) bytes.clear();
  bytes.resize(kDetailsBytes, 0);
  DecodeDetails(bytes.data(), bytes.size(), &d);
  return d;
}

// The slot number of a row: three places, 999 from 1,000 on.
void SlotNumberText(int slot, char (&out)[12]) {
  if (slot >= 1000)
    std::snprintf(out, sizeof out, "%2i", 999);
  else
    std::snprintf(out, sizeof out, "%3i", slot);
}

// Saving or loading: the page says so at once, then does it.
int SaveOrLoad(int mode, int slot) {
  DrawPopupBox(13, 12, 26, 14, 0);
  Text(mode == kSaveModeSave ? "* Saving *" : "* Loading *", kStyleDim, 15, 13);
  EndSprite();
  EndScene();
  PresentFrame();
  if (mode == kSaveModeLoad) {
    SaveListMessage = LoadSavedGame(slot);
    // An Ironman game lives in one place only: the slot it came from goes.
    if (SaveListMessage == kSaveOk && OptionWords[kOptionIronmanMode] == 1) {
      const int count = FindFreeSaveSlot() - 1;
      SaveListMessage = DeleteSavedGame(slot);
      if (SaveListMessage == kSaveOk) CloseSaveSlotGap(slot, count);
    }
  } else {
    SaveListMessage = WriteSavedGame(slot);
    if (SaveListMessage == kSaveOk && OptionWords[kOptionIronmanMode] == 1) ReturnToMainMenu();
  }
  return 1;
}

// A click on a slot number deletes the slot at once.
void DeleteSlot(int slot) {
  PlayClickSound();
  const int count = FindFreeSaveSlot() - 1;
  SaveListMessage = DeleteSavedGame(slot);
  // Only a slot that has really gone leaves a gap to close.
  if (SaveListMessage == kSaveOk) CloseSaveSlotGap(slot, count);
}

// One row of the list; 1 when it has saved or loaded (the picture is presented).
int ListRow(PageFrameState* f, int r) {
  const int slot = SaveListScroll + r;
  const int row = 3 * r + 7;
  char number[12];
  SlotNumberText(slot, number);
  const int digits = static_cast<int>(std::strlen(number));

  if (!SlotHasGame(slot)) {
    const bool saving = f->mode == kSaveModeSave;
    const bool on = saving && MouseInTextRow(row, 6, 10, 1, 1, 0);
    Text("Empty Slot", on ? kStyleHovered : (saving ? kStyleNormal : kStyleDim), 6, row);
    Text(number, kStyleDim, 24, row);
    if (!on) return 0;
    HoverEntry(f, slot, "Save");
    if (!TakeClick(f)) return 0;
    PlayClickSound();
    // A new game goes into the row's own slot, even past a gap below it.
    return SaveOrLoad(f->mode, slot);
  }

  const SavedGameDetails d = ReadListedDetails(slot);
  const int month = d.month >= 0 && d.month <= 12 ? d.month : 0;
  int64_t hours = static_cast<int64_t>(d.playHours) + (d.playMinutes >= 60 ? d.playMinutes / 60 : 0);
  const int minutes = d.playMinutes >= 60 ? d.playMinutes % 60 : d.playMinutes;
  if (hours > 9999) hours = 9999;
  const int level = d.averageLevel < 0 ? 1 : (d.averageLevel > 20 ? 20 : d.averageLevel);
  char lines[3][100];
  std::snprintf(lines[0], sizeof lines[0], "%.2i %s %.2i:%.2i, %i:%.2ih", d.day, kMonthNames[month], d.hour, d.minute,
                static_cast<int>(hours), minutes);
  std::snprintf(lines[1], sizeof lines[1], "%s, Level %i", d.mapName, level);
  std::snprintf(lines[2], sizeof lines[2], "%s", d.firstRun[kOptionIronmanMode - kOptionDisplayThreatAreas] == 1 ? "Ironman" : "");

  const int smallRow = (24 * r + 56) / 6;
  const int width = 5 * static_cast<int>(std::max(std::strlen(lines[0]), std::strlen(lines[1])));
  const bool onDetails = SliderDragged == 0 && MouseInRect(6 * smallRow + 2, 47, width, 12);
  for (int l = 0; l < 3; ++l) SmallText(lines[l], onDetails ? kStyleHovered : kStyleNormal, 9, smallRow + l, 2);
  const bool onNumber = SliderDragged == 0 && MouseInTextRow(row, 27 - digits, digits, 1, 1, 0);
  Text(number, onNumber ? kStyleHovered : kStyleNormal, 24, row);

  if (onDetails) {
    HoverEntry(f, slot, f->mode == kSaveModeSave ? "Overwrite" : "Load");
    if (TakeClick(f)) {
      PlayClickSound();
      return SaveOrLoad(f->mode, slot);
    }
  }
  if (onNumber) {
    HoverEntry(f, slot + kDeleteEntryBase, nullptr);
    std::snprintf(SaveListStatus, sizeof SaveListStatus, "%s", "Delete");
    if (TakeClick(f)) DeleteSlot(slot);
  }
  return 0;
}

bool KeyHeld(int key) { return (KeyboardDevice.state[key] & 0x80) != 0; }
// The left button is down, latched or not.
bool LeftButtonHeld() {
  const int at = PointerDevice.kind == kInputJoystick ? kJoystickButtonsAt : kMouseButtonsAt;
  return (PointerDevice.state[at] & 0x80) != 0;
}

// The slider, its arrows, the wheel and the keys move the list.
void ScrollList(PageFrameState* f) {
  const int most = SaveListMaxScroll;
  if (most <= 0) return;
  if (!LeftButtonHeld() || f->clickTaken) SliderDragged = 0;

  int k = 14 + SaveListScroll * 5 / most;
  if (k > 19) k = 19;
  const bool onBar = MouseInRect(6 * k + 1, kSliderX + 2, 5, 60);
  if (onBar || SliderDragged) {
    CursorShape = kCursorDrag;
    if (!SliderDragged && TakeClick(f)) SliderDragged = 1;
    if (SliderDragged) {
      k = PointerY() / 6 - 5;
      k = k < 14 ? 14 : (k > 19 ? 19 : k);
      SaveListScroll = (k - 14) * most / 5;
      if (SaveListScroll > most) SaveListScroll = most;
    }
  }
  const uint32_t colour = onBar || SliderDragged ? 0xFF969696u : 0xFFFFFFFFu;
  DrawSheetFrame(kSheetInterface, kThumbTop, kSliderX, 6 * k, colour);
  for (int p = 1; p <= 8; ++p) DrawSheetFrame(kSheetInterface, kThumbMiddle, kSliderX, 6 * k + 6 * p, colour);
  DrawSheetFrame(kSheetInterface, kThumbEnd, kSliderX, 6 * k + 54, colour);

  if (SaveListScroll > 0) {
    DrawSheetFrame(kSheetInterface, kArrowUp, kSliderX, kArrowUpY);
    if (CursorShape == kCursorMenu && MouseInRect(kArrowUpY, kSliderX, 8, 8)) {
      std::snprintf(SaveListStatus, sizeof SaveListStatus, "%s", "Scroll Up");
      CursorShape = kCursorScrollUp;
      if (TakeClick(f)) --SaveListScroll;
    }
  }
  if (SaveListScroll < most) {
    DrawSheetFrame(kSheetInterface, kArrowDown, kSliderX, kArrowDownY);
    if (CursorShape == kCursorMenu && MouseInRect(kArrowDownY, kSliderX, 8, 8)) {
      std::snprintf(SaveListStatus, sizeof SaveListStatus, "%s", "Scroll Down");
      CursorShape = kCursorScrollDown;
      if (TakeClick(f)) ++SaveListScroll;
    }
  }

  if (!SliderDragged) {
    const int wheel = GetMouseWheel();
    if (wheel != 0 && PointerX() <= 311 && PointerY() <= 207) {
      if (wheel > 0 && SaveListScroll > 0) --SaveListScroll;
      if (wheel < 0 && SaveListScroll < most) ++SaveListScroll;
    }
    if ((KeyPressed(kKeyUp) || KeyHeld(kKeyPageUp)) && SaveListScroll > 0) --SaveListScroll;
    if ((KeyPressed(kKeyDown) || KeyHeld(kKeyPageDown)) && SaveListScroll < most) ++SaveListScroll;
    if (KeyPressed(kKeyUp)) LatchKey(kKeyUp);
    if (KeyPressed(kKeyDown)) LatchKey(kKeyDown);
    if (KeyHeld(kKeyHome)) SaveListScroll = 0;
    if (KeyHeld(kKeyEnd)) SaveListScroll = most;
  }
  if (SaveListScroll < 0) SaveListScroll = 0;
  if (SaveListScroll > most) SaveListScroll = most;
}

// "Cancel", Escape or Space leave the page.
void CancelEntry(PageFrameState* f) {
  const bool on = MouseInRect(208, 136, 48, 8);
  Text("Cancel", on ? kStyleHovered : kStyleNormal, 17, 26);
  if (on) HoverEntry(f, kCancelEntry, nullptr);
  if (on) std::snprintf(SaveListStatus, sizeof SaveListStatus, "%s", "Back to Title Screen");
  if (SliderDragged) return;
  const bool key = KeyPressed(kKeyEscape) || KeyPressed(kKeySpace);
  if (key) {
    LatchKey(kKeyEscape);
    LatchKey(kKeySpace);
  }
  if (!key && !(on && TakeClick(f))) return;
  PlayClickSound();
  if (PageDepth > 0) --PageDepth;
  ScreenMode = kModePageView;
  SaveListHovered = -1;
}

}  // namespace

void OpenSaveLoadPage(int mode) {
  const int free = FindFreeSaveSlot();
  SaveListScroll = 0;
  SaveListMaxScroll = free - (mode == kSaveModeSave ? 5 : 6);
  if (SaveListMaxScroll < 0) SaveListMaxScroll = 0;
  SaveListHovered = -1;
  SaveListMessage = -1;
  SliderDragged = 0;
  PushPage(mode == kSaveModeSave ? "Save Game" : "Load Game", kPageSaveLoad, mode);
}

int SaveLoadScreen(int mode) {
  PageFrameState f;
  f.mode = mode == kSaveModeSave ? kSaveModeSave : kSaveModeLoad;
  if (SaveListMessage == -1) SaveListStatus[0] = '\0';
  CursorShape = kCursorMenu;
  DrawScreenBackdrop();

  Text(f.mode == kSaveModeSave ? "Save Game" : "Load Game", kStyleTitle, 7, 2);
  Text(f.mode == kSaveModeSave ? "Save" : "Load", kStyleDim, 6, 8);
  Text("Delete", kStyleDim, 22, 8);
  if (SaveListMaxScroll > 0) Text("Scroll", kStyleDim, 29, 8);

  for (int r = 1; r <= kRows; ++r)
    if (ListRow(&f, r) == 1) return 1;
  ScrollList(&f);
  CancelEntry(&f);

  if (!f.hovered) {
    SaveListHovered = -1;
    SaveListMessage = -1;
  } else if (const char* message = SavedGameMessage(SaveListMessage)) {
    std::snprintf(SaveListStatus, sizeof SaveListStatus, "%s", message);
  }

  DrawMouseCursor();
  if (SaveListStatus[0] != '\0') {
    const int width = 8 * static_cast<int>(std::strlen(SaveListStatus));
    DrawWrappedText((320 - width) / 2, SaveListStatus, 0, 224, 0, 1);
  }
  if (!SliderDragged) PollPointerButtons();
  return 0;
}
