// The action list of the acting party member: which actions it may take now,
// in their fixed order, and the list drawn in the side panel with its hot
// keys, the chance of the hovered order and the help title of the hovered
// entry.
#include "screens/game/action_menu.h"
#include "screens/game/click_results.h"

#include <cstdio>

#include "combat/actions/cursor_checks.h"
#include "combat/actions/roll_previews.h"
#include "combat/actions/turn_order_changes.h"
#include "combat/resolution/attack_resolution.h"
#include "combat/turns/adjacency_queries.h"
#include "combat/turns/casting_questions.h"
#include "combat/turns/computer_decision.h"
#include "combat/turns/tactical_predicates.h"
#include "combat/turns/turn_routines.h"
#include "creatures/creature_kinds.h"
#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/help_lookup.h"
#include "engine/help_pages.h"
#include "engine/settings.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "platform/system.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/feat_ids.h"
#include "rules/free_deeds.h"
#include "rules/item_tables.h"
#include "screens/game/action_state.h"
#include "screens/game/frame_words.h"
#include "screens/game/overlay_rules.h"
#include "screens/game/panel_sections.h"
#include "screens/game/shared_routines.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "state/game_screen_words.h"
#include "state/map_view_state.h"
#include "state/turn_order.h"

const char ActionLabels[kActionCount][kActionTextSize] = {
    "Space:End Turn", "Delay",           "5-Foot Move",     "Charge",         "Bull Rush",
    "Disarm",         "Sunder",          "Whirlwind",       "Grapple",        "Pin",
    "Reload Crossbow", "K:Coup de Grace", "Cast Spell",     "Z:Right Wand",   "U:Scroll Spell",
    "Break Free",     "Wake Someone Up", "Use Inventory",   "Ready/Approach", "Ready/Spell",
    "Counterspell",   "View Initiative", "Flee Combat",     "Attack",         "Shoot",
    "Hide Actions",   "Tab:Hide Rolls",  "Dismiss Spell",   "X:Left Wand",    "Turn Undead",
};
const char ActionKeyLetters[kActionCount][kActionTextSize] = {
    "Space", "D",     "       M", "",  "B",        "",  "",       "W",     "G", "P",
    "  l",   "K",     "C",        "Z", "U",        "      F", "",  "    I", "R", "      S",
    "    t", "  e",   "",         "",  "",         "     A", "Tab", "",  "X", "   n",
};
const int32_t ActionHelpPageIds[kActionCount] = {
    42028, 42024, 42010, 42015, 42014, 42016, 42022, 31020, 42017, 42017,
    42029, 42012, 42002, 42030, 42003, 42031, 42013, 42005, 42027, 42026,
    42025, 41007, 42007, 42001, 42001, 42034, 42035, 42036, 42030, 42040,
};
int32_t ActionHelpCache = -1;

