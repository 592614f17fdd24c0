#include "screens/game/creature_figures.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "combat/actions/start_of_combat.h"
#include "combat/resolution/area_targets.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/resolution/spell_keywords.h"
#include "combat/resolution/spell_preview.h"
#include "combat/turns/combat_cycle.h"
#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/message_log.h"
#include "engine/random.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "rules/conditions.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "screens/game/event_playback.h"
#include "screens/game/fallen_members.h"
#include "screens/game/figure_table.h"
#include "screens/game/frame_words.h"
#include "screens/game/floating_texts.h"
#include "screens/game/map_base_digest.h"
#include "screens/game/map_mouse_words.h"
#include "screens/game/overlay_sections.h"
#include "screens/game/shared_routines.h"
#include "screens/game/square_drawing.h"
#include "screens/game/view_squares.h"
#include "screens/game/view_window.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/current_cast.h"
#include "state/fighter_slots.h"
#include "state/game_screen_words.h"
#include "state/inventory_state.h"
#include "state/panel_buttons.h"
#include "state/party_leader.h"
#include "state/queued_actions.h"

DrawListEntry DrawList[kDrawListSize];  // built afresh every frame (DrawListCount)
int32_t DrawListCount = 0;
uint8_t ActiveFighterOnScreen = 0;
int32_t ScreenPosX[kCreatureCount];
int32_t ScreenPosY[kCreatureCount];

namespace {

// Whether the figure is drawn as a silhouette of its outline colour this frame.
uint8_t Outlined[kCreatureCount];
// Whether the figure is drawn this frame (its screen position may be -1 as
// any other: a figure a pixel left of the view's edge).
uint8_t Drawn[kCreatureCount];

bool InTurnOrder(int creature) {
  for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i)
    if (TurnOrder[i].creature == creature) return true;
  return false;
}

bool OnList(const int32_t* list, int count, int creature) {
  for (int i = 0; i < count && i < kCombatListSize; ++i)
    if (list[i] == creature) return true;
  return false;
}

// Taking part in the battle: in the turn order, or present and among the
// participants or the allies the start of combat listed.
bool ListedInBattle(int creature) {
  if (InCombat != 1) return false;
  if (InTurnOrder(creature)) return true;
  return Creatures[creature].present == 1 &&
         (OnList(CombatParticipants, CombatParticipantCount, creature) ||
          OnList(CombatAllies, CombatAllyCount, creature));
}

bool Active(int creature, uint32_t condition) { return FindCondition(creature, condition) != -1; }

int FootLine(const CreatureRecord& c) {
  return c.pixelY + c.figureSize[1].current - (c.footprintHeight.current > 1 ? 1 : 0);
}

uint32_t OutlineColour(int32_t allegiance) {
  if (allegiance == kAllegianceEnemy) return 0xFF000000u;
  return IsPartyAllegiance(allegiance) ? 0xFFD87600u : 0xFF646464u;
}

bool ModeHidesOutline() { return ScreenMode == kModeResting || (ScreenMode >= 20 && ScreenMode <= 24); }

// The figure's offset inside its footprint when its drawn size differs.
void FootprintOffset(const CreatureRecord& c, int* dx, int* dy) {
  const int w = c.figureSize[0].current, h = c.figureSize[1].current;
  const int fw = kSquarePixels * c.footprintWidth.current, fh = kSquarePixels * c.footprintHeight.current;
  *dx = *dy = 0;
  if (w == fw && h == fh) return;
  *dx = (fw - w) / 2;
  *dy = (fh - h) / 2;
}

// The scale of a figure: 1 when drawn at its class's frame size.
void FigureScale(const CreatureRecord& c, int frameWidth, int frameHeight, float* sx, float* sy) {
  const int w = c.figureSize[0].current, h = c.figureSize[1].current;
  if (w == frameWidth && h == frameHeight) {
    *sx = *sy = 1.0f;
    return;
  }
  *sx = static_cast<float>(w) / static_cast<float>(frameWidth);
  *sy = static_cast<float>(h) / static_cast<float>(frameHeight);
}

