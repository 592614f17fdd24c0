// Text drawing: glyphs from the font sheets on a grid of character cells of
// the 320x240 logical picture (large cells 8x8, 39 columns; small cells 5x6,
// 63 columns), the style codes, the popup mask and the small text helpers.
#pragma once
#include "engine/settings.h"  // kOptionLowResolutionText
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/sheet_table.h"

constexpr uint32_t kDefaultColour = 0xFFFFFFFFu;  // "the style's own colour"
constexpr int kLargeColumns = 39;
constexpr int kSmallColumns = 63;
constexpr int kTextBufferSize = 1000;
constexpr int kHoverCaptionSize = 350;
constexpr int kHoverCaptionShown = 30;  // characters of a title taken as a caption
// The option word that draws every glyph from the low-resolution font of
// sheet 13 is kOptionLowResolutionText of the settings.


// The caption of what lies under the pointer (the title of what a click
// would open); pages empty its first 100 characters every frame.
extern char HoverCaption[kHoverCaptionSize];

// The open popup's rectangle in logical pixels, set by DrawPopupBox. In
// screen modes 3 and 5 text whose cell lies inside it is not drawn.
struct PopupRectangle {
  int32_t top, bottom, left, right;
};
extern PopupRectangle PopupRect;
// Whether a glyph whose cell starts at (x, y) lies under the open popup and
// is not drawn (in screen modes 3 and 5, no item selection pending).
bool HiddenByPopup(int x, int y);
// Whether the open popup (with its edges, as HiddenByPopup counts it open)
// meets the box of logical pixels from (left, top) to (right, bottom), the
// ends outside.
bool PopupMeets(int left, int top, int right, int bottom);
// The same for `columns` large cells of a row from `column` on: a list's row
// that the box would cut is left out whole.
bool PopupMeetsRow(int column, int row, int columns);

// The colour a style draws a given colour in (kDefaultColour: the style's own).
uint32_t StyleColour(uint32_t colour, int style);
// Sheet and frame of a character's glyph; false for characters that draw
// nothing ('_', and every code below 33).
bool GlyphSheetFrame(unsigned char c, int upperCase, int smallerSet, int large, int* sheet, int* frame);

int DrawGlyph(uint32_t colour, unsigned char c, int x, int y, int style, int upperCase, int smallerSet,
              int large);
// The central text routine. Draws at most maxChars characters of the text,
// cut so that it stays within the 39 (large) or 63 (small) columns; 0 when
// no cell is left, else 1.
int DrawTextAt(uint32_t colour, int maxChars, int xOffset, const char* text, int style, int column, int row,
               int large, int yOffset, int popupExempt, int upperCase);
