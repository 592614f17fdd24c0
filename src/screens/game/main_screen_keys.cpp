// The keys of the game screen and of what is shown over it: the menu, the
// window keys, quick save and load, examining with Control, the keypad
// walk, the view, the end of a combat turn, the wands in hand, the pages of
// the party, and the text being typed.
#include <cstdio>
#include <cstring>

#include "combat/resolution/area_targets.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/turns/combat_cycle.h"
#include "creatures/control_tendencies.h"
#include "engine/frame.h"
#include "engine/game_speeds.h"
#include "engine/input.h"
#include "engine/main_window.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/settings.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "frontend/saved_games.h"
#include "map/map_record.h"
#include "map/party_vision.h"
#include "rules/casting_rules.h"
#include "rules/creature_record.h"
#include "rules/free_deeds.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"
#include "screens/game/action_menu.h"
#include "screens/game/action_state.h"
#include "screens/game/click_results.h"
#include "screens/game/floating_texts.h"
#include "screens/game/game_screen.h"
#include "screens/game/map_input.h"
#include "screens/game/map_input_routines.h"
#include "screens/game/map_view.h"
#include "screens/game/shared_routines.h"
#include "screens/game/sounds_and_music.h"
#include "screens/game/view_window.h"
#include "state/camera.h"
#include "state/fighter_slots.h"
#include "state/turn_order.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/inventory_state.h"
#include "state/text_entry.h"
#include "state/world_travel.h"

