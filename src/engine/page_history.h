// The page history: the browser-like stack of pages of page view (screen
// mode 4), the help navigation bar that walks it, and the click rules every
// screen uses (a press acts once and clicks).
#pragma once
#include <cstdint>

constexpr int kPageHistorySize = 100;
constexpr int kPageCaptionSize = 32;  // at most 31 characters and a NUL

// The page types: what a page of the history shows, with its parameter.
enum PageType : int32_t {
  kPageCharacterRecord = 1,
  kPageInventory = 2,
  kPageSpecialAbilities = 3,
  kPageSpellBook = 4,
  kPageMapOverview = 6,
  kPageHelpTopic = 9,  // the parameter is a help page id
  kPageStatisticsFirst = 10,  // 10 to 45: a statistic of the creature
  kPageStatisticsLast = 45,
  kPageAttackDetailsFirst = 46,  // 46 to 49
  kPageAttackDetailsLast = 49,
  kPageEffectsFirst = 50,  // 50 to 99
  kPageEffectsLast = 99,
  kPageRollBreakdown = 101,  // a list of the combat roll log
  kPageMainMenu = 102,
  kPageSaveLoad = 103,
  kPageCharacterCreation = 104,
  kPageOptions = 106,
  kPageAbilityRollFirst = 107,  // 107 to 112: a creation ability roll
  kPageAbilityRollLast = 112,
  kPageDesignatedList = 113,  // a list registered by the page that opened it
  kPageFeatSelection = 114,
  kPageSpellPick = 115,
  kPagePartySetup = 117,
  kPageTitle = 118,
  kPageCraftingMenu = 119,
  kPageForgeWeapon = 120,
  kPageMetamagicMaximise = 121,
  kPageMetamagicEmpower = 122,
  kPageMetamagicWiden = 123,
  kPageMetamagicHeighten = 124,
  kPageMetamagicSilent = 125,
  kPageMetamagicStill = 126,
  kPageCraftWand = 127,
  kPageScribeScroll = 128,
  kPageMagicRing = 129,
  kPageWondrousItem = 130,
  kPageEnchantWeaponArmor = 131,
  kPageLevelUp = 132,
  kPageModifierList = 133,  // the page's own list
  kPageCredits = 134,
  kPageLogoScreen = 135,  // the splash page at start-up
  kPageQuestJournal = 136,
  kPageRanking = 137,
  // 5001 to 10000: the properties of an item code; a type above 10000 shows
  // the details of item code type - 10000.
  kPageItemPropertiesFirst = 5001,
  kPageItemPropertiesLast = 10000,
};

struct PageFrame {
  char caption[kPageCaptionSize];
  int32_t type;
  int32_t parameter;
};

extern PageFrame PageHistory[kPageHistorySize];
extern int32_t PageDepth;         // index of the top frame, 0 to 99
extern int32_t PageHighestDepth;  // the top of the forward history
extern uint32_t SavedScreenMode;  // the mode page view returns to (0 none)
extern int32_t HoveredBarButton;  // -1 none, 1 Back, 2 Forward, 3 Return
extern uint8_t BarHoverActive;    // 1 while a bar button is under the pointer
// The page's two text scroll offsets: the first shown line of its text, and
// the page's own second scroll (both 0 on every page change).
extern int32_t BackgroundScroll;
extern int32_t PageReady;
// The help text page's table index of the page shown and the largest scroll
// that still shows text (both -1 until worked out; every page change and
// ResetHover make them -1 again).
extern int32_t HelpPageIndexCache;
extern int32_t HelpLineCount;
// The entry whose hover sound played last (-1 none; every push and
// ResetHover forget it), and whether the pointer is on an entry of the page
// this frame (a page clears it as its frame begins).
extern int32_t HoverSoundMark;
extern uint8_t ScreenHovered;

// Cursor shapes over the navigation bar's labels.
constexpr int32_t kCursorBarBack = 20;
constexpr int32_t kCursorBarForward = 21;
constexpr int32_t kCursorBarReturn = 14;
constexpr int32_t kCursorBarRefused = 18;

// The page work state the help navigation bar clears when it changes page.
struct PageWorkBuffers {
  int32_t scroll;
  char text[500];
  char title[50];
  char lines[400];
};
extern PageWorkBuffers PageWork;
// Scroll word 0 and the three buffers cleared. True.
bool ClearTransientBuffers();

// Implemented by the combat action block of the game state: whether a
// pending combat action holds the right button (the bar then does not go
// Back or Forward, and a right press returns to the game), and giving that
// action up (the action is over).
bool PendingActionHoldsRightButton();
void GiveUpPendingAction();
// Implemented by the inventory words of the game state: the trade under way,
// if any, is over (returning to the game ends it).
void EndTrade();

// The start-up page: {"LOGO SCREEN", 135, -1} at depth 0.
void ResetPageHistory();

// Pushes a help topic (type 9): depth + 1 (at 99 the top frame is replaced),
// the forward history dropped, hover and scroll reset. The screen mode is
// not changed.
void OpenPage(const char* caption, int32_t parameter);
bool OpenPageOnClick(const char* caption, int32_t parameter);
// On a fresh right press: page view, the click, the right button latched, OpenPage.
bool OpenPageWithSound(const char* caption, int32_t parameter);
// Opens a page from a link of the linked text: one deeper in page view,
// else from the current mode (saved) at depth 0. The caption is HoverCaption.
void OpenLinkedPage(int32_t type, int32_t parameter);
// Pushes a page of any type (the screens' own pushes).
void PushPage(const char* caption, int32_t type, int32_t parameter);
// Overwrites the top page (the depth stays): a page that hands over to
// another in its place.
void ReplaceTopPage(const char* caption, int32_t type, int32_t parameter);

// A fresh press of the left, or else the right, button: both latched, the
// click played when asked; 1 when a press was taken.
int ConsumeClick(int withSound);
// Scroll offsets 0, cursor and hovered bar button -1, link hover cleared.
void ResetHover();
// Latches each pointer button that is freshly pressed.
void PollPointerButtons();

// Draws the bar at the bottom of help pages and acts on it. The option 1 or
// 2 makes the I or M key a further Return key. Returns 1 when it moved in
// the history or left page view.
int DrawHelpNavBar(int enabled, int option);
