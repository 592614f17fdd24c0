// The last sections of the game screen's frame: the icon of the spell being
// aimed in place of the cursor, with its touch-attack chance; or the object
// held on the cursor; or the cursor with its hint; then the end of the
// frame's drawing.
#include "screens/game/frame_end.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

#include "combat/actions/roll_previews.h"
#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/page_history.h"
#include "engine/settings.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/timing.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "map/movement_rules.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "screens/character/spell_icons.h"
#include "screens/game/action_state.h"
#include "screens/game/creature_figures.h"
#include "screens/game/fallen_members.h"
#include "screens/game/frame_words.h"
#include "screens/game/held_object.h"
#include "screens/game/overlay_sections.h"
#include "screens/game/panel_sections.h"
#include "state/fighter_slots.h"
#include "state/turn_order.h"

uint8_t ScrollThumbDrag = 0;  // ends whenever the left button is up

namespace {

constexpr int32_t kTurnUndead = 998;
constexpr int kTurnUndeadIcon = 488, kRefusedTargetMark = 581;
constexpr int kIconFrameSheet = 13, kIconFrame = 966;
constexpr int kWholeSquareSheet = 4, kWholeSquareFrame = 89;

// "75%" as the hint, when nothing else wrote one, for the player's fighter.
bool TakeChanceAsHint(int32_t chance) {
  if (CursorHint[0] != '\0' || chance == -1 || CombatAction.playerControlled != 1) return false;
  std::snprintf(CursorHint, sizeof CursorHint, "%i%%", chance);
  return true;
}

// The hint and, one line under it, the situation labels of the chance
// (`labels`): one block beside the pointer at (x, y), moved left as a whole
// so that its widest line ends by kTooltipRight (and then, in cursor mode,
// `lowered` pixels lower, as a hint alone moves) and up so that its last
// line ends by kTooltipBottom; then off the texts drawn before it and the
// map's marks (a chance on its backing hid a path arrow).
void DrawHintAndLabels(int x, int y, int lowered, bool labels = true) {
  size_t widest = std::strlen(CursorHint);
  int lines = 1;
  if (labels && OptionWords[kOptionDisplayExpandedTooltip] == 1)
    for (const SituationLabel& label : SituationLabels) {
      if (label.text[0] == '\0') continue;
      widest = std::max(widest, std::strlen(label.text));
      ++lines;
    }
  const int width = 8 * static_cast<int>(widest);
  if (x + width > kTooltipRight) {
    x = std::max(0, kTooltipRight - width);
    y += lowered;
  }
  y = std::max(0, std::min(y, kTooltipBottom - 8 * lines));
  KeepHintOffTexts(&x, &y, width, 8 * lines, MapMarksMeet);
  DrawWrappedText(x, CursorHint, 0, y, 0, 0);
  if (labels) DrawSituationLabels(x, y + 8);
}

// The hint beside the pointer where the kit puts it (17 pixels right of and
// 12 below the pointer, or ending by kTooltipRight 24 below it),
// but below the party list when it would cover the list's names, and off
// the texts drawn before it (the rows of the action list beside the one
// pointed at) and the map's marks.
void DrawCursorHint(int mx, int my) {
  const int width = 8 * std::min(static_cast<int>(std::strlen(CursorHint)), 320 / 8);
  int x = mx + 17, y = my + 12;
  if (x + width > kTooltipRight) {
    x = std::max(0, kTooltipRight - width);
    y = my + 24;
  }
  int left = 0, top = 0, right = 0, bottom = 0;
  if (PartyListBlock(&left, &top, &right, &bottom) && x < right && x + width > left && y < bottom && y + 8 > top)
    y = bottom;
  KeepHintOffTexts(&x, &y, width, 8, MapMarksMeet);
  DrawWrappedText(x, CursorHint, 0, y, 0, 0);
}

// The first pixel right of the aimed spell's icon, drawn at the pointer
// (its frame) and a pixel right of it (the spell's picture).
int SpellIconRight(int32_t spell, int mx) {
  int frameWidth = 0, pictureWidth = 0;
  SheetFrameRect(kIconFrameSheet, kIconFrame, nullptr, nullptr, &frameWidth, nullptr);
  const int figure = spell == kTurnUndead ? kTurnUndeadIcon : spell >= 0 && spell < kSpellRows ? SpellIconTable[spell] : -1;
  if (figure >= 0) SheetFrameRect(kFirstFigureSheet + figure / kFiguresPerSheet, figure % kFiguresPerSheet, nullptr, nullptr,
                                  &pictureWidth, nullptr);
  return std::max(mx + frameWidth, mx + 1 + pictureWidth);
}

// The chance of the touch attack the aimed spell makes on the hovered
// fighter (-1 for a friend, touched without a roll: see the spell's
// resolution); none without a touch or a fighter.
std::optional<int32_t> TouchChance(const SpellRecord& s) {
  const int slot = HoveredFighterSlot;
  if (InCombat != 1 || ScreenMode != kModeTargetFirst || slot < 0 || slot >= kFighterSlots) return std::nullopt;
  if (s.rangedTouch != 1 && s.meleeTouch != 1) return std::nullopt;
  const int attacker = CurrentFighter(), target = FighterSlots[slot].creature;
  if (!IsValidCreature(attacker) || !IsValidCreature(target)) return std::nullopt;
  return !AreEnemies(attacker, target) ? -1 : TouchAttackRoll(attacker, target, s.rangedTouch == 1, 0);
}

// Beside the spell's icon (clear of it: the text's backing laid over the
// icon cut it at the first digit): over a square where a fallen member lies,
// whom the click reaches (NameWhomTheAimReaches), and the chance of the
// touch attack the spell makes on the hovered fighter, after that name
// ("Orc 65%") or alone.
void ShowAimHint(const SpellRecord& s, int32_t spell, int mx, int my) {
  const bool named = NameWhomTheAimReaches();
  const std::optional<int32_t> touch = TouchChance(s);
  if (touch) CursorChance = *touch;
  const int32_t chance = touch.value_or(-1);
  const bool chanced = named ? chance != -1 && CombatAction.playerControlled == 1 : TakeChanceAsHint(chance);
  if (named && chanced) {
    const size_t length = std::strlen(CursorHint);
    std::snprintf(CursorHint + length, sizeof CursorHint - length, " %i%%", chance);
  }
  if (named || chanced) DrawHintAndLabels(std::max(mx + 13, SpellIconRight(spell, mx) + 2), my + 7, 0, chanced);
}

void DrawHeldObject(int mx, int my) {
  const DrawLayerScope pointer(DrawLayer::kOnTop);
  const int32_t code = HeldObject.code;
  if (code == kHeldWholeSquare) {
    DrawSheetFrame(kWholeSquareSheet, kWholeSquareFrame, mx, my);
  } else if (IsCraftedCode(static_cast<uint32_t>(code))) {
    DrawFigureSprite(CraftedWeapons[code].icon, mx, my, 0xFFFFFFFFu, 0);
  } else if (code >= static_cast<int32_t>(kFirstBaseItemCode) && code - static_cast<int32_t>(kFirstBaseItemCode) < kItemRows) {
    DrawFigureSprite(ItemTable[code - kFirstBaseItemCode].icon, mx, my, 0xFFFFFFFFu, 0);
  }
}

}  // namespace

