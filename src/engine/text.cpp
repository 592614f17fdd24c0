#include "engine/text.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/sprite_sheets.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "engine/settings.h"
#include "engine/game_screen_state.h"

char HoverCaption[kHoverCaptionSize] = {};
PopupRectangle PopupRect = {};

namespace {

std::vector<GlyphDraw>* g_glyphSink = nullptr;
std::vector<TextRun>* g_runSink = nullptr;
int g_runDepth = 0;  // above 0 while a text routine lays down its run

// The cells of the letters the frame has drawn so far on the 320x240
// picture, that a tooltip beside the pointer keeps off.
struct CellBox {
  int left, top, right, bottom;  // right and bottom excluded
};
std::vector<CellBox> g_drawnCells;
constexpr size_t kDrawnCellsKept = 4096;

struct Factors {
  uint32_t r, g, b, a;
};
// Styles 1 to 6: their own colour, and the channel factors a given colour is tinted with.
constexpr uint32_t kStyleColours[7] = {0xFFFFFFFFu, 0xFFFFFC01u, 0xFFFC8740u, 0xFFF68CE3u,
                                       0xFFB1ACF4u, 0xFF7DF7E7u, 0xFF97F870u};
constexpr Factors kStyleFactors[7] = {{255, 255, 255, 255}, {255, 252, 1, 255},   {252, 135, 64, 255},
                                      {246, 140, 227, 255}, {177, 172, 244, 255}, {125, 247, 231, 255},
                                      {151, 248, 112, 255}};
constexpr uint32_t kFixedStyleColours[5] = {0xFF96FF96u, 0xFFF0A082u, 0xFFAAFFE6u, 0xFFB9B9DCu, 0xFFFED828u};

uint32_t Tint(uint32_t colour, const Factors& f) {
  const uint32_t a = (colour >> 24) * f.a / 255, r = ((colour >> 16) & 255) * f.r / 255,
                 g = ((colour >> 8) & 255) * f.g / 255, b = (colour & 255) * f.b / 255;
  return a << 24 | r << 16 | g << 8 | b;
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool LowResolutionFont() { return OptionWords[kOptionLowResolutionText] == 1; }

// The 960x720 fonts serve the window of size 2, and the window of size 3
// unless the caller asks for the smaller set.
bool WindowFont(int smallerSet) {
  if (!Graphics.windowed) return false;
  return WindowSize == 2 || (WindowSize == 3 && !smallerSet);
}


// The game screen's 480x360 space is drawn only in the "960x720 (b)" window;
// in the other windows the switch leaves the cells as they are.
bool WideCells() { return WideViewDrawn(); }

void CellSize(int large, int* width, int* height) {
  if (WideCells()) {
    *width = large ? 12 : 7;
    *height = large ? 12 : 9;
  } else {
    *width = large ? 8 : 5;
    *height = large ? 8 : 6;
  }
}

// A glyph's cell in the run being laid down (a run of its own when no text
// routine is drawing it).
void RecordCell(unsigned char c, int x, int y, int width, int height) {
  if (g_runSink == nullptr) return;
  if (g_runDepth == 0) g_runSink->emplace_back();
  TextRun& run = g_runSink->back();
  run.cellWidth = width;
  run.cellHeight = height;
  run.cells.push_back(TextCell{c, x, y, DrawOrder()});
}

int FormatInto(char* buffer, const char* format, va_list args) {
  std::memset(buffer, 0, kTextBufferSize);
  std::vsnprintf(buffer, kTextBufferSize, format, args);
  return static_cast<int>(std::strlen(buffer));
}

}  // namespace

namespace {

bool PopupClips() {
  return (ScreenMode == kModeCreatureHovered || ScreenMode == kModeItemPileHovered) && !IsTargetingOrMenuMode();
}

}  // namespace

bool HiddenByPopup(int x, int y) {
  if (!PopupClips()) return false;
  // The boxes keep the 320x240 layout; a cell of the wide window's 480x360
  // view is read in it.
  if (WideCells()) {
    x = x * 2 / 3;
    y = y * 2 / 3;
  }
  return x > PopupRect.left + 1 && x < PopupRect.right - 1 && y > PopupRect.top + 1 && y < PopupRect.bottom - 1;
}

bool PopupMeetsRow(int column, int row, int columns) {
  return PopupMeets(8 * column, 8 * row, 8 * (column + columns), 8 * row + 8);
}

bool PopupMeets(int left, int top, int right, int bottom) {
  if (!PopupClips() || PopupRect.right <= PopupRect.left) return false;
  constexpr int kEdge = 8;  // the box's right and bottom edges lie beyond its rectangle
  return left < PopupRect.right + kEdge && right > PopupRect.left && top < PopupRect.bottom + kEdge &&
         bottom > PopupRect.top;
}

void RecordGlyphs(std::vector<GlyphDraw>* sink) { g_glyphSink = sink; }
void RecordTextRuns(std::vector<TextRun>* sink) {
  g_runSink = sink;
  g_runDepth = 0;
}

TextRunScope::TextRunScope(bool backed) : counted_(g_runSink != nullptr) {
  if (counted_ && g_runDepth++ == 0) {
    g_runSink->emplace_back();
    g_runSink->back().backed = backed;
  }
}

TextRunScope::~TextRunScope() {
  if (counted_) --g_runDepth;
}

void TextRunScope::Hidden(unsigned char c, int x, int y) {
  if (counted_) g_runSink->back().hidden.push_back(TextCell{c, x, y, DrawOrder()});
}

void TextRunScope::CutOff(const char* text, int from, int to) {
  if (!counted_) return;
  for (int i = std::max(from, 0); i < to && text[i]; ++i)
    if (static_cast<unsigned char>(text[i]) > 32 && text[i] != '_') ++g_runSink->back().cutOff;
}

uint32_t StyleColour(uint32_t colour, int style) {
  const bool given = colour != kDefaultColour;
  switch (style) {
    case 1: case 2: case 3: case 4: case 5: case 6:
      return given ? Tint(colour, kStyleFactors[style]) : kStyleColours[style];
    case 7:
      return given ? (colour & 0xFFFF0000u) : Tint(0xFFFF0000u, kStyleFactors[3]);
    case 8:
      return 0xFF0000FFu;
    case 9: {
      const int k = static_cast<int>(AnimationStep % 8) + 1;
      const int g = k < 5 ? 255 - 40 * k : std::max(0, 40 * k - 65);
      return Tint(0xFFFF00FFu | static_cast<uint32_t>(g) << 8, kStyleFactors[1]);
    }
    case 10: case 11: case 12: case 13: case 14:
      return kFixedStyleColours[style - 10];
    default:
      return colour;
  }
}

bool GlyphSheetFrame(unsigned char c, int upperCase, int smallerSet, int large, int* sheet, int* frame) {
  if (c < 33 || c == '_') return false;
  if (LowResolutionFont()) {
    *sheet = kSheetInterface;
    *frame = static_cast<unsigned char>(Upper(static_cast<char>(c))) + (large ? kAltLargeFontBase : kAltSmallFontBase);
    return true;
  }
  int code = c;
  if (c >= 'a' && c <= 'z') code = upperCase ? c - 32 : c - 6;
  *frame = code - 33;
  const bool window = WindowFont(smallerSet);
  *sheet = large ? (window ? kSheetLargeFont3 : kSheetLargeFont2) : (window ? kSheetSmallFont3 : kSheetSmallFont2);
  return true;
}

int DrawGlyph(uint32_t colour, unsigned char c, int x, int y, int style, int upperCase, int smallerSet,
              int large) {
  int sheet = 0, frame = 0;
  if (!GlyphSheetFrame(c, upperCase, smallerSet, large, &sheet, &frame)) return 0;
  if (g_runSink) {
    int width = 8, height = 8;
    CellSize(large, &width, &height);
    RecordCell(c, x, y, width, height);
  }
  if (!WideCells() && g_drawnCells.size() < kDrawnCellsKept) {
    int width = 8, height = 8;
    CellSize(large, &width, &height);
    g_drawnCells.push_back(CellBox{x, y, x + width, y + height});
  }
  const uint32_t drawn = c == '$' ? 0xFFFFFFFFu : StyleColour(colour, style);
  if (g_glyphSink) g_glyphSink->push_back(GlyphDraw{c, sheet, frame, x, y, drawn});
  if (sheet == kSheetInterface) {
    // The low-resolution font is drawn at the display scale; small glyphs
    // take the top-left 5x6 of their frame.
    const int cutWidth = large ? 0 : -3, cutHeight = large ? 0 : -2;
    return DrawSheetFrame(sheet, frame, x, y, drawn, 1.0f, 1.0f, 0.0f, 1, 0, 0, cutWidth, cutHeight, 1, 0, 1);
  }
  // The fonts are drawn at their own size, one font per display scale.
  return DrawSheetFrame(sheet, frame, x, y, drawn, 1.0f, 1.0f, 0.0f, 1, 0, 0, 0, 0, 0, 0, 1);
}

int DrawTextAt(uint32_t colour, int maxChars, int xOffset, const char* text, int style, int column, int row,
               int large, int yOffset, int popupExempt, int upperCase) {
  if (text == nullptr) return 0;
  const int whole = static_cast<int>(std::strlen(text));
  int length = whole;
  const int columns = large ? kLargeColumns : kSmallColumns;
  if (column + length > columns) length = columns - column;
  if (length <= 0 && whole == 0) return 0;
  TextRunScope run;
  run.CutOff(text, std::max(length, 0), std::min(whole, std::max(maxChars, 0)));
  if (length <= 0) return 0;
  length = std::min(length, std::max(maxChars, 0));
  int cellWidth = 8, cellHeight = 8;
  CellSize(large, &cellWidth, &cellHeight);
  const int y = yOffset + row * cellHeight;
  const auto letter = [&](int i) { return static_cast<unsigned char>(text[i]) > 32 && text[i] != '_'; };
  // A text that the open popup would cut is hidden whole.
  bool hidden = false;
  for (int i = 0; i < length && !popupExempt && !hidden; ++i)
    hidden = letter(i) && HiddenByPopup(xOffset + (column + i) * cellWidth, y);
  for (int i = length - 1; i >= 0; --i) {
    const int x = xOffset + (column + i) * cellWidth;
    if (hidden) {
      if (letter(i)) run.Hidden(static_cast<unsigned char>(text[i]), x, y);
      continue;
    }
    DrawGlyph(colour, static_cast<unsigned char>(text[i]), x, y, style, upperCase, 0, large);
  }
  return 1;
}

int TextWidth(const char* text, int large) {
  int width = 8, height = 8;
  CellSize(large, &width, &height);
  return text == nullptr ? 0 : width * static_cast<int>(std::strlen(text));
}

int DrawTextF(int style, int column, int row, const char* format, ...) {
  char buffer[kTextBufferSize];
  va_list args;
  va_start(args, format);
  const int length = FormatInto(buffer, format, args);
  va_end(args);
  DrawTextAt(kDefaultColour, kLargeColumns, 0, buffer, style, column, row, 1, 0, 0, 0);
  return length;
}

int DrawTextFNoClip(int style, int column, int row, const char* format, ...) {
  char buffer[kTextBufferSize];
  va_list args;
  va_start(args, format);
  const int length = FormatInto(buffer, format, args);
  va_end(args);
  DrawTextAt(kDefaultColour, kLargeColumns, 0, buffer, style, column, row, 1, 0, 1, 0);
  return length;
}

int DrawNumberAt(int number, int style, int column, int row) { return DrawTextF(style, column, row, "%i", number); }

namespace {

// The first length characters of a text in a row from (x, y), step pixels
// apart; backed, each on a tooltip's backing, which lies over what the
// screen drew beneath it and hides it whole.
void DrawGlyphRow(const char* text, int length, int x, int y, int step, uint32_t colour, int style, int smallerSet,
                  bool backed) {
  for (int i = 0; i < length; ++i) {
    if (backed) {
      const DrawLayerScope over(DrawLayer::kOnTop);
      DrawSheetFrame(kSheetInterface, kTooltipBackingFrame, x + i * step, y, 0xFFFFFFFFu);
    }
    DrawGlyph(colour, static_cast<unsigned char>(text[i]), x + i * step, y, style, 0, smallerSet, 1);
  }
}

int StringStep(int smallerSet) { return WideCells() && !smallerSet ? 12 : 8; }

}  // namespace

int DrawString(const char* text, int style, int x, int y, uint32_t colour, int smallerSet) {
  if (text == nullptr || text[0] == '\0') return 0;
  TextRunScope run;
  DrawGlyphRow(text, static_cast<int>(std::strlen(text)), x, y, StringStep(smallerSet), colour, style, smallerSet,
               false);
  return 1;
}

int DrawStringOnBacking(const char* text, int x, int y, uint32_t colour, int smallerSet) {
  if (text == nullptr || text[0] == '\0') return 0;
  TextRunScope run(true);
  DrawGlyphRow(text, static_cast<int>(std::strlen(text)), x, y, StringStep(smallerSet), colour, 0, smallerSet, true);
  return 1;
}

int DrawLabelWithValue(int column, int row, int style, int64_t value, const char* format, ...) {
  char buffer[kTextBufferSize], caption[kTextBufferSize];
  va_list args;
  va_start(args, format);
  FormatInto(buffer, format, args);
  va_end(args);
  CapitaliseWords(caption, buffer, 1);
  if (value == 0) return DrawTextAt(kDefaultColour, kLargeColumns, 0, caption, style, column, row, 1, 0, 1, 0);
  DrawTextAt(kDefaultColour, kLargeColumns, 0, caption, style, column, row, 1, -3, 1, 0);
  char line[32];
  std::snprintf(line, sizeof line, "Value %lli", static_cast<long long>(value));
  DrawTextAt(kDefaultColour, kSmallColumns, column * 8, line, 6, 0, 0, 0, row * 8 + 5, 1, 1);
  return 1;
}

void ForgetDrawnTexts() { g_drawnCells.clear(); }

namespace {

// The pointer's picture: 17 by 24 pixels from its tip.
constexpr int kPointerWidth = 17, kPointerHeight = 24;

// Whether a box (right and bottom excluded) lies inside the tooltips' part
// of the picture, off every letter drawn before it in the frame and off the
// pointer at (mx, my).
bool ClearForHint(int left, int top, int right, int bottom, int mx, int my, HintBlocker blocked) {
  if (left < 0 || top < 0 || right > kTooltipRight || bottom > kTooltipBottom) return false;
  if (left < mx + kPointerWidth && right > mx && top < my + kPointerHeight && bottom > my) return false;
  if (blocked != nullptr && blocked(left, top, right, bottom)) return false;
  return std::none_of(g_drawnCells.begin(), g_drawnCells.end(), [&](const CellBox& b) {
    return left < b.right && right > b.left && top < b.bottom && bottom > b.top;
  });
}

// The text the pointer lies on, as one box: the letters on the line of the
// letter under the pointer that follow one another with at most a blank
// between them. False when the pointer lies on no letter.
bool PointedText(int mx, int my, CellBox* text) {
  const auto under = std::find_if(g_drawnCells.rbegin(), g_drawnCells.rend(), [&](const CellBox& b) {
    return mx >= b.left && mx < b.right && my >= b.top && my < b.bottom;
  });
  if (under == g_drawnCells.rend()) return false;
  *text = *under;
  for (bool grown = true; grown;) {
    grown = false;
    for (const CellBox& b : g_drawnCells) {
      if (b.top != text->top || b.bottom != text->bottom) continue;
      const int blank = b.right - b.left;
      if (b.right <= text->left && b.right >= text->left - blank) text->left = b.left, grown = true;
      if (b.left >= text->right && b.left <= text->right + blank) text->right = b.right, grown = true;
    }
  }
  return true;
}

}  // namespace

void KeepHintOffTexts(int* x, int* y, int width, int height, HintBlocker blocked) {
  const int mx = PointerX(), my = PointerY();
  if (ClearForHint(*x, *y, *x + width, *y + height, mx, my, blocked)) return;
  // On the line of the text pointed at: after it, a blank and the pointer
  // past, or before it with a blank between.
  CellBox text{};
  if (PointedText(mx, my, &text)) {
    const int blank = 8;
    const int after = std::max(text.right + blank, mx + kPointerWidth), before = text.left - blank - width;
    for (const int left : {after, before})
      if (ClearForHint(left, text.top, left + width, text.top + height, mx, my, blocked)) {
        *x = left;
        *y = text.top;
        return;
      }
  }
  // The nearest line up or down.
  for (int step = 1; step < kTooltipBottom; ++step)
    for (const int top : {*y - step, *y + step})
      if (ClearForHint(*x, top, *x + width, top + height, mx, my, blocked)) {
        *y = top;
        return;
      }
}

namespace {

// Where the last label placed beside the pointer went.
int g_lastHintX = 0, g_lastHintY = 0;

// A tooltip label; a page's hint beside the pointer keeps off the texts.
int DrawLabel(int x, const char* text, int style, int y, int noBacking, int raw) {
  if (text == nullptr || text[0] == '\0') return 0;
  char label[kHoverCaptionSize + 1];
  if (raw)
    std::snprintf(label, sizeof label, "%s", text);
  else
    CapitaliseWords(label, text, 1);
  const int length = std::min(static_cast<int>(std::strlen(label)), 320 / 8);
  const int width = length * 8;
  TextRunScope run(!noBacking);
  run.CutOff(label, length, static_cast<int>(std::strlen(label)));
  const bool beside = x == -1 && y == -1;
  if (beside) {
    const int mx = PointerX(), my = PointerY();
    x = mx + 17;
    y = my + 12;
    if (x + width > kTooltipRight) {
      x = kTooltipRight - width;
      y = my + 24;
    }
  } else if (x == -1) {
    x = 0;
  }
  x = std::max(x, 0);
  y = std::max(y, 0);
  if (x + width > kTooltipRight) x = std::max(0, kTooltipRight - width);
  if (y + 8 > kTooltipBottom) y = kTooltipBottom - 8;
  if (beside) {
    KeepHintOffTexts(&x, &y, width, 8);
    g_lastHintX = x;
    g_lastHintY = y;
  }
  const uint32_t colour = style >= 10 && style <= 14 ? StyleColour(kDefaultColour, style) : 0xFFFFFFFFu;
  DrawGlyphRow(label, length, x, y, 8, colour, 0, 0, !noBacking);
  return 1;
}

}  // namespace

int DrawWrappedText(int x, const char* text, int style, int y, int noBacking, int raw) {
  return DrawLabel(x, text, style, y, noBacking, raw);
}

void LastHintPlace(int* x, int* y) {
  *x = g_lastHintX;
  *y = g_lastHintY;
}

std::vector<std::vector<char>> LayOutCaptionLines(const char* caption) {
  constexpr size_t kLineLength = 36;
  // Upper case; characters 32 to 95 and carriage returns kept, others dropped.
  std::string text;
  for (int i = 0; i < kHoverCaptionSize && caption[i]; ++i) {
    const char c = Upper(caption[i]);
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '\r' || (u >= 32 && u <= 95)) text.push_back(c);
  }
  std::vector<std::vector<char>> lines(1);
  size_t at = 0;
  while (at < text.size()) {
    if (text[at] == '\r') {
      lines.emplace_back();
      ++at;
      continue;
    }
    if (text[at] == ' ') {
      if (!lines.back().empty() && lines.back().size() < kLineLength) lines.back().push_back(' ');
      ++at;
      continue;
    }
    size_t end = at;
    while (end < text.size() && text[end] != ' ' && text[end] != '\r') ++end;
    std::string word = text.substr(at, end - at);
    at = end;
    while (!word.empty()) {
      std::vector<char>& line = lines.back();
      const size_t room = kLineLength - line.size();
      if (word.size() <= room) {
        line.insert(line.end(), word.begin(), word.end());
        word.clear();
      } else if (!line.empty() && word.size() <= kLineLength) {
        while (!lines.back().empty() && lines.back().back() == ' ') lines.back().pop_back();
        lines.emplace_back();
      } else {
        // A word longer than a line is cut across lines.
        line.insert(line.end(), word.begin(), word.begin() + static_cast<long>(room));
        word.erase(0, room);
        lines.emplace_back();
      }
    }
  }
  if (lines.size() > 11) lines.resize(11);
  return lines;
}

