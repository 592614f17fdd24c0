// Every screen's texts and pictures stay apart and inside the picture, in
// each window size: each page type and each state of the game screen (the
// dialogue box, the message log and the combat panels among them) is drawn
// headless, first with the pointer on nothing, then with the pointer on each
// text it drew (so that hints and hover styles show), and the texts and
// sheet frames the frame laid down are read back. Reported: two texts that
// claim one cell with different letters; a text that leaves the picture or
// is cut at its edge; a picture of its own (an icon, an arrow, a figure, an
// ornament, the edge of a frame) whose drawn pixels fall on or right beside
// a letter's ink, or leave the picture (the die of a roll, drawn inside its
// line, is such a picture; so are the map's marks in a battle, the path
// arrows, condition icons and the turn marker, but the view's edges may cut
// them as they cut the map); a text that a panel, a fill or a backdrop drawn
// after it covers; texts of the two sizes side by side on one line with less
// than a large cell's width of blank between them; a chance shown over a
// creature that the pointer lies on; a box over the map that lies over the
// side panel. Backdrops (the map view, page backdrops, panel stone), plain
// fills and the pointer with what it carries are not pictures of their own;
// a popup box covers what was drawn before it; a number drawn on the box it
// counts belongs to it, on a backing of its own (a plain fill between the
// two). A tooltip on its own backing covers the page beneath it (two
// tooltips still may not meet), but on the game screen never the party
// list's names, on the creation pages no text at all, and while the pointer
// lies on a row of a list none of the list's other rows; its backing hides
// what lies under it whole; it keeps clear of the picture's right and bottom
// edges. A box over the map hides a text under it whole or not at all; a
// mark drawn see-through (a square of a line of fire) tints the ground
// under the texts. The pointer also stands on a grid over each screen, where
// tooltips show that no text starts. With TEXT_LAYOUT_SHOTS naming a folder,
// the pictures looked at are written there (with TEXT_LAYOUT_EVERY_SHOT set
// too, the picture of every look).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "adventure/dialogue.h"
#include "combat/resolution/combat_sequencer.h"
#include "creatures/creature_kinds.h"
#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/help_pages.h"
#include "engine/message_log.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/settings.h"
#include "engine/sprite_sheets.h"
#include "engine/static_layers.h"
#include "engine/text.h"
#include "frontend/game_start.h"
#include "harness/harness.h"
#include "harness/play_verbs.h"
#include "harness/test_scenes.h"
#include "party/creation_screen.h"
#include "party/new_characters.h"
#include "map/map_record.h"
#include "rules/creature_record.h"
#include "rules/feat_names.h"
#include "rules/item_tables.h"
#include "rules/spell_ids.h"
#include "screens/game/action_menu.h"
#include "screens/game/click_results.h"
#include "screens/game/map_input.h"
#include "screens/game/panel_sections.h"
#include "screens/game/panel_words.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/fighter_slots.h"
#include "state/game_screen_words.h"
#include "state/map_view_state.h"
#include "state/panel_buttons.h"
#include "state/turn_order.h"