// During a size-change event the figure eases from its old scale to its new.
void EaseSizeChange(int creature, float* sx, float* sy) {
  if (creature != PlaybackCreature || CombatEventReadIndex >= static_cast<uint32_t>(kCombatEventCount)) return;
  const int32_t type = CombatEvents[CombatEventReadIndex].type;
  if (type != kEventGrow && type != kEventShrink) return;
  if (ResizeStartScale[0] <= 0 || ResizeStartScale[1] <= 0 || FramesPerEvent <= 0) return;
  const float t = static_cast<float>(PlaybackFramesLeft) / static_cast<float>(FramesPerEvent);
  *sx = *sx + (ResizeStartScale[0] - *sx) * t;
  *sy = *sy + (ResizeStartScale[1] - *sy) * t;
}

void DrawFigure(int figure, int sheet, int frame, int x, int y, uint32_t colour, float sx, float sy) {
  switch (figure) {
    case 194:
      DrawSheetFrameGradient(sheet, frame, x, y, colour, sx, sy, 0, 0, 0xFFFF6717u, 0xFFFFAA1Eu, 0xFFFFCA63u);
      return;
    case 184:
      DrawSheetFrameGradient(sheet, frame, x, y, colour, sx, sy, 0, 0, 0xFFCB0324u, 0xFFB40014u, 0xFF960000u,
                             0xFFB40014u, 0xFFD2000Au, 0xFFF0000Au);
      return;
    case 201:
      DrawSheetFrameGradient(sheet, frame, x, y, colour, sx, sy, 0, 0, 0xFFF6CD3Eu, 0xFFFA7F1Cu, 0xFFFA542Eu);
      return;
    default:
      DrawMapFrame(sheet, frame, x, y, colour, sx, sy);
  }
}

// The rows at and below the first view row whose bottom edge lies below the
// figure's bottom edge are drawn again when that row holds a tall floor
// feature reaching over the figure.
void DrawObjectsInFront(int bottom, int rows, int cols, uint32_t tint) {
  for (int r = 0; r <= rows; ++r) {
    if (24 * (r + 1) - SquareOffsetY <= bottom) continue;
    if (RowHasTallCover(r, cols) && 24 * r - SquareOffsetY - 10 < bottom) DrawTallFeaturesInFront(r, rows, cols, tint);
    return;
  }
}

// The screen rectangle of everything drawn for a creature: its figure, and
// the ring under it when one was drawn (reaching up to 36 pixels round it).
void CoverByCreature(int creature, bool ring) {
  const CreatureRecord& c = Creatures[creature];
  const int x = ScreenPosX[creature], y = ScreenPosY[creature];
  const int w = c.figureSize[0].current, h = c.figureSize[1].current;
  const int reach = ring ? 36 : 0;
  CoverTallFeatures(x - reach, y - reach, x + w + reach, y + h + reach);
}

