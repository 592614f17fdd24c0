#include "state/panel_buttons.h"

#include "engine/ui_input.h"

namespace {

constexpr int kCell = kCellPixels;
constexpr int kIconInset = 3, kIconSize = 16;
constexpr int kPanelLeft = 184, kPanelWidth = 136;
constexpr int kNameEndColumn = 35, kFirstNameRow = 3;

constexpr PixelBox IconBox(int column, int row) {
  return PixelBox{column * kCell + kIconInset, row * kCell + kIconInset, kIconSize, kIconSize};
}

}  // namespace

bool PixelBox::HoldsMouse() const { return Holds(PointerX(), PointerY()); }

const PanelButtonPlace PanelButtons[kPanelButtonCount] = {
    {35, 3, IconBox(35, 3)},
    {2, 3, IconBox(2, 3)},
    {24, 2, PixelBox{24 * kCell, 2 * kCell, 15 * kCell, kCell}},
};

bool MouseOnPanelButton(PanelButton button) {
  return button >= 0 && button < kPanelButtonCount && PanelButtons[button].box.HoldsMouse();
}

PixelBox SidePanelBox(int rows) { return PixelBox{kPanelLeft, 0, kPanelWidth, kCell * (rows + 1)}; }

PixelBox RecentSpellIconBox(int entries, int k) {
  return PixelBox{kPanelLeft + 1 + 16 * k, kCell * (entries + 2), 16, 18};
}

PixelBox PartyNameBox(int member, int length) {
  return PixelBox{(kNameEndColumn - length) * kCell, (kFirstNameRow + member) * kCell, length * kCell, kCell};
}

PixelBox LevelUpStarBox(int member, int length) {
  return PixelBox{(kNameEndColumn - 1 - length) * kCell, (kFirstNameRow + member) * kCell, kCell, kCell};
}
