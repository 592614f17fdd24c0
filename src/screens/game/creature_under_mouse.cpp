// The creature whose figure lies under the mouse on the map view.
#include "combat/actions/cursor_checks.h"
#include "combat/turns/adjacency_queries.h"
#include "engine/frame.h"
#include "engine/settings.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "rules/creature_record.h"
#include "screens/game/action_state.h"
#include "screens/game/panel_sections.h"
#include "screens/game/shared_routines.h"
#include "screens/game/view_window.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "state/map_view_state.h"
#include "state/panel_buttons.h"
#include "state/turn_order.h"

int32_t PromptRows = 3;
int32_t PanelTargetMember = -1;
int32_t SidePanelRows = 0;
int32_t LastSidePanelRows = 0;
uint8_t DialoguePanelOpen = 0;
int32_t HoverPointX = 0, HoverPointY = 0;
uint8_t HoverChanged = 0;

namespace {

// The figure's box: from its pixel position - 1 to its pixel position +
// figure size - 5, shifted to centre the figure on its footprint.
bool FigureHolds(const CreatureRecord& c, int px, int py, int* centreX, int* centreY) {
  const int w = c.figureSize[0].current, h = c.figureSize[1].current;
  const int shiftX = (24 * c.footprintWidth.current - w) / 2, shiftY = (24 * c.footprintHeight.current - h) / 2;
  const int left = c.pixelX - 1 + shiftX, top = c.pixelY - 1 + shiftY;
  const int right = c.pixelX + w - 5 + shiftX, bottom = c.pixelY + h - 5 + shiftY;
  *centreX = (left + right) / 2;
  *centreY = (top + bottom) / 2;
  return px >= left && px <= right && py >= top && py <= bottom;
}

}  // namespace

void ResetCreatureUnderMouseState() {
  PromptRows = 3;
  PanelTargetMember = -1;
  SidePanelRows = 0;
  LastSidePanelRows = 0;
  DialoguePanelOpen = 0;
  HoverPointX = HoverPointY = 0;
  HoverChanged = 0;
}

bool MouseOnGamePanels() {
  // While aiming, the prompt of the mode; else the side panel as the last
  // frame drew it (the action or initiative list, the pending-action box).
  if (IsTargetingMode()) return SidePanelBox(TargetingPromptRows()).HoldsMouse();
  if (SidePanelRows > 0 && SidePanelBox(SidePanelRows).HoldsMouse()) return true;
  if (InCombat == 1) {
    if (ActionsTabShown() && MouseOnPanelButton(kButtonActionsTab)) return true;
    if (CombatRollsShown == 1 ? kCombatRollsPanelBox.HoldsMouse()
                              : CombatRollsTabShown() && MouseOnPanelButton(kButtonCombatRollsTab))
      return true;
    return HitTestPanelRows(CurrentFighter());
  }
  if (DialoguePanelOpen != 0 || PanelTargetMember != -1) return true;
  return PartyListShown() && (IsOverNameList() || LevelUpStarUnderMouse());
}

namespace {

// The panels drawn over the map in a battle: the side panel, the
// combat-rolls panel, the box over the map and the status boxes.
constexpr int kCombatPanelBoxes = 3 + kStatusBoxCount;
// The 64-bit FNV prime: each number of the panels' boxes is folded in with it.
constexpr uint64_t kFnvPrime = 1099511628211ull;

// The panels drawn over the map in a battle that hide what lies under them
// (the side panel or the prompt, the combat-rolls panel, the box over the
// map): how many were written.
int HidingPanelBoxes(PixelBox* boxes) {
  if (InCombat != 1) return 0;
  int n = 0;
  // Before this frame's panels are drawn, those of the last frame.
  const int32_t rows = SidePanelRows > 0 ? SidePanelRows : LastSidePanelRows;
  if (IsTargetingMode())
    boxes[n++] = SidePanelBox(TargetingPromptRows());
  else if (rows > 0)
    boxes[n++] = SidePanelBox(rows);
  if (RollsPanelDrawn()) boxes[n++] = kCombatRollsPanelBox;
  // A box over the map (the hovered creature's), as the last frame drew it:
  // its edges reach a cell past its right and bottom.
  const PopupRectangle& p = PopupRect;
  if (p.right > p.left) boxes[n++] = PixelBox{p.left, p.top, p.right + kCellPixels - p.left, p.bottom + kCellPixels - p.top};
  return n;
}

// The panels drawn over the map in a battle, the status boxes' texts too:
// how many were written (at most kCombatPanelBoxes).
int CombatPanelBoxes(PixelBox* boxes) {
  const int n = HidingPanelBoxes(boxes);
  return n + (InCombat == 1 ? StatusBoxBlocks(boxes + n) : 0);
}

// The picture's pixels that hold any of a box of the view's: its left and
// top edges rounded down, its right and bottom edges up.
void ViewBoxToPicture(int left, int top, int width, int height, int* l, int* t, int* r, int* b) {
  const auto up = [](int v) { return -ViewToPicture(-v); };
  *l = ViewToPicture(left);
  *t = ViewToPicture(top);
  *r = up(left + width);
  *b = up(top + height);
}

}  // namespace