void DrawFigurePass(int creature, int rows, int cols, uint32_t tint) {
  CreatureRecord& c = Creatures[creature];
  Outlined[creature] = 0;
  int seen = FootprintOnMarkedSquare(creature);
  if (CurrentMapNumber >= 5 && c.special[kSenseKindWord] == 4 && !(InCombat == 1 && InTurnOrder(creature))) seen = 0;
  const bool listed = ListedInBattle(creature);
  int sheet = 0, frame = 0, frameWidth = 0, frameHeight = 0;
  if ((seen == 0 && !listed) ||
      !FigureSheetFrame(c.figure, c.facing, c.displayWords[kDisplayAnimationFrame], &sheet, &frame) ||
      !SizeClassFrame(c.displayWords[kDisplayFigureSize], &frameWidth, &frameHeight)) {
    ScreenPosX[creature] = ScreenPosY[creature] = -1;
    Drawn[creature] = 0;
    return;
  }

  // Translucent when unseen by magic; dimmed when only remembered.
  const bool hidden = Active(creature, kCondGreaterInvisibility) || Active(creature, kCondInvisible) ||
                      Active(creature, kCondConcealedByDarkness) || Active(creature, kCondMagicallyConcealed);
  const uint32_t alpha = hidden ? 120u : 255u;
  const uint32_t colour = FigureColour(seen == 2 || seen == 0, alpha);

  float sx = 1, sy = 1;
  FigureScale(c, frameWidth, frameHeight, &sx, &sy);
  EaseSizeChange(creature, &sx, &sy);
  int dx = 0, dy = 0;
  FootprintOffset(c, &dx, &dy);
  const int x = c.pixelX - 24 * FirstVisibleX - SquareOffsetX + dx - 3;
  const int y = c.pixelY - 24 * FirstVisibleY - SquareOffsetY + dy - 3;
  ScreenPosX[creature] = x;
  ScreenPosY[creature] = y;
  Drawn[creature] = 1;

  // The mark under the figure.
  if (InCombat == 1 && IsCreatureActionQueued(creature)) CreatureMarkWords[creature] = 1;
  const bool ring = CreatureMarkWords[creature] != 0 && (InCombat != 1 || CombatAction.playerControlled == 1);
  if (ring) DrawCreatureMarker(creature);

  // The hovered creature blinks as a silhouette of its side's colour.
  if (HoveredCreature != -1) HoveredFighterSlot = GetFighterSlot(HoveredCreature);
  const bool hovered = HoveredFighterSlot >= 0 && HoveredFighterSlot < kFighterSlots &&
                       FighterSlots[HoveredFighterSlot].creature == creature;
  const uint32_t outline = OutlineColour(c.allegiance);
  if (hovered && !ModeHidesOutline() && HoverMarksHidden == 0 && BlinkTick > 10 && outline != 0xFF000000u) {
    Outlined[creature] = 1;
    DrawSheetFrameSilhouette(sheet, frame, x, y, (alpha << 24) | (outline & 0x00FFFFFFu), sx, sy);
  } else {
    DrawFigure(c.figure, sheet, frame, x, y, colour, sx, sy);
  }
  DrawLyingMembersAtFeetOf(creature);

  CoverByCreature(creature, ring);
  DrawObjectsInFront(y + 3 + c.figureSize[1].current, rows, cols, tint);

  if (creature == PlaybackCreature && !BoxOverBattle())
    PlayEventOverFigure(creature, sheet, frame, x, y, sx, sy);
  else if (Active(creature, kCondNauseated) && !Outlined[creature])
    DrawSheetFrameSilhouette(sheet, frame, x, y, (static_cast<uint32_t>(PulseAlpha + 30) << 24) | 0x00C800u, sx, sy);
  CoverByCreature(creature, ring);

  PlaceFloatingText(creature, dx, dy);
}

// The numbers of the spells whose chance of taking effect is shown, and of
// those whose amount is.
constexpr int kSaveChanceSpells[] = {3,   28,  43, 17, 65, 37, 39,  77,  98,  70, 71,  80,  130, 48,  91,  87,
                                     97,  57,  81, 42, 94, 78, 58,  30,  59,  38, 10,  27,  21,  22,  20,  16,
                                     62,  148, 158, 54, 72, 95, 24, 40,  51,  73, 76,  79,  88,  89,  99,  100,
                                     104, 8,   34, 44, 61, 83, 137, 998};
constexpr int kAmountSpells[] = {31,  32,  69,  101, 60,  92,  155, 164, 166, 170, 173, 4,   171,
                                 109, 120, 134, 145, 161, 49,  107, 119, 133, 144, 162, 153, 163,
                                 165, 169, 172, 35,  84,  82,  11,  14,  18,  23,  90,  138, 6};

template <size_t N>
bool Among(const int (&list)[N], int spell) {
  return std::find(std::begin(list), std::end(list), spell) != std::end(list);
}

bool InAreaTargetList(int creature) {
  for (int i = 0; i < kAreaTargetCount && AreaTargetList[i] != -1; ++i)
    if (AreaTargetList[i] == creature) return true;
  return false;
}

// A label over a creature (a chance, an amount, a floating text), kept
// inside the view (a few pixels clear of its right edge, as tooltips are)
// when the creature stands at its side or its bottom, clear of the banner
// naming the action at the top left, of the marks placed before it this
// frame and a blank cell apart from the labels placed before it on its line
// (side by side two amounts read as one number, "2424"); a chance or an
// amount also keeps off the pointer's picture and the other creatures'
// figures (over a neighbour's it read as the neighbour's), where a floating
// text, words as wide as several figures, rises over them. Every label
// keeps off the panels drawn over the map, the status boxes' texts among
// them. Where any of them would lie on it, a chance stands a pixel above the
// pointer's tip, else left of it, else below the pointer's picture; else a
// label stands a row higher at a time, else a row lower. A label that would
// still lie on a panel is not drawn, nor a chance over a creature that the
// panels hide whole.
constexpr int kPointerPicture = 20;
struct LabelBox {
  int x, y, width, height;
  int cell = 0;  // a label's letters: their cells' width (0: a mark)
  bool Meets(const LabelBox& o) const {
    // Two labels' letters on a line: a cell's width of blank between them.
    const int gap = cell > 0 && o.cell > 0 ? std::max(cell, o.cell) : 0;
    return x < o.x + o.width + gap && o.x < x + width + gap && y < o.y + o.height && o.y < y + height;
  }
};
constexpr int kLabelBoxes = 6 * kDrawListSize;  // a chance, a floating text, two icons and the turn marker each
LabelBox LabelsDrawn[kLabelBoxes];  // laid afresh every frame (LabelsDrawnCount)
int LabelsDrawnCount = 0;

