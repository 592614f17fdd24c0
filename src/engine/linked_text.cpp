#include "engine/linked_text.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "engine/page_history.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "engine/game_screen_state.h"
#include "engine/help_lookup.h"

LinkHoverState LinkHover = {-1, -1, -1, {}, -1, -1, -1};
int32_t LinkedTextOverflow = 1;
int32_t LinkedTextFirstShown = 0;
int32_t LinkedTextLineCount = 0;
int32_t LinkedTextEndColumn = 0;
int32_t LinkedTextEndRow = 0;

namespace {

constexpr char kHighlight = '\xA3';
constexpr int kNoRoll = 99;

enum class Mark : uint8_t { kPlain, kLink, kMarked };

// One character that takes a cell.
struct Cell {
  int offset;       // into the text
  int column, row;  // absolute cell
  char shown;       // the character drawn (after the word rewriting)
  Mark mark;
  int wordStart, wordEnd;  // the word it belongs to (delimiter excluded)
};

bool IsDelimiter(char c) { return c == ' ' || c == '\r' || c == '\n'; }

bool NeverHovered(char c) {
  return c == ' ' || c == '\r' || c == '\0' || c == '.' || c == ',' || c == ':' || c == '@' || c == '\n';
}

// The word as it is shown: "@AOOS@" becomes "@AOOs@", "@AOO@" stays, and
// any other word that begins with '@' and is longer than five characters
// (its delimiter counted) has the words of its keyword capitalised. What
// follows the keyword's closing '@' in the same word (a full stop, or the
// next message run on without a line break) keeps its letters as written.
void RewriteWord(const char* text, int start, int end, int delimiterEnd, std::vector<char>* shown) {
  shown->assign(text + start, text + delimiterEnd);
  const int length = delimiterEnd - start;
  if (length <= 5 || text[start] != '@') return;
  const int bodyLength = end - start;
  if (bodyLength == 6 && std::strncmp(text + start, "@AOOS@", 6) == 0) {
    (*shown)[4] = 's';
    return;
  }
  if (bodyLength == 5 && std::strncmp(text + start, "@AOO@", 5) == 0) return;
  const char* close = static_cast<const char*>(std::memchr(text + start + 1, '@', static_cast<size_t>(end - start - 1)));
  const size_t keyword = close != nullptr ? static_cast<size_t>(close - (text + start)) + 1 : shown->size();
  std::vector<char> source(shown->begin(), shown->begin() + static_cast<std::ptrdiff_t>(keyword));
  source.push_back('\0');
  std::vector<char> out(source.size());
  CapitaliseWords(out.data(), out.size(), source.data(), 1);
  std::copy(out.begin(), out.end() - 1, shown->begin());
}

struct Layout {
  std::vector<Cell> cells;
  int lines = 0;        // lines advanced on the screen (0 = the first row)
  int passed = 0;       // lines passed over before the first shown one
  int firstShown = 0;
  bool overflow = false;
  int endColumn = 0, endRow = 0;
};

class Typesetter {
 public:
  Typesetter(const char* text, int left, int top, int right, int bottom, int firstLine, bool rollLinks)
      : text_(text), left_(left), top_(top), bottom_(bottom), width_(right - left + 1), skip_(firstLine),
        rollLinks_(rollLinks) {
    if (width_ < 1) width_ = 1;
    if (skip_ < 0) skip_ = 0;
  }

  Layout Run() {
    const int length = static_cast<int>(std::strlen(text_));
    int at = 0;
    if (skip_ == 0) layout_.firstShown = 0;
    std::vector<char> shown;
    while (at < length && !stopped_) {
      const int start = at;
      while (at < length && !IsDelimiter(text_[at])) ++at;
      const int end = at;
      const char delimiter = at < length ? text_[at] : '\0';
      if (at < length) ++at;
      RewriteWord(text_, start, end, at, &shown);
      // The word is measured with its delimiter, which belongs to it.
      if (column_ > 0 && column_ + VisibleLength(start, at) > width_) NewLine(start);
      for (int i = start; i < end && !stopped_; ++i) Put(i, shown[i - start], start, end);
      if (stopped_) break;
      if (delimiter == ' ') {
        ++column_;
      } else if (delimiter == '\r') {
        NewLine(at);
      } else if (delimiter == '\n') {
        column_ = 0;
      }
    }
    layout_.overflow = stopped_;
    layout_.lines = line_;
    layout_.endColumn = left_ + column_;
    layout_.endRow = top_ + line_;
    return layout_;
  }

 private:
  // Cells the characters from start to end take: marks and hidden roll runs take none.
  int VisibleLength(int start, int end) const {
    Mark mark = mark_;
    bool hidden = hidden_;
    int cells = 0;
    for (int i = start; i < end; ++i) {
      if (Consumes(text_[i], &mark, &hidden)) continue;
      ++cells;
    }
    return cells;
  }