namespace {

constexpr int kListColumn = 24;
constexpr int kListWidth = 15;
constexpr int kStyleNormal = 6, kStyleHovered = 2, kStyleKeyLetters = 3;

// Crafted item kinds the list reads.
constexpr int32_t kHeavyCrossbow = 10, kLightCrossbow = 11, kWand = 8, kShortbow = 32, kLongbow = 33;
// A two-handed weapon's handling.
constexpr int32_t kTwoHanded = 3;
// The source of a paralysis that holds (a spell).
constexpr uint32_t kSpellSource = 18;

// What the rules read of the acting member, gathered once a frame.
struct MemberState {
  int creature = -1;
  uint32_t deeds = 0;         // what its conditions leave it free to do (rules/free_deeds.h)
  bool grappling = false, stuck = false, entangled = false;
  bool tired = false, blind = false, unarmed = false, mute = false, silenced = false;
  bool polymorphed = false, ironBody = false, feebleminded = false, transformed = false;
  bool confusedOrNauseated = false, deafGrimlock = false, difficultTerrain = false;
  bool held = false;          // paralysed by a spell with a save (P18)
  int32_t heldDc = 0;         // that paralysis' save difficulty
  int32_t polymorphValue = 0;
  int partner = -1;           // the grapple partner, -1 none
  bool adjacentEnemy = false;     // A0: an enemy touches it
  bool adjacentAny = false;       // A: the same with confused or insane allies counted
};
MemberState Member;
// One of the eight neighbouring squares could be entered, as last found.
bool AnyReachable = false;
// The action chosen by hot key this frame, -1 none.
int32_t KeyedAction = -1;

bool Active(int creature, uint32_t id) { return FindCondition(creature, id) >= 0; }

MemberState ReadMember(int m) {
  MemberState s;
  s.creature = m;
  const CreatureRecord& c = Creatures[m];
  const int grapple = FindCondition(m, kCondGrappling);
  s.grappling = grapple >= 0;
  if (s.grappling && IsValidCreature(c.conditions[grapple].value)) s.partner = c.conditions[grapple].value;
  s.stuck = Active(m, kCondStuck);
  s.deeds = FreeDeeds(m);
  s.entangled = Active(m, kCondEntangled);
  s.tired = Active(m, kCondFatigued) || Active(m, kCondExhausted);
  s.blind = Active(m, kCondBlinded) || Active(m, kCondCantSee);
  s.unarmed = Active(m, kCondUnarmed);
  s.mute = Active(m, kCondMute);
  s.silenced = Active(m, kCondSilenced);
  const int form = FindCondition(m, kCondPolymorphed);
  s.polymorphed = form >= 0;
  if (s.polymorphed) s.polymorphValue = c.conditions[form].value;
  s.ironBody = Active(m, kCondIronBody);
  s.feebleminded = Active(m, kCondFeebleminded);
  s.transformed = Active(m, kCondTransformation);
  s.confusedOrNauseated = Active(m, kCondConfused) || Active(m, kCondNauseated);
  s.deafGrimlock = c.kind == kKindGrimlock && (Active(m, kCondDeafened) || s.silenced);
  s.difficultTerrain = IsOnDifficultTerrain(m);
  s.held = HeldBySpell(m, &s.heldDc);
  s.adjacentEnemy = ListAdjacentEnemies(m, 0);
  s.adjacentAny = s.adjacentEnemy || ListAdjacentEnemies(m, 1);
  return s;
}

// The member is free to do every deed of the mask.
bool May(uint32_t deeds) { return (Member.deeds & deeds) == deeds; }

// A spell the member may cast now without a gesture: one without a somatic
// part, or one it stills.
bool CastsWithoutGesture(int m) {
  const CreatureRecord& c = Creatures[m];
  const bool still = c.feats[kFeatMetamagicStill] != 0;
  for (int spell = 0; spell < kSpellRows; ++spell) {
    if (c.knownSpells[spell] != 1) continue;
    if (!IsSpellcastingBlocked(m, spell, kMetamagicNone, 0, 0)) return true;
    if (still && !IsSpellcastingBlocked(m, spell, kMetamagicStilled, 0, 0)) return true;
  }
  return false;
}

const CraftedWeaponRecord* CraftedIn(int m, int slot) {
  const uint32_t code = Creatures[m].equipment[slot - 1];
  return IsCraftedCode(code) ? &CraftedWeapons[code] : nullptr;
}

// The right hand is empty, or the left is and the right-hand item is not
// held in two hands (a base item counts as one-handed).
bool HasFreeHand(int m) {
  const CreatureRecord& c = Creatures[m];
  if (c.equipment[kSlotRightHand - 1] == 0) return true;
  if (c.equipment[kSlotLeftHand - 1] != 0) return false;
  const CraftedWeaponRecord* right = CraftedIn(m, kSlotRightHand);
  return right == nullptr || right->handling != kTwoHanded;
}

bool EnemyCasterPresent(int m) {
  for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i) {
    const int other = TurnOrder[i].creature;
    if (!IsValidCreature(other) || !AreEnemies(m, other)) continue;
    const int32_t k = Creatures[other].creatureClass;
    if (k == kClassCleric || k == kClassWizard || k == kClassLich) return true;
  }
  return false;
}

// A wand in the hand the member may use now.
bool WandUsable(int m, int slot, bool wholeTurn) {
  const CraftedWeaponRecord* wand = CraftedIn(m, slot);
  if (wand == nullptr || wand->itemType != kWand || wand->charges <= 0) return false;
  const int32_t spell = wand->spell;
  if (spell < 0 || spell >= kSpellRows) return false;
  const int32_t k = Creatures[m].creatureClass;
  const bool suits = ((k == kClassWizard || k == kClassLich) && spell < 102) || (k == kClassCleric && spell > 101);
  if (!suits) return false;
  const SpellRecord& s = SpellTable[spell];
  if (s.somatic == 1 && Member.grappling) return false;
  if (s.verbal == 1 && (Member.mute || Member.silenced)) return false;
  if (s.castingTime == 2) return true;
  return s.castingTime == 3 && wholeTurn;
}