// A creature's figure less its feet and the blank at its sides: the middle
// half of its drawn size across, its upper three quarters down (the head
// and body), in the view's pixels.
LabelBox FigureMiddle(int creature) {
  const CreatureRecord& c = Creatures[creature];
  const int w = c.figureSize[0].current, h = c.figureSize[1].current;
  return LabelBox{ScreenPosX[creature] + w / 4, ScreenPosY[creature], w - w / 2, 3 * h / 4};
}

// Whether the panels over the map hide every part of the creature's figure
// in the view: its whole drawn box cut to the view (its feet below a panel
// or its side beside one show it), or nothing of it left in the view.
bool FigureHiddenByPanels(int creature) {
  const CreatureRecord& c = Creatures[creature];
  const int left = std::max(0, static_cast<int>(ScreenPosX[creature]));
  const int top = std::max(0, static_cast<int>(ScreenPosY[creature]));
  const int right = std::min(ViewWidth(), ScreenPosX[creature] + c.figureSize[0].current);
  const int bottom = std::min(ViewHeight(), ScreenPosY[creature] + c.figureSize[1].current);
  return right <= left || bottom <= top || ViewBoxHiddenByCombatPanels(left, top, right - left, bottom - top);
}

// Places a label of `owner` of width by height at (x, y), or as near as it
// stands free (see above), a chance's (`chance`) or a floating text's; false
// when it is left out. The pointer's picture takes kPointerPicture pixels
// right of and below its tip in the picture (the cursor or the aimed
// spell's icon).
bool PlaceLabel(int owner, int width, int height, int cell, bool chance, int* x, int* y) {
  if (chance && FigureHiddenByPanels(owner)) return false;
  constexpr int kClear = 320 - kTooltipRight;
  const int rightmost = std::max(0, ViewWidth() - kClear - width);
  const int lowest = std::max(0, ViewHeight() - height);
  const int left = std::clamp(*x, 0, rightmost), top = std::clamp(*y, 0, lowest);
  const int mx = PictureToView(PointerX()), my = PictureToView(PointerY());
  const int picture = PictureToView(kPointerPicture);
  const LabelBox pointer{mx, my, picture, picture};
  LabelBox banner{0, 0, 0, 0};
  int bannerLeft = 0, bannerTop = 0, bannerRight = 0, bannerBottom = 0;
  if (ActionBannerBox(&bannerLeft, &bannerTop, &bannerRight, &bannerBottom))
    banner = LabelBox{PictureToView(bannerLeft), PictureToView(bannerTop), PictureToView(bannerRight) - PictureToView(bannerLeft),
                      PictureToView(bannerBottom) - PictureToView(bannerTop), PictureToView(kCellPixels)};
  const auto free = [&](const LabelBox& box) {
    if (box.x < 0 || box.y < 0 || box.x > rightmost || box.y > lowest || box.Meets(banner) ||
        (chance && box.Meets(pointer)) || ViewBoxOnCombatPanels(box.x, box.y, box.width, box.height))
      return false;
    for (int i = 0; i < LabelsDrawnCount; ++i)
      if (box.Meets(LabelsDrawn[i])) return false;
    for (int i = 0; i < DrawListCount && chance; ++i) {
      const int other = DrawList[i].creature;
      if (other != owner && Drawn[other] && box.Meets(FigureMiddle(other))) return false;
    }
    return true;
  };
  LabelBox box{left, top, width, height, cell};
  bool found = free(box);
  if (!found && chance) {
    const LabelBox choices[3] = {{left, my - 1 - height, width, height, cell},
                                 {mx - 1 - width, top, width, height, cell},
                                 {left, my + picture, width, height, cell}};
    for (const LabelBox& choice : choices)
      if (!found && free(choice)) box = choice, found = true;
  }
  // On a panel: beside it on its own line, a cell further at a time up to
  // its width and a cell, left first (over a figure whose side alone shows
  // beside the side panel).
  if (!found && ViewBoxOnCombatPanels(left, top, width, height))
    for (int shift = cell; !found && shift > 0 && shift <= width + cell; shift += cell)
      for (const int side : {left - shift, left + shift}) {
        const LabelBox beside{side, top, width, height, cell};
        if (!found && free(beside)) box = beside, found = true;
      }
  for (int up = box.y - height - 1; !found && up >= 0; up -= height + 1)
    if (free(LabelBox{left, up, width, height, cell})) box = LabelBox{left, up, width, height, cell}, found = true;
  for (int down = top + height + 1; !found && down <= lowest; down += height + 1)
    if (free(LabelBox{left, down, width, height, cell})) box = LabelBox{left, down, width, height, cell}, found = true;
  // Nowhere free: over its creature as the rules place it.
  if (!found) box = LabelBox{left, top, width, height, cell};
  if (ViewBoxOnCombatPanels(box.x, box.y, box.width, box.height)) return false;
  if (LabelsDrawnCount < kLabelBoxes) LabelsDrawn[LabelsDrawnCount++] = box;
  *x = box.x;
  *y = box.y;
  return true;
}