  // Applies a character's effect on the mark state; true when it takes no cell.
  bool Consumes(char c, Mark* mark, bool* hidden) const {
    if (*hidden) {
      if (c != '@' && c != kHighlight) return true;
      *hidden = false;
    }
    if (c == '@' && *mark != Mark::kMarked) {
      *mark = *mark == Mark::kLink ? Mark::kPlain : Mark::kLink;
      return true;
    }
    if (c == kHighlight && *mark != Mark::kLink) {
      *mark = *mark == Mark::kMarked ? Mark::kPlain : Mark::kMarked;
      return true;
    }
    if (c == '|' && rollLinks_) {
      *hidden = true;
      return true;
    }
    return false;
  }

  void Put(int offset, char shown, int wordStart, int wordEnd) {
    if (Consumes(text_[offset], &mark_, &hidden_)) return;
    if (column_ >= width_) NewLine(offset);  // a word longer than the line goes on below
    if (stopped_) return;
    if (skip_ == 0)
      layout_.cells.push_back(Cell{offset, left_ + column_, top_ + line_, shown, mark_, wordStart, wordEnd});
    ++column_;
  }

  void NewLine(int nextOffset) {
    column_ = 0;
    if (skip_ > 0) {
      --skip_;
      ++layout_.passed;
      if (skip_ == 0) layout_.firstShown = nextOffset;
      return;
    }
    if (top_ + line_ + 1 > bottom_) {
      stopped_ = true;
      return;
    }
    ++line_;
  }

  const char* text_;
  int left_, top_, bottom_, width_, skip_;
  bool rollLinks_;
  Mark mark_ = Mark::kPlain;
  bool hidden_ = false;
  int column_ = 0, line_ = 0;
  bool stopped_ = false;
  Layout layout_;
};

void ClearLink() {
  LinkHover.linkStart = -1;
  LinkHover.linkEnd = -1;
}

void SetCaption(const char* title) {
  std::memset(HoverCaption, 0, sizeof HoverCaption);
  std::memcpy(HoverCaption, title, strnlen(title, kHoverCaptionShown));
}

// The roll index a word carries after the hovered character: '|' and two
// digits; -1 when none.
int RollIndexAfter(const char* text, int from, int wordEnd) {
  for (int i = from + 1; i < wordEnd; ++i) {
    if (text[i] != '|') continue;
    if (i + 2 < wordEnd + 1 && text[i + 1] >= '0' && text[i + 1] <= '9' && text[i + 2] >= '0' && text[i + 2] <= '9')
      return (text[i + 1] - '0') * 10 + (text[i + 2] - '0');
    return -1;
  }
  return -1;
}

bool TrailingPunctuation(char c) {
  return c == '.' || c == ',' || c == '-' || c == ';' || c == '!' || c == '?' || c == ':' || c == ')';
}

void Hover(const char* text, const Layout& layout, int large, bool rollLinks) {
  const int cellWidth = large ? 8 : 5, cellHeight = large ? 8 : 6;
  const int mouseColumn = PointerX() / cellWidth, mouseRow = PointerY() / cellHeight;
  const bool moved = mouseColumn != LinkHover.mouseColumn || mouseRow != LinkHover.mouseRow;
  LinkHover.mouseColumn = mouseColumn;
  LinkHover.mouseRow = mouseRow;
  LinkHover.hoveredChar = -1;
  const Cell* over = nullptr;
  for (const Cell& cell : layout.cells)
    if (cell.column == mouseColumn && cell.row == mouseRow && !NeverHovered(text[cell.offset])) {
      over = &cell;
      break;
    }
  if (over == nullptr) {
    ClearLink();
    return;
  }
  LinkHover.hoveredChar = over->offset;
  ClearLink();
  if (!rollLinks || HelpLinkSwitch) return;

  // A rolled number: the word, less one trailing punctuation mark, links to
  // the breakdown of its roll.
  const int roll = RollIndexAfter(text, over->offset, over->wordEnd);
  if (roll >= 0 && roll != kNoRoll) {
    int end = over->wordEnd;
    if (end - 1 > over->wordStart && TrailingPunctuation(text[end - 1])) --end;
    LinkHover.linkStart = over->wordStart;
    LinkHover.linkEnd = end - 1;
    CursorShape = kCursorOverLink;
    char caption[kRollCaptionSize + 1] = {};
    if (CombatRollCaption(roll, caption)) SetCaption(caption);
    if (ConsumeClick(1)) {
      ResetHover();
      OpenLinkedPage(kPageRollBreakdown, roll);
    }
    return;
  }

  // A keyword: the run between the two '@' marks around the hovered character.
  if (over->mark != Mark::kLink) return;
  int start = over->offset, end = over->offset;
  while (start > 0 && text[start] != '@') --start;
  while (text[end] != '\0' && text[end] != '@') ++end;
  if (text[start] != '@' || text[end] != '@') return;
  const size_t length = static_cast<size_t>(end - start + 1);
  const bool cached = LinkHover.keyword[0] != '\0' && std::strlen(LinkHover.keyword) == length &&
                      std::strncmp(LinkHover.keyword, text + start, length) == 0;
  if (cached && LinkHover.keywordPage >= 0) {
    const HelpPage& page = HelpPages[LinkHover.keywordPage];
    LinkHover.linkStart = start;
    LinkHover.linkEnd = end;
    CursorShape = kCursorOverLink;
    SetCaption(page.title);
    if (ConsumeClick(1)) {
      const int32_t id = static_cast<int32_t>(page.id);
      ResetHover();
      OpenLinkedPage(kPageHelpTopic, id);
    }
  } else if (moved) {
    const int entry = FindHelpKeywordN(text + start, length);
    if (entry >= 0) {
      std::memset(LinkHover.keyword, 0, sizeof LinkHover.keyword);
      std::memcpy(LinkHover.keyword, text + start, length);
      LinkHover.keywordPage = FindHelpPage(HelpKeywords[entry].pageId);
    }
  }
}

// Laid-out texts kept from frame to frame: a text is laid out again only
// when it, or where and from which line it is laid out, has changed.
struct KeptLayout {
  bool valid = false;
  bool inUse = false;  // the layout being drawn is never the one replaced
  std::string text;
  int left = 0, top = 0, right = 0, bottom = 0, firstLine = 0;
  bool rollLinks = false;
  Layout layout;
  uint64_t lastUsed = 0;
};
constexpr int kKeptLayouts = 4;
KeptLayout g_layouts[kKeptLayouts];
uint64_t g_layoutUses = 0;
int g_layoutsMade = 0;

KeptLayout& LaidOut(const char* text, int left, int top, int right, int bottom, int firstLine, bool rollLinks) {
  const size_t length = std::strlen(text);
  KeptLayout* oldest = nullptr;
  for (KeptLayout& kept : g_layouts) {
    if (kept.valid && kept.left == left && kept.top == top && kept.right == right && kept.bottom == bottom &&
        kept.firstLine == firstLine && kept.rollLinks == rollLinks && kept.text.size() == length &&
        std::memcmp(kept.text.data(), text, length) == 0) {
      kept.lastUsed = ++g_layoutUses;
      return kept;
    }
    if (!kept.inUse && (!oldest || !kept.valid || (oldest->valid && kept.lastUsed < oldest->lastUsed)))
      oldest = &kept;
  }
  KeptLayout& kept = oldest ? *oldest : g_layouts[0];
  kept.text.assign(text, length);
  kept.left = left;
  kept.top = top;
  kept.right = right;
  kept.bottom = bottom;
  kept.firstLine = firstLine;
  kept.rollLinks = rollLinks;
  kept.layout = Typesetter(text, left, top, right, bottom, firstLine, rollLinks).Run();
  kept.valid = true;
  kept.lastUsed = ++g_layoutUses;
  ++g_layoutsMade;
  return kept;
}

}  // namespace

