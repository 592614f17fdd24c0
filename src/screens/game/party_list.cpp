// The party's names and hit points in the top right corner while the party
// explores: the level-up star and the level-up it starts, the character
// record and inventory opened by clicking a name, and the object lifted from
// a square handed to the member whose name it is dropped on.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "combat/actions/start_of_combat.h"
#include "combat/actions/walking.h"
#include "combat/turns/turn_routines.h"
#include "engine/frame.h"
#include "engine/linked_text.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/reset_words.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "map/map_record.h"
#include "map/map_view.h"
#include "party/level_up_words.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/positions.h"
#include "rules/recompute_creature.h"
#include "screens/game/frame_words.h"
#include "screens/game/held_object.h"
#include "screens/game/object_list.h"
#include "screens/game/panel_sections.h"
#include "screens/game/panel_words.h"
#include "screens/game/shared_routines.h"
#include "screens/game/sounds_and_music.h"
#include "state/current_cast.h"
#include "state/game_screen_words.h"
#include "state/inventory_state.h"
#include "state/map_view_state.h"
#include "state/panel_buttons.h"
#include "state/turn_order.h"
#include "rules/experience.h"

int32_t LevelUpAnnounced[4] = {};

namespace {

constexpr int kNameEnd = 35;  // the column after a name's last character
constexpr int kHitPointsColumn = 36;
constexpr int kMaxLevel = 20;
constexpr int kSoundLevelUp = 56;
constexpr int kCursorPointing = 4, kCursorRefused = 18;
constexpr int kReachFeet = 14;
constexpr int32_t kResultBackpackFull = 2, kResultAbsent = 11, kResultPolymorphed = 22;

int ShownLength(const CreatureRecord& c) { return static_cast<int>(strnlen(c.name, kShownName)); }

bool LevelUpDue(const CreatureRecord& c) {
  return c.present == 1 && c.level < kMaxLevel && InCombat != 1 && SpellInProgress == -1 && HeldObject.code == 0 &&
         c.experience >= ExperienceForLevel(c.level + 1);
}

// The class's base attack bonus and saves at the new level.
void RaiseClassBases(CreatureRecord& c) {
  const int32_t level = c.level;
  switch (c.creatureClass) {
    case kClassKnight:
      c.baseAttack.base = level;
      c.fortitude.base = level / 2 + 2;
      c.reflex.base = level / 3;
      c.willpower.base = level / 3;
      break;
    case kClassCleric:
      c.baseAttack.base = level * 3 / 4;
      c.fortitude.base = level / 2 + 2;
      c.reflex.base = level / 3;
      c.willpower.base = level / 2 + 2;
      break;
    case kClassWizard:
      c.baseAttack.base = level / 2;
      c.fortitude.base = level / 3;
      c.reflex.base = level / 3;
      c.willpower.base = level / 2 + 2;
      break;
    default:
      break;
  }
}

// The member rises one level and the level-up page opens over the game.
void StartLevelUp(int member) {
  RecomputeCreature(member, 0);
  CreatureRecord& c = Creatures[member];
  const int32_t old[kLevelUpBackupWords] = {
      c.level,          c.casterLevelAdjust, c.baseAttack.base,     c.fortitude.base,
      c.reflex.base,    c.willpower.base,    c.strength.base,       c.dexterity.base,
      c.constitution.base, c.intelligence.base, c.wisdom.base,      c.charisma.base};
  std::memcpy(LevelUpBackup, old, sizeof LevelUpBackup);
  ++c.level;
  ++c.casterLevelAdjust;
  RaiseClassBases(c);
  RecomputeCreature(member, 0);
  OpenCreaturePage(kPageLevelUp, member, "Level Up");
  for (int32_t& choice : PendingLevelUpChoices) choice = -1;
  FeatSlotCounter = 1;
  SpellSlotCounter = 1;
  LevelUpPending = 1;
  LinkHover.hoveredChar = -1;
}

// The star left of a name whose member may rise a level; true when its
// click has started the level-up.
bool LevelUpStar(int member, int row, int column) {
  CreatureRecord& c = Creatures[member];
  if (!LevelUpDue(c)) return false;
  DrawTextF(9, column, row, "*");
  if (LevelUpAnnounced[member] != c.level) {
    LevelUpAnnounced[member] = c.level;
    PlayChannelSound(kFirstFreeChannelA, kSoundLevelUp, 0, 1, 0, 100);
  }
  if (!LevelUpStarBox(member, ShownLength(c)).HoldsMouse()) return false;
  PartyListHover = 1;
  DrawTextF(8, column, row, "*");
  if (FindCondition(member, kCondLevelDrained) >= 0) {
    std::snprintf(CursorHint, sizeof CursorHint, "Remove Level Drain First");
    CursorShape = kCursorRefused;
    return false;
  }
  std::snprintf(CursorHint, sizeof CursorHint, "Click to Level Up");
  CursorShape = kCursorPointing;
  if (ConsumeClick(1) == 0) return false;
  StartLevelUp(member);
  return true;
}

// The held object's level of its square taken by the member (off the
// square, with its item's script); false when it could not take it.
bool TakeLevel(int member, int level) {
  const HeldObjectWords& held = HeldObject;
  if (level < 0 || level > 3 || !CurrentMap.Inside(held.x, held.y)) return false;
  const int32_t object = CurrentMap.At(kLayerObjects0 + level, held.x, held.y);
  if (object == 0 || !PickUpSquareItem(member, object)) return false;
  RemoveCellObject(level, held.x, held.y);
  if (object > 5000) RunItemScript(object - 5000);
  return true;
}

// The object on the cursor handed to the member: taken when the member
// sees and stands near its square, else walked to.
void HandOver(int member) {
  LatchButton(0);
  const HeldObjectWords held = HeldObject;
  const CreatureRecord& c = Creatures[member];
  const bool seen = SquareSeenByParty(held.x, held.y);
  const bool near = c.present == 1 && DistanceToCreatureFeet(member, held.x, held.y) <= kReachFeet;
  if (seen && near) {
    if (FindCondition(member, kCondPolymorphed) >= 0) {
      ShowClickResultAtMouse(kResultPolymorphed);
    } else if (held.code == kHeldWholeSquare) {
      for (int level = 3; level >= 0; --level) TakeLevel(member, level);
    } else if (!TakeLevel(member, held.level)) {
      ShowClickResultAtMouse(kResultBackpackFull);
    }
  } else if (c.present == 1) {
    ClickedObject = ClickedObjectWords{held.x, held.y, held.level, held.code};
    WalkToItemPile(member);
  } else {
    ShowClickResultAtMouse(kResultAbsent);
  }
  ResetActionState();
  HeldObject = HeldObjectWords{};
}

// The name: hovered it shows the member on the map, and a click opens its
// character record (left) or inventory (right); an object on the cursor is
// handed over.
void MemberName(int member, int row, int column, int length) {
  const CreatureRecord& c = Creatures[member];
  if (!PartyNameBox(member, length).HoldsMouse()) {
    DrawTextF(c.present == 1 ? 5 : 7, column, row, "%.15s", c.name);
    return;
  }
  DrawTextF(2, column, row, "%.15s", c.name);
  HoveredCreature = member;
  MapCursorX = c.squareX;
  MapCursorY = c.squareY;
  if (SpellInProgress != -1) return;
  if (HeldObject.code != 0) {
    // The press that lifted the object stays latched while it is held.
    if (!ButtonPressed(0)) HandOver(member);
    return;
  }
  if (ButtonPressed(0)) {
    LatchButton(0);
    char caption[kShownName + 1];
    NameCaption(c.name, caption);
    OpenCreaturePage(kPageCharacterRecord, member, caption);
  } else if (ButtonPressed(1)) {
    LatchButton(1);
    char caption[kPageCaptionSize];
    std::snprintf(caption, sizeof caption, "Inventory (%.15s)", c.name);
    OpenCreaturePage(kPageInventory, member, caption);
  }
}

int HitPointsStyle(const CreatureRecord& c) {
  if (c.present != 1) return 7;
  if (c.hitPoints == c.maxHitPoints) return 0;
  return c.hitPoints > c.maxHitPoints ? 6 : 2;
}

// One member's row; true when a level-up has ended the frame.
bool MemberRow(int member) {
  const CreatureRecord& c = Creatures[member];
  const int length = ShownLength(c);
  if (length == 0) return false;
  const int row = 3 + member, column = kNameEnd - length;
  // A row that a box over the map (a creature's or a pile's) would cut is
  // left out whole: no name endings and hit points beside the box.
  if (PopupMeetsRow(column - 1, row, kHitPointsColumn + 4 - column)) return false;
  if (LevelUpStar(member, row, column - 1)) return true;
  MemberName(member, row, column, length);
  DrawTextF(HitPointsStyle(c), kHitPointsColumn, row, "%3i", c.hitPoints);
  return false;
}

}  // namespace