// A chance or an amount over `owner` at (x, y), or as near as it stands free.
void DrawSmallText(const char* text, int x, int y, int owner) {
  // The small letters' cells are 7 by 9 pixels in the wide window's view.
  const bool wide = IsWideView();
  if (PlaceLabel(owner, TextWidth(text, 0), wide ? 9 : 6, wide ? 7 : 5, true, &x, &y))
    DrawTextAt(0xFFFFFFFFu, 63, x, text, 0, 0, 0, 0, y, 1, 0);
}

// The creature's floating text over it, or as near as it stands free.
void DrawFloatingLabel(int creature) {
  int x = 0, y = 0, width = 0, height = 0;
  if (FloatingTextBox(creature, &x, &y, &width, &height) && PlaceLabel(creature, width, height, height, false, &x, &y))
    DrawFloatingTextAt(creature, x, y);
}

void DrawChanceLabels(int creature, int cx, int cy) {
  char text[16];
  const int32_t chance = SpellPreviewValues[creature];
  int32_t& mark = CreatureMarkWords[creature];
  const bool orders = InCombat == 1 && CombatAction.playerControlled == 1;
  if (mark == 2 && SpellInProgress == -1 && orders) {
    if (HoveredFighterSlot == -1 || AttackAimMode != 2) {
      mark = 0;
    } else {
      if (chance == -1)
        std::snprintf(text, sizeof text, "-");
      else
        std::snprintf(text, sizeof text, "%i%%", chance);
      DrawSmallText(text, cx - 3 * static_cast<int>(std::strlen(text)) + 2, cy - 2, creature);
    }
  }
  if (mark == 0 || SpellInProgress == -1 || (InCombat == 1 && CombatAction.playerControlled != 1)) return;
  if (mark == 1 && !InAreaTargetList(creature)) return;
  if (Among(kSaveChanceSpells, SpellInProgress)) {
    if (chance == -1)
      std::snprintf(text, sizeof text, "-");
    else
      std::snprintf(text, sizeof text, "%i%%", chance);
  } else if (Among(kAmountSpells, SpellInProgress)) {
    if (chance == -1)
      std::snprintf(text, sizeof text, "-");
    else if (chance == -2)
      std::snprintf(text, sizeof text, "Rev.");
    else
      std::snprintf(text, sizeof text, "%i", chance);
  } else {
    return;
  }
  DrawSmallText(text, cx - 3 * static_cast<int>(std::strlen(text)) + 2, cy - 2, creature);
}