void DrawSpellCursor() {
  // The cursor keeps the 320x240 layout in the large window.
  MapScaleSwitch = 0;
  const int mx = PointerX(), my = PointerY();
  const int32_t spell = CurrentSpell;
  const bool inTable = spell >= 0 && spell < kSpellRows;
  {
    // The spell's icon stands for the pointer.
    const DrawLayerScope pointer(DrawLayer::kOnTop);
    DrawSheetFrame(kIconFrameSheet, kIconFrame, mx, my);
    if (spell == kTurnUndead)
      DrawFigureSprite(kTurnUndeadIcon, mx + 1, my + 1, 0xFFFFFFFFu, 0);
    else if (inTable)
      DrawFigureSprite(SpellIconTable[spell], mx + 1, my + 1, 0xFFFFFFFFu, 0);
  }
  const bool onPrompt = MouseInTextRow(1, 24, 15, 2, 1, 0);
  if (!onPrompt && CursorTargetValid == 0) {
    const DrawLayerScope pointer(DrawLayer::kOnTop);
    DrawFigureSprite(kRefusedTargetMark, mx + 1, my + 1, 0xFFFFFFFFu, 0);
    for (int s = 0; s < FighterCount && s < kFighterSlots; ++s)
      if (IsValidCreature(FighterSlots[s].creature)) TargetMarker[FighterSlots[s].creature] = 0;
  } else if (inTable) {
    ShowAimHint(SpellTable[spell], spell, mx, my);
  }
  if (ButtonPressed(1)) {
    LatchButton(1);
    CancelPendingAction();
  }
}

void FinishFrame() {
  const uint8_t scale = MapScaleSwitch;
  const int mx = PointerX(), my = PointerY();
  if (HeldObject.code != 0) {
    MapScaleSwitch = 0;
    DrawHeldObject(mx, my);
  } else if (InCombat == 1 && CombatAction.actionCode != 0 && ScreenMode != kModeResting) {
    // An action under way: no cursor and no hint this frame.
  } else {
    const bool labels = TakeChanceAsHint(CursorChance);
    if (!ButtonHeld(0)) ScrollThumbDrag = 0;
    if (ScrollThumbDrag == 0) PollPointerButtons();
    MapScaleSwitch = 0;
    DrawMouseCursor();
    if (labels)
      DrawHintAndLabels(mx + 17, my + 12, 12);
    else if (CursorHint[0] != '\0')
      DrawCursorHint(mx, my);
  }
  MapScaleSwitch = scale;
  if (DebugMode == 1) GameTiming.UpdateFrameRate();
  EndSprite();
  MapScaleSwitch = 0;
}