bool CanShoot(int m, bool standard) {
  const CraftedWeaponRecord* bow = CraftedIn(m, kSlotRanged);
  if (bow == nullptr || Member.grappling || !May(kDeedStrike)) return false;
  if (!standard && CombatAction.shootingSequenceOpen == 0) return false;
  if (!HasUsableAmmunition(m)) return false;
  if (bow->itemType == kShortbow || bow->itemType == kLongbow) return true;
  return bow->charges > 0 || (bow->itemType == kLightCrossbow && Creatures[m].feats[kFeatRapidReloadLight] != 0);
}

bool CanReload(int m, bool standard, bool move, bool wholeTurn) {
  const CraftedWeaponRecord* bow = CraftedIn(m, kSlotRanged);
  if (bow == nullptr || bow->charges > 0 || Member.grappling || !May(kDeedHandle)) return false;
  const CreatureRecord& c = Creatures[m];
  if (bow->itemType == kHeavyCrossbow) return c.feats[kFeatRapidReloadHeavy] != 0 ? standard || move : wholeTurn;
  if (bow->itemType == kLightCrossbow) return c.feats[kFeatRapidReloadLight] != 0 || standard || move;
  return false;
}

bool CanDismiss(int m, bool standard, bool move) {
  const bool ownSummons = Creatures[m].creatureClass == kClassCleric && Creatures[kDismissibleSummons].present == 1 &&
                          !AreEnemies(m, kDismissibleSummons) &&
                          FindCondition(kDismissibleSummons, kCondSummonedCreature) >= 0 &&
                          ConditionValue(kDismissibleSummons, kCondSummonedCreature) == m;
  const bool something = Member.ironBody || (Member.polymorphed && Member.polymorphValue != kLockedForm) || ownSummons;
  return something && !Member.feebleminded && May(kDeedDismiss) && (standard || move);
}

void Offer(int32_t index) {
  ActionListWords& list = ActionMenuList;
  if (list.count < static_cast<uint32_t>(kActionListSize)) list.kinds[list.count++] = index;
}

bool Offered(int32_t index) {
  for (uint32_t i = 0; i < ActionMenuList.count; ++i)
    if (ActionMenuList.kinds[i] == index) return true;
  return false;
}