// The animation a creature caught by the spell being announced shows.
void DrawTargetAnimation(int creature, int cx, int cy) {
  if (ScreenMode != kModeCastAnnounce) return;
  const int slot = GetFighterSlot(creature);
  if (slot < 0 || slot >= kFighterSlots || TargetAnimation[slot] == 0) return;
  const int frames = UseAnimationFrames();
  const float progress = frames > 0 ? static_cast<float>(CastingUse.frameCounter) / static_cast<float>(frames) : 0.0f;
  const int colour = SpellInProgress >= 0 && SpellInProgress < kSpellRows ? SpellTable[SpellInProgress].animationColour : 1;
  const int size = kSquarePixels * std::max(1, static_cast<int>(Creatures[creature].footprintWidth.current));
  DrawCastingMark(TargetAnimation[slot], progress, cx, cy, size, SpellColour(colour));
}

// A condition icon or the turn marker: drawn, or only noted as a label's
// place taken (its drawn texels' box), for the chances drawn before it.
void LabelMark(int sheet, int frame, int x, int y, bool draw) {
  if (draw) {
    DrawMapMark(sheet, frame, x, y);
    return;
  }
  int width = 0, height = 0, left = 0, top = 0, right = 0, bottom = 0;
  if (!SheetFrameRect(sheet, frame, nullptr, nullptr, &width, &height) || ViewBoxOnCombatPanels(x, y, width, height) ||
      !SheetFrameInkBox(sheet, frame, &left, &top, &right, &bottom) || right <= left)
    return;
  // A pixel round it kept free: touching, the chance's letters read as part of the icon.
  if (LabelsDrawnCount < kLabelBoxes)
    LabelsDrawn[LabelsDrawnCount++] = LabelBox{x + left - 1, y + top - 1, right - left + 2, bottom - top + 2};
}

void DrawConditionIcons(int creature, int cx, int cy, bool draw) {
  const CreatureRecord& c = Creatures[creature];
  if (InCombat == 1 && Active(creature, kCondParalyzed)) {
    if (c.footprintWidth.current <= 1) {
      LabelMark(10, 97 + IconFrame3B, cx - 16, cy - 18, draw);
    } else {
      static constexpr int kLargeIconSheets[3] = {28, 34, 35};
      LabelMark(kLargeIconSheets[IconFrame3B % 3], 24, cx - 29, cy - 29, draw);
    }
  } else if (Active(creature, kCondDazed) || Active(creature, kCondStunned) || Active(creature, kCondCowering)) {
    LabelMark(9, 97 + IconFrame3A, cx - 16, cy - 18, draw);
  }
  const int code = CombatAction.actionCode;
  const bool shooting = InCombat == 1 && creature == ActingCreature && (code == 8 || code == 9 || code == 10);
  if (shooting) return;
  if (Active(creature, kCondSleeping))
    LabelMark(21, 36 + IconFrame10, cx - 26, cy - 28, draw);
  else if (Active(creature, kCondConfused) || Active(creature, kCondDominated) || Active(creature, kCondControlled))
    LabelMark(12, 30 + IconFrame8, cx - 26, cy - 28, draw);
  else if (Active(creature, kCondBlinded))
    LabelMark(11, 97, cx - 26, cy - 28, draw);
}

// The marker over the fighter whose turn waits for the player's order: its
// drawn texels a pixel inside the top of the fighter's own footprint, over
// the figure's head and centred on the figure (sixteen pixels above the
// figure it lay on the figure standing north of it).
constexpr int kTurnMarkerSheet = 20, kTurnMarkerFrame = 191;
void DrawTurnMarker(int creature, int cx, bool draw) {
  if (InCombat != 1 || CombatState != kStatePlayerTurn || CombatAction.actionCode != 0 || ScreenMode >= 10 ||
      creature != CurrentFighter() || HoverMarksHidden != 0 || BlinkTick <= 10)
    return;
  int left = 0, top = 0, right = 0, bottom = 0;
  if (!SheetFrameInkBox(kTurnMarkerSheet, kTurnMarkerFrame, &left, &top, &right, &bottom) || right <= left) return;
  const int footprintTop = Creatures[creature].pixelY - kSquarePixels * FirstVisibleY - SquareOffsetY;
  LabelMark(kTurnMarkerSheet, kTurnMarkerFrame, cx - (left + right) / 2, footprintTop + 1 - top, draw);
}

// Whether the creature shows its condition icons (not while a floating
// text or its own event plays over it).
bool ShowsConditionIcons(int creature) {
  return FloatingTexts[creature].framesLeft < 0 && creature != PlaybackCreature;
}

