// The box beside the creature under the mouse while the player examines the
// map (screen mode 3): name, kind or class, hit points and challenge rating,
// the six abilities, the items in its hands and on its torso, and the badges
// of its first three conditions.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <strings.h>

#include "combat/actions/cursor_checks.h"
#include "creatures/creature_kinds.h"
#include "engine/frame.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "screens/game/action_menu.h"
#include "screens/game/click_results.h"
#include "screens/game/frame_words.h"
#include "screens/game/hovered_creature_box.h"
#include "screens/game/overlay_sections.h"
#include "screens/game/panel_sections.h"
#include "screens/game/panel_words.h"
#include "screens/game/shared_routines.h"
#include "screens/game/view_window.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "state/panel_buttons.h"

namespace {

constexpr int kCursorCreature = 8;
constexpr int32_t kClickResultExamine = 61;
constexpr uint32_t kSlotColour = 0xC8FFFFFFu, kWhite = 0xFFFFFFFFu;
constexpr int kItemBoxFigure = 405;
constexpr int kBadgeFigureBase = 196;  // a badge is a figure of the second figure sheet
// The last column and row of the picture's cells.
constexpr int kLastColumn = 39, kLastRow = 29;

// The slot the box was last placed for, and where (the object list's box
// takes the same cells): placed again whenever the hover changes (a
// display cache, no end needed).
int32_t PlacedSlot = -1;
PopupCellBoxWords PlacedBox;

// The type words of the creature types without a class word (type 5, the
// humanoids, has none).
const char* TypeWord(int32_t type) {
  switch (type) {
    case 1: return "Animal";
    case 2: return "Construct";
    case 3: return "Dragon";
    case 4: return "Giant";
    case 6: return "Monstr.Humanoid";
    case 7: return "Outsider";
    case 8: return "Undead";
    default: return "";
  }
}

bool StartsWith(const char* text, const char* word) {
  const size_t n = std::strlen(word);
  return std::strlen(text) >= n && strncasecmp(text, word, n) == 0;
}
bool EndsWith(const char* text, const char* word) {
  const size_t n = std::strlen(word), length = std::strlen(text);
  return length >= n && strncasecmp(text + length - n, word, n) == 0;
}

const char* CasterWord(int32_t creatureClass) {
  return creatureClass == kClassWizard ? "Wizard" : creatureClass == kClassCleric ? "Cleric" : "";
}

// Cells of the picture, both ends included.
struct CellRect {
  int left, top, right, bottom;
  bool Meets(const CellRect& o) const {
    return left <= o.right && o.left <= right && top <= o.bottom && o.top <= bottom;
  }
};

// The side panel this frame draws (the action list or the turn order, with
// the row of recent spells under the action list), in cells; false when
// none is drawn.
bool SidePanelCells(CellRect* panel) {
  if (SidePanelRows <= 0) return false;
  const PixelBox box = SidePanelBox(SidePanelRows);
  int bottom = box.top + box.height - 1;
  if (ActionPanelShown() && RecentSpellRowShown == 1) {
    const PixelBox icon = RecentSpellIconBox(static_cast<int>(ActionMenuList.count), 0);
    bottom = std::max(bottom, icon.top + icon.height - 1);
  }
  *panel = CellRect{box.left / kCellPixels, box.top / kCellPixels, kLastColumn, bottom / kCellPixels};
  return true;
}

// The status boxes' texts of a battle, in cells: how many were written.
int StatusBoxCells(CellRect* cells) {
  PixelBox blocks[kStatusBoxCount];
  const int n = StatusBoxBlocks(blocks);
  for (int i = 0; i < n; ++i)
    cells[i] = CellRect{blocks[i].left / kCellPixels, blocks[i].top / kCellPixels,
                        (blocks[i].left + blocks[i].width - 1) / kCellPixels,
                        (blocks[i].top + blocks[i].height - 1) / kCellPixels};
  return n;
}

// A box beside the figure that would lie over the side panel or over the
// status boxes' texts of a battle moves off them by the fewest cells,
// keeping clear of the figure: below the side panel or left of it, above
// the status boxes or right of them, else beside the panel and below or
// above the figure. It stays where the rules put it when no such place is
// free.
void KeepOffPanels(PopupCellBoxWords& b, const CellRect& figure) {
  CellRect panels[kStatusBoxCount + 1];  // the status boxes, then the side panel
  int count = StatusBoxCells(panels);
  const bool side = SidePanelCells(&panels[count]);
  const CellRect panel = panels[count];
  if (side) ++count;
  const CellRect placed{b.left, b.top, b.right, b.bottom};
  bool meets = false;
  for (int i = 0; i < count; ++i) meets |= placed.Meets(panels[i]);
  if (!meets) return;
  constexpr int kWidth = 16, kHeight = 9;
  // Four places beside the side panel, two beside each status box.
  std::pair<int, int> tries[4 + 2 * kStatusBoxCount];
  int n = 0;
  if (side) {
    const int besidePanel = panel.left - 1 - kWidth;
    tries[n++] = {b.left, panel.bottom + 1};
    tries[n++] = {besidePanel, b.top};
    tries[n++] = {besidePanel, figure.bottom + 1};
    tries[n++] = {besidePanel, figure.top - 1 - kHeight};
  }
  for (int i = 0; i < count - (side ? 1 : 0); ++i) {
    tries[n++] = {b.left, panels[i].top - 1 - kHeight};
    tries[n++] = {panels[i].right + 1, b.top};
  }
  int best = -1, bestMove = 0;
  for (int i = 0; i < n; ++i) {
    const auto [left, top] = tries[i];
    const CellRect box{left, top, left + kWidth, top + kHeight};
    bool free = left >= 0 && top >= 0 && box.right <= kLastColumn && box.bottom <= kLastRow && !box.Meets(figure);
    for (int k = 0; k < count && free; ++k) free = !box.Meets(panels[k]);
    if (!free) continue;
    const int move = std::abs(left - b.left) + std::abs(top - b.top);
    if (best == -1 || move < bestMove) best = i, bestMove = move;
  }
  if (best == -1) return;
  b.left = tries[best].first;
  b.top = tries[best].second;
  b.right = b.left + kWidth;
  b.bottom = b.top + kHeight;
}

void PlaceBox(const CreatureRecord& c) {
  // The box keeps the 320x240 layout: its cells are the picture's, in map
  // pixels of the view in use.
  const int cell = PictureToView(kCellPixels);
  int column = (HoverPointX - ViewOriginX) / cell, row = (HoverPointY - ViewOriginY) / cell;
  column = std::clamp(column, 0, kLastColumn);
  row = std::clamp(row, 0, kLastRow);
  PopupCellBoxWords& b = HoveredBox;
  const bool onRight = column <= 16, movedUp = row > 10;
  b.left = onRight ? column + 1 : column - 17;
  b.top = movedUp ? row - 10 : row;
  if (onRight && !movedUp) b.left += 2;
  b.right = b.left + 16;
  b.bottom = b.top + 9;
  // The figure's cells: its footprint round the point the hover keeps.
  const int halfWidth = 12 * std::max<int32_t>(1, c.footprintWidth.current);
  const int halfHeight = 12 * std::max<int32_t>(1, c.footprintHeight.current);
  const CellRect figure{(HoverPointX - halfWidth - ViewOriginX) / cell, (HoverPointY - halfHeight - ViewOriginY) / cell,
                        (HoverPointX + halfWidth - 1 - ViewOriginX) / cell,
                        (HoverPointY + halfHeight - 1 - ViewOriginY) / cell};
  KeepOffPanels(b, figure);
}

// The picture of an item: a crafted row's icon or a base row's.
int32_t ItemFigure(uint32_t code) {
  if (code >= 1 && code < static_cast<uint32_t>(kCraftedRows)) return CraftedWeapons[code].icon;
  if (code > 5000 && code - 5000 < static_cast<uint32_t>(kItemRows)) return ItemTable[code - 5000].icon;
  return -1;
}

void DrawSlot(uint32_t code, int emptyFigure, int column, int row, int offset) {
  const int32_t picture = ItemFigure(code);
  if (picture < 0) {
    DrawFigureIcon(offset, 0, emptyFigure, column, row, kSlotColour, 0);
    return;
  }
  DrawFigureIcon(offset, 0, kItemBoxFigure, column, row, kSlotColour, 0);
  DrawFigureIcon(offset, 0, picture, column, row, kWhite, 0);
}

void DrawIcons(const CreatureRecord& c, const PopupCellBoxWords& b) {
  const int row = b.top + 6, column = b.left + 1;
  DrawSlot(c.equipment[kSlotRightHand - 1], 400, column, row, 0);
  DrawSlot(c.equipment[kSlotLeftHand - 1], 401, column + 2, row, 2);
  DrawSlot(c.equipment[kSlotTorso - 1], 397, column + 4, row, 4);
  for (int i = 0; i < 3; ++i) {
    const ConditionEntry& e = c.conditions[i];
    if (e.id == 0 || e.duration <= 0 || e.id >= static_cast<uint32_t>(kConditionNameCount)) continue;
    const uint32_t badge = ConditionIconTable[e.id];
    if (badge == 0) continue;
    DrawFigureIcon(1 + 2 * i, 0, static_cast<int>(badge) + kBadgeFigureBase, b.left + 8 + 2 * i, row, kWhite,
                   0);
  }
}

}  // namespace