int DrawLargeWrappedCaps() {
  const std::vector<std::vector<char>> lines = LayOutCaptionLines(HoverCaption);
  DrawCaptionBoxFrame();
  TextRunScope run;
  for (size_t l = 0; l < lines.size(); ++l)
    for (size_t i = 0; i < lines[l].size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(lines[l][i]);
      if (c <= 32) continue;
      const int x = 16 + static_cast<int>(i) * 8, y = 16 + static_cast<int>(l) * 8;
      RecordCell(c, x, y, 8, 8);
      if (g_glyphSink) g_glyphSink->push_back(GlyphDraw{c, kSheetInterface, c + 11, x, y, 0xFFFFFFFFu});
      DrawSheetFrame(kSheetInterface, c + 11, x, y);
    }
  return 1;
}

int DrawGradientGlyph(uint32_t colour, int x, int y, int code) {
  return DrawSheetFrameGradient(2, code + 123, x, y, colour, 1.0f, 1.0f, 0.0f, 1, 0xFF7B1400u, 0xFF971807u,
                                0xFFBB1B1Bu, 0xFFFF0000u, 0xFFBB1B1Bu, 0xFF971807u);
}

std::vector<std::string> BreakIntoTwoLines(const std::string& text, size_t cells) {
  if (text.size() <= cells) return {text};
  size_t cut = text.rfind(' ', cells);
  if (cut == std::string::npos || cut == 0) cut = cells;
  return {text.substr(0, cut), text.substr(text[cut] == ' ' ? cut + 1 : cut)};
}