// The pixels a text takes across, in large or small cells as the cells are now.
int TextWidth(const char* text, int large);
// printf into 1,000 bytes, drawn in large cells, at most 39 characters;
// returns the formatted length.
int DrawTextF(int style, int column, int row, const char* format, ...) __attribute__((format(printf, 4, 5)));
int DrawTextFNoClip(int style, int column, int row, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
int DrawNumberAt(int number, int style, int column, int row);
// A string glyph by glyph at pixel positions, 8 pixels apart (12 in the
// 960x720 (b) window unless the smaller set is asked for); 0 for an empty text.
int DrawString(const char* text, int style, int x, int y, uint32_t colour, int smallerSet);
// A caption with its words capitalised; with a value, the caption 3 pixels
// higher and "Value %lli" below it in small cells.
int DrawLabelWithValue(int column, int row, int style, int64_t value, const char* format, ...)
    __attribute__((format(printf, 5, 6)));
// Where tooltips end at the latest: a little clear of the picture's right
// and bottom edges (flush against a window's edge the last letters read as
// cut off).
constexpr int kTooltipRight = 316, kTooltipBottom = 236;
// The interface sheet's frame of a tooltip's backing, one a character cell.
constexpr int kTooltipBackingFrame = 498;
// A one-line tooltip label on a backing; x = y = -1 places it beside the
// pointer, off the texts drawn before it (KeepHintOffTexts). It is moved
// left and up to end by kTooltipRight and kTooltipBottom.
int DrawWrappedText(int x, const char* text, int style, int y, int noBacking, int raw);
// Where the last label that DrawWrappedText placed beside the pointer went
// (its first letter's cell): a line that goes with it is drawn from there.
void LastHintPlace(int* x, int* y);
// DrawString's line with each glyph on a tooltip's backing: a line that
// goes with a tooltip and lies, as it does, over what is drawn beneath it.
int DrawStringOnBacking(const char* text, int x, int y, uint32_t colour, int smallerSet);
// A hint of width by height pixels placed beside the pointer at (*x, *y)
// stays there when it lies on no letter drawn before it in the frame (nor on
// the pointer, nor past kTooltipRight and kTooltipBottom); else it goes on
// the line of the text pointed at, after it (past the pointer) or before it,
// a blank apart; else up or down the least that clears it (where no place
// is found it stays). Laid over the rows below the one pointed at, it hid
// the choices of a list beside the one the pointer named. A place that
// `blocked` refuses (a box of the picture's pixels, right and bottom
// excluded) is not clear either.
using HintBlocker = bool (*)(int left, int top, int right, int bottom);
void KeepHintOffTexts(int* x, int* y, int width, int height, HintBlocker blocked = nullptr);
// A new frame's drawing begins: the texts drawn so far are forgotten.
void ForgetDrawnTexts();
// The game screen's caption box: HoverCaption in upper case, wrapped at 36
// characters, at most 11 lines.
int DrawLargeWrappedCaps();
// The lines DrawLargeWrappedCaps would draw (exposed for tests).
std::vector<std::vector<char>> LayOutCaptionLines(const char* caption);
int DrawGradientGlyph(uint32_t colour, int x, int y, int code);

// A text that may be too wide for its cells as one or two lines: whole when
// it fits, else broken after its last blank that fits (the blank dropped) or
// at the cells' end; the second line is not cut.
std::vector<std::string> BreakIntoTwoLines(const std::string& text, size_t cells);

// Copies the source keeping its first character and lower-casing the rest;
// with flag 1 every character after '_', ' ', '-', '*', '+', '(' or '@' is
// upper-cased. The copy is cut to fit the destination.
void CapitaliseWords(char* destination, size_t destinationSize, const char* source, int flag);
template <size_t N>
void CapitaliseWords(char (&destination)[N], const char* source, int flag) {
  CapitaliseWords(destination, N, source, flag);
}
// Replaces every occurrence of search in text (scanning on after each
// replacement); the result is cut to fit the text's buffer. Returns the
// number of replacements.
int ReplaceAll(char* text, size_t capacity, const char* search, const char* replacement);

// Tests watch the glyphs drawn through this: every glyph drawn is appended.
struct GlyphDraw {
  unsigned char c;
  int sheet, frame, x, y;
  uint32_t colour;
};
void RecordGlyphs(std::vector<GlyphDraw>* sink);

// Tests watch the texts laid down through this: every call of a text routine
// (and every glyph drawn on its own) adds a run with the cells of the glyphs
// it drew.
struct TextCell {
  unsigned char c;
  int x, y;           // the cell's top-left pixel
  int64_t order = 0;  // the DrawOrder of the frames drawn before it
};
struct TextRun {
  std::vector<TextCell> cells;
  int cellWidth = 8, cellHeight = 8;
  int cutOff = 0;       // letters the routine left out because the picture's edge came first
  std::vector<TextCell> hidden;  // letters left out under the open popup
  bool backed = false;  // a tooltip on its own backing, drawn over what lies beneath
};
void RecordTextRuns(std::vector<TextRun>* sink);
// One call of a text routine: the glyphs drawn while it lives join one run.
class TextRunScope {
 public:
  explicit TextRunScope(bool backed = false);
  ~TextRunScope();
  TextRunScope(const TextRunScope&) = delete;
  TextRunScope& operator=(const TextRunScope&) = delete;
  // Counts the letters of text[from, to) as left out at the picture's edge.
  void CutOff(const char* text, int from, int to);
  // Notes a letter left out under the open popup.
  void Hidden(unsigned char c, int x, int y);

 private:
  bool counted_;
};