// The actions from "Delay" to "Counterspell", by the member's state and budget.
void OfferActions(int m) {
  const CombatActionState& a = CombatAction;
  const CreatureRecord& c = Creatures[m];
  const MemberState& s = Member;
  const bool full = a.fullRoundActionLeft != 0;      // S
  const bool standard = a.standardActionLeft != 0;   // M
  const bool move = a.moveActionLeft != 0;           // M2
  const bool step = a.fiveFootStepLeft != 0;         // F
  const bool wholeTurn = full || (a.singleActionTurn != 0 && standard);  // W
  const int32_t speed = c.speed.current;
  const bool lastInOrder = TurnEntryCount > 0 && TurnOrder[TurnEntryCount - 1].creature == m;
  const bool delayed = CurrentTurnIndex >= 0 && TurnOrder[CurrentTurnIndex].joinedThisRound != 0;
  if (!lastInOrder && wholeTurn && step && !delayed && DisruptionTarget == -1 && May(kDeedDelay)) Offer(kActDelay);

  const bool stepBlocked = s.grappling || s.stuck || !May(kDeedMove) || s.entangled || s.blind || s.deafGrimlock ||
                           s.difficultTerrain;
  const bool stepOffered = step && AnyReachable && !stepBlocked;
  if (stepOffered) Offer(kActFiveFootStep);
  CombatAction.fiveFootStepAllowed = stepOffered ? 1 : 0;

  const int32_t fullMove = a.singleActionTurn != 0 ? speed : 2 * speed;
  if (a.movesLeft == fullMove && wholeTurn && a.shootingSequenceOpen == 0 && step && !s.stuck &&
      May(kDeedMove | kDeedStrike) &&
      !s.grappling && !s.entangled && !s.tired && !s.blind && !s.deafGrimlock && !s.difficultTerrain)
    Offer(kActCharge);

  const bool strike = May(kDeedStrike);
  if (s.adjacentAny) {
    if ((standard || a.attackSequenceOpen != 0 || GrappleSequenceOpen != 0) && a.shootingSequenceOpen == 0 && strike)
      Offer(kActAttack);
    if (!s.grappling && !s.stuck && strike && standard && a.shootingSequenceOpen == 0) {
      Offer(kActBullRush);
      Offer(kActGrapple);
    }
  }

  if (!s.unarmed && s.adjacentAny && !s.grappling && !s.stuck && strike && full &&
      c.feats[kFeatWhirlwindAttack] != 0 && a.shootingSequenceOpen == 0) {
    Offer(kActWhirlwind);
  } else if (s.grappling && strike && standard && s.partner != -1 &&
             !Active(s.partner, kCondPinned) &&
             Creatures[s.partner].protections[ImmunityPair(kImmPinning)].current != 1) {
    Offer(kActPin);
  }

  if (CanShoot(m, standard)) Offer(kActShoot);
  if (CanReload(m, standard, move, wholeTurn)) Offer(kActReload);

  if (s.adjacentEnemy && wholeTurn && strike && !s.grappling &&
      (c.equipment[kSlotRanged - 1] != 0 || !s.unarmed) && ListAdjacentEnemies(m, 0) && AnyAdjacentHelpless())
    Offer(kActCoupDeGrace);

  if (CanDismiss(m, standard, move)) Offer(kActDismissSpell);

  // Without its hands (paralysed) only a spell it casts without a gesture.
  const bool canCast = !s.transformed && !s.feebleminded && !s.polymorphed &&
                       HasSpellSlotLeftAtAnyLevel(m) && standard &&
                       (May(kDeedGestureCast) || (May(kDeedStillCast) && CastsWithoutGesture(m)));
  RecentSpellRowShown = 0;
  if (canCast) {
    Offer(kActCastSpell);
    if (m >= 0 && m < 4 && RecentSpells[m][0].spell != -1) RecentSpellRowShown = 1;
  }

  // A wand or a scroll is used by hand, whatever its spell.
  if (!s.transformed && !s.polymorphed && !s.feebleminded && standard && May(kDeedUseItem)) {
    if (WandUsable(m, kSlotRightHand, wholeTurn)) Offer(kActRightWand);
    if (WandUsable(m, kSlotLeftHand, wholeTurn)) Offer(kActLeftWand);
    if (!s.grappling && HasUsableScroll(m) && HasFreeHand(m)) Offer(kActScroll);
  }

  if (c.creatureClass == kClassCleric && c.displayWords[kDisplayTurnUndeadUses] > 0 && CountType8Combatants() > 0 &&
      May(kDeedUseItem) && standard)
    Offer(kActTurnUndead);

  if (!s.grappling && standard && May(kDeedUseItem) && HasAdjacentSleepingAlly(m)) Offer(kActWakeSomeone);

  // Out of a grapple or a pin by a grapple check, out of a hold by the will,
  // out of a web by struggling.
  if ((s.grappling && May(kDeedEscape) && standard) || (s.held && May(kDeedStrive) && wholeTurn) ||
      (s.stuck && May(kDeedMove) && wholeTurn))
    Offer(kActBreakFree);

  if (a.inventoryOpenedThisTurn == 0 && !s.polymorphed && !s.grappling && May(kDeedHandle) &&
      (c.feats[kFeatQuickDraw] != 0 || standard || move))
    Offer(kActInventory);

  if (!s.grappling && strike && standard && DisruptionTarget == -1 && !s.confusedOrNauseated) {
    if (!s.adjacentEnemy && !s.unarmed) Offer(kActReadyApproach);
    Offer(kActReadySpell);
  }

  const int32_t k = c.creatureClass;
  if ((k == kClassCleric || k == kClassWizard) && EnemyCasterPresent(m) && !s.grappling && !s.mute &&
      May(kDeedGestureCast) && standard && HasSpellSlotLeftAtAnyLevel(m) && DisruptionTarget == -1 &&
      CanCastSpells(m, nullptr) && HasFreeHand(m))
    Offer(kActCounterspell);
}