void HoveredTypeLine(const CreatureRecord& c, char (&line)[kTypeLineLength + 1]) {
  line[0] = '\0';
  const char* name = c.name;
  const char* kind = c.kind >= 0 && c.kind < kKindRows ? KindNames[c.kind] : "-";
  const bool named = StartsWith(name, kind) || EndsWith(name, kind);
  const int32_t klass = c.creatureClass;
  const bool classed = klass == kClassKnight || klass == kClassCleric || klass == kClassWizard ||
                       klass == kClassCommoner || klass == kClassWarrior || klass == kClassNoble;
  if (classed && c.type == kTypeHumanoid) {
    const char* word = IsPartyAllegiance(c.allegiance) ? ClassNames[klass] : ClassNamesFighter[klass];
    if (std::strlen(kind) + std::strlen(word) + 1 <= kTypeLineLength) {
      std::snprintf(line, sizeof line, "%.15s", (std::string(kind) + "_" + word).c_str());
      if (strcasecmp(line, name) != 0 && named) std::snprintf(line, sizeof line, "%.15s", word);
    } else {
      std::snprintf(line, sizeof line, "%.15s", named ? word : kind);
    }
  } else if (c.type != kTypeHumanoid) {
    if (!named) {
      std::snprintf(line, sizeof line, "%.15s", TypeWord(c.type));
      if (StartsWith(name, line)) std::snprintf(line, sizeof line, "%.15s", CasterWord(klass));
    } else {
      std::snprintf(line, sizeof line, "%.15s", CasterWord(klass));
    }
  }
}