void DrawQueuedSpell(int creature, int cx, int cy) {
  if (InCombat != 1 || !IsCreatureActionQueued(creature)) return;
  for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i) {
    const TurnOrderEntry& e = TurnOrder[i];
    if (e.creature != creature) continue;
    static const char* const kMetamagic[7] = {"", "Maximised", "Empowered", "Widened", "Heightened", "Silent", "Stilled"};
    char keyword[64];
    CapitaliseWords(keyword, SpellKeywordShort(e.plannedTarget), 1);
    const int n = static_cast<int>(std::strlen(keyword));
    if (e.plannedParameter >= 1 && e.plannedParameter <= 6)
      DrawString(kMetamagic[e.plannedParameter], 0, cx - 4 * n + 1, cy, 0xFFFFFFFFu, 0);
    DrawString(keyword, 0, cx - 4 * n + 1, cy + 8, 0xFFFFFFFFu, 0);
    return;
  }
}

void DrawLabels(int creature) {
  const CreatureRecord& c = Creatures[creature];
  int cx = 0, cy = 0;
  FigureCentre(creature, &cx, &cy);
  const bool jitter = ScreenMode == kModeExploring || ScreenMode == kModeResting;
  auto jitterOf = [&]() { return jitter ? static_cast<int>(RandomUpTo(1)) : 0; };

  const bool oneSquare = c.footprintWidth.current == 1 && c.footprintHeight.current == 1;
  if (oneSquare && (Active(creature, kCondProtectedVersusGood) || Active(creature, kCondProtectedVersusEvil))) {
    const int jx = jitterOf(), jy = jitterOf();
    DrawLightGlow(255, 4, cx - 19 + jx, cy - 17 + jy, 0.25f);
  } else if (Active(creature, kCondIlluminating)) {
    const int jx = jitterOf(), jy = jitterOf();
    DrawLightGlow(255, 6, cx - 19 + jx, cy - 17 + jy, 0.25f);
  }

  DrawTargetAnimation(creature, cx, cy);
  if (creature == PlaybackCreature && !BoxOverBattle()) PlayEventOverLabels(creature);
  DrawChanceLabels(creature, cx, cy);

  if (FloatingTexts[creature].framesLeft >= 0)
    DrawFloatingLabel(creature);
  else if (ShowsConditionIcons(creature))
    DrawConditionIcons(creature, cx, cy, true);

  DrawQueuedSpell(creature, cx, cy);
  DrawTurnMarker(creature, cx, true);
}

// The ring's countdown: a run-out countdown starts again while the player
// rests or aims (10 to 15), and otherwise takes the marks off.
void CountDownMarks() {
  int32_t& timer = HighlightTimer > AreaMarkTimer ? HighlightTimer : AreaMarkTimer;
  if (timer > 0) {
    --timer;
    return;
  }
  const bool restart = ScreenMode == kModeResting || (ScreenMode >= 10 && ScreenMode <= 15);
  if (restart) {
    bool any = false;
    for (int i = 0; i < kCreatureCount && !any; ++i) any = CreatureMarkWords[i] != 0;
    if (!any) return;
    timer = 100;
    if (DebugMode) LogMessage("(Cycle 18)");
    return;
  }
  for (int i = 0; i < DrawListCount; ++i) {
    const int creature = DrawList[i].creature;
    if (IsCreatureActionQueued(creature)) continue;
    CreatureMarkWords[creature] = 0;
  }
}

}  // namespace

uint32_t FigureColour(bool dimmed, uint32_t alpha) {
  int red = static_cast<int>(AmbientTint[0]), green = static_cast<int>(AmbientTint[1]),
      blue = static_cast<int>(AmbientTint[2]);
  if (dimmed) {
    red = red * 75 / 100;
    green = green * 63 / 100;
    blue = blue * 63 / 100;
  }
  return (alpha << 24) | (static_cast<uint32_t>(red & 0xFF) << 16) | (static_cast<uint32_t>(green & 0xFF) << 8) |
         static_cast<uint32_t>(blue & 0xFF);
}

bool FigureDrawn(int creature) { return creature >= 0 && creature < kCreatureCount && Drawn[creature] != 0; }

void FigureCentre(int creature, int* cx, int* cy) {
  const CreatureRecord& c = Creatures[creature];
  *cx = ScreenPosX[creature] + c.figureSize[0].current / 2;
  *cy = ScreenPosY[creature] + c.figureSize[1].current / 2;
}