namespace layout_check {

struct Cell {
  int x, y, w, h;
  unsigned char c;
  int64_t order;
};

// The cells a run's letters claim (a blank claims nothing: texts may lie
// in each other's gaps, as "Pending/Completed/All" does), in reading order.
inline std::vector<Cell> Claimed(const TextRun& run) {
  std::vector<Cell> cells;
  for (const TextCell& t : run.cells)
    if (t.c != ' ') cells.push_back(Cell{t.x, t.y, run.cellWidth, run.cellHeight, t.c, t.order});
  std::sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
  return cells;
}

inline std::string Words(const std::vector<Cell>& cells) {
  std::string s;
  for (size_t i = 0; i < cells.size() && s.size() < 40; ++i) {
    if (i > 0 && cells[i].y != cells[i - 1].y) s += " / ";
    else if (i > 0 && cells[i].x > cells[i - 1].x + cells[i].w) s += ' ';
    s.push_back(static_cast<char>(cells[i].c));
  }
  return "\"" + s + "\" at " + std::to_string(cells.empty() ? 0 : cells[0].x) + "," +
         std::to_string(cells.empty() ? 0 : cells[0].y);
}

inline bool Meet(const Cell& a, const Cell& b) {
  if (a.x >= b.x + b.w || b.x >= a.x + a.w || a.y >= b.y + b.h || b.y >= a.y + a.h) return false;
  // The same letter drawn again on its own cell (a hovered label restyled).
  return !(a.c == b.c && a.x == b.x && a.y == b.y && a.w == b.w);
}

// The sheets that hold backdrops: the world map and menu backdrop pieces,
// the panel stone and mosaic, the title, logo and large pictures; and the
// fonts, whose frames are the texts themselves.
inline bool BackdropOrFontSheet(int slot) {
  static const std::set<int> kSheets = {17, 50, 51, 52, 54, 55, 56, 57, 58, 63, 64,
                                        kSheetLargeFont2, kSheetLargeFont3, kSheetSmallFont2, kSheetSmallFont3};
  return kSheets.count(slot) != 0;
}

// The opaque texels of a source rectangle (offsets from its corner), and
// whether it is one plain colour throughout (a fill).
struct Texels {
  std::vector<std::pair<int, int>> opaque;
  bool plain = true;
};
inline const Texels& OpaqueTexels(const SheetDraw& d) {
  static std::map<std::tuple<int, int, int, int, int>, Texels> kept;
  const auto key = std::make_tuple(d.slot, d.srcLeft, d.srcTop, d.srcWidth, d.srcHeight);
  const auto found = kept.find(key);
  if (found != kept.end()) return found->second;
  Texels& t = kept[key];
  const platform::Texture* texture = SheetBank.records ? SheetBank.records[d.slot].texture.get() : nullptr;
  if (!texture) return t;
  const uint32_t* px = texture->Pixels();
  const int w = texture->Width(), h = texture->Height();
  uint32_t first = 0;
  bool any = false;
  for (int y = 0; y < d.srcHeight; ++y)
    for (int x = 0; x < d.srcWidth; ++x) {
      const int tx = d.srcLeft + x, ty = d.srcTop + y;
      const uint32_t p = tx >= 0 && ty >= 0 && tx < w && ty < h ? px[static_cast<size_t>(ty) * w + tx] : 0;
      if (!any) first = p, any = true;
      if (p != first) t.plain = false;
      if ((p >> 24) >= 8) t.opaque.push_back({x, y});
    }
  return t;
}

// A picture of its own on the screen: the logical pixels its drawn texels
// cover, and its name for the report.
struct Picture {
  std::string name;
  std::vector<std::pair<int, int>> pixels;
  bool onTop;     // lies over what was drawn before it (a popup box)
  int64_t order;  // when it was drawn
  int left, top, right, bottom;  // its frame's box (right and bottom excluded)
  bool mark = false;             // a mark on the map view, which the view's edges cut
};
// The logical pixels a draw's opaque texels cover (a texel wider than a
// pixel covers every pixel it reaches into).
inline const std::vector<std::pair<int, int>>& CoveredPixels(const SheetDraw& d) {
  // The same frame drawn at the same place in frame after frame: found once.
  using Key = std::array<uint32_t, 10>;
  struct Hash {
    size_t operator()(const Key& k) const {
      uint64_t h = 14695981039346656037ull;
      for (uint32_t v : k) h = (h ^ v) * 1099511628211ull;
      return static_cast<size_t>(h);
    }
  };
  static std::unordered_map<Key, std::vector<std::pair<int, int>>, Hash> kept;
  const float scale = static_cast<float>(GetDisplayScale());
  const auto bits = [](float f) {
    uint32_t u = 0;
    std::memcpy(&u, &f, sizeof u);
    return u;
  };
  const Key key{static_cast<uint32_t>(d.slot), static_cast<uint32_t>(d.srcLeft), static_cast<uint32_t>(d.srcTop),
                static_cast<uint32_t>(d.srcWidth), static_cast<uint32_t>(d.srcHeight), bits(d.deviceX),
                bits(d.deviceY), bits(d.texelWidth), bits(d.texelHeight), static_cast<uint32_t>(GetDisplayScale())};
  const auto found = kept.find(key);
  if (found != kept.end()) return found->second;
  std::vector<std::pair<int, int>>& pixels = kept[key];
  for (const auto& [x, y] : OpaqueTexels(d).opaque) {
    const float left = d.deviceX + x * d.texelWidth, top = d.deviceY + y * d.texelHeight;
    const int x0 = static_cast<int>(std::floor(left / scale)), y0 = static_cast<int>(std::floor(top / scale));
    const int x1 = std::max(x0 + 1, static_cast<int>(std::ceil((left + d.texelWidth) / scale)));
    const int y1 = std::max(y0 + 1, static_cast<int>(std::ceil((top + d.texelHeight) / scale)));
    for (int py = y0; py < y1; ++py)
      for (int px = x0; px < x1; ++px) pixels.push_back({px, py});
  }
  std::sort(pixels.begin(), pixels.end());
  pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
  return pixels;
}

inline std::vector<Picture> Pictures(const std::vector<SheetDraw>& draws) {
  std::vector<Picture> out;
  for (const SheetDraw& d : draws) {
    if (d.layer == DrawLayer::kBackdrop || BackdropOrFontSheet(d.slot) || (d.colour >> 24) < 8 || d.srcWidth <= 0 ||
        d.srcHeight <= 0)
      continue;
    if (OpaqueTexels(d).plain) continue;
    // A mark drawn see-through (a square of the line of fire) tints the
    // ground the texts over it stand on.
    if (d.layer == DrawLayer::kMark && (d.colour >> 24) < 128) continue;
    Picture p;
    p.pixels = CoveredPixels(d);
    if (p.pixels.empty()) continue;
    p.onTop = d.layer == DrawLayer::kOnTop;
    p.mark = d.layer == DrawLayer::kMark;
    p.order = d.order;
    const float scale = static_cast<float>(GetDisplayScale());
    p.left = static_cast<int>(std::floor(d.deviceX / scale));
    p.top = static_cast<int>(std::floor(d.deviceY / scale));
    p.right = static_cast<int>(std::ceil((d.deviceX + d.srcWidth * d.texelWidth) / scale));
    p.bottom = static_cast<int>(std::ceil((d.deviceY + d.srcHeight * d.texelHeight) / scale));
    p.name = "picture " + std::to_string(d.slot) + "/" + std::to_string(d.frame) + " at " +
             std::to_string(p.pixels.front().first) + "," + std::to_string(p.pixels.front().second);
    out.push_back(std::move(p));
  }
  return out;
}

// Where something that lies on top (a popup box with its fill, the
// pointer) was drawn, and when: what was drawn before it there is covered.
struct Cover {
  int left, top, right, bottom;  // logical pixels, right and bottom excluded
  int64_t order;
};
inline std::vector<Cover> Covers(const std::vector<SheetDraw>& draws) {
  std::vector<Cover> out;
  const float scale = static_cast<float>(GetDisplayScale());
  for (const SheetDraw& d : draws)
    if (d.layer == DrawLayer::kOnTop && d.srcWidth > 0 && d.srcHeight > 0)
      out.push_back(Cover{static_cast<int>(std::floor(d.deviceX / scale)), static_cast<int>(std::floor(d.deviceY / scale)),
                          static_cast<int>(std::ceil((d.deviceX + d.srcWidth * d.texelWidth) / scale)),
                          static_cast<int>(std::ceil((d.deviceY + d.srcHeight * d.texelHeight) / scale)), d.order});
  return out;
}

// The popup boxes of a frame (the edges of a box are drawn one after the
// other), with when their drawing began; or, from the side panel's edges
// and corners, the side panel's frame.
constexpr int kFirstPopupEdge = 948, kLastPopupEdge = 951, kFirstPanelEdge = 952, kLastPanelEdge = 959;
inline std::vector<Cover> PopupBoxes(const std::vector<SheetDraw>& draws, int firstEdge = kFirstPopupEdge,
                              int lastEdge = kLastPopupEdge) {
  std::vector<Cover> boxes;
  int64_t last = -10;
  const float scale = static_cast<float>(GetDisplayScale());
  for (const SheetDraw& d : draws) {
    if ((firstEdge == kFirstPopupEdge && d.layer != DrawLayer::kOnTop) || d.slot != kSheetInterface ||
        d.frame < firstEdge || d.frame > lastEdge)
      continue;
    const int left = static_cast<int>(std::floor(d.deviceX / scale)), top = static_cast<int>(std::floor(d.deviceY / scale));
    const int right = static_cast<int>(std::ceil((d.deviceX + d.srcWidth * d.texelWidth) / scale));
    const int bottom = static_cast<int>(std::ceil((d.deviceY + d.srcHeight * d.texelHeight) / scale));
    if (boxes.empty() || d.order > last + 2) {
      boxes.push_back(Cover{left, top, right, bottom, d.order});
    } else {
      Cover& b = boxes.back();
      b.left = std::min(b.left, left);
      b.top = std::min(b.top, top);
      b.right = std::max(b.right, right);
      b.bottom = std::max(b.bottom, bottom);
    }
    last = d.order;
  }
  return boxes;
}

// What one frame laid down, and whether it was a page (on a page a
// tooltip covers the texts beneath it; on the game screen it keeps off them).
struct Drawn {
  std::vector<TextRun> runs;
  std::vector<SheetDraw> draws;
  bool page = false;
  // A creation page: its hints keep off every text.
  bool hintsClear = false;
  // The party list's block while it is shown: no hint beside the pointer
  // may cover it.
  bool list = false;
  int listLeft = 0, listTop = 0, listRight = 0, listBottom = 0;
  // Where the pointer stood.
  int pointerX = -1, pointerY = -1;
};

inline bool InList(const Drawn& d, const std::vector<Cell>& cells) {
  if (!d.list || cells.empty()) return false;
  for (const Cell& c : cells)
    if (c.x < d.listLeft || c.x + c.w > d.listRight || c.y < d.listTop || c.y + c.h > d.listBottom) return false;
  return true;
}
inline void Record(Drawn* drawn) {
  RecordTextRuns(drawn ? &drawn->runs : nullptr);
  RecordSheetDraws(drawn ? &drawn->draws : nullptr);
}

// The last frame drawn as the given draw count (the frames are recorded
// in the order they were drawn), or null.
inline const SheetDraw* DrawnAt(const std::vector<SheetDraw>& draws, int64_t order) {
  const auto after = std::upper_bound(draws.begin(), draws.end(), order,
                                      [](int64_t o, const SheetDraw& d) { return o < d.order; });
  return after == draws.begin() || std::prev(after)->order != order ? nullptr : &*std::prev(after);
}

// The pictures that cover each pixel of the picture, as chains through one
// list (a list per pixel took most of the check's time to make).
struct PixelOwners {
  std::vector<int> first = std::vector<int>(320 * 240, -1);
  std::vector<std::pair<int, int>> links;  // picture, next link
  void Add(int x, int y, int picture) {
    int& head = first[static_cast<size_t>(y) * 320 + x];
    links.push_back({picture, head});
    head = static_cast<int>(links.size()) - 1;
  }
  template <typename F>
  void ForEach(int x, int y, F f) const {
    for (int l = first[static_cast<size_t>(y) * 320 + x]; l != -1; l = links[static_cast<size_t>(l)].second)
      f(links[static_cast<size_t>(l)].first);
  }
};

// The "960x720 (b)" window lays the map view's texts on the cells of its
// 480 by 360 space (12 by 12, or 7 by 9 for the small letters): read in
// the picture's 320 by 240 pixels, as everything else is, with the glyphs
// drawn on them.
inline int ToPicture(int v) { return v >= 0 ? 2 * v / 3 : -((2 * -v + 2) / 3); }
inline void InPicturePixels(Drawn* drawn) {
  for (TextRun& run : drawn->runs) {
    const bool wide = run.cellHeight == 12 || run.cellHeight == 9;
    if (!wide) continue;
    for (TextCell& t : run.cells) {
      SheetDraw* glyph = const_cast<SheetDraw*>(DrawnAt(drawn->draws, t.order + 1));
      if (glyph != nullptr && glyph->x == t.x && glyph->y == t.y) {
        glyph->x = ToPicture(t.x);
        glyph->y = ToPicture(t.y);
      }
      t.x = ToPicture(t.x);
      t.y = ToPicture(t.y);
    }
    for (TextCell& t : run.hidden) {
      t.x = ToPicture(t.x);
      t.y = ToPicture(t.y);
    }
    run.cellWidth = run.cellHeight == 12 ? 8 : 4;
    run.cellHeight = run.cellHeight == 12 ? 8 : 6;
  }
}
// Map pixels of the view for picture pixels, and back.
inline int MapSpan(int picture) { return IsWideView() ? picture * 3 / 2 : picture; }
inline int PictureSpan(int map) { return IsWideView() ? ToPicture(map) : map; }

// The pointer's grid over every screen, in pixels.
constexpr int kGridStep = 48;

// How far a tooltip keeps from the picture's right and bottom edges.
constexpr int kTooltipMargin = 4;

// Whether a plain fill drawn after `under` and before the cells lies under
// every one of them (a number's own backing on the picture it counts).
inline bool OnBacking(const std::vector<SheetDraw>& draws, const Picture& under, const std::vector<Cell>& cells) {
  const float scale = static_cast<float>(GetDisplayScale());
  return std::all_of(cells.begin(), cells.end(), [&](const Cell& c) {
    return std::any_of(draws.begin(), draws.end(), [&](const SheetDraw& d) {
      if (d.order <= under.order || d.order > c.order || d.srcWidth <= 0 || d.srcHeight <= 0 || (d.colour >> 24) < 8 ||
          BackdropOrFontSheet(d.slot) || !OpaqueTexels(d).plain)
        return false;
      const float left = d.deviceX / scale, top = d.deviceY / scale;
      const float right = (d.deviceX + d.srcWidth * d.texelWidth) / scale;
      const float bottom = (d.deviceY + d.srcHeight * d.texelHeight) / scale;
      return left <= c.x && top <= c.y && right >= c.x + c.w - 1 && bottom >= c.y + c.h - 1;
    });
  });
}

// A hint beside the pointer while the pointer lies on a row of a list (the
// action list, a page's list of feats: three rows or more of one letter
// size that start in one column, each a row or less below the one before)
// keeps off the list's other rows: laid over them it hid the choices next
// to the one pointed at.
inline void HintsOffTheirList(const Drawn& drawn, const std::vector<std::vector<Cell>>& claimed,
                              std::vector<std::string>* faults) {
  const std::vector<TextRun>& runs = drawn.runs;
  const auto holds = [&](const Cell& c) {
    return drawn.pointerX >= c.x && drawn.pointerX < c.x + c.w && drawn.pointerY >= c.y && drawn.pointerY < c.y + c.h;
  };
  size_t row = runs.size();
  for (size_t i = 0; i < runs.size() && row == runs.size(); ++i)
    if (!runs[i].backed && std::any_of(claimed[i].begin(), claimed[i].end(), holds)) row = i;
  if (row == runs.size()) return;
  const Cell& start = claimed[row].front();
  // The rows of the list by their line: those above and below the row
  // pointed at, as long as no line is missing.
  std::map<int, std::vector<size_t>> lines;
  for (size_t j = 0; j < runs.size(); ++j)
    if (!runs[j].backed && !claimed[j].empty() && claimed[j].front().x == start.x &&
        claimed[j].front().h == start.h)
      lines[claimed[j].front().y].push_back(j);
  const auto at = lines.find(start.y);
  if (at == lines.end()) return;
  std::vector<size_t> others;
  for (auto up = at; up != lines.begin();) {
    const auto next = std::prev(up);
    if (up->first - next->first > 2 * start.h) break;
    others.insert(others.end(), next->second.begin(), next->second.end());
    up = next;
  }
  for (auto down = std::next(at); down != lines.end() && down->first - std::prev(down)->first <= 2 * start.h; ++down)
    others.insert(others.end(), down->second.begin(), down->second.end());
  if (others.size() < 2) return;
  for (size_t i = 0; i < runs.size(); ++i) {
    if (!runs[i].backed) continue;
    for (size_t j : others) {
      const bool meet = std::any_of(claimed[i].begin(), claimed[i].end(), [&](const Cell& a) {
        return std::any_of(claimed[j].begin(), claimed[j].end(), [&](const Cell& b) {
          return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
        });
      });
      if (meet) faults->push_back(Words(claimed[i]) + " lies on " + Words(claimed[j]) + " beside the row pointed at, " +
                                  Words(claimed[row]));
    }
  }
}

// What is wrong with the texts and pictures of one frame.
inline std::vector<std::string> Faults(const Drawn& drawn) {
  const std::vector<TextRun>& runs = drawn.runs;
  std::vector<std::string> faults;
  std::vector<std::vector<Cell>> claimed;
  for (const TextRun& run : runs) claimed.push_back(Claimed(run));
  for (size_t i = 0; i < runs.size(); ++i) {
    const std::vector<Cell>& a = claimed[i];
    if (runs[i].cutOff > 0) faults.push_back(Words(a) + " is cut at the picture's edge");
    if (!runs[i].hidden.empty() && !a.empty()) faults.push_back(Words(a) + " is cut by the box drawn over it");
    if (runs[i].backed)
      for (const Cell& c : a)
        if (c.x + c.w > 320 - kTooltipMargin || c.y + c.h > 240 - kTooltipMargin) {
          faults.push_back(Words(a) + " runs to the picture's edge");
          break;
        }
    for (const Cell& c : a)
      if (c.c != ' ' && (c.x < 0 || c.y < 0 || c.x + c.w > 320 || c.y + c.h > 240)) {
        faults.push_back(Words(a) + " leaves the picture");
        break;
      }
    for (size_t j = i + 1; j < runs.size(); ++j) {
      // A tooltip stands on its own backing over what lies beneath it, the
      // party list's names excepted.
      if (runs[i].backed != runs[j].backed && !drawn.hintsClear && !InList(drawn, runs[i].backed ? claimed[j] : a))
        continue;
      const std::vector<Cell>& b = claimed[j];
      bool meet = false;
      for (size_t p = 0; p < a.size() && !meet; ++p)
        for (size_t q = 0; q < b.size() && !meet; ++q) meet = Meet(a[p], b[q]);
      if (meet) faults.push_back(Words(a) + " overlaps " + Words(b));
    }
  }
  HintsOffTheirList(drawn, claimed, &faults);
  for (const SheetDraw& d : drawn.draws)
    if (d.layer == DrawLayer::kOnTop && d.slot == kSheetInterface && d.frame == kTooltipBackingFrame &&
        (d.colour >> 24) < 255) {
      faults.push_back("a tooltip's backing lets what lies under it show through");
      break;
    }
  // Pictures: inside the picture, and off every text's cells. A tooltip
  // lies over them; whatever lies on top (a popup box, the pointer) covers
  // the texts drawn before it, but not those drawn over it.
  // A letter's ink is the glyph frame drawn right after its cell was noted.
  const auto glyphOf = [&](const Cell& c) -> const SheetDraw* {
    const SheetDraw* glyph = DrawnAt(drawn.draws, c.order + 1);
    return glyph == nullptr || !(BackdropOrFontSheet(glyph->slot) || glyph->slot == kSheetInterface) ||
                   glyph->x != c.x || glyph->y != c.y
               ? nullptr
               : glyph;
  };
  std::vector<Picture> pictures = Pictures(drawn.draws);
  // The die of a roll ('$', drawn in its own colours) is a picture of its
  // own inside its line.
  for (const std::vector<Cell>& cells : claimed)
    for (const Cell& c : cells)
      if (const SheetDraw* die = c.c == '$' ? glyphOf(c) : nullptr) {
        Picture p{"the die at " + std::to_string(c.x) + "," + std::to_string(c.y), CoveredPixels(*die), false,
                  die->order, c.x, c.y, c.x + c.w, c.y + c.h};
        pictures.push_back(std::move(p));
      }
  PixelOwners owners;
  for (size_t i = 0; i < pictures.size(); ++i) {
    bool outside = false;
    for (const auto& [x, y] : pictures[i].pixels) {
      if (x < 0 || y < 0 || x >= 320 || y >= 240) {
        outside = true;
        continue;
      }
      owners.Add(x, y, static_cast<int>(i));
    }
    if (outside && !pictures[i].onTop && !pictures[i].mark) faults.push_back(pictures[i].name + " leaves the picture");
  }
  const std::vector<Cover> covers = Covers(drawn.draws);
  // A box drawn over a text covers it whole or leaves it whole.
  for (const Cover& b : PopupBoxes(drawn.draws))
    for (size_t i = 0; i < runs.size(); ++i) {
      if (runs[i].backed || claimed[i].empty() || claimed[i].front().order > b.order) continue;
      const auto inside = std::count_if(claimed[i].begin(), claimed[i].end(), [&](const Cell& c) {
        const int cx = c.x + c.w / 2, cy = c.y + c.h / 2;
        return cx >= b.left && cx < b.right && cy >= b.top && cy < b.bottom;
      });
      if (inside > 0 && inside < static_cast<long>(claimed[i].size()))
        faults.push_back(Words(claimed[i]) + " pokes out from under the box at " + std::to_string(b.left) + "," +
                         std::to_string(b.top));
    }
  // A text that a box hides whole takes its row's neighbours with it: no
  // hit points or key letter of it stays beside the box.
  for (size_t i = 0; i < runs.size(); ++i) {
    const std::vector<TextCell>& gone = runs[i].hidden;
    if (gone.empty() || !claimed[i].empty()) continue;
    int64_t box = INT64_MAX;  // when the box over it was drawn
    int lo = gone[0].x, hi = gone[0].x;
    for (const TextCell& h : gone) {
      lo = std::min(lo, h.x);
      hi = std::max(hi, h.x);
      for (const Cover& k : covers)
        if (h.x >= k.left && h.x < k.right && h.y >= k.top && h.y < k.bottom) box = std::min(box, k.order);
    }
    const int reach = 3 * runs[i].cellWidth;
    for (size_t j = 0; j < runs.size(); ++j) {
      if (j == i || runs[j].backed) continue;
      const bool beside = std::any_of(claimed[j].begin(), claimed[j].end(), [&](const Cell& c) {
        return c.y == gone[0].y && c.order < box && c.x >= lo - reach && c.x <= hi + reach;
      });
      if (beside) faults.push_back(Words(claimed[j]) + " stays beside the box that hides \"" +
                                   std::string(1, static_cast<char>(gone.back().c)) + "...\"");
    }
  }
  for (size_t i = 0; i < runs.size(); ++i) {
    if (runs[i].backed) continue;
    // A number drawn on the box or icon it counts (an item's stack) belongs
    // to it: every letter a digit, inside the frame of a picture drawn before.
    const bool number = !claimed[i].empty() && std::all_of(claimed[i].begin(), claimed[i].end(), [](const Cell& c) {
      return c.c >= '0' && c.c <= '9';
    });
    // A chance shown over a creature stays clear of the pointer on top of
    // it too (the pointer is on the creature, not on the chance).
    const bool chance = claimed[i].size() >= 2 && claimed[i].back().c == '%' &&
                        std::all_of(claimed[i].begin(), claimed[i].end() - 1,
                                    [](const Cell& c) { return std::isdigit(c.c) != 0; });
    std::set<int> met;
    for (const Cell& c : claimed[i]) {
      const SheetDraw* glyph = glyphOf(c);
      if (glyph == nullptr) continue;
      // A text drawn on a popup stands clear of what the popup covers.
      int64_t covered = 0;
      const int cx = c.x + c.w / 2, cy = c.y + c.h / 2;
      for (const Cover& k : covers)
        if (k.order <= c.order && cx >= k.left && cx < k.right && cy >= k.top && cy < k.bottom)
          covered = std::max(covered, k.order);
      for (const auto& [inkX, y] : CoveredPixels(*glyph))
        for (int x = inkX - 1; x <= inkX + 1; ++x) {
          if (x < 0 || y < 0 || x >= 320 || y >= 240) continue;
          owners.ForEach(x, y, [&](int p) {
            const Picture& picture = pictures[static_cast<size_t>(p)];
            if (picture.order > covered && picture.order != c.order + 1 &&
                (!picture.onTop || c.order >= picture.order || chance))
              met.insert(p);
          });
        }
    }
    const auto before = [&](const Picture& picture) {
      return std::all_of(claimed[i].begin(), claimed[i].end(), [&](const Cell& c) { return c.order >= picture.order; });
    };
    const bool badge = number && std::any_of(pictures.begin(), pictures.end(), [&](const Picture& picture) {
      return before(picture) && std::all_of(claimed[i].begin(), claimed[i].end(), [&](const Cell& c) {
               return c.x >= picture.left && c.x + c.w <= picture.right && c.y >= picture.top &&
                      c.y + c.h <= picture.bottom;
             });
    });
    if (badge) {
      for (auto it = met.begin(); it != met.end();) it = before(pictures[static_cast<size_t>(*it)]) ? met.erase(it) : std::next(it);
      // The last picture drawn under it is what it stands on.
      const Picture* under = nullptr;
      for (const Picture& picture : pictures)
        if (before(picture) && std::all_of(claimed[i].begin(), claimed[i].end(), [&](const Cell& c) {
              return c.x >= picture.left && c.x + c.w <= picture.right && c.y >= picture.top &&
                     c.y + c.h <= picture.bottom;
            }) && (under == nullptr || picture.order > under->order))
          under = &picture;
      if (under != nullptr && !OnBacking(drawn.draws, *under, claimed[i]))
        faults.push_back(Words(claimed[i]) + " stands on " + under->name + " without a backing");
    }
    for (int p : met) faults.push_back(Words(claimed[i]) + " meets " + pictures[static_cast<size_t>(p)].name);
  }
  // A chance beside the pointer (the touch chance of an aimed spell) keeps
  // its letters clear of the pointer's picture, even on its own backing:
  // the backing laid over the spell's icon cut the icon at the first digit.
  for (size_t i = 0; i < runs.size(); ++i) {
    const std::vector<Cell>& a = claimed[i];
    const bool chance = runs[i].backed && a.size() >= 2 && a.back().c == '%' &&
                        std::all_of(a.begin(), a.end() - 1, [](const Cell& c) { return std::isdigit(c.c) != 0; });
    if (!chance) continue;
    std::set<int> under;
    for (const Cell& c : a)
      for (int y = c.y; y < c.y + c.h; ++y)
        for (int x = c.x - 1; x <= c.x + c.w; ++x)
          if (x >= 0 && y >= 0 && x < 320 && y < 240)
            owners.ForEach(x, y, [&](int p) {
              if (pictures[static_cast<size_t>(p)].onTop && pictures[static_cast<size_t>(p)].order < c.order)
                under.insert(p);
            });
    for (int p : under) faults.push_back(Words(a) + " lies on " + pictures[static_cast<size_t>(p)].name);
  }
  // Texts of the two sizes side by side on one line (a list beside a
  // column) read as one line unless a large cell's width of blank parts
  // them: 7 pixels past the large letters' cells, whose last two columns
  // are blank already.
  for (size_t i = 0; i < runs.size(); ++i)
    for (size_t j = i + 1; j < runs.size(); ++j) {
      if (runs[i].backed || runs[j].backed || runs[i].cellHeight == runs[j].cellHeight) continue;
      const bool close = std::any_of(claimed[i].begin(), claimed[i].end(), [&](const Cell& a) {
        return std::any_of(claimed[j].begin(), claimed[j].end(), [&](const Cell& b) {
          const int gap = std::max(b.x - a.x - a.w, a.x - b.x - b.w);
          return a.y < b.y + b.h && b.y < a.y + a.h && gap >= 0 && gap < 7;
        });
      });
      if (close) faults.push_back(Words(claimed[i]) + " stands against " + Words(claimed[j]));
    }
  // A box over the map keeps off the side panel beside it (the action list,
  // the turn order).
  for (const Cover& panel : PopupBoxes(drawn.draws, kFirstPanelEdge, kLastPanelEdge))
    for (const Cover& b : PopupBoxes(drawn.draws))
      if (b.left < panel.right && panel.left < b.right && b.top < panel.bottom && panel.top < b.bottom)
        faults.push_back("the box at " + std::to_string(b.left) + "," + std::to_string(b.top) +
                         " lies over the side panel");
  // A text that a panel, a fill or a backdrop drawn after it covers (what
  // lies on top by nature excepted): the last such frame drawn on each pixel.
  std::vector<const SheetDraw*> last(320 * 240, nullptr);
  for (const SheetDraw& d : drawn.draws) {
    if (d.layer == DrawLayer::kOnTop || d.srcWidth <= 0 || d.srcHeight <= 0 || (d.colour >> 24) < 8) continue;
    if (d.slot >= kSheetLargeFont3 && d.slot <= kSheetSmallFont2) continue;
    if (!BackdropOrFontSheet(d.slot) && d.layer != DrawLayer::kBackdrop && !OpaqueTexels(d).plain) continue;
    for (const auto& [x, y] : CoveredPixels(d))
      if (x >= 0 && y >= 0 && x < 320 && y < 240) last[static_cast<size_t>(y) * 320 + x] = &d;
  }
  for (size_t i = 0; i < runs.size(); ++i) {
    const SheetDraw* over = nullptr;
    for (const Cell& c : claimed[i]) {
      const SheetDraw* glyph = glyphOf(c);
      if (glyph == nullptr) continue;
      for (const auto& [x, y] : CoveredPixels(*glyph)) {
        if (x < 0 || y < 0 || x >= 320 || y >= 240) continue;
        const SheetDraw* d = last[static_cast<size_t>(y) * 320 + x];
        if (d != nullptr && d->order > c.order + 1) over = d;
      }
      if (over) break;
    }
    if (over)
      faults.push_back(Words(claimed[i]) + " is covered by " + std::to_string(over->slot) + "/" +
                       std::to_string(over->frame) + " drawn after it");
  }
  return faults;
}

// The check runs in each window size the game offers (1 "640x480", 2
// "960x720 (a)", 3 "960x720 (b)"), chosen on the window's menu.
class TextLayout : public ::testing::TestWithParam<uint32_t> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::MakeOwnGameFolder(&folder_));
    ASSERT_TRUE(harness::StartGame());
    harness::ChooseMenu(999 + static_cast<int>(GetParam()));
    ASSERT_TRUE(harness::StepFrames(1));
    ASSERT_EQ(WindowSize, GetParam());
    harness::SeedRandom(1);
  }
  void TearDown() override {
    harness::StopGame();
    harness::RemoveOwnGameFolder(folder_);
  }

  // Frames with the pointer at (x, y); the faults of the last one's texts
  // and pictures are kept.
  std::vector<TextRun> Look(const std::string& screen, int x, int y, int frames = 1) {
    Drawn drawn;
    // The page drawn (a page may hand the history back to its caller as it draws).
    drawn.hintsClear = ScreenMode == kModePageView && TopPageType() == kPageCharacterCreation;
    harness::MoveMouse(x, y);
    harness::StepFrames(frames - 1);
    // The map view drawn afresh, its marks with it (not its kept picture).
    ForgetStaticLayers();
    Record(&drawn);
    harness::StepFrames(1);
    Record(nullptr);
    InPicturePixels(&drawn);
    drawn.page = ScreenMode == kModePageView;
    drawn.pointerX = x;
    drawn.pointerY = y;
    drawn.list = !drawn.page && PartyListBlock(&drawn.listLeft, &drawn.listTop, &drawn.listRight, &drawn.listBottom);
    if (Keep(screen, drawn) || std::getenv("TEXT_LAYOUT_EVERY_SHOT")) Shoot(screen + " at " + std::to_string(x) + " " + std::to_string(y));
    return drawn.runs;
  }
  // With TEXT_LAYOUT_SHOTS naming a folder, the picture of each screen as
  // the check first saw it, and of each look with a new fault, is written
  // there (for a look at what it found).
  static void Shoot(const std::string& screen) {
    const char* folder = std::getenv("TEXT_LAYOUT_SHOTS");
    if (folder == nullptr) return;
    std::string name = screen;
    for (char& c : name)
      if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    harness::SaveScreenshot(std::string(folder) + "/" + name + ".png");
  }
  // Keeps the frame's faults; true when it had any new ones.
  bool Keep(const std::string& screen, const Drawn& drawn) {
    std::vector<std::string> found = Faults(drawn);
    if (alsoCheck_) alsoCheck_(drawn, &found);
    bool fresh = false;
    for (const std::string& f : found) fresh |= faults_.insert(screen + ": " + f).second;
    return fresh;
  }
  // The screen with the pointer off its texts, then on each text's first
  // and last letter, on the points given and on a grid over the picture
  // (icons, arrows and places whose tooltips no text marks), its last
  // column at the right edge.
  void Sweep(const std::string& screen, const std::function<void()>& show,
             std::set<std::pair<int, int>> points = {}, int frames = 1) {
    show();
    const std::vector<TextRun> runs = Look(screen, 319, 239, frames);
    Shoot(screen);
    for (const TextRun& run : runs) {
      const std::vector<Cell> cells = Claimed(run);
      if (cells.empty() || run.backed) continue;
      points.insert({cells.front().x + cells.front().w / 2, cells.front().y + cells.front().h / 2});
      points.insert({cells.back().x + cells.back().w / 2, cells.back().y + cells.back().h / 2});
    }
    for (int y = kGridStep / 2; y < 240; y += kGridStep)
      for (int x = 319; x > 0; x -= kGridStep) points.insert({x, y});
    for (const auto& [x, y] : points) {
      show();
      Look(screen, x, y, frames);
    }
  }
  // The game screen with the pointer also on every creature in view, each
  // look the last of `frames` frames.
  void GameScreen(const std::string& screen, const std::function<void()>& show, int frames = 2) {
    std::set<std::pair<int, int>> points;
    show();
    for (int s = 0; s < FighterCount; ++s) {
      const CreatureRecord& c = Creatures[FighterSlots[s].creature];
      const int x = PictureSpan(c.pixelX + 12 - ViewOriginX), y = PictureSpan(c.pixelY + 12 - ViewOriginY);
      if (x >= 0 && x < 320 && y >= 0 && y < 240) points.insert({x, y});
    }
    Sweep(screen, show, points, frames);
  }
  void Page(int32_t type, int32_t parameter, bool sweep = true) {
    char name[32];
    std::snprintf(name, sizeof name, "page %d (%d)", type, parameter);
    const auto show = [&] {
      SetFirstPage("Text Layout", type, parameter);
      ScreenMode = kModePageView;
    };
    if (sweep) return Sweep(name, show);
    show();
    Look(name, 319, 239);
  }

  // "Start Demo": the prepared party of the introductory adventure, with
  // its long names. Each of its first dialogue boxes is answered; with
  // `look`, each is looked at first, one pass of its loop drawn.
  void StartDemo(bool look) {
    SetFirstPage("Title Screen", kPageMainMenu, -1);
    ScreenMode = kModePageView;
    SwitchToIntroductoryAdventure();
    harness::StepFrames(2);
    Drawn box;
    bool drawn = false;
    int boxesSeen = 0;
    harness::SetBoxIdleHandler([&] {
      if (drawn) {
        box.page = false;
        if (look) {
          Keep("dialogue box", box);
          Shoot("dialogue box " + std::to_string(++boxesSeen));
        }
        harness::QueueBoxKey("1");
      }
      drawn = !drawn;
      box = Drawn{};
    });
    Record(&box);
    harness::Click(122, 82);
    harness::StepFrames(5);
    Record(nullptr);
    harness::SetBoxIdleHandler(nullptr);
    ASSERT_STREQ(Creatures[0].name, "Aldwyn Marrow");
    ASSERT_EQ(ScreenMode, kModeExploring);
  }

  // Fails the test with every fault kept.
  void Report() {
    std::string all;
    for (const std::string& f : faults_) all += f + "\n";
    EXPECT_TRUE(faults_.empty()) << all;
  }

  std::filesystem::path folder_;
  std::set<std::string> faults_;
  // A test's own faults of a frame, looked for after the check's.
  std::function<void(const Drawn&, std::vector<std::string>*)> alsoCheck_;
};

// The test's name of a window size.
inline std::string SizeName(const ::testing::TestParamInfo<uint32_t>& size) {
  return std::string(size.param == 1 ? "640x480" : "960x720_") + (size.param == 2 ? "a" : size.param == 3 ? "b" : "");
}

}  // namespace layout_check