bool PartyListShown() {
  return InCombat != 1 && AllEnemiesAlert == 0 && RecheckSquareScripts == 0 && !IsTargetingMode() &&
         ScreenMode != kModeResting && ScreenMode != kModeCastAnnounce && ScreenMode != kModeCastResolve;
}

bool PartyListBlock(int* left, int* top, int* right, int* bottom) {
  if (!PartyListShown()) return false;
  int first = kHitPointsColumn, rows = 0;
  for (int member = 0; member < 4; ++member) {
    const CreatureRecord& c = Creatures[member];
    const int length = ShownLength(c);
    if (length == 0) continue;
    rows = member + 1;
    first = std::min(first, kNameEnd - length - (LevelUpDue(c) ? 1 : 0));
  }
  if (rows == 0) return false;
  *left = 8 * first;
  *top = 8 * 3;
  *right = 8 * (kHitPointsColumn + 3);
  *bottom = 8 * (3 + rows);
  return true;
}

bool LevelUpStarUnderMouse() {
  if (!PartyListShown()) return false;
  for (int member = 0; member < 4; ++member) {
    const CreatureRecord& c = Creatures[member];
    const int length = ShownLength(c);
    if (length > 0 && LevelUpDue(c) && LevelUpStarBox(member, length).HoldsMouse()) return true;
  }
  return false;
}

void OpenCreaturePage(int32_t type, int creature, const char* caption) {
  SavedScreenMode = ScreenMode;
  ScreenMode = kModePageView;
  SetFirstPage(caption, type, creature);
}

void NameCaption(const char* name, char (&caption)[kShownName + 1]) {
  std::snprintf(caption, sizeof caption, "%.15s", name);
}

bool DrawPartyList() {
  PartyListHover = 0;
  const uint8_t kept = MapScaleSwitch;
  MapScaleSwitch = 0;
  for (int member = 0; member < 4; ++member) {
    if (!MemberRow(member)) continue;
    // The level-up page is shown at once; the frame ends with it.
    MapScaleSwitch = 0;
    PresentBackdropFrameNow();
    return true;
  }
  MapScaleSwitch = kept;
  return false;
}

void ResetPanelWords() {
  ResetWords(LevelUpAnnounced);
  ShownTargetCreature = -1;
  InitiativeScrollTop = 0;
}