void BuildDrawList(int rows, int cols, uint32_t tint) {
  std::fill(std::begin(ScreenPosX), std::end(ScreenPosX), -1);
  std::fill(std::begin(ScreenPosY), std::end(ScreenPosY), -1);
  std::fill(std::begin(Drawn), std::end(Drawn), 0);
  DrawListCount = 0;
  ActiveFighterOnScreen = 0;
  const int current = InCombat == 1 ? CurrentFighter() : static_cast<int>(PartyLeader);
  CountDownFloatingTexts();
  const int count = std::min<int>(FighterCount, kFighterSlots);
  for (int slot = 0; slot < count; ++slot) {
    const int creature = FighterSlots[slot].creature;
    if (!IsValidCreature(creature) || !IsFighterOnScreen(slot) || DrawListCount >= kDrawListSize) continue;
    DrawList[DrawListCount++] = {creature, FootLine(Creatures[creature])};
    if (creature == current) ActiveFighterOnScreen = 1;
  }
  for (int row = 0; row <= rows; ++row) DrawSquareObjects(row, cols, tint);
  BeginTallFeatures(rows, cols);
  // By foot line, equal ones in the order listed but the current character
  // last: of two figures on one square (a member raised on its healer's) the
  // one the player steers stays in sight. An
  // insertion sort in place (a stable sort of the library takes a buffer of
  // the heap every frame).
  auto drawnBefore = [current](const DrawListEntry& a, const DrawListEntry& b) {
    return a.footLine < b.footLine || (a.footLine == b.footLine && b.creature == current && a.creature != current);
  };
  for (int i = 1; i < DrawListCount; ++i) {
    const DrawListEntry entry = DrawList[i];
    int j = i;
    for (; j > 0 && drawnBefore(entry, DrawList[j - 1]); --j) DrawList[j] = DrawList[j - 1];
    DrawList[j] = entry;
  }
  CountDownMarks();
}

void DrawCreatureFigures(int rows, int cols, uint32_t tint) {
  for (int i = 0; i < DrawListCount; ++i) DrawFigurePass(DrawList[i].creature, rows, cols, tint);
}

void DrawCreatureLabels(int, int) {
  LabelsDrawnCount = 0;
  // Every creature's condition icons and the turn marker take their places
  // first: a chance drawn over one creature lay under the icons of the
  // creatures drawn after it, and under its own ("35%" on a paralysed foe's).
  for (int i = 0; i < DrawListCount; ++i) {
    const int creature = DrawList[i].creature;
    if (!Drawn[creature]) continue;
    int cx = 0, cy = 0;
    FigureCentre(creature, &cx, &cy);
    if (ShowsConditionIcons(creature)) DrawConditionIcons(creature, cx, cy, false);
    DrawTurnMarker(creature, cx, false);
  }
  for (int i = 0; i < DrawListCount; ++i) {
    const int creature = DrawList[i].creature;
    if (Drawn[creature]) DrawLabels(creature);
  }
}

void DrawEventAmount(int creature, const char* text, int x, int y) {
  if (text == nullptr || text[0] == '\0') return;
  const int step = GlyphStep();
  if (PlaceLabel(creature, step * static_cast<int>(std::strlen(text)), step, step, false, &x, &y))
    DrawString(text, 0, x, y, 0xFFFFFFFFu, 0);
}

bool MapMarksMeet(int left, int top, int right, int bottom) {
  if (InCombat != 1) return false;
  // In the view's pixels, which the wide view spreads over 480 by 360.
  const LabelBox box{PictureToView(left), PictureToView(top), PictureToView(right) - PictureToView(left),
                     PictureToView(bottom) - PictureToView(top)};
  for (int i = 0; i < LabelsDrawnCount; ++i)
    if (box.Meets(LabelsDrawn[i])) return true;
  return GroundMarksMeet(box.x, box.y, box.x + box.width, box.y + box.height);
}

void ResetCreatureFiguresState() {
  DrawListCount = 0;
  LabelsDrawnCount = 0;
  ActiveFighterOnScreen = 0;
  for (int32_t& p : ScreenPosX) p = -1;
  for (int32_t& p : ScreenPosY) p = -1;
  std::memset(Outlined, 0, sizeof Outlined);
  std::memset(Drawn, 0, sizeof Drawn);
  ResetFallenMembersState();
}
