// What the front end's menu pages share: the hovered entry and its sound,
// labels that react over their own character cells, the frame's start and
// end, the menu music, and the "Main Menu" label that leads back.
#pragma once
#include <cstdint>

#include "engine/ui_input.h"  // TakeKey, KeyHeld

// The entry the pointer rests on (-1 none): the hover sound plays only when
// it changes. Ids of the main menu: 1 "Save Game", 2 "Load Game", 3 "Start
// Demo" / "Start New Game", 4 "Back to the Game", 5 "Settings" / "Display
// Help", 6 "Credits", 7 "Score", "Demo" and "Exit"; the other pages use
// their own.
extern int32_t MenuHoverId;
constexpr int32_t kHoverMainMenuLabel = 20;
constexpr int32_t kHoverOptionsHelp = 21;
constexpr int32_t kHoverRankingUp = 22;
constexpr int32_t kHoverRankingDown = 23;

// Label styles of the menu pages.
constexpr int kStyleAvailable = 5;
constexpr int kStyleHovered = 2;
constexpr int kStyleUnavailable = 4;
constexpr int kStyleTitle = 6;

// The cursor shapes of the menu pages.
constexpr int32_t kCursorMenu = 29;
constexpr int32_t kCursorActive = 4;
constexpr int32_t kCursorRefused = 18;

// The frame's start: the hint line emptied and the cursor shape set.
void BeginMenuFrame(int32_t cursor);
// The frame's end: pointer buttons polled (when asked), the cursor drawn,
// the hint line drawn when it is not empty.
void EndMenuFrame(bool pollButtons = true);
// Writes the hint line (cut to its 100 bytes).
void SetHoverHint(const char* text);

// Plays the music track without end unless it already plays (nothing while
// the music volume is 0); the playing track's position is kept first.
// `resume` 1 resumes the track from its own kept position.
void PlayPageMusic(int track, int resume);

// The hover sound once when the pointer comes onto entry `id`; marks the
// entry hovered for this frame.
void HoverEntry(int32_t id);
// How many hover sounds were started (for tests).
int HoverSoundsStarted();
// Call once a frame after the entries: no entry hovered clears MenuHoverId.
void SettleMenuHover();

// A label in large cells that reacts over exactly its cells: drawn in style
// 5, 2 while hovered or 4 when unavailable. An unavailable one hovered
// shows `refusal` (when given) on the hint line and the refusal cursor. True
// on a fresh left press over an available label (the press is not taken).
bool MenuEntry(const char* label, int column, int row, int32_t id, bool available,
               const char* refusal = nullptr);
// Takes the click of an entry: the left button latched and the click sound.
void TakeMenuClick();

// Opens a page from a menu page (one deeper, at most 99; hover state cleared).
void PushMenuPage(const char* caption, int32_t type, int32_t parameter);

// "Main Menu" in style 5 (2 while hovered, hint "Back to Title Screen") at
// large-cell (column, row); taken by a click or by a fresh Escape or Space
// (both latched): the click sound, page view, and the top page popped. True
// when taken.
bool MainMenuLabel(int column, int row);
