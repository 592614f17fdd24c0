// The banner at the top left of the combat screen that names what the
// fighter whose turn it is does this frame: a move, an attack with its
// counter, a special action, a breath weapon, a spell with its metamagic, a
// reaction to it, or "(Thinking)" while a computer fighter decides.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "combat/actions/casting_checks.h"
#include "combat/actions/reactions.h"
#include "combat/resolution/attack_resolution.h"
#include "combat/turns/combat_cycle.h"
#include "combat/turns/computer_decision.h"
#include "engine/frame.h"
#include "engine/text.h"
#include "map/movement_rules.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/record_words.h"
#include "screens/game/overlay_sections.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/current_cast.h"
#include "state/inventory_state.h"
#include "state/turn_order.h"

namespace {

constexpr int32_t kOneMovePerTurn = 8;  // the sense kind of a fighter limited to one move a turn
constexpr int32_t kTurnUndead = 998, kSpecialAttack = 999;
constexpr int kBannerLength = 39;

// The retaliating shield of the attack's target, by its kind.
const char* ShieldName(int32_t kind) {
  static const char* const kShields[9] = {nullptr,         "Fire Shield",   "Ice Shield",
                                          "Shock Shield",  "Acid Shield",   "Sonic Shield",
                                          "Positive Energy Shield", "Negative Energy Shield", "Force Shield"};
  return kind >= 1 && kind <= 8 ? kShields[kind] : nullptr;
}

int32_t TargetShieldKind() {
  return IsValidCreature(ActionTarget) ? Creatures[ActionTarget].special[kSpecialShieldKind] : -1;
}

const char* BreathName(int32_t kind) {
  static const char* const kBreaths[11] = {
      "Breath Weapon (Fire)",      "Breath Weapon (Cold)",       "Breath Weapon (Electricity)",
      "Breath Weapon (Acid)",      "Breath Weapon (Force)",      "Breath Weapon (Sleep)",
      "Breath Weapon (Slow)",      "Breath Weapon (Paralysis)",  "Breath Weapon (Petrification)",
      "Breath Weapon (Weakening)", "Breath Weapon (Suffocation)"};
  if (kind >= 1 && kind <= 11) return kBreaths[kind - 1];
  if (kind >= 12 && kind <= 22) return kBreaths[kind - 12];
  if (kind == 23) return "Gaze Attack (Petrification)";
  return nullptr;
}

// The banner of a move: a single move or a double move.
const char* MoveBanner(const CreatureRecord& c, int creature) {
  const CombatActionState& a = CombatAction;
  const bool oneMove = c.special[kSenseKindWord] == kOneMovePerTurn;
  const bool sameSquare = c.squareX == c.nextX && c.squareY == c.nextY;
  const int cost = sameSquare ? 0 : CalculateMoveCost(creature, c.nextX, c.nextY, c.squareX, c.squareY, 1);
  const bool doubleFirstStep = a.movesLeft == 2 * c.speed.base && cost >= c.speed.current;
  if (doubleFirstStep) return oneMove ? "Move Action" : "Double Move Action";
  if (a.movesLeft > c.speed.current || ActionBeforeMove != 0 || SurpriseRound != 0) return "Move Action";
  return oneMove ? "Move Action" : "Double Move Action";
}

const char* SpecialActionBanner(int32_t code) {
  switch (code) {
    case 21: return "Whirlwind Attack";
    case 16: return "Aid Another";
    case 17: return "Dancing";
    case 18: return "Grapple Attempt";
    case 19: return "Pin Attempt";
    case 20: return "Crossbow Reload";
    case 14: return "Break Free";
    case 5: return "Five Foot Step";
    case 6: return "Five Foot Step (before attack)";
    default: return nullptr;
  }
}

// What a rule of the banner decides: a text, no banner at all, or the next rule.
enum class Rule { kShown, kNone, kNext };

Rule Shown(char* out, size_t size, const char* text) {
  if (text == nullptr) return Rule::kNone;
  std::snprintf(out, size, "%s", text);
  return Rule::kShown;
}

// The spell or special attack under way.
Rule SpellBanner(int creature, char* out, size_t size) {
  const int32_t spell = SpellInProgress;
  if (spell == kTurnUndead) return Shown(out, size, "Turn Undead");
  if (spell == kSpecialAttack) return Shown(out, size, BreathName(Creatures[creature].special[kSpecialAttackKind]));
  if (spell < 0 || spell >= kSpellRows) return Rule::kNext;
  const char* name = SpellTable[spell].name;
  char words[64];
  if (IsChargedItemUse()) {
    CapitaliseWords(words, name, 1);
    std::snprintf(out, size, "%.34s Wand", words);
    return Rule::kShown;
  }
  if (IsInnateCasting() == 1) {
    CapitaliseWords(words, SpellKeywordFull(spell), 1);
    std::snprintf(out, size, "%.20s Spell-Like Ability", words);
    return Rule::kShown;
  }
  static const char* const kMetamagic[7] = {"%s",            "Maximised %s", "Empowered %s", "Widened %s",
                                            "Heightened %s", "Silenced %s",  "Stilled %s"};
  if (PendingMetamagic < 0 || PendingMetamagic > 6) return Rule::kNext;
  std::snprintf(out, size, kMetamagic[PendingMetamagic], name);
  return Rule::kShown;
}

const char* CastingEndBanner(int32_t code) {
  switch (code) {
    case 28: return "Spellcasting Disrupted";
    case 27: return "Cancelling Spell";
    case 32: return "Cancelling Action";
    case 12: return "Casting a spell";
    case 23: return "Sounding the Alarm";
    case 25: return "Ready Versus Spell Triggered";
    case 26: return "Dismiss Spell";
    default: return nullptr;
  }
}

// A spell, the end of a cast or a delay, or the computer thinking.
Rule LateBanner(int creature, char* out, size_t size) {
  const CombatActionState& a = CombatAction;
  const int32_t code = a.actionCode, ended = a.endedActionCode;
  const Rule spell = SpellBanner(creature, out, size);
  if (spell != Rule::kNext) return spell;
  const char* text = nullptr;
  if (code == 29 || (code == 13 && ended == 29))
    text = "No target for Spellcasting";
  else if (code == 13)
    text = ended == 30 ? "Delay action" : ended == 31 ? "Ready versus approach" : CastingEndBanner(ended);
  else
    text = CastingEndBanner(code);
  if (text != nullptr) return Shown(out, size, text);
  const bool thinking = a.playerControlled == 0 &&
                        (TurnOrder[CurrentTurnIndex].plannedAction == 5 || AiThinkingDisplay != 0) &&
                        a.standardActionLeft == 1 && MovementPlaybackActive == 0;
  return thinking ? Shown(out, size, "(Thinking)") : Rule::kNone;
}

// An attack: its counter, a cleave, or the target's shield striking back.
Rule AttackBanner(int32_t code, char* out, size_t size) {
  const AttackCounterWords& counter = AttackCounterDisplay;
  if (code == 8 || code == 9 || code == 10) {
    if (counter.hidden != 0) return Rule::kNone;
    std::snprintf(out, size, "Shooting %.2i/%.2i (%s)", counter.attackNumber, counter.attackCount, AttackLabel);
    return Rule::kShown;
  }
  if (CombatAction.attackMade != 1) return Rule::kNone;
  if (ExtraDamageShowing == 0) {
    if (counter.cleaveKind == 2) return Shown(out, size, "Great Cleave");
    if (counter.cleaveKind == 1) return Shown(out, size, "Cleave");
    if (counter.hidden != 0) return Rule::kNone;
    std::snprintf(out, size, "Attack %.2i/%.2i (%s)", counter.attackNumber, counter.attackCount, AttackLabel);
    return Rule::kShown;
  }
  const int32_t kind = TargetShieldKind();
  if (kind != 0) return Shown(out, size, ShieldName(kind));
  if (FindCondition(ActionTarget, kCondFireShielded) >= 0) return Shown(out, size, "Fire Shield");
  if (FindCondition(ActionTarget, kCondIceShielded) >= 0) return Shown(out, size, "Ice Shield");
  return Rule::kNone;
}

// The banner of this frame; false when there is none.
bool ComposeBanner(int creature, char* out, size_t size) {
  const CombatActionState& a = CombatAction;
  const int32_t code = a.actionCode;
  if (ReadiedAttack.underway != 0) return Shown(out, size, "Ready Versus Approach") == Rule::kShown;
  if (OutOfTurnAttack != 0 && a.reactingCreature != -1 && ActingCreature != -1 && ActingCreature != creature)
    return Shown(out, size, ExtraDamageShowing == 0 ? "Attack of Opportunity" : ShieldName(TargetShieldKind())) ==
           Rule::kShown;
  Rule rule = Rule::kNext;
  switch (code) {
    case 7: rule = Shown(out, size, "Move Action (before attack)"); break;
    case 11: rule = Shown(out, size, "Charging"); break;
    case 1: rule = Shown(out, size, MoveBanner(Creatures[creature], creature)); break;
    case 22: rule = Shown(out, size, "Bull Rush"); break;
    case 13: {
      const int32_t ended = a.endedActionCode;
      if (ended == 22) rule = Shown(out, size, "Bull Rush");
      else if (ended == 18 || ended == 19 || ended == 20 || ended == 14) rule = Shown(out, size, SpecialActionBanner(ended));
      break;
    }
    case 2: case 3: case 4: case 8: case 9: case 10: rule = AttackBanner(code, out, size); break;
    default:
      if (const char* text = SpecialActionBanner(code)) rule = Shown(out, size, text);
      break;
  }
  if (rule == Rule::kNext) rule = LateBanner(creature, out, size);
  return rule == Rule::kShown;
}

}  // namespace