namespace {

enum Key : int {
  kKeyEsc = 0x01, kKey1 = 0x02, kKey5 = 0x06, kKeyTab = 0x0F, kKeyW = 0x11, kKeyO = 0x18, kKeyP = 0x19,
  kKeyLeftCtrl = 0x1D, kKeyS = 0x1F, kKeyD = 0x20, kKeyF = 0x21, kKeyH = 0x23, kKeyJ = 0x24, kKeyL = 0x26,
  kKeyLShift = 0x2A, kKeyZ = 0x2C, kKeyX = 0x2D, kKeyC = 0x2E, kKeyV = 0x2F, kKeyM = 0x32, kKeyLeftAlt = 0x38,
  kKeyF1 = 0x3B, kKeyF2 = 0x3C, kKeyF3 = 0x3D, kKeyF4 = 0x3E, kKeyRightCtrl = 0x9D,
};

constexpr int32_t kResultSaved = 62, kResultSaveFailed = 63, kResultLoaded = 64, kResultLoadFailed = 65;
constexpr int32_t kResultOutsideCombat = 55, kResultNoCharges = 56, kResultNoWand = 57, kResultKnight = 58;
constexpr int32_t kResultWizardCleric = 53, kResultClericWizard = 54, kResultMustRest = 66;
constexpr int32_t kCursorExamine = 6;
constexpr int32_t kWandType = 8, kFirstClericSpell = 102;
constexpr int kQuickSlot = 1;
constexpr int kTestSound = 28;

// Toggles of the debug keys, kept for the session as settings are.
uint8_t DebugDisplayFlag = 0, DebugSoundFlag = 0, FastFlag = 0;

bool CtrlHeld() { return KeyHeld(kKeyLeftCtrl) || KeyHeld(kKeyRightCtrl); }
bool InModes(std::initializer_list<uint32_t> modes) {
  for (uint32_t m : modes)
    if (ScreenMode == m) return true;
  return false;
}
bool OrdersAwaited() { return InCombat != 1 || (CombatState == kStatePlayerTurn && PendingPanelAction == -1); }

// A refusal in the 5-pixel rectangle round the mouse.
void Refuse(int32_t code) {
  SetClickRectAtMouse();
  ClickResult.code = code;
}

// A page over the game as the only page of the history.
void OpenOverGame(const char* caption, int32_t type, int32_t parameter) {
  SavedScreenMode = ScreenMode;
  SetFirstPage(caption, type, parameter);
  ScreenMode = kModePageView;
}

void OpenNamed(int creature, int32_t type) {
  char caption[kPageCaptionSize] = {};
  std::snprintf(caption, sizeof caption, "%s", Creatures[creature].name);
  OpenOverGame(caption, type, creature);
}

// The menu over the game: O, or Escape without Left Shift.
bool MenuKeys() {
  if (!InModes({0, 2, 3, 5, 6, 20, 21})) return false;
  if (!(IsKeyDown(kKeyO) || (IsKeyDown(kKeyEsc) && !IsKeyDown(kKeyLShift)))) return false;
  LatchKey(kKeyO);
  LatchKey(kKeyEsc);
  if ((InCombat == 1 && PendingPanelAction != -1) || !SceneFlagsClear()) return false;
  OpenMainMenu();
  return true;
}

bool ControlFresh() { return IsKeyDown(kKeyLeftCtrl) || IsKeyDown(kKeyRightCtrl); }

// Control with the key, as the keys went down: the key held, pressed together
// with Control (Control down when it went down, or Control going down while
// it was held), and the key or Control fresh. A player's quick chord
// (Control, then S a few milliseconds later, both let go at once) counts
// whatever frames its keys fall into; held on, it counts once; a key pressed
// anew while Control is still held is a chord of its own, whether the one
// before was taken or refused; a key pressed after Control came up is the
// plain key.
bool ChordPressed(int key) { return KeyHeld(key) && KeyWithControl(key) && (KeyPressed(key) || ControlFresh()); }

// The chord taken: both Controls and the key latched.
void TakeChord(int key) {
  LatchKey(kKeyLeftCtrl);
  LatchKey(kKeyRightCtrl);
  LatchKey(key);
}

// A chord the keys did not take this frame is refused, and spent: its key
// and the Controls stay latched until let go, so that it neither fires once
// the pointer, the mode or the action lets it, nor reads as the plain key
// when Control comes up first. Only that press is spent: Control pressed
// anew with the key held, or a key pressed anew with Control held, is a new
// chord.
void SpendRefusedChords() {
  for (int key : {kKeyL, kKeyS})
    if (ChordPressed(key)) TakeChord(key);
}

// Control with L loads the quick game, Control with S saves it (not in combat).
bool QuickKeys() {
  if (!InModes({0, 6}) || OptionWords[kOptionIronmanMode] != 0) return false;
  if (ChordPressed(kKeyL)) {
    TakeChord(kKeyL);
    std::fflush(nullptr);
    const int result = LoadSavedGame(kQuickSlot);
    Refuse(result == 0 ? kResultLoaded : kResultLoadFailed);
    return true;
  }
  if (InCombat != 1 && ChordPressed(kKeyS)) {
    TakeChord(kKeyS);
    const int result = WriteSavedGame(kQuickSlot);
    Refuse(result == 0 ? kResultSaved : kResultSaveFailed);
    return true;
  }
  return false;
}

void ExamineKeys() {
  if (CtrlHeld() && InCombat != 1 && InModes({0, 3, 5})) {
    CursorShape = kCursorExamine;
    ScreenMode = kModeExamine;
  } else if (ScreenMode == kModeExamine && !CtrlHeld()) {
    CursorShape = kCursorWalk;
    ScreenMode = kModeExploring;
    HoveredSlot = -1;
  }
}

void CentreKey() {
  if (!TakeKey(kKeyH) || FollowTarget != -1) return;
  if (InCombat != 1) {
    StrictScrollTo(static_cast<int>(SelectedMember), -1, -1);
    return;
  }
  const int fighter = CurrentFighter();
  if (!IsValidCreature(fighter)) return;
  StrictScrollTo(fighter, -1, -1);
  CreatureMarks[fighter] = 1;
  AreaMarkTimer = 100;
}

// Space pressed while the acting member's own order or spell is still being
// carried out: its turn ends as soon as its orders are awaited again. The
// fighter and its turn (TurnsBegun as Space was pressed) are kept, so that
// the wish never passes to another turn, of this battle or of the next; it
// is forgotten once that turn has passed or the battle is over, on a load
// and on a new game.
struct EndTurnWish {
  int fighter = -1;
  uint32_t turn = 0;
};
EndTurnWish g_endTurnWish;

bool MembersTurn() {
  const int fighter = CurrentFighter();
  return InCombat == 1 && CombatAction.playerControlled == 1 && fighter >= 0 && fighter < kPartySize;
}

// The member's orders are awaited: nothing of its own under way, no spell
// being cast or aimed.
bool OrdersOpen() {
  return CombatState == kStatePlayerTurn && CombatAction.actionCode == 0 && SpellInProgress == -1 &&
         !IsTargetingMode();
}

void EndTurnNow() {
  g_endTurnWish = EndTurnWish{};
  LogEndOfTurn();
  CombatState = kStateNextFighter;
}

// Space during the member's action (or its spell's steps) is kept for later.
void KeepSpaceForLater() {
  if (MembersTurn()) g_endTurnWish = EndTurnWish{CurrentFighter(), TurnsBegun};
}

// Every frame: a kept Space is dropped once its turn has passed or its
// battle is over.
void ForgetSpaceOfPastTurns() {
  if (g_endTurnWish.fighter != -1 && (InCombat != 1 || TurnsBegun != g_endTurnWish.turn)) ForgetKeptSpace();
}

// A kept Space ends the turn once the orders are open again; it is dropped
// when another turn has come.
void EndTurnWhenDue() {
  if (g_endTurnWish.fighter == -1) return;
  if (!MembersTurn() || CurrentFighter() != g_endTurnWish.fighter || TurnsBegun != g_endTurnWish.turn) {
    g_endTurnWish = EndTurnWish{};
    return;
  }
  if (OrdersOpen() && PendingPanelAction == -1) EndTurnNow();
}

// Space in combat: a spell waiting for its target, or an order of the
// action list waiting for its target, is cancelled (and says so); with the
// orders open the turn ends; while the member's own order or spell is still
// under way, the turn ends once it is over.
bool CombatTurnKeys() {
  if (InCombat != 1) return false;
  if (!KeyHeld(kKeyLeftAlt) && CombatState == kStatePlayerTurn && TakeKey(kKeyTab)) {
    CombatRollsPanelShown = CombatRollsPanelShown == 1 ? 0 : 1;
    StrictScrollTo(CurrentFighter(), -1, -1);
    return true;
  }
  EndTurnWhenDue();
  if (!TakeKey(kKeySpace)) return false;
  if (CombatState == kStatePlayerTurn && IsTargetingMode() && SpellInProgress != -1) {
    CancelPendingAction();
  } else if (!OrdersOpen()) {
    KeepSpaceForLater();
  } else if (PendingPanelAction == -1) {
    EndTurnNow();
  } else {
    PendingPanelAction = -1;
    StepPreviewShown = 0;
    ShowFloatingText("Action Cancelled", CurrentFighter());
  }
  return true;
}

// The arrows move the view while it is idle, or else the wheel does (not
// over an open combat-rolls panel, in a dialogue, an announcement or aiming).
bool ViewKeys() {
  const bool wheelFree = !InModes({1, 20}) && !IsTargetingMode() &&
                         !(InCombat == 1 && CombatRollsPanelShown == 1 && PointerX() < 184 && PointerY() < 80);
  if (!StepViewByKeys(wheelFree)) return false;
  ClickResult.code = 0;
  return true;
}

void MakePartyStrong() {
  for (int m = 0; m < kPartySize; ++m) {
    CreatureRecord& c = Creatures[m];
    c.baseHitPoints = 200;
    c.strength.base = 48;
    c.speed.base = 80;
    c.naturalAttacks[0].critLow = 20;
    c.naturalAttacks[0].effectDice = 6;
    c.naturalAttacks[0].effectSides = 6;
    RecomputeCreature(m, 0);
    c.hitPoints = c.maxHitPoints;
  }
}

void DebugKeys() {
  if (DebugMode != 1) return;
  if (InCombat != 1 && TakeKey(kKeyP)) DebugDisplayFlag ^= 1;
  if (TakeKey(kKeyF4)) DebugMode = 0;
  if (InCombat != 1 && TakeKey(kKeyF3)) MakePartyStrong();
  if (InCombat != 1 && TakeKey(kKeyF2)) {
    for (int m = 0; m < kPartySize; ++m) Creatures[m].experience += 10000;
    PartyGold = 1000000;
    if (CurrentMapNumber >= 0 && CurrentMapNumber < kStoredMapCount)
      for (uint32_t& square : MapMemory[CurrentMapNumber]) square = 1;
  }
  if (TakeKey(kKeyD)) {
    DebugSoundFlag ^= 1;
    PlayChannelSound(kFirstFreeChannelA, kTestSound, 0, 1, 0, 100);
  }
  if (TakeKey(kKeyF)) {
    FastFlag ^= 1;
    for (int32_t& w : AnimationStepWords) w = 1;
    for (int32_t& w : MotionStepValues) w = 2;
    WalkStepSmall = WalkStepLarge = 24;
    CameraStep = 24;
    CombatPause = 0;
    DebugMode = 0;
  }
}

// The subject of the page keys: the hovered creature, the member under the
// prompt's list, else the selected member; -1 when it is no party member.
int Subject() {
  int c = static_cast<int>(SelectedMember);
  if (ScreenMode == kModeCreatureHovered && HoveredSlot >= 0 && HoveredSlot < kFighterSlots)
    c = FighterSlots[HoveredSlot].creature;
  else if (PanelTargetMember >= 0 && PanelTargetMember < kPartySize)
    c = PanelTargetMember;
  return c >= 0 && c < kPartySize ? c : -1;
}

// Z and X: the wand in the main or the off hand.
void UseWand(int subject, int slot) {
  const CreatureRecord& c = Creatures[subject];
  if (c.creatureClass != 3 && c.creatureClass != 4) return Refuse(kResultKnight);
  const uint32_t code = c.equipment[slot - 1];
  if (!IsCraftedCode(code) || CraftedWeapons[code].itemType != kWandType) return Refuse(kResultNoWand);
  const CraftedWeaponRecord& w = CraftedWeapons[code];
  if (w.charges <= 0) return Refuse(kResultNoCharges);
  if (IsCombatOnlySpell(w.spell)) return Refuse(kResultOutsideCombat);
  if (c.creatureClass == 4 && w.spell >= kFirstClericSpell) return Refuse(kResultWizardCleric);
  if (c.creatureClass == 3 && w.spell < kFirstClericSpell) return Refuse(kResultClericWizard);
  // A wand is used by hand: not by a member its state forbids it (paralysed,
  // turned to stone, dead), who is told nothing, as of a spell it may not cast.
  if (!MayDo(subject, kDeedUseItem)) return;
  CurrentSpell = w.spell;
  CurrentCaster = subject;
  CastingFromItem = 1;
  CastingWand = 1;
  CastingItem = code;
  HoveredSlot = -1;
  ScreenMode = kModeCastStart;
}

// The acting fighter in combat (its turn, nothing pending, the inventory
// not yet opened this turn), else the subject; -1 none.
int CombatSubject(int subject, bool inventory) {
  if (InCombat != 1) return subject;
  if (!OrdersAwaited()) return -1;
  if (inventory && CombatAction.inventoryOpenedThisTurn != 0) return -1;
  const int f = CurrentFighter();
  return f >= 0 && f < kPartySize ? f : -1;
}

// The panel and page keys; true when a page opened.
bool PageKeys() {
  const bool exploring = InCombat != 1 && InModes({0, 3});
  const int subject = Subject();
  if (exploring && subject != -1) {
    if (TakeKey(kKeyZ)) UseWand(subject, kSlotRightHand);
    if (TakeKey(kKeyX)) UseWand(subject, kSlotLeftHand);
    if (TakeKey(kKeyC)) {
      const int32_t cls = Creatures[subject].creatureClass;
      if (HighestUsableSpellLevel(-1, subject)) {
        OpenOverGame("Spells", kPageSpellBook, subject);
        return true;
      }
      // As in combat, the reason stands until the next press, which walks nobody.
      ShowStandingRefusal(cls == 3 || cls == 4 ? kResultMustRest : kResultKnight);
    }
  }
  if (exploring && TakeKey(kKeyM)) {
    OpenOverGame("Local Map", kPageMapOverview, 0);
    return true;
  }
  if (exploring && TakeKey(kKeyW)) {
    if (CurrentMap.localMapAvailable == 1) ShowLocalMapMode();
    return ScreenMode == kModeLocalMap;
  }
  if ((exploring || (InCombat == 1 && OrdersAwaited())) && TakeKey(kKeyJ)) {
    OpenOverGame("Quest Journal", kPageQuestJournal, 0);
    return true;
  }
  const bool pagesOpen = exploring || InCombat == 1;
  if (pagesOpen && TakeKey(kKeyI)) {
    const int who = CombatSubject(subject, true);
    if (who == -1) return false;
    if (InCombat == 1)
      OpenNamed(who, kPageInventory);
    else
      OpenOverGame("Inventory", kPageInventory, who);
    return true;
  }
  if (pagesOpen && TakeKey(kKeyV)) {
    const int who = CombatSubject(subject, true);
    if (who == -1) return false;
    OpenNamed(who, kPageCharacterRecord);
    return true;
  }
  return false;
}

// 1 to 4: a member's record; 5 to 8: its inventory; F1: the help's index.
bool MemberKeys() {
  if (InCombat == 1 && !OrdersAwaited()) return false;
  for (int m = 0; m < kPartySize; ++m) {
    if (!KeyPressed(kKey1 + m)) continue;
    LatchKey(kKey1 + m);
    if (Creatures[m].name[0] == '\0') continue;
    OpenNamed(m, kPageCharacterRecord);
    return true;
  }
  if (TakeKey(kKeyF1)) {
    OpenOverGame("Main Index", kPageHelpTopic, 10000);
    return true;
  }
  for (int m = 0; m < kPartySize; ++m) {
    if (!KeyPressed(kKey5 + m)) continue;
    LatchKey(kKey5 + m);
    if (Creatures[m].name[0] == '\0') continue;
    OpenOverGame("Inventory", kPageInventory, m);
    return true;
  }
  return false;
}

// The keys of one frame, the first step that acts ending it.
int ScreenKeys() {
  if (MenuKeys()) return 1;
  if (HandleWindowKeys() == 0) return 0;
  if (DebugMode == 1 && KeyHeld(kKeyLShift) && KeyHeld(kKeyEsc)) return 0;
  if (OptionWords[kOptionAutoRecastCure] == 1 && InModes({20, 21}) && CastingUse.repeat == 0 && TakeKey(kKeySpace))
    CastingUse.repeat = 1;
  if (InCombat == 1 && CombatAction.actionCode != 0) {
    if (TakeKey(kKeySpace)) KeepSpaceForLater();
    return 1;
  }
  if (TextEntryMode != kTextEntryNone) {
    TextEntryKeys();
    return 1;
  }
  // Page view, the dialogue box and the end screens take their own keys.
  if (InModes({kModeResting, kModePageView, kModeDefeat, kModeVictory, kModeEndOfIntro})) return 1;
  // Control turns a hovered member or pile into examining before the quick
  // keys read their chord, which they take while examining.
  ExamineKeys();
  if (QuickKeys()) return 1;
  if (InModes({0, 3, 5})) KeypadWalk();
  CentreKey();
  if (CombatTurnKeys()) return 1;
  if (ViewKeys()) return 1;
  DebugKeys();
  if (PageKeys()) return 1;
  MemberKeys();
  return 1;
}

}  // namespace

void ForgetKeptSpace() { g_endTurnWish = EndTurnWish{}; }

int MainScreenKeys() {
  ForgetSpaceOfPastTurns();
  const int result = ScreenKeys();
  SpendRefusedChords();
  return result;
}