// The chance shown at the cursor while an order is hovered.
void ShowHoveredChance(int32_t index) {
  const int m = Member.creature;
  if (index == kActAttack && Member.grappling && Member.partner != -1) {
    // The grapple attack the order would make next.
    ++GrappleAttacksMade;
    CursorChance = ResolveAttack(m, Member.partner, 0, CombatAction.useAlternateAttack, 1, 1, 0, nullptr);
    --GrappleAttacksMade;
  } else if (index == kActPin && Member.partner != -1) {
    CursorChance = ResolveAttack(m, Member.partner, 0, 0, 1, 1, 1, nullptr);
  } else if (index == kActBreakFree) {
    if (Member.grappling && Member.partner != -1)
      CursorChance = IsDefenceless(Member.partner) ? kCertainShown : HitChancePercent(m, Member.partner);
    else if (Member.held)
      CursorChance = WillSaveChancePercent(m, Member.heldDc);
    else if (Member.stuck)
      CursorChance = ImmunityChancePercent(m);
  }
}

// The entry's text: the attack and shot counters, "Attack(+Move)", or its label.
void EntryText(int32_t index, char* text, size_t size) {
  const CombatActionState& a = CombatAction;
  const CreatureRecord& c = Creatures[Member.creature];
  if (index == kActAttack && a.meleeAttacksAllowed > 1) {
    const int32_t made = Member.grappling ? GrappleAttacksMade + 2 : a.meleeAttacksMade + 1;
    std::snprintf(text, size, "%s %.2i/%.2i", "Attack", made, a.meleeAttacksAllowed);
  } else if (index == kActAttack) {
    const bool springAttack = c.feats[kFeatSpringAttack] != 0 && a.movesLeft > c.speed.current;
    const bool withMove = a.meleeAttacksAllowed == 1 && !Member.grappling && (a.fiveFootStepLeft != 0 || springAttack);
    std::snprintf(text, size, "%s", withMove ? "Attack(+Move)" : "Attack");
  } else if (index == kActShoot && a.shotsAllowed > 1) {
    std::snprintf(text, size, "%s %.2i/%.2i", "Shoot", a.shotsMade + 1, a.shotsAllowed);
  } else {
    std::snprintf(text, size, "%s", ActionLabels[index]);
  }
}

// The hot keys in the order they are tried: key, Shift needed, action.
struct HotKey {
  int key;
  bool shift;
  int32_t action;
};
constexpr HotKey kHotKeys[] = {
    {0x22, false, kActGrapple},       {0x1E, true, kActAttack},         {0x1F, true, kActShoot},
    {0x21, false, kActBreakFree},     {0x2C, false, kActRightWand},     {0x2D, false, kActLeftWand},
    {0x30, false, kActBullRush},      {0x25, false, kActCoupDeGrace},   {0x11, false, kActWhirlwind},
    {0x13, false, kActReadyApproach}, {0x1F, false, kActReadySpell},    {0x14, false, kActCounterspell},
    {0x32, false, kActFiveFootStep},  {0x31, false, kActTurnUndead},    {0x16, false, kActScroll},
    {0x26, false, kActReload},        {0x20, false, kActDelay},         {0x17, false, kActInventory},
    {0x2E, false, kActCastSpell},     {0x19, false, kActPin},           {0x12, false, kActViewInitiative},
    {0x1E, false, kActHideActions},
};
constexpr int kKeyRightShift = 0x36;

// The first hot key freshly pressed is taken (and latched); its action when
// the list offers it, else -1 with the action in `refused`. A key pressed
// together with Control is a chord (Control+S, Control+L), never a hot key.
int32_t ReadHotKey(int32_t* refused) {
  *refused = -1;
  const bool shift = KeyPressed(kKeyLeftShift) || KeyPressed(kKeyRightShift);
  for (const HotKey& h : kHotKeys) {
    if (!KeyPressed(h.key) || KeyWithControl(h.key) || (h.shift && !shift)) continue;
    LatchKey(h.key);
    if (Offered(h.action)) return h.action;
    *refused = h.action;
    return -1;
  }
  return -1;
}

// C pressed while the list offers no Cast Spell: the reason stands beside the
// pointer until the next press, which it takes, so that a click meant for a
// spell's target walks nobody. A caster kept from casting by its state alone
// is told nothing.
void RefuseCastKey(int member) {
  constexpr int32_t kResultKnight = 58, kResultMustRest = 66, kResultNeedStandard = 75;
  const int32_t klass = Creatures[member].creatureClass;
  int32_t code = 0;
  if (klass != kClassCleric && klass != kClassWizard)
    code = kResultKnight;
  else if (!HasSpellSlotLeftAtAnyLevel(member))
    code = kResultMustRest;
  else if (CombatAction.standardActionLeft == 0)
    code = kResultNeedStandard;
  if (code != 0) ShowStandingRefusal(code);
}