int LinkedTextLayoutsMade() { return g_layoutsMade; }

void ResetLinkHover() {
  LinkHover.hoveredChar = -1;
  ClearLink();
  std::memset(LinkHover.keyword, 0, sizeof LinkHover.keyword);
  LinkHover.keywordPage = -1;
  LinkHover.mouseColumn = -1;
  LinkHover.mouseRow = -1;
}

int DrawLinkedText(const char* text, int style, int left, int top, int right, int bottom, int firstLine,
                   int rollLinks, int large, int draw) {
  if (text == nullptr) text = "";
  KeptLayout& kept = LaidOut(text, left, top, right, bottom, firstLine, rollLinks != 0);
  const Layout& layout = kept.layout;
  LinkedTextOverflow = layout.overflow ? -1 : 1;
  LinkedTextFirstShown = layout.firstShown;
  LinkedTextLineCount = layout.passed + layout.lines + 1;
  LinkedTextEndColumn = layout.endColumn;
  LinkedTextEndRow = layout.endRow;
  if (!draw) return 1;

  kept.inUse = true;
  Hover(text, layout, large, rollLinks != 0);
  TextRunScope run;
  const int cellWidth = large ? 8 : 5, cellHeight = large ? 8 : 6;
  const uint32_t plain = StyleColour(kDefaultColour, style);
  for (const Cell& cell : layout.cells) {
    // Like every text, the linked text under an open popup is not drawn.
    if (HiddenByPopup(cell.column * cellWidth, cell.row * cellHeight)) continue;
    uint32_t colour = plain;
    if (LinkHover.linkStart >= 0 && cell.offset >= LinkHover.linkStart && cell.offset <= LinkHover.linkEnd)
      colour = kHoveredLinkColour;
    else if (cell.mark == Mark::kLink)
      colour = kLinkColour;
    else if (cell.mark == Mark::kMarked)
      colour = kMarkedColour;
    DrawGlyph(colour, static_cast<unsigned char>(cell.shown), cell.column * cellWidth, cell.row * cellHeight, 0, 0,
              0, large);
  }
  kept.inUse = false;
  return 1;
}
