#include "screens/game/game_screen.h"

#include "engine/main_window.h"
#include "engine/music.h"
#include "engine/page_placeholder.h"
#include "engine/linked_text.h"
#include "engine/message_log.h"
#include "engine/page_history.h"
#include "engine/reset_words.h"
#include "engine/text.h"
#include "engine/widgets.h"

#include <cstring>

#include "engine/settings.h"
#include "rules/creature_record.h"

uint8_t MouseMoved = 0;
int32_t HoverProbe = -1;
uint32_t JoystickPresent = 0;
uint8_t FramePresented = 0;
int32_t CombatDisplayWords[2] = {};
uint8_t RedrawPending = 0;
char GameScreenCaptions[5000] = {};
uint8_t GameScreenWorkArea[936] = {};

void MapMouseHandler() {}
void LeaderStep() {}
int MainScreenKeys() {
  TextEntryKeys();
  return HandleWindowKeys();
}
void CameraFollowActor() {}
void EdgeScroll() {}
void ScrollViewByKeys() {}
void ClampCamera() {}
void SetCameraBounds() {}
void CentreMouseCursor() {}
namespace {

constexpr int kLogLeft = 2, kLogTop = 2, kLogRight = 60, kLogBottom = 36;

// Scrolls the log view to the log's end: the first shown line is raised until
// the text ends inside the page. A layout pass in a page tall enough for the
// whole log (every line holds at least its carriage return) counts the lines,
// so that a long way to go, as after a trim, takes one step.
void ScrollLogToEnd() {
  if (MessageLogScroll < 0) MessageLogScroll = 0;
  DrawLinkedText(MessageLogText, 4, kLogLeft, kLogTop, kLogRight, kLogBottom, MessageLogScroll, 1, 0, 0);
  if (LinkedTextOverflow == -1) {
    DrawLinkedText(MessageLogText, 4, kLogLeft, kLogTop, kLogRight, kLogTop + kMessageLogSize, MessageLogScroll,
                   1, 0, 0);
    const int rows = kLogBottom - kLogTop + 1;
    if (LinkedTextLineCount - rows > MessageLogScroll) MessageLogScroll = LinkedTextLineCount - rows;
    DrawLinkedText(MessageLogText, 4, kLogLeft, kLogTop, kLogRight, kLogBottom, MessageLogScroll, 1, 0, 0);
  }
  while (LinkedTextOverflow == -1) {
    ++MessageLogScroll;
    DrawLinkedText(MessageLogText, 4, kLogLeft, kLogTop, kLogRight, kLogBottom, MessageLogScroll, 1, 0, 0);
  }
  MessageLogChanged = 0;
}

}  // namespace

// Until the map view is drawn here, the game screen shows the message log,
// scrolled to its end, with live links, and the pointer.
int GameScreenFrame(int, int) {
  LastScreenDrawn = "GameScreenFrame";
  std::memset(HoverCaption, 0, 100);
  CursorShape = 29;
  DrawFramedBox(0, 0, 2);
  ScrollLogToEnd();
  DrawLinkedText(MessageLogText, 4, kLogLeft, kLogTop, kLogRight, kLogBottom, MessageLogScroll, 1, 0, 1);
  PollPointerButtons();
  DrawMouseCursor();
  if (HoverCaption[0]) DrawWrappedText(-1, HoverCaption, 0, -1, 0, 0);
  return 1;
}
void ScrollTo(int creature, int x, int y) {
  (void)x;
  (void)y;
  if (creature < 0 || creature >= kCreatureCount) return;
  const bool large = WindowSize == 3;
  const int vw = large ? 480 : 320, vh = large ? 360 : 240;
  const CreatureRecord& c = Creatures[creature];
  const int px = c.pixelX - ViewOriginX, py = c.pixelY - ViewOriginY;
  if (px < 70 || py < 70 || px > vw - 70 || py > vh - 70) {
    ViewOriginX = c.pixelX - vw / 2 + 12;
    ViewOriginY = c.pixelY - vh / 2 + 12;
  }
}

void ScrollToCreature(int creature, int flag, uint8_t* resultByte) {
  (void)flag;
  if (resultByte) *resultByte = 0;
  ScrollTo(creature, -1, -1);
}

void OpenInventoryMenu(int) {}
FloatingTextEntry FloatingTexts[kFloatingTextCreatures];
int32_t FloatingTextDuration = 60;

bool ShowFloatingText(int creature, const char* text) {
  if (creature < 0 || creature >= kFloatingTextCreatures || text == nullptr) return false;
  const size_t length = std::strlen(text);
  if (length > 29) return false;
  FloatingTextEntry& f = FloatingTexts[creature];
  std::memcpy(f.text, text, length + 1);
  f.framesLeft = FloatingTextDuration;
  f.x = f.y = -1;
  return true;
}
void SwitchMusicTrack(int track, int, int resume) { PlayMusic(track, static_cast<int>(kEndlessRepeats), resume); }

ClickResultState ClickResult;

void ResetGameScreenState() {
  MouseMoved = 0;
  HoverProbe = -1;
  FramePresented = 0;
  ResetWords(CombatDisplayWords);
  RedrawPending = 0;
  ResetWords(GameScreenCaptions);
  ResetWords(GameScreenWorkArea);
  ResetWords(FloatingTexts);
  ResetWords(ClickResult);
}
