// A small battle on the game screen's test map for the panels' tests: four
// party members and two gnolls in view, the first member's turn, and the
// large text a frame draws read back row by row.
#pragma once
#include <string>
#include <vector>

#include "engine/graphics.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "harness/screen_text.h"
#include "rules/record_words.h"
#include "screens/game/game_screen_fixture.h"
#include "screens/game/panel_words.h"
#include "screens/game/shared_routines.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "state/map_view_state.h"

namespace panelstest {

constexpr int kGnoll = 610, kChief = 611;

inline void LayOutBattle() {
  screentest::LayOutMap(20, 14);
  struct Fighter {
    int id, x, y, figure, allegiance;
    const char* name;
  } fighters[] = {
      {0, 6, 6, 1, 1, "Aldric"},    {1, 5, 7, 9, 1, "Brenna"},     {2, 6, 8, 17, 1, "Corwin"},
      {3, 4, 6, 2, 1, "Dara"},      {kGnoll, 8, 6, 189, 2, "Gnoll"}, {kChief, 9, 7, 190, 2, "Gnoll Chief"},
  };
  for (const Fighter& f : fighters) {
    CreatureRecord& c = screentest::Place(f.id, f.x, f.y, f.allegiance);
    std::snprintf(c.name, sizeof c.name, "%s", f.name);
    c.figure = f.figure;
    c.facing = f.allegiance == 1 ? 3 : 7;
    c.displayWords[kDisplayFigureSize] = 1;
    c.speed = {30, 30};
  }
  InCombat = 1;
  const int order[] = {0, kGnoll, 1, kChief, 2, 3};
  for (int i = 0; i < 6; ++i) TurnOrder[i].creature = order[i];
  TurnEntryCount = 6;
  CurrentTurnIndex = 0;
  CombatState = kStatePlayerTurn;
  CombatAction.playerControlled = 1;
  CombatAction.movesLeft = 60;
  SidePanelShown = 1;
  SidePanelMode = 1;
  CombatRollsShown = 0;
}

// The large text of the glyphs drawn, row by row (40 columns, 30 rows).
inline std::vector<std::string> TextRows(const std::vector<GlyphDraw>& glyphs) { return harness::LargeTextRows(glyphs); }

// One frame of the game; the large text it drew.
inline std::vector<std::string> Screen() {
  std::vector<GlyphDraw> glyphs;
  RecordGlyphs(&glyphs);
  harness::StepFrames(1);
  RecordGlyphs(nullptr);
  return TextRows(glyphs);
}

// A row's text from a column on ("" when the row is shorter).
inline std::string From(const std::string& row, size_t column) {
  return row.size() > column ? row.substr(column) : std::string();
}

// The game screen drawn once on its own (nothing else of the frame runs);
// the large text it drew.
inline std::vector<std::string> DrawAlone() {
  std::vector<GlyphDraw> glyphs;
  RecordGlyphs(&glyphs);
  BeginScene();
  GameScreenFrame(11, 14);
  EndScene();
  RecordGlyphs(nullptr);
  return TextRows(glyphs);
}

// The glyphs of one row drawn in a colour, as text ('.' for the others).
inline std::string RowInColour(const std::vector<GlyphDraw>& glyphs, int row, uint32_t colour) {
  std::string line(40, '.');
  for (const GlyphDraw& g : glyphs)
    if (g.y == row * 8 && g.x % 8 == 0 && g.x / 8 < 40 && g.colour == colour) line[g.x / 8] = static_cast<char>(g.c);
  line.erase(line.find_last_not_of('.') + 1);
  return line;
}

}  // namespace panelstest
