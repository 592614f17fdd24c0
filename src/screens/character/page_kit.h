// The small pieces the character pages are drawn and worked with: the
// beginning and end of a page's frame, texts that light up under the
// pointer, signed values, captions cut to their fields, help links and the
// hover sound.
#pragma once
#include <cstddef>
#include <cstdint>

#include "engine/sheet_table.h"  // kSheetInterface

constexpr int kStyleWhite = 0, kStyleValue = 1, kStyleHover = 2, kStylePink = 3, kStyleLabel = 4,
              kStyleTitle = 5, kStyleGreen = 6;
constexpr int32_t kCursorRest = 29, kCursorLink = 28, kCursorEdit = 7, kCursorArrow = 4, kCursorRefused = 18,
                  kCursorScrollUp = 22, kCursorScrollDown = 23;
constexpr int kCaptionShown = 30;  // characters of a title or name taken as a page caption
constexpr uint32_t kHoveredArrowColour = 0xFF969696u;
constexpr uint32_t kCaretColour = 0x96FFFFFFu;
// Scan codes of the keys the pages read besides the kit's.
constexpr int kKeyReturn = 0x1C, kKeyPadEnter = 0x9C, kKeyHome = 0xC7, kKeyUp = 0xC8, kKeyPageUp = 0xC9,
              kKeyEnd = 0xCF, kKeyDown = 0xD0, kKeyPageDown = 0xD1;
constexpr int kArrowUpFrame = 485, kArrowDownFrame = 486, kCaretFrame = 497;

// The start of a page's frame: the first 100 characters of the caption
// under the pointer emptied, the resting cursor.
void BeginCharacterPage();
// The end of a page's frame: the navigation bar when asked, the pointer
// buttons polled, the cursor, and the caption under the pointer as its
// tooltip. Returns what the navigation bar returned (1: it changed page).
int EndCharacterPage(bool navigationBar);

// Text in large cells; the number of characters drawn is its length.
void PageTextAt(const char* text, int style, int column, int row);
// Whether the pointer lies on `width` large cells from (column, row).
bool PointerOnCells(int column, int row, int width);
// Draws the text at its cells, in the hover style while the pointer is on
// them (true then).
bool LitText(const char* text, int style, int column, int row);

// "+05" for 5 and 0, "-03" for -3.
void FormatSigned(char (&out)[16], int32_t value);
// Copies at most `most` characters of the text into the field, NUL-ended
// and zero-filled.
void CopyCut(char* field, size_t size, const char* text, size_t most);
// The title of the help page with that id, nullptr when there is none.
const char* HelpPageTitle(int64_t id);
// The caption under the pointer set to the text, cut to what the caption
// buffer's first 100 characters hold.
void SetHoverCaption(const char* text);

// A push of a page as the character pages make it: the caption cut to
// `most` characters, the text being typed dropped, the page scrolls back to
// their start.
void PushCharacterPage(const char* caption, size_t most, int32_t type, int32_t parameter);
// The help page with the id, captioned with its title (at most 30
// characters); nothing when no such page exists. True when pushed.
bool PushHelpPage(int32_t id);

// The name of the item of a code and the page that shows it (the item
// sheet of a crafted item, type code + 10000; the properties of a base
// item, type = the code); nullptr for a code that names no item (0, 5,000,
// a code past both tables).
const char* ItemNameOfCode(uint32_t code, int32_t* pageType);

// The hover sound ("Interface_2") once when the pointer comes onto the
// element `id` (the hover mark then holds it).
void HoverSoundFor(int32_t id);
