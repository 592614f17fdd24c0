// The marks the map draws in a battle (condition icons, the turn marker,
// a shot's line of fire, path arrows, the chances and an area spell's
// amounts over creatures, floating texts, the bags of things lying on the
// ground) keep off the texts, the panels and each other in each window size
// (the suite is instantiated with the sizes in text_layout_test.cpp). Over
// the layout check's own faults it reports a mark that lies on a panel
// drawn over the map (the side panel or the prompt in its place, a box) or
// on a text's cells; a chance, bare or on its backing, on a mark or a panel;
// a chance over a creature on the figure of one that shows none, or on a
// figure beside its own chance; a chance or amount missing over a creature
// that shows one, unless the panels hide its figure whole (its feet or
// side showing is enough), or drawn over one they hide; the amount of the
// event shown over a creature in view missing; two texts over creatures
// side by side on a line with less than a cell's width of blank between
// them; two marks of
// which one lies on the other (but for a path's arrows end to end, and an
// icon or the turn marker standing on an arrow); a bag drawn over a figure
// after it.
#include "combat/resolution/area_targets.h"
#include "map/square_grids.h"
#include "rules/conditions.h"
#include "rules/positions.h"
#include "screens/game/creature_figures.h"
#include "screens/game/floating_texts.h"
#include "screens/game/frame_words.h"
#include "screens/game/map_base_digest.h"
#include "screens/game/shared_routines.h"
#include "state/combat_events.h"
#include "state/panel_buttons.h"
#include "shell/layout_check.h"