namespace {

// The banner of this frame; false when none is shown.
bool BannerShown(char* banner, size_t size) {
  if (InCombat != 1 || (CombatRollsShown != 0 && ScreenMode != kModeCastAnnounce)) return false;
  if (CurrentTurnIndex < 0 || CurrentTurnIndex >= kTurnOrderEntries) return false;
  const int creature = TurnOrder[CurrentTurnIndex].creature;
  return IsValidCreature(creature) && ComposeBanner(creature, banner, size);
}

constexpr int kBannerColumn = 2, kBannerRow = 1;

}  // namespace

void DrawActionBanner() {
  char banner[kBannerLength + 1] = {};
  if (BannerShown(banner, sizeof banner))
    DrawTextAt(0xFFFFFFFFu, kBannerLength, 0, banner, 0, kBannerColumn, kBannerRow, 1, 0, 0, 0);
}

bool ActionBannerBox(int* left, int* top, int* right, int* bottom) {
  char banner[kBannerLength + 1] = {};
  if (!BannerShown(banner, sizeof banner)) return false;
  // Large cells of 8 picture pixels (12 view pixels in the wide window's view).
  const int length = std::min(static_cast<int>(std::strlen(banner)), kLargeColumns - kBannerColumn);
  *left = 8 * kBannerColumn;
  *top = 8 * kBannerRow;
  *right = *left + 8 * length;
  *bottom = *top + 8;
  return length > 0;
}