namespace {

bool BoxShown() {
  if (HoveredFighterSlot < 0 || HoveredFighterSlot >= kFighterSlots || ScreenMode != kModeCreatureHovered ||
      CombatAction.selectedAction != -1 || CursorShape != kCursorCreature)
    return false;
  if (ShownClickResult.code != 0 && ShownClickResult.code != kClickResultExamine) return false;
  return IsValidCreature(FighterSlots[HoveredFighterSlot].creature);
}

}  // namespace

void DrawHoveredCreatureBox() {
  if (!BoxShown()) {
    // No box over the map this frame: the next frame's words are hidden
    // under none (not under a box drawn earlier, a prompt or a list).
    PopupRect = {0, 0, 0, 0};
    return;
  }
  const int creature = FighterSlots[HoveredFighterSlot].creature;
  const PopupCellBoxWords& b = HoveredBox;
  const bool moved = b.left != PlacedBox.left || b.top != PlacedBox.top || b.right != PlacedBox.right ||
                     b.bottom != PlacedBox.bottom;
  if (HoverChanged != 0 || PlacedSlot != HoveredFighterSlot || moved) {
    PlaceBox(Creatures[creature]);
    PlacedSlot = HoveredFighterSlot;
    PlacedBox = HoveredBox;
  }
  // The box, its texts and its icons in the 320x240 layout in the wide
  // window too, as the side panel it keeps off.
  const uint8_t kept = MapScaleSwitch;
  MapScaleSwitch = 0;
  DrawPopupBox(b.left, b.top, b.right, b.bottom, 0);

  const CreatureRecord& c = Creatures[creature];
  const int column = b.left + 1;
  DrawTextFNoClip(5, column, b.top + 1, "%.15s", c.name);
  if (DebugMode == 1) DrawTextFNoClip(0, column, b.top, "%i", creature);
  char type[kTypeLineLength + 1];
  HoveredTypeLine(c, type);
  if (strcasecmp(type, c.name) != 0) {
    char shown[kTypeLineLength + 1];
    CapitaliseWords(shown, type, 1);
    DrawTextFNoClip(6, column, b.top + 2, "%s", shown);
  }
  const int32_t hitPoints = c.hitPoints < 0 ? 0 : c.hitPoints;
  DrawTextFNoClip(4, column, b.top + 3, "HP    /    CR");
  if (hitPoints > 999)
    DrawTextFNoClip(1, column, b.top + 3, "  %.4i %.4i  %.2i", hitPoints, c.maxHitPoints, c.challengeRating);
  else
    DrawTextFNoClip(1, column, b.top + 3, "   %.3i %.3i   %.2i", hitPoints, c.maxHitPoints, c.challengeRating);
  DrawTextFNoClip(4, column, b.top + 4, "ST   DE   CO");
  DrawTextFNoClip(1, column, b.top + 4, "  %.2i   %.2i   %.2i", c.strength.current, c.dexterity.current,
                  c.constitution.current);
  DrawTextFNoClip(4, column, b.top + 5, "IN   WS   CH");
  DrawTextFNoClip(1, column, b.top + 5, "  %.2i   %.2i   %.2i", c.intelligence.current, c.wisdom.current,
                  c.charisma.current);
  DrawIcons(c, b);
  MapScaleSwitch = kept;
}