namespace {

using layout_check::Cell;
using layout_check::Claimed;
using layout_check::CoveredPixels;
using layout_check::Cover;
using layout_check::Drawn;
using layout_check::MapSpan;
using layout_check::PictureSpan;
using layout_check::PopupBoxes;
using layout_check::TextLayout;
using layout_check::Words;

constexpr int kIconSheet = 20, kTurnMarkerFrame = 191;
constexpr int kRangeSheet = 21, kOpenLineFrame = 35, kCoveredLineFrame = 34;
constexpr int kBagSheet = 4, kBagFrame = 89, kTreasureFrame = 99;

// A mark of the map: what it is, the picture pixels it covers, its box.
struct Mark {
  std::string name;
  std::vector<std::pair<int, int>> pixels;
  int64_t order;
  int left, top, right, bottom;
  bool line = false;  // a square of the line of fire (a tint over the square)
  bool bag = false;
};

// The marks of a frame: the frames drawn as marks, and while a line of fire
// is shown (`line`) the range marks, wherever they were drawn (the map's
// backdrop holds the threatened squares' marks of the same frames).
std::vector<Mark> Marks(const std::vector<SheetDraw>& draws, bool line) {
  std::vector<Mark> marks;
  for (const SheetDraw& d : draws) {
    const bool lineSquare = line && d.slot == kRangeSheet && (d.frame == kOpenLineFrame || d.frame == kCoveredLineFrame);
    if ((d.layer != DrawLayer::kMark && !lineSquare) || d.srcWidth <= 0 || (d.colour >> 24) < 8) continue;
    Mark m;
    m.pixels = CoveredPixels(d);
    if (m.pixels.empty()) continue;
    m.order = d.order;
    m.line = lineSquare;
    m.bag = d.slot == kBagSheet && (d.frame == kBagFrame || d.frame == kTreasureFrame);
    const char* kind = m.line                                                  ? "the line of fire"
                       : m.bag                                                 ? "a bag"
                       : d.slot == kIconSheet && d.frame == kTurnMarkerFrame ? "the turn marker"
                       : d.slot == 48                                          ? "a path arrow"
                                                                               : "a condition icon";
    m.left = m.right = m.pixels.front().first;
    m.top = m.bottom = m.pixels.front().second;
    for (const auto& [x, y] : m.pixels) {
      m.left = std::min(m.left, x);
      m.right = std::max(m.right, x + 1);
      m.top = std::min(m.top, y);
      m.bottom = std::max(m.bottom, y + 1);
    }
    m.name = std::string(kind) + " (" + std::to_string(d.slot) + "/" + std::to_string(d.frame) + ") at " +
             std::to_string(m.left) + "," + std::to_string(m.top);
    marks.push_back(std::move(m));
  }
  return marks;
}

// A chance over a creature ("35%") or the amount an area spell deals it ("24").
bool IsChance(const std::vector<Cell>& cells) {
  const bool percent = !cells.empty() && cells.back().c == '%';
  return cells.size() > (percent ? 1u : 0u) &&
         std::all_of(cells.begin(), cells.end() - (percent ? 1 : 0), [](const Cell& c) { return std::isdigit(c.c) != 0; });
}

bool Inside(const std::pair<int, int>& p, int left, int top, int right, int bottom) {
  return p.first >= left && p.first < right && p.second >= top && p.second < bottom;
}

// The figures on the map, in picture pixels, and whether each shows a
// chance (a mark of the orders on it) or an amount (the event shown over it).
struct Figure {
  int creature, left, top, right, bottom;
  bool marked;
  int64_t order;  // when it was drawn (the last frame drawn at its place)
  int wholeLeft, wholeTop, wholeRight, wholeBottom;  // its whole drawn box, feet and sides too
};
std::vector<Figure> Figures(const std::vector<SheetDraw>& draws) {
  std::vector<Figure> figures;
  for (int s = 0; s < FighterCount; ++s) {
    const int c = FighterSlots[s].creature;
    if (c < 0 || c >= kCreatureCount || !FigureDrawn(c)) continue;
    const CreatureRecord& r = Creatures[c];
    // The figure's own picture leaves blank columns at its sides: its middle
    // half across, and its upper three quarters down (the head and the body).
    const int w = r.figureSize[0].current, h = r.figureSize[1].current;
    figures.push_back(Figure{c, PictureSpan(ScreenPosX[c] + w / 4), PictureSpan(ScreenPosY[c]),
                             PictureSpan(ScreenPosX[c] + 3 * w / 4), PictureSpan(ScreenPosY[c] + 3 * h / 4),
                             CreatureMarkWords[c] != 0 || c == PlaybackCreature, INT64_MAX,
                             PictureSpan(ScreenPosX[c]), PictureSpan(ScreenPosY[c]), PictureSpan(ScreenPosX[c] + w),
                             PictureSpan(ScreenPosY[c] + h)});
    for (const SheetDraw& d : draws)
      if (d.layer == DrawLayer::kBackdrop && d.x == ScreenPosX[c] && d.y == ScreenPosY[c]) figures.back().order = d.order;
  }
  return figures;
}

void MarkFaults(const Drawn& drawn, std::vector<std::string>* faults) {
  const std::vector<Mark> marks = Marks(drawn.draws, LineOfFireShown());
  std::vector<Cover> panels = PopupBoxes(drawn.draws);
  for (const Cover& c : PopupBoxes(drawn.draws, layout_check::kFirstPanelEdge, layout_check::kLastPanelEdge))
    panels.push_back(c);
  std::vector<std::vector<Cell>> claimed;
  for (const TextRun& run : drawn.runs) claimed.push_back(Claimed(run));
  const auto onPanel = [&](int left, int top, int right, int bottom, int64_t order) -> const Cover* {
    for (const Cover& p : panels)
      if (p.order > order && left < p.right && p.left < right && top < p.bottom && p.top < bottom) return &p;
    return nullptr;
  };
  // The texts the map view writes over its creatures (chances, amounts):
  // their letters are drawn within the map's backdrop.
  std::vector<bool> onMap(claimed.size(), false);
  for (size_t i = 0; i < claimed.size(); ++i) {
    const SheetDraw* glyph = claimed[i].empty() ? nullptr : layout_check::DrawnAt(drawn.draws, claimed[i][0].order + 1);
    onMap[i] = glyph != nullptr && glyph->layer == DrawLayer::kBackdrop;
  }
  for (const Mark& m : marks) {
    for (const Cover& p : panels)
      if (p.order > m.order &&
          std::any_of(m.pixels.begin(), m.pixels.end(), [&](const auto& px) { return Inside(px, p.left, p.top, p.right, p.bottom); })) {
        faults->push_back(m.name + " lies on the panel at " + std::to_string(p.left) + "," + std::to_string(p.top));
        break;
      }
    for (size_t i = 0; i < claimed.size(); ++i) {
      if (drawn.runs[i].backed && !IsChance(claimed[i])) continue;
      // The line of fire tints the target's square under the chance over it.
      if (m.line && onMap[i]) continue;
      const bool on = std::any_of(claimed[i].begin(), claimed[i].end(), [&](const Cell& c) {
        return std::any_of(m.pixels.begin(), m.pixels.end(),
                           [&](const auto& px) { return Inside(px, c.x, c.y, c.x + c.w, c.y + c.h); });
      });
      if (on) faults->push_back(m.name + " meets " + Words(claimed[i]));
    }
  }
  // Marks on marks (the line of fire tints the squares the others stand on;
  // one path's arrows meet end to end).
  for (size_t a = 0; a < marks.size(); ++a)
    for (size_t b = a + 1; b < marks.size(); ++b) {
      if (marks[a].line || marks[b].line || marks[a].order == marks[b].order) continue;
      if (marks[a].left >= marks[b].right || marks[b].left >= marks[a].right || marks[a].top >= marks[b].bottom ||
          marks[b].top >= marks[a].bottom)
        continue;
      // The arrows lie on the ground: the figures and their icons (the turn
      // marker over the acting fighter too) stand on them.
      if (marks[a].name.rfind("a path arrow", 0) == 0 &&
          (marks[b].name.rfind("a path arrow", 0) == 0 || marks[b].name.rfind("a condition icon", 0) == 0 ||
           marks[b].name.rfind("the turn marker", 0) == 0))
        continue;
      std::vector<std::pair<int, int>> both;
      std::set_intersection(marks[a].pixels.begin(), marks[a].pixels.end(), marks[b].pixels.begin(),
                            marks[b].pixels.end(), std::back_inserter(both));
      if (!both.empty()) faults->push_back(marks[b].name + " lies on " + marks[a].name);
    }
  // The texts over creatures (chances, amounts, floating texts) keep a
  // cell's width of blank between them on a line: side by side two amounts
  // read as one number ("2424").
  for (size_t i = 0; i < claimed.size(); ++i)
    for (size_t j = i + 1; j < claimed.size() && onMap[i]; ++j) {
      if (!onMap[j] || claimed[i].empty() || claimed[j].empty()) continue;
      const int gap = std::max(claimed[i][0].w, claimed[j][0].w);
      const bool near = std::any_of(claimed[i].begin(), claimed[i].end(), [&](const Cell& a) {
        return std::any_of(claimed[j].begin(), claimed[j].end(), [&](const Cell& b) {
          return a.y < b.y + b.h && b.y < a.y + a.h && a.x < b.x + b.w + gap && b.x < a.x + a.w + gap;
        });
      });
      if (near) faults->push_back(Words(claimed[i]) + " and " + Words(claimed[j]) + " read as one");
    }
  // Chances: off the panels, and off the figures of creatures that show
  // none (an ally's head).
  const std::vector<Figure> figures = Figures(drawn.draws);
  for (size_t i = 0; i < claimed.size(); ++i) {
    if (!IsChance(claimed[i])) continue;
    for (const Cell& c : claimed[i]) {
      if (const Cover* p = onPanel(c.x, c.y, c.x + c.w, c.y + c.h, c.order)) {
        faults->push_back(Words(claimed[i]) + " lies on the panel at " + std::to_string(p->left) + "," +
                          std::to_string(p->top));
        break;
      }
    }
  }
  // Whether any pixel of a figure's drawn box shows in the picture, off the
  // panels drawn after it (its feet below a panel are enough).
  const auto shows = [&](const Figure& f) {
    for (int y = std::max(f.wholeTop, 0); y < std::min(f.wholeBottom, 240); ++y)
      for (int x = std::max(f.wholeLeft, 0); x < std::min(f.wholeRight, 320); ++x)
        if (onPanel(x, y, x + 1, y + 1, f.order) == nullptr) return true;
    return false;
  };
  // Every creature in view that shows a number this frame (the chance of the
  // attack aimed, an area spell's amounts or chances) has it drawn, unless
  // the panels hide its figure whole.
  const bool areaNumbers = ScreenMode == kModeAimSquare && (CurrentSpell == kSpellFireball || CurrentSpell == kSpellSleep);
  if (CurrentSpell == -1 || areaNumbers) {
    std::string where;
    size_t shown = 0, due = 0;
    for (size_t i = 0; i < claimed.size(); ++i)
      if (onMap[i] && (IsChance(claimed[i]) || (claimed[i].size() == 1 && claimed[i][0].c == '-'))) {
        ++shown;
        where += " " + Words(claimed[i]);
      }
    const int32_t* listed = AreaTargetList;
    const int32_t* listEnd = std::find(listed, listed + kAreaTargetCount, -1);
    for (const Figure& f : figures) {
      const int32_t mark = CreatureMarkWords[f.creature];
      if (mark != 2 && !(areaNumbers && mark != 0 && std::find(listed, listEnd, f.creature) != listEnd))
        continue;
      if (shows(f)) ++due;
    }
    if (shown != due)
      faults->push_back(std::to_string(shown) + " numbers drawn over " + std::to_string(due) + " creatures:" + where);
  }
  // The amount an event deals the creature it is shown over (a blow's or a
  // spell's damage) is drawn while any part of the creature shows.
  if (PlaybackCreature != -1 && ExtraDamageShowing == 0 && CombatEventReadIndex < kCombatEventCount) {
    const CombatEvent& e = CombatEvents[CombatEventReadIndex];
    const auto f = std::find_if(figures.begin(), figures.end(),
                                [](const Figure& g) { return g.creature == PlaybackCreature; });
    if (e.type >= kEventDamage && e.type <= 11 && e.value > 0 && f != figures.end() && shows(*f)) {
      const std::string amount = std::to_string(e.value);
      bool drawn = false;
      for (size_t i = 0; i < claimed.size(); ++i) {
        std::string text;
        for (const Cell& c : claimed[i]) text.push_back(static_cast<char>(c.c));
        drawn |= onMap[i] && text == amount;
      }
      if (!drawn)
        faults->push_back("the amount " + amount + " over " + Creatures[PlaybackCreature].name + " is not drawn");
    }
  }
  // A figure bears no chance but its own: none on a creature that shows
  // none, one at most on any other.
  for (const Figure& f : figures) {
    std::vector<size_t> on;
    for (size_t i = 0; i < claimed.size(); ++i)
      if (IsChance(claimed[i]) && onMap[i] && std::any_of(claimed[i].begin(), claimed[i].end(), [&](const Cell& c) {
            return c.x < f.right && f.left < c.x + c.w && c.y < f.bottom && f.top < c.y + c.h;
          }))
        on.push_back(i);
    if (on.size() > (f.marked ? 1u : 0u))
      faults->push_back(Words(claimed[on.back()]) + " lies on the figure of " + std::string(Creatures[f.creature].name) +
                        (f.marked ? " beside its own chance" : ", which shows none"));
  }
  // A bag lies under the figures, not on them.
  for (const Mark& m : marks) {
    if (!m.bag) continue;
    for (const Figure& f : figures)
      if (m.order > f.order && std::any_of(m.pixels.begin(), m.pixels.end(), [&](const auto& px) { return Inside(px, f.left, f.top, f.right, f.bottom); }))
        faults->push_back(m.name + " lies on the figure of " + std::string(Creatures[f.creature].name));
  }
}

// Four knights by a gnoll and a knot of four gnolls (one of the knot and
// the gnoll by the party paralysed, another of the knot confused), a
// fifth gnoll up and to the left of the archer (Aldwin, member 0), a bag
// in the grass where she stands; the battle run to her turn, the pointer
// at the top of the view. The wizard (member 1) knows Sleep, Shocking
// Grasp and Fireball.
void StartTheBattle() {
  scenes::LayOutGround(40, 24);
  scenes::AddKnight(0, 6, 14, true);
  scenes::AddKnight(1, 6, 15);
  scenes::AddKnight(2, 7, 14);
  scenes::AddKnight(3, 7, 16);
  const int gnolls[][2] = {{13, 10}, {14, 10}, {13, 11}, {14, 11}, {7, 15}, {3, 11}};
  for (int i = 0; i < 6; ++i) scenes::AddFoe(scenes::kFirstFoe + i, kKindGnoll, gnolls[i][0], gnolls[i][1]);
  CurrentMap.At(kLayerFloor, 6, 14) = 123;
  CurrentMap.At(kLayerObjects0, 6, 14) = static_cast<int32_t>(kFirstBaseItemCode) + 1;
  scenes::Finish();
  AddCondition(scenes::kFirstFoe + 2, kCondParalyzed, 5, 0, 18, 0);
  AddCondition(scenes::kFirstFoe + 4, kCondParalyzed, 5, 0, 18, 0);
  AddCondition(scenes::kFirstFoe + 1, kCondConfused, 5, 0, 18, 0);
  Creatures[0].dexterity = {60, 60};
  CreatureRecord& wizard = Creatures[1];
  wizard.creatureClass = kClassWizard;
  wizard.knownSpells[kSpellSleep] = wizard.knownSpells[kSpellShockingGrasp] = wizard.knownSpells[kSpellFireball] = 1;
  wizard.spellsPerDay[0] = wizard.spellsLeft[0] = 3;
  wizard.spellsPerDay[2] = wizard.spellsLeft[2] = 2;
  harness::MoveMouse(160, 2);
  for (int f = 0; f < 2000 && !(CombatState == kStatePlayerTurn && CurrentFighter() == 0 &&
                                CombatAction.actionCode == 0);
       ++f)
    harness::StepFrames(1);
  EXPECT_EQ(CurrentFighter(), 0);
}

// The view with square (x, y)'s middle at picture point (px, py), at rest.
void ViewOn(int x, int y, int px, int py) {
  ViewOriginX = x * 24 + 12 - MapSpan(px);
  ViewOriginY = y * 24 + 12 - MapSpan(py);
  FollowTarget = -1;
  ViewIdle = 1;
}

// The party's orders awaited, the side panel showing the actions (or the
// turn order).
void Party(bool panel) {
  ScreenMode = kModeExploring;
  CurrentSpell = -1;
  SidePanelShown = 1;
  SidePanelMode = panel ? 1 : 2;
  // The turn marker over the archer shown.
  BlinkTick = 15;
}

// The wizard aiming a spell at a square, the view placed.
void Aim(int spell, int x, int y, int px, int py) {
  Party(true);
  ViewOn(x, y, px, py);
  CurrentSpell = spell;
  SpellCaster = 1;
  ScreenMode = kModeAimSquare;
}

// A creature put on square (x, y).
void Put(int creature, int x, int y) {
  CreatureRecord& c = Creatures[creature];
  c.squareX = c.nextX = x;
  c.squareY = c.nextY = y;
  c.pixelX = 24 * c.squareX;
  c.pixelY = 24 * c.squareY;
}

TEST_P(TextLayout, TheMarksOfABattleKeepOffTheTextsAndEachOther) {
  alsoCheck_ = MarkFaults;
  // The marks of the orders on the map: an archer's line of fire and its
  // chance, the arrows of a walk or a charge with the chance at their end,
  // and a wizard aiming Sleep at a knot of gnolls and Shocking Grasp at the
  // one beside her, the view placed so that the marks reach the hit points
  // and moves in the corner and the turn order in the side panel. One of
  // the knot is paralysed, and so is the gnoll beside the party, between
  // two knights (its chance, moved off the pointer and the icon, went onto
  // a knight's head); a bag lies in the grass where the archer stands, and
  // a gnoll waits up and to the left of her.
  StartTheBattle();
  // Each look the third frame with the pointer in place: the marks keep off
  // the panels over the map as the frame before drew them, and the first
  // frame after the pointer jumps may hover the figure beside the one under
  // it, the second moving the creature's box to its own place.
  const auto settledScreen = [&](const std::string& screen, const std::function<void()>& show) {
    GameScreen(screen, show, 3);
  };
  // The party in the corner over the hit points, the gnolls under the side panel.
  const auto corner = [&] { ViewOn(6, 14, 60, 190); };
  settledScreen("a shot aimed", [&] {
    Party(false);
    WeaponMode = 2;
    corner();
  });
  // The shot at the gnoll beside the archer, its square by the hit points.
  settledScreen("a shot beside the hit points", [&] {
    Party(false);
    WeaponMode = 2;
    ViewOn(6, 14, 30, 176);
  });
  settledScreen("a walk or a charge aimed", [&] {
    Party(false);
    WeaponMode = 1;
    corner();
  });
  // A walk up and to the left: the arrows lead to the gnoll from below
  // and right of it, where the chance beside the pointer stands.
  settledScreen("a walk up and to the left", [&] {
    Party(false);
    WeaponMode = 1;
    ViewOn(6, 14, 150, 150);
  });
  settledScreen("a walk or a charge beside the turn order", [&] {
    Party(true);
    WeaponMode = 1;
    corner();
  });
  // The archer with her turn marker under the side panel, then under the
  // hit points.
  settledScreen("the turn marker under the side panel", [&] {
    Party(false);
    ViewOn(6, 14, 250, 40);
  });
  settledScreen("the turn marker under the hit points", [&] {
    Party(false);
    ViewOn(6, 14, 30, 236);
  });
  settledScreen("aiming Sleep", [&] { Aim(kSpellSleep, 10, 12, 150, 120); });
  // Sleep on the paralysed gnoll between the knights: its chance, off the
  // pointer and the icon, stays off the knights.
  settledScreen("aiming Sleep between the knights", [&] { Aim(kSpellSleep, 7, 15, 150, 150); });
  // The knot half under the prompt: the chances of those it hides whole
  // are left out, the others' stand off it.
  settledScreen("aiming Sleep beside the side panel", [&] { Aim(kSpellSleep, 13, 10, 172, 40); });
  // Fireball's amounts over the knot at the top left under the banner
  // naming the spell, then over the party at the bottom edge of the view.
  settledScreen("aiming Fireball under the banner", [&] { Aim(kSpellFireball, 13, 10, 28, 14); });
  settledScreen("aiming Fireball at the bottom edge", [&] { Aim(kSpellFireball, 7, 16, 150, 236); });
  // Words floating over the knot of gnolls, side by side and one above the
  // other, its lower row at the bottom edge of the view, the pointer on the
  // turn order.
  Party(true);
  ViewOn(13, 11, 160, 244);
  for (int i = 0; i < 4; ++i) ShowFloatingText("Cure Serious", scenes::kFirstFoe + i);
  Look("floating texts", 300, 30, 3);
  ResetFloatingTexts();
  settledScreen("aiming Shocking Grasp", [&] {
    Party(true);
    ViewOn(7, 15, 150, 150);
    CurrentSpell = kSpellShockingGrasp;
    SpellCaster = 1;
    ScreenMode = kModeAimCreature;
  });
  // Fireball over eight of the battle (the gnolls and two knights) in a line
  // along the bottom of the field, their figures half under the hit points
  // and moves at the bottom left, then over seven in a column down the
  // view's left edge, the lowest beside the moves.
  const auto lineUp = [](int x, int y, int dx, int dy, int count) {
    for (int i = 0; i < count; ++i) Put(i < 6 ? scenes::kFirstFoe + i : i - 4, x + i * dx, y + i * dy);
    BuildOccupancyGrids(0);
  };
  lineUp(0, 23, 1, 0, 8);
  settledScreen("aiming Fireball at the line beside the hit points", [&] { Aim(kSpellFireball, 0, 23, 12, 214); });
  lineUp(0, 16, 0, 1, 7);
  settledScreen("aiming Fireball at the column by the left edge", [&] { Aim(kSpellFireball, 0, 22, 12, 206); });
  // The same with the combat rolls open: while aiming they are not drawn,
  // and take no place.
  settledScreen("aiming Fireball with the combat rolls open", [&] {
    Aim(kSpellFireball, 0, 16, 176, 76);
    CombatRollsShown = 1;
  });
  CombatRollsShown = 0;
  Party(false);
  WeaponMode = 1;
  alsoCheck_ = nullptr;
  Report();
}

// The numbers over creatures at the view's edges and by the panels: each
// creature with any part in view shows its chance or amount whole inside
// the view, off the panels and the other numbers.
TEST_P(TextLayout, TheNumbersOverCreaturesAtTheViewsEdgesStayInsideIt) {
  alsoCheck_ = MarkFaults;
  StartTheBattle();
  constexpr int kGnoll = scenes::kFirstFoe + 5;
  // Where a figure's feet or side show: the picture point of its square's
  // middle that puts the figure's bottom 6 pixels below `edge` (or its left
  // edge 4 pixels left of it).
  const auto feetAt = [](int creature, int edge) {
    const CreatureRecord& c = Creatures[creature];
    const int h = c.figureSize[1].current;
    return edge + 6 - PictureSpan((kSquarePixels * c.footprintHeight.current - h) / 2 - 3 + h - kSquarePixels / 2);
  };
  const auto sideAt = [](int creature, int edge) {
    const CreatureRecord& c = Creatures[creature];
    const int w = c.figureSize[0].current;
    return edge - 4 - PictureSpan((kSquarePixels * c.footprintWidth.current - w) / 2 - 3 - kSquarePixels / 2);
  };
  Put(kGnoll, 10, 10);
  BuildOccupancyGrids(0);
  const auto shot = [](bool panel) {
    Party(panel);
    WeaponMode = 2;
  };
  // A shot at the gnoll whose feet alone show below the combat rolls, the
  // pointer on them.
  const int rollsEdge = kCombatRollsPanelBox.top + kCombatRollsPanelBox.height;
  shot(false);
  CombatRollsShown = 1;
  harness::StepFrames(30);  // the view brought to the archer as the rolls open
  ViewOn(10, 10, 100, feetAt(kGnoll, rollsEdge));
  Look("a shot at feet below the combat rolls", 100, rollsEdge + 2, 3);
  CombatRollsShown = 0;
  // Below the side panel's actions, and beside them: its left edge alone
  // shows.
  shot(true);
  harness::StepFrames(2);
  const PixelBox panel = SidePanelBox(LastSidePanelRows);
  const int underPanel = feetAt(kGnoll, panel.top + panel.height);
  ViewOn(10, 10, 260, underPanel);
  Look("a shot at feet below the side panel", 260, panel.top + panel.height + 2, 3);
  const int besidePanel = sideAt(kGnoll, panel.left);
  ViewOn(10, 10, besidePanel, 40);
  Look("a shot at a side beside the side panel", panel.left - 2, 40, 3);
  // A shot at the gnoll whose figure starts a pixel left of the view's
  // edge, whole in sight but for that column.
  shot(false);
  const CreatureRecord& gnoll = Creatures[kGnoll];
  ViewOn(10, 10, 100, 100);
  ViewOriginX = gnoll.pixelX + (kSquarePixels * gnoll.footprintWidth.current - gnoll.figureSize[0].current) / 2 - 2;
  Look("a shot at a figure a pixel past the left edge", PictureSpan(10), 100, 3);
  // Fireball at a knot in the map's top-left corner, cast by the archer
  // (whose turn it is) from within reach and outside the burst, the view on
  // the corner's square so that the gnolls stand half out of it at its top
  // and left: the amounts aimed, the pointer on each of the knot, then the
  // damage the cast deals each as it is shown.
  for (int i = 0; i < 4; ++i) Put(scenes::kFirstFoe + i, i % 2, i / 2);
  Put(0, 6, 5);
  BuildOccupancyGrids(0);
  Creatures[0].creatureClass = kClassWizard;
  Creatures[0].knownSpells[kSpellFireball] = 1;
  Creatures[0].spellsPerDay[2] = Creatures[0].spellsLeft[2] = 1;
  const auto aimAtCorner = [] {
    Aim(kSpellFireball, 0, 0, 4, 4);
    SpellCaster = 0;
  };
  const int step = PictureSpan(kSquarePixels);
  for (const auto& [px, py] : {std::pair{4, 4}, {4 + step, 4}, {4, 4 + step}, {4 + step, 4 + step}}) {
    aimAtCorner();
    Look("aiming Fireball at the top-left corner", px, py, 3);
  }
  aimAtCorner();
  harness::MoveMouse(4, 4);
  harness::StepFrames(2);
  harness::Click(4, 4);
  int looked = 0;
  for (int f = 0; f < 1500 && SpellInProgress != -1; ++f) {
    harness::StepFrames(1);
    const int shown = PlaybackCreature - scenes::kFirstFoe;
    if (shown >= 0 && shown < 4 && PlaybackFramesLeft == FramesPerEvent - 2 &&
        CombatEvents[CombatEventReadIndex].value > 0) {
      ViewOn(0, 0, 4, 4);  // the view where the player left it
      Look("Fireball's damage at the top-left corner", 300, 200, 1);
      ++looked;
    }
  }
  EXPECT_GT(looked, 0);
  Party(false);
  WeaponMode = 1;
  alsoCheck_ = nullptr;
  Report();
}

}  // namespace
