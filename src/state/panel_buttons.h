// Where the game screen's panels and their buttons lie, in pixels of the
// 320x240 picture. The drawing places them from here, their hover hints test
// the mouse against the same boxes, and the map view's mouse keeps them off
// the map with them too, so that a click is never read as both a button and
// an order on the map. Written by nobody: the layout is fixed.
#pragma once

// A text cell of the panels (the large cells): 8 by 8 pixels.
constexpr int kCellPixels = 8;

// A box of the picture: the pixels left .. left + width - 1 by top .. top +
// height - 1.
struct PixelBox {
  int left = 0, top = 0, width = 0, height = 0;
  bool Holds(int x, int y) const { return x >= left && x < left + width && y >= top && y < top + height; }
  bool HoldsMouse() const;
};

// The buttons of fixed place: the two tabs that open the hidden panels (16 by
// 16 icons drawn from the top-left of a cell plus 3 pixels), and the
// "Cancel Action" line of the targeting prompt and of the pending-action box.
enum PanelButton : int {
  kButtonActionsTab,
  kButtonCombatRollsTab,
  kButtonCancelAction,
  kPanelButtonCount,
};
struct PanelButtonPlace {
  int column, row;  // the cell the button is drawn from
  PixelBox box;     // where it answers the mouse
};
extern const PanelButtonPlace PanelButtons[kPanelButtonCount];
bool MouseOnPanelButton(PanelButton button);

// The side panel (the action list, the initiative list, the targeting
// prompt and the pending-action box) framed round its rows: columns 23 to 39
// from the top, one row of frame below the last row.
PixelBox SidePanelBox(int rows);
// The combat-rolls panel at the top left.
constexpr PixelBox kCombatRollsPanelBox{0, 0, 184, 80};
// Icon k (0 to 3) of the recent spells under an action list of `entries`.
PixelBox RecentSpellIconBox(int entries, int k);
// A party member's name of `length` characters in the party list (right-
// aligned to column 34 of row 3 + member) and the level-up star left of it.
PixelBox PartyNameBox(int member, int length);
PixelBox LevelUpStarBox(int member, int length);