void CapitaliseWords(char* destination, size_t destinationSize, const char* source, int flag) {
  if (destination == nullptr || destinationSize == 0) return;
  if (source == nullptr) {
    destination[0] = '\0';
    return;
  }
  size_t i = 0;
  for (; source[i] != '\0' && i + 1 < destinationSize; ++i) {
    const char c = source[i];
    if (i == 0) {
      destination[i] = c;
      continue;
    }
    const char before = source[i - 1];
    const bool wordStart = before == '_' || before == ' ' || before == '-' || before == '*' || before == '+' ||
                           before == '(' || before == '@';
    destination[i] = flag == 1 && wordStart ? Upper(c) : Lower(c);
  }
  destination[i] = '\0';
}

int ReplaceAll(char* text, size_t capacity, const char* search, const char* replacement) {
  if (text == nullptr || capacity == 0 || search == nullptr || search[0] == '\0') return 0;
  if (replacement == nullptr) replacement = "";
  const std::string source(text, strnlen(text, capacity - 1));
  const size_t searchLength = std::strlen(search);
  std::string result;
  int count = 0;
  size_t at = 0;
  for (size_t found; (found = source.find(search, at)) != std::string::npos; at = found + searchLength) {
    result.append(source, at, found - at);
    result.append(replacement);
    ++count;
  }
  result.append(source, at, std::string::npos);
  const size_t kept = std::min(result.size(), capacity - 1);
  std::memcpy(text, result.data(), kept);
  text[kept] = '\0';
  return count;
}
