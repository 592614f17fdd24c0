#include "harness/turn_check.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <set>
#include <span>
#include <string>
#include <tuple>

#include "combat/actions/action_executor.h"
#include "combat/actions/combat_movement.h"
#include "combat/resolution/area_targets.h"
#include "combat/resolution/attack_resolution.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/resolution/special_attacks.h"
#include "combat/turns/combat_cycle.h"
#include "engine/frame.h"
#include "harness/allowed_attacks.h"
#include "harness/battle_runner.h"
#include "map/area_shapes.h"
#include "map/map_record.h"
#include "map/movement_rules.h"
#include "map/square_grids.h"
#include "rules/attack_profile.h"
#include "rules/breakdown_sources.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/feat_ids.h"
#include "rules/item_tables.h"
#include "rules/record_words.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/turn_order.h"

namespace battles {
namespace {

constexpr int kFeetPerSquare = 5;
constexpr int32_t kSenseCodePounce = 3;  // a creature that pounces: a full attack at the end of a charge
constexpr int32_t kReadiedVersusApproach = 21;
constexpr int32_t kActionCastingReactions = 12;  // the enemies' reactions to a cast under way
// Held actions of a turn-order entry: a readied action against spellcasting
// (22, 23) and a casting carried over (24 to 31).
bool ReadiedVersusSpell(int32_t code) { return code == 22 || code == 23; }
bool HoldsCasting(int32_t code) { return code >= 24 && code <= 31; }

// --- What a creature is ------------------------------------------------------------

bool Has(int c, uint32_t id) { return FindCondition(c, id) >= 0; }

// Dead, or at hit points where it should be: a party member at -10 or
// below, any other creature at 0 or below.
bool IsDeadNow(int c) {
  const CreatureRecord& r = Creatures[c];
  return Has(c, kCondDead) || r.hitPoints <= (c < kPartySize ? -10 : 0);
}

// Out of the fight: dead, knocked out, petrified or gone from the map (what
// a kill or knock-out leaves).
bool IsFallen(int c) {
  return Creatures[c].present != 1 || Creatures[c].hitPoints <= 0 ||
         FindAnyCondition(c, kCondDead, kCondUnconscious, kCondPetrified) >= 0;
}

// What keeps a creature from acting: these conditions (those of the
// attack's validity test, and Pinned). A Pinned creature strikes at nothing
// but the hold check of its escape; a Paralyzed one still casts a spell with
// no gesture, or stilled, not from an item.
struct Held {
  uint32_t id;
  const char* name;
  bool breaksFree;  // the hold check of an escape is left it
  bool castsStill;  // a cast with no gesture is left it
};
constexpr Held kKeptFromActing[] = {
    {kCondDead, "Dead", false, false},           {kCondUnconscious, "Unconscious", false, false},
    {kCondPetrified, "Petrified", false, false}, {kCondSleeping, "Sleeping", false, false},
    {kCondParalyzed, "Paralyzed", false, true},  {kCondDancing, "Dancing", false, false},
    {kCondStunned, "Stunned", false, false},     {kCondCowering, "Cowering", false, false},
    {kCondDazed, "Dazed", false, false},         {kCondNauseated, "Nauseated", false, false},
    {kCondPinned, "Pinned", true, false},
};

// The condition that keeps the creature from a blow (`escape`: the hold check
// of its escape) or a cast (`stillCast`: of a spell with no gesture, or
// stilled, not from an item), or "".
const char* HeldFrom(int c, bool escape, bool stillCast) {
  for (const Held& h : kKeptFromActing)
    if (Has(c, h.id) && !(escape && h.breaksFree) && !(stillCast && h.castsStill)) return h.name;
  return "";
}

// The same for moving: a Nauseated creature may still move, a Dancing one
// dances.
const char* CannotMove(int c) {
  static const std::pair<uint32_t, const char*> kHeld[] = {
      {kCondDead, "Dead"},       {kCondUnconscious, "Unconscious"}, {kCondPetrified, "Petrified"},
      {kCondSleeping, "Sleeping"}, {kCondParalyzed, "Paralyzed"},   {kCondStunned, "Stunned"},
      {kCondCowering, "Cowering"}, {kCondDazed, "Dazed"},
  };
  for (const auto& [id, name] : kHeld)
    if (Has(c, id)) return name;
  return "";
}

// Attacks of opportunity a round: 1, or Dexterity / 2 - 4 with Combat
// Reflexes when that is above 1.
int32_t OpportunitiesARound(int c) {
  const CreatureRecord& r = Creatures[c];
  const int32_t half = r.dexterity.current / 2;
  return r.feats[kFeatCombatReflexes] != 0 && half - 5 > 0 ? half - 4 : 1;
}

int EntryCount() { return std::clamp<int>(TurnEntryCount, 0, kTurnOrderEntries); }

// The entries of the turn order.
std::span<const TurnOrderEntry> Entries() { return {TurnOrder, static_cast<size_t>(EntryCount())}; }

// --- What the rules allow --------------------------------------------------------------

// The attacks the rules give the fighter's melee forms together (a full
// attack), or its ranged weapon's shots.
int32_t AttacksAllowed(const AllowedForms& forms, bool ranged) {
  int32_t n = 0;
  for (const FormAttacks& e : forms.entries)
    if ((e.kind == kEntryRanged) == ranged) n += e.attacks;
  return n;
}

// The bonus of that source written into the roll (0 when none); false when
// the list was full and the bonus may be missing from it.
bool BonusOf(const ModifierList& roll, int32_t source, int32_t* bonus) {
  *bonus = 0;
  int used = 0;
  for (const ModifierPair& p : roll.pairs) {
    if (p.source != 0 || p.value != 0) ++used;
    if (p.source == source) *bonus += p.value;
  }
  return used < kModifierPairs;
}

// --- The watch ------------------------------------------------------------------------

struct Turn {
  bool open = false;
  int round = 0, index = -1, fighter = -1;
  bool started = false;  // the upkeep is over: the budget has been read
  bool single = false;
  int32_t speed = 0, movesAtStart = 0;
  int stepSquares = 0, moveSquares = 0;
  int32_t paid = 0;  // feet of the squares entered, five-foot steps aside
  bool charged = false, stepTaken = false, pounces = false;
  int melee = 0, shots = 0, grapples = 0, cleaves = 0;
  int32_t meleeAllowed = 0, shotsAllowed = 0;
  std::map<int, int> madeWithEntry;
  int casts = 0;
  bool ended = false;
  int32_t full = 0, standard = 0, move = 0;  // the budget words last seen
  // The attack before: its action, target and whether that target stood.
  int lastAction = -1, lastTarget = -1;
  bool lastTargetStood = false;
  std::set<int> whirlwindTargets;
  int whirlwindAction = -1;
  std::string actions;  // the action codes of the turn in order, for the breach texts
  bool resumed = false;  // a held casting resumed it: the cast starting now was counted already
  bool castFromItem = false;  // its last cast began from an item (a wand, a scroll)
  std::set<int> reactors;     // the enemies that made an attack of opportunity against its moving
  // Its charge: the target, the square it set off from and the square it
  // was laid to (its destination as it set off).
  int chargeTarget = -1;
  int chargeFromX = -1, chargeFromY = -1, chargeToX = -1, chargeToY = -1;
  // The least and the most its charge's steps have gone along each axis.
  int stepLowX = 0, stepHighX = 0, stepLowY = 0, stepHighY = 0;
};

struct Watch {
  bool on = false;
  uint32_t seed = 0;
  Turn turn;
  std::vector<Breach> breaches;
  int32_t endCode = 0;  // the action code at the end of the last frame
  int action = 0;       // the running action's number: it changes with the code
  int32_t lastSpell = -1;
  uint32_t lastMode = 0;
  std::map<int, int32_t> ammunition;  // what each fighter held at the last look
  // Each creature's attacks of opportunity since they were last refilled (at
  // its own turn; a delayed turn refills nothing): the most a round it had
  // since, how many it had left then, and how many it has made.
  struct Opportunities {
    int32_t most = 1, given = 0;
    int made = 0;
  };
  std::map<int, Opportunities> opportunities;
  // The attacks of opportunity made against each act: round, mover, act and
  // reactor.
  std::set<std::tuple<int, int, std::string, int>> reactions;
  // Each fighter in the order as the last frame left it: its attacks of
  // opportunity a round and left, and its entry's held action.
  struct Look {
    int32_t number = 1, left = 0, held = 0;
  };
  std::map<int, Look> looks;
  // The turns of casters whose casting yielded to a readied foe: the turn
  // goes on when the casting resumes.
  std::map<int, Turn> heldTurns;
  // The fighters whose turn refilled them in this round.
  int refillRound = -1;
  std::set<int> refilled;
  // The enemies whose readied action against an approach has made its
  // attack since their own turn last came, with the round it was made in.
  std::map<int, int> readiedAttacks;
  // Each fighter's rules broken, by round: a rule broken again in the round
  // (at every other fighter's turn, say) is not reported again.
  std::set<std::tuple<int, int, std::string>> reported;
};

Watch g_watch;

// What the creature's attacks of opportunity are watched against, begun
// with what it has now when it has none yet (the start of the battle, a
// refill).
Watch::Opportunities& OpportunitiesOf(int c) {
  const CreatureRecord& r = Creatures[c];
  return g_watch.opportunities.emplace(c, Watch::Opportunities{OpportunitiesARound(c), r.attacksOfOpportunityLeft, 0})
      .first->second;
}

// A fighter's breach of a rule is reported once a round, its first. A turn
// judged as it closes names its own round (the next may have begun).
void Report(int fighter, const char* rule, const std::string& seen, int round = CombatRoundNumber) {
  if (!g_watch.reported.emplace(round, fighter, rule).second) return;
  Breach b;
  b.seed = g_watch.seed;
  b.round = round;
  b.fighter = fighter;
  b.rule = rule;
  b.seen = seen;
  g_watch.breaches.push_back(b);
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  char text[300];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

// The action an attack now belongs to: the running one while the code is the
// one the last frame ended with, else the next.
int ActionNumber() { return CombatAction.actionCode == g_watch.endCode ? g_watch.action : g_watch.action + 1; }

void NoteAction(Turn& t) {
  const int32_t code = CombatAction.actionCode;
  if (code == 0 || code == kActionEnd) return;
  const std::string mark = std::to_string(code);
  // The last code noted (the whole list while it holds one, or none).
  if (t.actions.size() < 120 && t.actions.compare(t.actions.rfind(' ') + 1, std::string::npos, mark) != 0)
    t.actions += (t.actions.empty() ? "" : " ") + mark;
}

void CheckRanges();
bool NextTo(int a, int b);

// --- Closing a turn: the budget of the whole turn ----------------------------------

void JudgeTurn(const Turn& t) {
  if (!t.started) return;
  const int f = t.fighter;
  const int32_t budget = std::min(t.single ? t.speed : 2 * t.speed, std::max(t.movesAtStart, t.speed));
  const int32_t paid = t.paid;
  if (paid > budget && !(t.charged && paid <= 2 * t.speed))
    Report(f, "movement",
           Format("%d squares moved (%d feet) on a budget of %d feet (speed %d%s), actions %s", t.moveSquares, paid,
                  budget, t.speed, t.single ? ", single-action turn" : "", t.actions.c_str()),
           t.round);
  const int attacks = t.melee + t.shots;
  const bool pounce = t.charged && t.pounces;  // only a pouncing creature's charge ends in a full attack
  if (attacks >= 2 && t.moveSquares > 0 && !pounce)
    Report(f, "full-attack-after-move",
           Format("%d melee attacks and %d shots after moving %d squares, actions %s", t.melee, t.shots,
                  t.moveSquares, t.actions.c_str()),
           t.round);
  const bool standardUsed = attacks > 0 || t.grapples > 0 || t.casts > 0;
  if (standardUsed && paid > t.speed && !t.charged)
    Report(f, "double-move-and-action",
           Format("moved %d feet (speed %d) and made %d attacks, %d grapple attacks, %d casts, actions %s", paid,
                  t.speed, attacks, t.grapples, t.casts, t.actions.c_str()),
           t.round);
  if (t.casts > 1 || (t.casts > 0 && attacks > 0 && !t.charged))
    Report(f, "actions",
           Format("%d casts and %d attacks in one turn, actions %s", t.casts, attacks, t.actions.c_str()),
           t.round);
}

int32_t HeldActionOf(int c) {
  for (const TurnOrderEntry& e : Entries())
    if (e.creature == c) return e.plannedAction;
  return 0;
}

// A turn whose casting yielded to a readied foe is judged once the casting
// has resumed and the turn ended.
void CloseTurn() {
  Turn& t = g_watch.turn;
  if (!t.open) return;
  t.open = false;
  if (t.started && HoldsCasting(HeldActionOf(t.fighter)))
    g_watch.heldTurns[t.fighter] = t;
  else
    JudgeTurn(t);
}

// Its turn refilled its attacks of opportunity, once a round: never for a
// turn taken up later in the round (a delay), a held casting resumed, a
// creature that joined the round, a fighter the acting index passes back
// over (a delay or a yield to a readied foe sets it one place before the
// next), or a readied action set off (a readied action dropped refills,
// seen as a rise). The refill gives at most its number a round, the larger
// of that before and after the step (its Dexterity may fall or rise in the
// same step). A turn that refills none gives nothing back: what the fighter
// has left may not rise above what the round's refill left it less those
// it has made since.
void Refill(int index, int fighter) {
  if (index < 0 || index >= EntryCount()) return;
  if (g_watch.refillRound != CombatRoundNumber) {
    g_watch.refillRound = CombatRoundNumber;
    g_watch.refilled.clear();
  }
  const int32_t left = Creatures[fighter].attacksOfOpportunityLeft;
  const auto seen = g_watch.looks.find(fighter);
  const Watch::Look before =
      seen != g_watch.looks.end() ? seen->second : Watch::Look{OpportunitiesARound(fighter), left, 0};
  if (TurnOrder[index].joinedThisRound != 0 || !g_watch.refilled.insert(fighter).second) {
    const Watch::Opportunities& o = OpportunitiesOf(fighter);
    const int32_t kept = o.given - o.made;
    if (left > before.left && left > kept)
      Report(fighter, "attacks-of-opportunity",
             Format("a turn taken up again in the round gave it %d attacks of opportunity, %d left of the %d its "
                    "refill gave",
                    left, kept, o.given));
    return;
  }
  if (ReadiedVersusSpell(before.held) && left <= before.left) return;
  const int32_t number = std::max(before.number, OpportunitiesARound(fighter));
  if (left > number)
    Report(fighter, "attacks-of-opportunity",
           Format("its turn gave it %d attacks of opportunity of %d a round", left, number));
  g_watch.opportunities[fighter] = Watch::Opportunities{number, std::min(left, number), 0};
}

void OpenTurn(int round, int index, int fighter) {
  CloseTurn();
  Turn& t = g_watch.turn;
  t = Turn{};
  // A held casting resumed: the turn it began in goes on (the actions the
  // caster had left then given back), the cast counted once.
  const auto seen = g_watch.looks.find(fighter);
  const bool resumes = seen != g_watch.looks.end() && HoldsCasting(seen->second.held) && index >= 0 &&
                       index < EntryCount() && !HoldsCasting(TurnOrder[index].plannedAction);
  Refill(index, fighter);
  // Its turn may ready an action anew.
  g_watch.readiedAttacks.erase(fighter);
  const auto held = g_watch.heldTurns.find(fighter);
  if (held != g_watch.heldTurns.end()) {
    if (resumes) {
      t = held->second;
      t.resumed = true;
    } else {
      JudgeTurn(held->second);
    }
    g_watch.heldTurns.erase(held);
  }
  t.open = true;
  t.ended = false;
  t.round = round;
  t.index = index;
  t.fighter = fighter;
}

// The budget of the turn, read once its upkeep is over.
void StartTurn(Turn& t) {
  const CombatActionState& a = CombatAction;
  t.started = true;
  t.single = a.singleActionTurn != 0;
  t.speed = Creatures[t.fighter].speed.current;
  t.movesAtStart = a.movesLeft;
  t.full = a.fullRoundActionLeft;
  t.standard = a.standardActionLeft;
  t.move = a.moveActionLeft;
}

// The turn of the fighter acting now, opened when it is a new one (a turn
// may begin, decide and make its first attack within one frame). A turn
// entry moved in the order (a readied reaction goes before its mover) keeps
// the turn; a turn ended and taken up at another place (a delay) is new.
Turn& CurrentTurn() {
  Turn& t = g_watch.turn;
  const int f = CurrentFighter();
  const bool moved = t.index != CurrentTurnIndex;
  // (The turn is closed only as the next opens, or as the watch ends.)
  if (IsValidCreature(f) && (t.fighter != f || t.round != CombatRoundNumber || (t.ended && moved))) {
    OpenTurn(CombatRoundNumber, CurrentTurnIndex, f);
    CheckRanges();
  }
  return t;
}

// --- Attacks ----------------------------------------------------------------------------

void OwnAttack(Turn& t, const AttackWatch& w) {
  const int f = w.attacker;
  const CombatActionState& a = CombatAction;
  NoteAction(t);
  if (t.ended)
    Report(f, "after-turn", Format("attacks creature %d after its turn ended, action %d", w.target, a.actionCode));
  if (w.grapple && w.hold) return;  // the hold check of a grapple, pin or escape
  const int action = ActionNumber();
  const AttackProfileEntry& entry = w.profile->entries[w.entry];
  const bool cleave = g_Cleaving != -1;
  const bool afterKill = t.lastTarget != -1 && t.lastTargetStood && IsFallen(t.lastTarget);
  const bool natural = entry.kind >= kEntryNatural0 && entry.kind <= kEntryNatural3;
  // A charge ends on the square beside its target its attack is made from.
  if (t.charged && entry.kind != kEntryRanged && !NextTo(f, w.target))
    Report(f, "charge", Format("attacks creature %d from %d,%d after its charge, not beside it", w.target,
                               Creatures[f].squareX, Creatures[f].squareY));

  // The profile's forms against those the rules give the fighter, entry by
  // entry, in the form it fights in (a grapple: its one entry).
  const AllowedForms forms = FormsAllowed(f, CombatAction.useAlternateAttack == 1, w.grapple);
  for (int i = 0; i < kAttackProfileEntries; ++i) {
    const AttackProfileEntry& e = w.profile->entries[i];
    const FormAttacks& r = forms.entries[i];
    if (e.kind != r.kind)
      Report(f, "profile", Format("entry %d is of kind %d where the rules give kind %d", i, e.kind, r.kind));
    else if (e.attackCount.total != r.attacks)
      Report(f, "profile",
             Format("entry %d (kind %d) gives %d attacks where the rules give %d", i, e.kind, e.attackCount.total,
                    r.attacks));
  }
  const FormAttacks rules = forms.entries[w.entry].kind == entry.kind ? forms.entries[w.entry] : FormAttacks{};

  // A kill or knock-out ends a full attack: the same action goes on only
  // with a cleave.
  if (afterKill && action == t.lastAction && !cleave &&
      (a.actionCode == kActionFullAttack || a.actionCode == kActionFullShots))
    Report(f, "after-kill",
           Format("attack %s creature %d after creature %d fell, action %d", entry.kind == kEntryRanged ? "(shot) on" : "on",
                  w.target, t.lastTarget, a.actionCode));

  if (a.actionCode == kActionWhirlwind) {
    if (t.whirlwindAction != action) t.whirlwindTargets.clear();
    t.whirlwindAction = action;
    if (!t.whirlwindTargets.insert(w.target).second)
      Report(f, "whirlwind", Format("creature %d struck twice in one whirlwind attack", w.target));
  } else if (w.grapple) {
    ++t.grapples;
    const int32_t allowed = GrappleAttacksAllowed(f);
    if (t.grapples > std::max(allowed, 1))
      Report(f, "grapple-attacks", Format("grapple attack %d of %d allowed", t.grapples, allowed));
  } else if (cleave) {
    ++t.cleaves;
    if (!afterKill)
      Report(f, "cleave", Format("a cleave attack on creature %d with no kill before it", w.target));
    if (t.cleaves > 1 && Creatures[f].feats[kFeatGreatCleave] == 0)
      Report(f, "cleave", Format("cleave attack %d in one turn without Great Cleave", t.cleaves));
  } else {
    const bool shot = entry.kind == kEntryRanged;
    if (shot) {
      ++t.shots;
      t.shotsAllowed = std::max(t.shotsAllowed, AttacksAllowed(forms, true));
      if (t.shots > std::max(t.shotsAllowed, 1))
        Report(f, "shots", Format("shot %d of %d allowed, on creature %d, actions %s", t.shots, t.shotsAllowed,
                                  w.target, t.actions.c_str()));
      const int32_t ammunition = Creatures[f].ammunition.count;
      if (Creatures[f].ammunition.code != 0 && ammunition <= 0)
        Report(f, "ammunition", Format("a shot with %d pieces of ammunition", ammunition));
    } else {
      ++t.melee;
      t.meleeAllowed = std::max(t.meleeAllowed, AttacksAllowed(forms, false));
      if (t.melee > std::max(t.meleeAllowed, 1))
        Report(f, "melee-attacks", Format("melee attack %d of %d allowed, on creature %d, actions %s", t.melee,
                                          t.meleeAllowed, w.target, t.actions.c_str()));
    }
    const int32_t most = std::max(t.meleeAllowed, t.shotsAllowed);
    if (t.melee > 0 && t.shots > 0 && t.melee + t.shots > most)
      Report(f, "attacks", Format("%d melee attacks and %d shots in one turn (at most %d), actions %s", t.melee,
                                  t.shots, most, t.actions.c_str()));
    // The iterative attacks of the entry: as many as the rules give its form, each 5 lower
    // (after a first one at full bonus more with haste or a speed weapon).
    const int made = t.madeWithEntry[w.entry]++;
    const int32_t count = rules.attacks;
    if (made >= std::max(count, 1))
      Report(f, "iterative", Format("attack %d with entry %d, which gives %d", made + 1, w.entry, count));
    // Natural attacks all strike at their full bonus.
    const int32_t expected = natural ? 0 : rules.extra ? (made > 1 ? -5 * (made - 1) : 0) : -5 * made;
    int32_t falling = 0;
    if (BonusOf(entry.attackRoll, kSrcDecreasingAttackBonus, &falling) && falling != expected)
      Report(f, "iterative", Format("attack %d with entry %d at a falling bonus of %d, not %d, actions %s", made + 1,
                                    w.entry, falling, expected, t.actions.c_str()));
  }
  t.lastAction = action;
  t.lastTarget = w.target;
  t.lastTargetStood = !IsFallen(w.target);
}

// --- What provokes ---------------------------------------------------------------------

bool OnPartySide(int32_t side) { return side == 1 || side == 5 || side == 6; }

// Sides 1, 5 and 6 stand against side 2; a creature of any other side
// against everybody, and everybody against it.
bool Foes(int a, int b) {
  const int32_t sa = Creatures[a].allegiance, sb = Creatures[b].allegiance;
  const bool sidedA = OnPartySide(sa) || sa == 2, sidedB = OnPartySide(sb) || sb == 2;
  if (!sidedA || !sidedB) return a != b;
  return OnPartySide(sa) != OnPartySide(sb);
}

// The footprints touch: b stands on the ring of squares round a, a's
// footprint set at (x, y).
bool NextToAt(int a, int x, int y, int b) {
  const CreatureRecord& p = Creatures[a];
  const CreatureRecord& q = Creatures[b];
  const int pw = std::max(p.footprintWidth.current, 1), ph = std::max(p.footprintHeight.current, 1);
  const int qw = std::max(q.footprintWidth.current, 1), qh = std::max(q.footprintHeight.current, 1);
  const auto overlaps = [&](int grow) {
    return q.squareX < x + pw + grow && q.squareX + qw > x - grow && q.squareY < y + ph + grow &&
           q.squareY + qh > y - grow;
  };
  return overlaps(1) && !overlaps(0);
}

bool NextTo(int a, int b) { return NextToAt(a, Creatures[a].squareX, Creatures[a].squareY, b); }

// An invisible mover is seen by a sense that needs no sight or true seeing.
bool Sees(int reactor, int mover) {
  if (!Has(mover, kCondInvisible) && !Has(mover, kCondGreaterInvisibility)) return true;
  const int32_t sense = Creatures[reactor].special[kSenseKindWord];
  return sense == 5 || sense == 6 || Has(reactor, kCondTrueSeeing);
}

// What keeps an enemy from an attack of opportunity beside what keeps it
// from a blow: unarmed, confused, insane, surprised, grappling, or unable to
// see (blinded, or unable to see where it stands).
constexpr uint32_t kNoReaction[] = {kCondUnarmed, kCondConfused, kCondInsane, kCondSurprised,
                                    kCondGrappling, kCondBlinded, kCondCantSee};

// The natural attack of fists (kind 3), which threatens only with Improved
// Unarmed Strike.
constexpr int32_t kNaturalFists = 3;

// No weapon that threatens: nothing in the right hand and a first natural
// attack of none, or fists without Improved Unarmed Strike (as the record
// stands: the Unarmed condition says the same once the record is recomputed).
bool Weaponless(const CreatureRecord& r) {
  const int32_t first = r.naturalAttacks[0].kind;
  return r.equipment[kSlotRightHand - 1] == 0 && (first == 0 || first == kNaturalFists) &&
         r.feats[kFeatUnarmedStrike] == 0;
}

// What keeps the enemy from an attack of opportunity against the mover now,
// in words, or "" when nothing does: fallen, none left, held from a blow,
// no weapon that threatens, unarmed, confused, insane, surprised, grappling,
// blinded or unable to see, flat-footed without Combat Reflexes, deafened or
// silenced where it senses by hearing, or the mover unseen.
const char* KeptFromReacting(int reactor, int mover) {
  const CreatureRecord& r = Creatures[reactor];
  if (IsFallen(reactor)) return "fallen";
  if (r.attacksOfOpportunityLeft < 1) return "with no attack of opportunity left";
  if (const char* held = HeldFrom(reactor, false, false); held[0] != '\0') return held;
  if (Weaponless(r)) return "with no weapon that threatens";
  for (uint32_t id : kNoReaction)
    if (Has(reactor, id)) return ConditionName(id);
  if (Has(reactor, kCondFlatFooted) && r.feats[kFeatCombatReflexes] == 0) return "flat-footed without Combat Reflexes";
  if (r.special[kSenseKindWord] == 5 && FindAnyCondition(reactor, kCondDeafened, kCondSilenced) >= 0)
    return "deafened or silenced, sensing by hearing";
  return Sees(reactor, mover) ? "" : "unable to see it";
}

// The enemy may make an attack of opportunity against the mover now.
bool MayReact(int reactor, int mover) { return KeptFromReacting(reactor, mover)[0] == '\0'; }

// The acts of moving off a square: a walk, the walk of a move and attack, a
// charge.
bool Moves(int32_t code) {
  return code == kActionWalkPath || code == kActionMoveAndAttack || code == kActionCharge;
}

// Leaving a square (a five-foot step aside) draws an attack of opportunity,
// before the next square is paid for, from each enemy next to it that may
// react and has not yet reacted to the fighter's moving in this turn, in the
// order of the turn; a Cursed one may lose its reaction and with it those
// after it. The computer's charge sets off drawing the first one's alone.
void JudgeReactions(const Turn& t, int mover, int32_t code, int fromX, int fromY, bool firstAlone) {
  for (const TurnOrderEntry& e : Entries()) {
    const int r = e.creature;
    if (!IsValidCreature(r)) continue;
    if (!Foes(r, mover) || !NextToAt(mover, fromX, fromY, r)) continue;
    if (t.reactors.count(r) == 0) {
      if (!MayReact(r, mover)) continue;
      if (!Has(r, kCondCursed))
        Report(mover, "missing-reaction",
               Format("leaves %d,%d beside creature %d, which has %d attacks of opportunity left and makes none, "
                      "action %d",
                      fromX, fromY, r, Creatures[r].attacksOfOpportunityLeft, code));
      return;
    }
    if (firstAlone) return;
  }
}

// What the mover is doing that provokes none from the reactor, in words, or
// "" when it provokes: a shot, a cast but a defensive one, an attack of a
// coup de grace, leaving a threatened square (never a five-foot step), the
// quick acts, breaking free of a web, reloading a crossbow that needs it, a
// bull rush without Improved Bull Rush; an unarmed attack and a grapple
// without Improved Grapple provoke their target alone.
std::string UnprovokedBy(int mover, int reactor) {
  const CreatureRecord& m = Creatures[mover];
  const int32_t code = CombatAction.actionCode;
  switch (code) {
    case kActionWalkPath: case kActionMoveAndAttack: case kActionCharge:
    case kActionShot: case kActionFullShots: case kActionNextShot:
    case kActionInventory: case kActionWake: case kActionDance: case kActionAlarm:
      return "";
    case kActionFiveFootStep: case kActionStepAndAttack:
      return "a five-foot step";
    case kActionMeleeAttack: case kActionFullAttack: case kActionNextAttack:
      if (CoupDeGraceAction == 1) return "";
      if (!Has(mover, kCondUnarmed)) return "a melee attack with a weapon";
      return reactor == SavedTarget ? "" : "an unarmed attack on another creature";
    case kActionGrapple:
      if (m.feats[kFeatImprovedGrapple] != 0) return "a grapple with Improved Grapple";
      return reactor == SavedTarget ? "" : "a grapple of another creature";
    case kActionBullRush:
      return m.feats[kFeatImprovedBullRush] != 0 ? "a bull rush with Improved Bull Rush" : "";
    case kActionEscape:
      return Has(mover, kCondStuck) && !Has(mover, kCondGrappling) ? "" : "an escape from no web";
    case kActionReload: {
      const uint32_t item = m.equipment[kSlotRanged - 1];
      const int32_t type = IsCraftedCode(item) ? CraftedWeapons[item].itemType : 0;
      if (type == 10 || (type == 11 && m.feats[kFeatRapidReloadLight] == 0)) return "";
      return "a reload that needs no action";
    }
    case kActionCastingReactions:
      if (SpellInProgress == -1 || SpellCaster != mover) return "a cast of another creature";
      return m.behaviour[kBehaviourDefensiveCasting] == 1 ? "a defensive cast" : "";
    default:
      return Format("action %d, which provokes none", code);
  }
}

// An attack of opportunity: against the fighter whose turn it is, by an
// enemy next to it that sees it and may react, for an act that provokes,
// once an act.
void JudgeProvocation(int reactor, int target) {
  const int mover = CurrentFighter();
  if (target != mover) {
    Report(reactor, "provoking",
           Format("an attack of opportunity on creature %d, not on creature %d whose turn it is", target, mover));
    return;
  }
  // The target of an unarmed attack or a grapple answers the attack made on
  // it, whoever makes it (a confused ally); any other reactor is an enemy.
  const int32_t code = CombatAction.actionCode;
  const bool answers = reactor == SavedTarget &&
                       (code == kActionGrapple || ((code == kActionMeleeAttack || code == kActionFullAttack ||
                                                    code == kActionNextAttack) && Has(mover, kCondUnarmed)));
  std::string why;
  if (!answers && !Foes(reactor, mover)) why = "not an enemy of";
  else if (!NextTo(mover, reactor)) why = "not next to";
  else if (!Sees(reactor, mover)) why = "unable to see";
  if (!why.empty()) {
    Report(reactor, "provoking", Format("an attack of opportunity %s creature %d", why.c_str(), mover));
    return;
  }
  if (const char* kept = KeptFromReacting(reactor, mover); kept[0] != '\0') {
    Report(reactor, "provoking", Format("an attack of opportunity on creature %d by one %s", mover, kept));
    return;
  }
  why = UnprovokedBy(mover, reactor);
  if (!why.empty()) {
    Report(reactor, "provoking",
           Format("an attack of opportunity against %s of creature %d, action %d", why.c_str(), mover,
                  CombatAction.actionCode));
    return;
  }
  // One act: a cast of the turn, or one running action with the mover's
  // attacks made so far (each attack of a full attack, each shot, is an act).
  const Turn& t = g_watch.turn;
  const bool own = t.open && t.fighter == mover;
  const std::string act =
      CombatAction.actionCode == kActionCastingReactions
          ? Format("cast %d", own ? t.casts : 0)
          : Format("action %d after %d attacks", ActionNumber(), own ? t.melee + t.shots + t.grapples + t.cleaves : 0);
  if (!g_watch.reactions.emplace(CombatRoundNumber, mover, act, reactor).second)
    Report(reactor, "provoking",
           Format("a second attack of opportunity against one act of creature %d (%s)", mover, act.c_str()));
}

// The acts that bring a mover next to a readied enemy and may provoke
// none: a five-foot step (that of a step and attack too) and a bull rush
// (with Improved Bull Rush). A walk, a move and attack and a charge provoke
// in any case.
bool StepsUp(int32_t code) {
  return code == kActionFiveFootStep || code == kActionStepAndAttack || code == kActionBullRush;
}

// What keeps an enemy from its readied action beside what keeps it from a
// blow: being confused, insane or grappling, by name, or "".
const char* KeptFromItsReadiedAction(int reactor) {
  for (const uint32_t id : {kCondConfused, kCondInsane, kCondGrappling})
    if (Has(reactor, id)) return ConditionName(id);
  return "";
}

// A readied action against an approach: one attack, on the fighter whose
// turn it is as it comes next to it (or in place of an attack of
// opportunity against what it does), by an enemy next to it free to strike;
// the action is then spent, and only the enemy's own turn readies it anew.
void JudgeReadied(int reactor, int target) {
  const int mover = CurrentFighter();
  const int32_t code = CombatAction.actionCode;
  std::string why;
  if (target != mover) why = Format("on creature %d, not on creature %d whose turn it is", target, mover);
  else if (!Foes(reactor, mover)) why = Format("by one not an enemy of creature %d", mover);
  else if (!NextTo(mover, reactor)) why = Format("by one not next to creature %d", mover);
  else if (!StepsUp(code) && !UnprovokedBy(mover, reactor).empty())
    why = Format("against action %d of creature %d, which neither approaches nor provokes", code, mover);
  else if (const char* kept = KeptFromItsReadiedAction(reactor); kept[0] != '\0')
    why = Format("by one %s", kept);
  if (!why.empty()) Report(reactor, "readied", "a readied attack " + why);
  const auto [first, fresh] = g_watch.readiedAttacks.emplace(reactor, CombatRoundNumber);
  if (!fresh)
    Report(reactor, "readied",
           Format("a second attack of its readied action on creature %d, the first made in round %d", target,
                  first->second));
}

// --- Flanking --------------------------------------------------------------------------

// Where v lies along one axis against a span of `size` squares from `from`:
// -1 before it, 0 along it, 1 past it.
int SideAlong(int v, int from, int size) { return v < from ? -1 : v >= from + size ? 1 : 0; }

// What keeps an ally from flanking: being helpless or disabled.
constexpr uint32_t kNoFlanking[] = {kCondNauseated, kCondConfused, kCondInsane,   kCondSurprised, kCondSleeping,
                                    kCondParalyzed, kCondPetrified, kCondDancing, kCondCowering,  kCondStunned,
                                    kCondDazed,     kCondDead,      kCondUnconscious};

// A square of the creature's footprint lies round the target's footprint on
// the side (sx, sy) of its ring.
bool OnRingSide(int c, int target, int sx, int sy) {
  const CreatureRecord& r = Creatures[c];
  const CreatureRecord& t = Creatures[target];
  const int tw = t.footprintWidth.current, th = t.footprintHeight.current;
  for (int x = r.squareX; x < r.squareX + r.footprintWidth.current; ++x)
    for (int y = r.squareY; y < r.squareY + r.footprintHeight.current; ++y)
      if (x >= t.squareX - 1 && x <= t.squareX + tw && y >= t.squareY - 1 && y <= t.squareY + th &&
          SideAlong(x, t.squareX, tw) == sx && SideAlong(y, t.squareY, th) == sy)
        return true;
  return false;
}

constexpr int kNobody = -1;

// The ally across the target from the attacker, or kNobody: a combatant of
// the attacker's side (both of sides 1, 5 and 6, or both of side 2) neither
// helpless nor disabled, grappling none but the target, with a square on the
// target's ring right opposite a square of the attacker's there: corner
// against the opposite corner, side against the opposite side. (Neither
// the attacker nor the target ever stands on both sides of the target's
// ring.) Each side is -1, 0 or 1 along its axis; the target's own
// footprint, (0, 0), is no side of its ring.
int FlankingAlly(int attacker, int target) {
  const CreatureRecord& a = Creatures[attacker];
  const CreatureRecord& t = Creatures[target];
  const int32_t side = a.allegiance;
  for (const TurnOrderEntry& e : Entries()) {
    const int ally = e.creature;
    if (!IsValidCreature(ally)) continue;
    const int32_t its = Creatures[ally].allegiance;
    if (!((OnPartySide(side) && OnPartySide(its)) || (side == 2 && its == 2))) continue;
    bool able = true;
    for (const uint32_t id : kNoFlanking) able = able && !Has(ally, id);
    const int grapple = FindCondition(ally, kCondGrappling);
    if (!able || (grapple >= 0 && Creatures[ally].conditions[grapple].value != target)) continue;
    for (int x = a.squareX; x < a.squareX + a.footprintWidth.current; ++x)
      for (int y = a.squareY; y < a.squareY + a.footprintHeight.current; ++y) {
        const int sx = SideAlong(x, t.squareX, t.footprintWidth.current);
        const int sy = SideAlong(y, t.squareY, t.footprintHeight.current);
        if ((sx != 0 || sy != 0) && OnRingSide(attacker, target, sx, sy) && OnRingSide(ally, target, -sx, -sy))
          return ally;
      }
  }
  return kNobody;
}

// A melee attack's roll (a grapple's too) holds the flanking bonus, +2,
// exactly when the attacker flanks its target and the target is not immune
// to flanking; a roll whose list is full may lack it. A shot, or a ranged
// touch of a natural attack (kind 5), has none.
void JudgeFlanking(const AttackWatch& w) {
  const AttackProfileEntry& e = w.profile->entries[w.entry];
  const NaturalAttack* natural = Creatures[w.attacker].naturalAttacks;
  const auto slot = static_cast<size_t>(e.kind - kEntryNatural0);
  const NaturalAttack* form = slot < std::size(Creatures[w.attacker].naturalAttacks) ? &natural[slot] : nullptr;
  if (e.kind == kEntryRanged || (!w.grapple && form != nullptr && form->kind == 5)) return;
  const int ally = FlankingAlly(w.attacker, w.target);
  const bool immune = Creatures[w.target].protections[kProtFlanking].current == kImmunityImmune;
  const int32_t expected = ally != kNobody && !immune ? 2 : 0;
  int32_t bonus;
  const bool room = BonusOf(e.attackRoll, kSrcFlankingTarget, &bonus);
  if (bonus != expected && (room || bonus != 0))
    Report(w.attacker, "flanking",
           Format("a flanking bonus of %d on creature %d where the rules give %d (%s%s)", bonus, w.target, expected,
                  ally != kNobody ? Format("creature %d across it", ally).c_str() : "no able ally across it",
                  immune ? ", immune to flanking" : ""));
}

void OnAttack(const AttackWatch& w) {
  if (!g_watch.on || InCombat != 1) return;
  const int f = w.attacker;
  if (!IsValidCreature(f) || !IsValidCreature(w.target)) return;
  JudgeFlanking(w);
  const bool escape = w.hold && CombatAction.actionCode == kActionEscape;
  if (const char* held = HeldFrom(f, escape, false); held[0] != '\0')
    Report(f, "cannot-act", Format("attacks creature %d while %s", w.target, held));
  if (IsDeadNow(w.target))
    Report(f, "dead-target", Format("attacks creature %d at %d hit points%s", w.target, Creatures[w.target].hitPoints,
                                    Has(w.target, kCondDead) ? ", Dead" : ""));
  if (f != CurrentFighter()) {
    // Out of its turn only as the reacting creature of an attack of
    // opportunity or a readied action.
    if (CombatAction.reactingCreature != f) {
      Report(f, "out-of-turn",
             Format("attacks creature %d in the turn of creature %d, reacting creature %d", w.target, CurrentFighter(),
                    CombatAction.reactingCreature));
      return;
    }
    // A readied action, or an attack of opportunity: no more of those
    // between two refills than it was given.
    if (HeldActionOf(f) == kReadiedVersusApproach) {
      JudgeReadied(f, w.target);
      return;
    }
    JudgeProvocation(f, w.target);
    // Against the fighter's moving: it draws none again in the turn.
    if (Moves(CombatAction.actionCode)) CurrentTurn().reactors.insert(f);
    Watch::Opportunities& o = OpportunitiesOf(f);
    if (++o.made > o.given)
      Report(f, "attacks-of-opportunity",
             Format("attack of opportunity %d since its turn, which left it %d", o.made, o.given));
    return;
  }
  Turn& t = CurrentTurn();
  if (!t.started) StartTurn(t);
  OwnAttack(t, w);
}

// --- Squares paid for ---------------------------------------------------------------

// A charge stops at the first square of its way beside its target (the
// action's target as it sets off): it is laid to that square, and runs on
// from no square beside the target but the one it set off from.
void JudgeCharge(Turn& t, int mover, int fromX, int fromY) {
  const CreatureRecord& c = Creatures[mover];
  if (!t.charged) {
    t.chargeTarget = ActionTarget;
    t.chargeFromX = fromX;
    t.chargeFromY = fromY;
    t.chargeToX = c.destinationX;
    t.chargeToY = c.destinationY;
  }
  const int target = t.chargeTarget;
  if (target == mover || !IsValidCreature(target)) return;
  const bool setOffHere = fromX == t.chargeFromX && fromY == t.chargeFromY;
  if (!setOffHere && NextToAt(mover, fromX, fromY, target))
    Report(mover, "charge",
           Format("runs on from %d,%d beside its target creature %d to %d,%d", fromX, fromY, target, c.nextX, c.nextY));
  else if (NextToAt(mover, c.nextX, c.nextY, target) && (c.nextX != t.chargeToX || c.nextY != t.chargeToY))
    Report(mover, "charge",
           Format("reaches %d,%d beside its target creature %d, laid to run on to %d,%d", c.nextX, c.nextY, target,
                  t.chargeToX, t.chargeToY));
}

// What closes a square to a charge's line beside walls and creatures: an
// insect plague, a solid area.
constexpr std::pair<uint32_t, const char*> kClosingAreas[] = {{kEffectInsectPlague, "an insect plague"},
                                                              {kEffectSolid, "a solid area"}};

// Why the charger's footprint may not stand on (x, y) along a charge's line,
// in words, or "": a square of it off the map, closed (not open floor), in
// an area that closes a charge's line, on difficult floor (codes 123, 124)
// or where another creature of the order stands.
std::string ClosedToACharge(int mover, int x, int y) {
  const CreatureRecord& c = Creatures[mover];
  for (int u = x; u < x + std::max(c.footprintWidth.current, 1); ++u)
    for (int v = y; v < y + std::max(c.footprintHeight.current, 1); ++v) {
      if (!CurrentMap.Inside(u, v)) return Format("%d,%d off the map", u, v);
      const int sq = SquareIndex(u, v);
      if (BlockedGrid[sq] != kSquareFlooded) return Format("%d,%d, no open floor", u, v);
      for (const auto& [kind, name] : kClosingAreas)
        if (MagicAreaGrid[sq].kind == kind) return Format("%d,%d in %s", u, v, name);
      const int32_t floor = CurrentMap.At(kLayerFloor, u, v);
      if (floor == 123 || floor == 124) return Format("%d,%d, difficult floor", u, v);
      for (const TurnOrderEntry& e : Entries()) {
        const int o = e.creature;
        if (!IsValidCreature(o)) continue;
        if (o == mover || IsFallen(o)) continue;
        const CreatureRecord& r = Creatures[o];
        if (u >= r.squareX && u < r.squareX + std::max(r.footprintWidth.current, 1) && v >= r.squareY &&
            v < r.squareY + std::max(r.footprintHeight.current, 1))
          return Format("%d,%d, where creature %d stands", u, v, o);
      }
    }
  return "";
}

// A charge runs along a straight line over squares open to it: its steps
// go at most two ways of the eight, neighbours (a line's run along its
// longer axis and its diagonal: the steps differ by one square along one
// axis at most), and each square its footprint enters is on the map, open
// floor, in no area that closes a charge's line, off difficult floor and
// free of every other creature.
void JudgeChargePath(Turn& t, int mover, int fromX, int fromY) {
  const CreatureRecord& c = Creatures[mover];
  const int sx = c.nextX - fromX, sy = c.nextY - fromY;
  if (!t.charged) {
    t.stepLowX = t.stepHighX = sx;
    t.stepLowY = t.stepHighY = sy;
  }
  t.stepLowX = std::min(t.stepLowX, sx);
  t.stepHighX = std::max(t.stepHighX, sx);
  t.stepLowY = std::min(t.stepLowY, sy);
  t.stepHighY = std::max(t.stepHighY, sy);
  if (t.stepHighX - t.stepLowX + t.stepHighY - t.stepLowY > 1)
    Report(mover, "charge",
           Format("turns off its straight line from %d,%d to %d,%d (set off from %d,%d)", fromX, fromY, c.nextX,
                  c.nextY, t.chargeFromX, t.chargeFromY));
  else if (const std::string closed = ClosedToACharge(mover, c.nextX, c.nextY); !closed.empty())
    Report(mover, "charge", Format("runs onto %s", closed.c_str()));
}

void OnSquare(int mover, int32_t code, int fromX, int fromY) {
  if (!g_watch.on || InCombat != 1 || !IsValidCreature(mover)) return;
  if (mover != CurrentFighter()) {
    Report(mover, "out-of-turn", Format("moves in the turn of creature %d (code %d)", CurrentFighter(), code));
    return;
  }
  Turn& t = CurrentTurn();
  if (!t.started) StartTurn(t);
  NoteAction(t);
  const CreatureRecord& c = Creatures[mover];
  if (t.ended) Report(mover, "after-turn", Format("moves to %d,%d after its turn ended", c.nextX, c.nextY));
  if (const char* held = CannotMove(mover); held[0] != '\0')
    Report(mover, "cannot-act", Format("moves to %d,%d while %s", c.nextX, c.nextY, held));
  t.speed = std::max(t.speed, c.speed.current);
  const int squares = std::max(std::abs(c.nextX - fromX), std::abs(c.nextY - fromY));
  if (code == kActionFiveFootStep || code == kActionStepAndAttack) {
    if (t.stepTaken) Report(mover, "five-foot-step", "a second five-foot step");
    if (t.moveSquares > 0) Report(mover, "five-foot-step", Format("a five-foot step after %d squares moved", t.moveSquares));
    if (squares > 1) Report(mover, "five-foot-step", Format("a five-foot step of %d squares", squares));
    t.stepTaken = true;
    t.stepSquares += squares;
    return;
  }
  if (t.stepTaken) Report(mover, "five-foot-step", Format("moves on (code %d) after a five-foot step", code));
  JudgeReactions(t, mover, code, fromX, fromY, code == kActionCharge && !t.charged && CombatAction.playerControlled == 0);
  if (code == kActionCharge) {
    JudgeCharge(t, mover, fromX, fromY);
    JudgeChargePath(t, mover, fromX, fromY);
    t.charged = true;
    t.pounces = c.special[kSenseKindWord] == kSenseCodePounce;
  }
  t.moveSquares += std::max(squares, 1);
  t.paid += std::max(CalculateMoveCost(mover, c.nextX, c.nextY, fromX, fromY, 1), kFeetPerSquare * squares);
}

// --- Frames ----------------------------------------------------------------------------

}  // namespace

namespace {

void CheckRanges() {
  for (const TurnOrderEntry& entry : Entries()) {
    const int c = entry.creature;
    if (!IsValidCreature(c)) continue;
    const CreatureRecord& r = Creatures[c];
    if (r.hitPoints > r.maxHitPoints + TemporaryHitPointAllowance(c))
      Report(c, "hit-points", Format("%d hit points of %d", r.hitPoints, r.maxHitPoints));
    if (IsDeadNow(c) && PlaybackCreature == -1)
      Report(c, "dead-in-order", Format("in the turn order at %d hit points%s", r.hitPoints,
                                        Has(c, kCondDead) ? ", Dead" : ""));
    for (const ConditionEntry& e : r.conditions) {
      if (e.id == 0) continue;
      const bool lasting = e.duration == kDurationLasting || e.duration == kDurationUntilRest || e.duration == 3000;
      if (e.duration < 0 || (e.duration >= kDurationLasting && !lasting))
        Report(c, "duration", Format("%s lasts %d rounds", ConditionName(e.id), e.duration));
    }
    // Left at most what its turn gave: the most it had a round since its
    // turn refilled them (a number that falls with Dexterity leaves those given).
    int32_t& most = OpportunitiesOf(c).most;
    most = std::max(most, OpportunitiesARound(c));
    if (r.attacksOfOpportunityLeft < 0 || r.attacksOfOpportunityLeft > most)
      Report(c, "attacks-of-opportunity", Format("%d attacks of opportunity left of %d a round",
                                                 r.attacksOfOpportunityLeft, most));
    const int32_t held = r.ammunition.count;
    if (held < 0 || (held > 0 && r.ammunition.code < static_cast<uint32_t>(kFirstBaseItemCode)))
      Report(c, "ammunition", Format("%d pieces of ammunition of item %u", held, r.ammunition.code));
    const auto it = g_watch.ammunition.emplace(c, held).first;
    if (held > it->second)
      Report(c, "ammunition", Format("ammunition rose from %d to %d", it->second, held));
    it->second = held;
  }
}

void WatchBudget(Turn& t) {
  const CombatActionState& a = CombatAction;
  const int f = t.fighter;
  const std::pair<int32_t*, int32_t> words[] = {
      {&t.full, a.fullRoundActionLeft}, {&t.standard, a.standardActionLeft}, {&t.move, a.moveActionLeft}};
  static const char* const kNames[] = {"full-round", "standard", "move"};
  for (int k = 0; k < 3; ++k) {
    auto [seen, now] = words[k];
    if (*seen == 0 && now != 0)
      Report(f, "actions", Format("the %s action came back (action %d)", kNames[k], a.actionCode));
    *seen = now;
  }
}

// A row of the spell table: past its rows a use is of Turn Undead (998) or a
// breath or gaze (999).
bool InSpellTable(int32_t spell) { return static_cast<uint32_t>(spell) < static_cast<uint32_t>(kSpellRows); }

// A cast of a spell of the table with no gesture, or stilled (Turn Undead,
// a breath or a gaze is a deed of the body).
bool StillCast(int32_t spell, int32_t metamagic) {
  if (!InSpellTable(spell)) return false;
  return SpellTable[spell].somatic == 0 || metamagic == kMetamagicStilled;
}

// Each cast is counted as its use starts (one may start in the frame the
// last one ended); a held casting resumed was counted as it began. A cast
// begins, and is announced (each frame of it), only while the caster's
// conditions leave it the cast: from an item (as it began, a held casting
// resumed too) never while Paralyzed.
void WatchCast(Turn& t) {
  const bool starts = ScreenMode == kModeCastStart &&
                      (g_watch.lastMode != kModeCastStart || g_watch.lastSpell != SpellInProgress);
  const bool ends = ScreenMode == kModeCastAnnounce;
  if (SpellInProgress != -1 && SpellCaster == t.fighter && (starts || ends)) {
    if (starts && !t.resumed) {
      ++t.casts;
      t.castFromItem = CastingFromItem == 1;
    }
    const bool still = StillCast(SpellInProgress, PendingMetamagic) && !t.castFromItem;
    if (const char* held = HeldFrom(t.fighter, false, still); held[0] != '\0')
      Report(t.fighter, "cannot-act",
             Format("%s a cast of spell %d%s while %s", starts ? "begins" : "ends in", SpellInProgress,
                    t.castFromItem ? " from an item" : "", held));
  }
  t.resumed = false;
}

// --- Areas ---------------------------------------------------------------------------

// A cone or a burst looks at the offsets from -10 to 9 squares along each
// axis from its origin or centre.
constexpr int kWindow = 10;
constexpr int kOut = 99;  // the reach of a square out of a shape

// The cone of direction 1 (north, up the map) and of direction 2 (north-
// east), row by row from the row above the origin (dy -1) up: each
// character the reach of its square (1 to 9, 'a' 10, '.' out of the cone),
// the north cone's rows from dx -10 to 10, the north-east one's from dx 1
// to 10.
constexpr const char* kNorthCone =
    "..........1.........."
    ".........222........."
    "........43334........"
    ".......5544455......."
    "......765555567......"
    ".....87766666778....."
    "....9988777778899...."
    "....aa998888899aa...."
    ".....aaa99999aaa....."
    ".......aaaaaaa.......";
constexpr const char* kNorthEastCone =
    "123456789a"
    "23456789a."
    "34456789a."
    "4556789a.."
    "5667789a.."
    "677889a..."
    "78899a...."
    "899aa....."
    "9aa......."
    "a.........";

// The reach of the cone of direction d (1 north to 8 north-west, clockwise)
// at the offset from its origin: directions 3, 5 and 7 (4, 6 and 8) are 1
// (2) turned a quarter clockwise once, twice and three times, so the offset
// is turned back as often.
int ConeReach(int direction, int dx, int dy) {
  for (int turn = 0; turn < (direction - 1) / 2; ++turn) {
    const int x = dx;
    dx = dy;
    dy = -x;
  }
  const bool diagonal = direction % 2 == 0;
  const int width = diagonal ? kWindow : 2 * kWindow + 1;
  const int row = -dy - 1, column = diagonal ? dx - 1 : dx + kWindow;
  if (static_cast<unsigned>(row) >= static_cast<unsigned>(kWindow) ||
      static_cast<unsigned>(column) >= static_cast<unsigned>(width))
    return kOut;
  const char reach = (diagonal ? kNorthEastCone : kNorthCone)[row * width + column];
  return reach == '.' ? kOut : reach == 'a' ? kWindow : reach - '0';
}

// The compass code of the offset: 1 up the map, then clockwise to 8, each
// the nearest eighth of a turn.
int Compass(int dx, int dy) {
  const double eighth = std::atan(1.0);
  return (static_cast<int>(std::lround(std::atan2(dx, -dy) / eighth)) + 8) % 8 + 1;
}

// The footprint square nearest to v along one axis (its own first square
// for a footprint of none).
int NearestAlong(int from, int size, int v) { return std::max(from, std::min(v, from + size - 1)); }

// Squares along one axis from the corner after square `from` to square v.
int FromCorner(int from, int v) { return std::max(v - from, from + 1 - v); }

// An area and where it is measured from: a burst from the corner its centre
// square shares with its +x, +y neighbours (each second diagonal square
// counting two), a cone by its template from the caster's square nearest
// its aim, a line by the straight length from there (its end square
// rounded along each axis), a rectangle from its aimed corner along either
// axis.
enum class Shape { kNone, kBurst, kCone, kLine, kRectangle };
struct Area {
  Shape shape = Shape::kNone;
  const char* name = "";
  int squares = 0;  // the reach
  int x = 0, y = 0;  // the centre, origin or corner
  int direction = 0;  // a cone's
  bool traced = true;  // a cone's squares need a clear line from its origin (a spreading one floods instead)
  int endX = 0, endY = 0;  // a line's end square
};

// A line reaching that many squares from (x, y) toward the aim: it ends on
// the square that far along the way to the aim, rounded along each axis.
Area LineToward(int squares, int x, int y, int aimX, int aimY) {
  Area a{Shape::kLine, "line", squares, x, y};
  const double way = std::atan2(aimX - x, y - aimY);
  a.endX = static_cast<int>(std::floor(x + squares * std::sin(way) + 0.5));
  a.endY = static_cast<int>(std::floor(y - squares * std::cos(way) + 0.5));
  return a;
}

// The line holds the square: one of the squares past its origin, up to its
// end, along its longer axis (a diagonal's along y), the one of each column
// (or row) whose centre lies less than half a square across that axis from
// the straight line between the centres of its origin and its end.
bool OnLine(const Area& a, int x, int y) {
  const int dx = a.endX - a.x, dy = a.endY - a.y;
  const bool alongX = std::abs(dx) > std::abs(dy);
  const int length = std::abs(alongX ? dx : dy), slope = alongX ? dy : dx;
  const int along = (alongX ? x - a.x : y - a.y) * ((alongX ? dx : dy) < 0 ? -1 : 1);
  const int across = alongX ? y - a.y : x - a.x;
  return along >= 1 && along <= length && 2 * std::abs(across * length - slope * along) < length;
}

// The offset lies in the window of a cone or a burst.
bool InWindow(int dx, int dy) { return std::max(dx, dy) < kWindow && std::min(dx, dy) >= -kWindow; }

// How far the square lies from where the area is measured.
int AreaDistance(const Area& a, int x, int y) {
  const int dx = x - a.x, dy = y - a.y;
  switch (a.shape) {
    case Shape::kBurst: {
      const int p = FromCorner(a.x, x), q = FromCorner(a.y, y);
      return InWindow(dx, dy) ? std::max(p, q) + std::min(p, q) / 2 : kOut;
    }
    case Shape::kCone:
      return InWindow(dx, dy) ? ConeReach(a.direction, dx, dy) : kOut;
    case Shape::kLine:
      return static_cast<int>(std::ceil(std::hypot(dx, dy) - std::sqrt(0.5)));
    default:
      return std::max(std::abs(dx), std::abs(dy));
  }
}

// The nearest square of the creature's footprint, measured as the area is.
int NearestOfFootprint(const Area& a, int c) {
  const CreatureRecord& r = Creatures[c];
  int nearest = kOut;
  for (int x = r.squareX; x < r.squareX + std::max(r.footprintWidth.current, 1); ++x)
    for (int y = r.squareY; y < r.squareY + std::max(r.footprintHeight.current, 1); ++y)
      nearest = std::min(nearest, AreaDistance(a, x, y));
  return nearest;
}

// The area of the use under way: Turn Undead a cone of 20 feet, a breath
// weapon a cone of 20, 30 or 40 feet or a line of 40, 60 or 80 by the
// breather's size (up to Medium, Large, Huge and above), a spell its own
// area (its first size doubled when widened): a burst round its caster or
// its aimed square, a cone or a line from its caster toward its aim, a
// rectangle from its aimed corner. A use of one creature has none.
Area AreaOfUse(int caster, int32_t spell) {
  const CreatureRecord& k = Creatures[caster];
  const int aimX = CastingUse.aimX, aimY = CastingUse.aimY;
  Area a{Shape::kCone, "cone", 4};
  a.x = NearestAlong(k.squareX, k.footprintWidth.current, aimX);
  a.y = NearestAlong(k.squareY, k.footprintHeight.current, aimY);
  a.direction = Compass(aimX - a.x, aimY - a.y);
  if (spell == kSpellTurnUndead) return a;
  if (spell == kSpellSpecialAttack) {
    const bool line = SpecialAttackOf(SpecialAttackKindOf(caster)).line == 1;
    const int32_t size = k.size.current;
    a.squares = (size <= 3 ? 4 : size == 4 ? 6 : 8) * (line ? 2 : 1);
    return line ? LineToward(a.squares, a.x, a.y, aimX, aimY) : a;
  }
  if (!InSpellTable(spell)) return Area{};
  const SpellRecord& s = SpellTable[spell];
  a.squares = s.areaSize * (PendingMetamagic == kMetamagicWidened ? 2 : 1) / kFeetPerSquare;
  a.traced = s.areaWord == 0;
  switch (s.target) {
    case kAimCone:
      return a;
    case kAimLine:
      return LineToward(a.squares, a.x, a.y, aimX, aimY);
    case kAimCentered:
      return Area{Shape::kBurst, "burst", a.squares, k.squareX, k.squareY};
    case kAimCircle: case kAimCircleBurst:
      return Area{Shape::kBurst, "burst", a.squares, aimX, aimY};
    case kAimRectangle:
      return Area{Shape::kRectangle, "rectangle", a.squares - 1, aimX, aimY};
    default:
      return Area{};
  }
}

// The use takes the creature by its sides: a breath everyone, Turn Undead
// the undead, a spell with neither side word everyone; one for allies the
// creatures that are not the caster's enemies (the caster too), one for
// enemies its enemies; a mass cure (a burst) only the living friends and
// the undead foes, a mass infliction the reverse.
bool TakenBySides(int caster, int32_t spell, int c) {
  if (spell == kSpellTurnUndead) return Creatures[c].type == kTypeUndead;
  if (!InSpellTable(spell)) return true;
  const SpellRecord& s = SpellTable[spell];
  const bool foe = Foes(c, caster);
  if ((s.beneficial != 0 || s.targeting != 0) && !((s.beneficial == 1 && !foe) || (s.targeting == 1 && foe)))
    return false;
  if (IsSpellInSetC(spell)) return IsAreaFriend(c, caster);
  return !IsSpellInSetD(spell) || IsAreaFoe(c, caster);
}

bool Walled(int x, int y) { return CurrentMap.At(kLayerWalls, x, y) != 0; }
bool Solid(int x, int y) { return MagicAreaGrid[SquareIndex(x, y)].kind == kEffectSolid; }

// Open floor (no wall stands on it) no effect lies on: a burst covers it
// wherever it reaches.
bool OpenFloor(int x, int y) {
  return BlockedGrid[SquareIndex(x, y)] == kSquareFlooded && MagicAreaGrid[SquareIndex(x, y)].kind == kEffectNone;
}

// A burst whose window holds, nearer than its reach and inside the map, a
// square that is not open floor: each square then needs a line or the
// spread from the centre.
bool Obstructed(const Area& a) {
  for (int x = a.x - kWindow; x < a.x + kWindow; ++x)
    for (int y = a.y - kWindow; y < a.y + kWindow; ++y)
      if (CurrentMap.Inside(x, y) && AreaDistance(a, x, y) < a.squares &&
          BlockedGrid[SquareIndex(x, y)] != kSquareFlooded)
        return true;
  return false;
}

// The shape plainly holds the square: within its reach (and window), a
// burst's on open floor, a cone's, or a line's square, free of walls and
// solid areas with no wall or solid area in the box between it and the
// origin (so that the line to it is clear).
bool Holds(const Area& a, int x, int y) {
  if (!CurrentMap.Inside(x, y) || AreaDistance(a, x, y) > a.squares) return false;
  if (a.shape == Shape::kBurst) return OpenFloor(x, y);
  if (a.shape == Shape::kLine && !OnLine(a, x, y)) return false;
  for (int u = std::min(x, a.x); u <= std::max(x, a.x); ++u)
    for (int v = std::min(y, a.y); v <= std::max(y, a.y); ++v)
      if (Walled(u, v) || Solid(u, v)) return false;
  return true;
}

// The use lists the creature (the list's free entries hold -1).
bool Listed(int c) {
  for (const int32_t t : AreaTargetList)
    if (t == c) return true;
  return false;
}

// The creatures the use takes, as it is announced: none beyond its area's
// reach, a turning only undead, and every creature of the order a burst, a
// line or a traced cone plainly holds (a burst whose window is not open floor
// within its reach needs lines or the spread, and is not judged so) that
// its sides take. (No two creatures of the order share a square, which
// would leave the area the first of them alone.)
void JudgeArea() {
  const int caster = SpellCaster;
  const int32_t spell = SpellInProgress;
  if (!IsValidCreature(caster)) return;
  const Area a = AreaOfUse(caster, spell);
  for (const int32_t c : AreaTargetList) {
    if (!IsValidCreature(c)) break;
    if (spell == kSpellTurnUndead && Creatures[c].type != kTypeUndead)
      Report(caster, "turning", Format("Turn Undead takes creature %d of type %d, not undead", c, Creatures[c].type));
    const int away = NearestOfFootprint(a, c);
    if (a.shape != Shape::kNone && away > a.squares)
      Report(caster, "area",
             Format("a %s of spell %d reaching %d squares from %d,%d takes creature %d on %d,%d, %d squares away",
                    a.name, spell, a.squares, a.x, a.y, c, Creatures[c].squareX, Creatures[c].squareY, away));
  }
  const bool burst = a.shape == Shape::kBurst;
  if (!(burst || a.shape == Shape::kLine || (a.shape == Shape::kCone && a.traced)) || (burst && Obstructed(a))) return;
  for (const TurnOrderEntry& e : Entries()) {
    const int c = e.creature;
    if (!IsValidCreature(c)) continue;
    if (Listed(c) || !TakenBySides(caster, spell, c)) continue;
    const CreatureRecord& r = Creatures[c];
    for (int x = r.squareX; x < r.squareX + std::max(r.footprintWidth.current, 1); ++x)
      for (int y = r.squareY; y < r.squareY + std::max(r.footprintHeight.current, 1); ++y)
        if (Holds(a, x, y))
          Report(caster, "area",
                 Format("a %s of spell %d reaching %d squares from %d,%d holds creature %d on %d,%d and leaves it out",
                        a.name, spell, a.squares, a.x, a.y, c, x, y));
  }
}

// What the step to come starts from.
void LookAtFighters() {
  for (const TurnOrderEntry& e : Entries()) {
    if (IsValidCreature(e.creature))
      g_watch.looks[e.creature] =
          Watch::Look{OpportunitiesARound(e.creature), Creatures[e.creature].attacksOfOpportunityLeft, e.plannedAction};
  }
}

}  // namespace

void StartTurnWatch(uint32_t seed) {
  g_watch = Watch{};
  g_watch.on = true;
  g_watch.seed = seed;
  LookAtFighters();
  AttackObserver = OnAttack;
  SquarePaidObserver = OnSquare;
}

void WatchDecision() {
  if (!g_watch.on) return;
  const int f = CurrentFighter();
  if (!IsValidCreature(f)) return;
  Turn& t = CurrentTurn();
  if (!t.started) StartTurn(t);
  if (IsFallen(f)) Report(f, "cannot-act", Format("decides at %d hit points, present %d", Creatures[f].hitPoints,
                                                  Creatures[f].present));
  if (t.ended) Report(f, "after-turn", "decides after its turn ended");
}

void WatchFrame() {
  if (!g_watch.on || InCombat != 1) return;
  Turn& t = CurrentTurn();
  if (t.open) {
    if (t.started) {
      WatchBudget(t);
      WatchCast(t);
    } else if (CombatState == kStatePlayerTurn || CombatState == kStateComputerDecision ||
               CombatState == kStateActionUnderWay) {
      StartTurn(t);
    }
    NoteAction(t);
    if (CombatState == kStateNextFighter) t.ended = true;
  }
  if (ScreenMode == kModeCastAnnounce) JudgeArea();
  LookAtFighters();
  g_watch.lastSpell = SpellInProgress;
  g_watch.lastMode = ScreenMode;
  if (CombatAction.actionCode != g_watch.endCode) ++g_watch.action;
  g_watch.endCode = CombatAction.actionCode;
}

std::vector<Breach> EndTurnWatch() {
  if (g_watch.on) {
    CloseTurn();
    for (const auto& [fighter, turn] : g_watch.heldTurns) JudgeTurn(turn);
    if (InCombat == 1) CheckRanges();
  }
  AttackObserver = nullptr;
  SquarePaidObserver = nullptr;
  g_watch.on = false;
  return std::move(g_watch.breaches);
}

std::string BreachLine(const Breach& b) {
  return Format("breach seed=%u round=%d fighter=%d rule=%s seen=%s", b.seed, b.round, b.fighter, b.rule.c_str(),
                b.seen.c_str());
}

}  // namespace battles