// The title of the entry's help page as the cursor hint; a right press opens
// the page. True when the page ended the frame.
bool ShowHelpHint(int32_t index) {
  const uint32_t id = static_cast<uint32_t>(ActionHelpPageIds[index]);
  if (ActionHelpCache < 0 || ActionHelpCache >= kHelpPageCount || HelpPages[ActionHelpCache].id != id) {
    ActionHelpCache = FindHelpPage(id);
    return false;
  }
  if (CursorChance == -1) std::snprintf(CursorHint, sizeof CursorHint, "%.30s", HelpPages[ActionHelpCache].title);
  if (ButtonPressed(1)) return OpenActionHelpPage(index);
  return false;
}

}  // namespace

bool HeldBySpell(int creature, int32_t* dc) {
  if (!IsValidCreature(creature)) return false;
  for (const ConditionEntry& e : Creatures[creature].conditions) {
    if (e.id == 0 && e.duration == 0) break;
    if (e.id == kCondParalyzed && e.duration > 0 && e.source == kSpellSource && e.value > 0) {
      if (dc != nullptr) *dc = e.value;
      return true;
    }
  }
  return false;
}

bool ActionPanelShown() { return SidePanelShown == 1 && ActionBarMode == 2 && KeypadStepActive == 0; }

void BuildActionMenu() {
  ActionListWords& list = ActionMenuList;
  list.count = 0;
  Offer(kActEndTurn);
  const int m = CurrentFighter();
  if (!IsValidCreature(m)) return;
  Member = ReadMember(m);
  if (CombatAction.fiveFootStepLeft != 0) AnyReachable = HasReachableSquare(m);
  if ((Member.deeds & kChosenDeeds) == 0) {
    RecentSpellRowShown = 0;
  } else {
    OfferActions(m);
  }
  Offer(kActHideActions);
  if (CombatRollsShown == 1) Offer(kActHideRolls);
  Offer(kActViewInitiative);
}

bool DrawActionMenu() {
  const int m = CurrentFighter();
  if (!IsValidCreature(m) || Member.creature != m) return false;
  const bool shown = ActionPanelShown();
  const int count = static_cast<int>(ActionMenuList.count);
  if (shown) {
    DrawSidePanelFrame(count + 1);
    SidePanelRows = count + 1;
  }
  if (OptionWords[kOptionAutomaticEndOfTurn] != 0 && EndTurnIfSpent(Member.adjacentEnemy ? 1 : 0, Member.grappling ? 1 : 0)) {
    if (DebugMode == 1) platform::Beep();
    EndSprite();
    return true;
  }
  int32_t refused = -1;
  KeyedAction = KeypadStepActive == 0 ? ReadHotKey(&refused) : -1;
  if (refused == kActCastSpell) RefuseCastKey(m);
  for (int i = 0; i < count; ++i) {
    const int32_t index = ActionMenuList.kinds[i];
    if (index < 0 || index >= kActionCount) continue;
    const int row = i + 1;
    const bool hovered = shown && MouseInTextRow(row, kListColumn, kListWidth, 1, 1, 0);
    const bool keyed = index == KeyedAction;
    if (hovered || keyed) ShownHitChance = -1;
    if (hovered) ShowHoveredChance(index);
    // A row under a creature's box is left out whole (its key still acts).
    if (shown && !PopupMeetsRow(kListColumn, row, kListWidth)) {
      char text[40];
      EntryText(index, text, sizeof text);
      const bool lit = hovered || keyed;
      DrawTextAt(kDefaultColour, kListWidth, 0, text, lit ? kStyleHovered : kStyleNormal, kListColumn, row, 1, 0, 0, 0);
      if (!lit)
        DrawTextAt(kDefaultColour, kListWidth, 0, ActionKeyLetters[index], kStyleKeyLetters, kListColumn, row, 1, 0, 0, 0);
    }
    if ((hovered && ButtonPressed(0)) || keyed) {
      if (DrawActionCommand(index)) return true;
      continue;
    }
    if (hovered && !keyed && ShowHelpHint(index)) return true;
  }
  return false;
}

void ResetActionMenuState() {
  ActionMenuList.count = 0;
  ActionHelpCache = -1;
  Member = MemberState{};
  AnyReachable = false;
  KeyedAction = -1;
}