bool MarkOnCombatPanels(int left, int top, int right, int bottom) {
  PixelBox boxes[kCombatPanelBoxes];
  const int n = CombatPanelBoxes(boxes);
  for (int i = 0; i < n; ++i) {
    const PixelBox& b = boxes[i];
    if (left < b.left + b.width && b.left < right && top < b.top + b.height && b.top < bottom) return true;
  }
  return false;
}

bool ViewBoxOnCombatPanels(int left, int top, int width, int height) {
  int l = 0, t = 0, r = 0, b = 0;
  ViewBoxToPicture(left, top, width, height, &l, &t, &r, &b);
  return MarkOnCombatPanels(l, t, r, b);
}

bool ViewBoxHiddenByCombatPanels(int left, int top, int width, int height) {
  PixelBox boxes[kCombatPanelBoxes];
  const int n = HidingPanelBoxes(boxes);
  int l = 0, t = 0, r = 0, b = 0;
  ViewBoxToPicture(left, top, width, height, &l, &t, &r, &b);
  if (n == 0 || r <= l || b <= t) return false;
  // The box cut along the panels' edges inside it: hidden when the top-left
  // pixel of every piece lies under a panel.
  int xs[1 + 2 * kCombatPanelBoxes] = {l}, ys[1 + 2 * kCombatPanelBoxes] = {t};
  int nx = 1, ny = 1;
  for (int i = 0; i < n; ++i) {
    for (int x : {boxes[i].left, boxes[i].left + boxes[i].width})
      if (x > l && x < r) xs[nx++] = x;
    for (int y : {boxes[i].top, boxes[i].top + boxes[i].height})
      if (y > t && y < b) ys[ny++] = y;
  }
  for (int i = 0; i < nx; ++i)
    for (int j = 0; j < ny; ++j) {
      bool under = false;
      for (int k = 0; k < n && !under; ++k) under = boxes[k].Holds(xs[i], ys[j]);
      if (!under) return false;
    }
  return true;
}

uint64_t CombatPanelsWord() {
  PixelBox boxes[kCombatPanelBoxes];
  const int n = CombatPanelBoxes(boxes);
  uint64_t word = static_cast<uint64_t>(n);
  for (int i = 0; i < n; ++i)
    for (int v : {boxes[i].left, boxes[i].top, boxes[i].width, boxes[i].height})
      word = word * kFnvPrime + static_cast<uint32_t>(v);
  return word;
}

int FigureSlotAt(int px, int py, int* centreX, int* centreY) {
  int found = -1;
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    const int creature = FighterSlots[s].creature;
    if (!IsValidCreature(creature) || Creatures[creature].present != 1) continue;
    int cx = 0, cy = 0;
    if (!FigureHolds(Creatures[creature], px, py, &cx, &cy)) continue;
    const bool ranked = InCombat == 1 && FindTurnOrderIndex(creature) != -1;
    if (found != -1 && !ranked) continue;
    found = s;
    if (centreX) *centreX = cx;
    if (centreY) *centreY = cy;
    if (InCombat != 1 || ranked) break;
  }
  return found;
}

int CreatureUnderMouse() {
  if (MouseOnGamePanels()) return -1;
  int cx = 0, cy = 0;
  const int found = FigureSlotAt(PointerMapX(), PointerMapY(), &cx, &cy);
  if (found == -1) return -1;
  HoverPointX = cx;
  HoverPointY = cy;
  HoverChanged = found != SelectedFighterSlot ? 1 : 0;
  return found;
}

int FighterUnderMouse() { return CreatureUnderMouse(); }
