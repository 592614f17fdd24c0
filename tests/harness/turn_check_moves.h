// The moves the battle check's own cases make in a watched battle: a
// fighter armed and outfitted afresh, its walks, blows, shots, grapples and
// casts handed to the watch as the game hands them, attacks of opportunity
// provoked, turns ended, taken up again and come round in the next round.
#pragma once
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

#include "rules/attack_profile.h"
#include "state/combat_action.h"

namespace turn_cases {

// The party's side (its allies with it) or the other.
bool PartySide(int c);

// Steps the watched battle until the computer is about to decide a turn
// with its whole budget: a turn of the second round, or with surprise one of
// the surprise round (round 1, a single action), or, given the side of the
// fighter of such a turn (1 the party's, 2 the other), a turn of round 3 or
// later of a fighter of the other side; returns the fighter.
int UpToADecision(bool surprise = false, int otherThanSide = 0);

// A foe of the fighter still standing on the map, or -1.
int FoeOf(int f);

// The creature takes the condition for three rounds.
void Give(int c, uint32_t condition);

// A creature of the fighter's side other than it, or -1.
int AllyOf(int f);

// The creature is put on the square right of the other's footprint (left of
// it at the map's edge).
void Beside(int c, int other);

// The creature is put on the square below the other's footprint (above it at
// the map's edge).
void Below(int c, int other);

// The fighter's foes standing on the map, in the order of the turn.
std::vector<int> FoesInOrder(int f);

// Squares paid for back and forth beside the fighter's square, each of
// `stride` squares; a charge's straight on along its row (away from the
// squares Beside and Below put a creature on), over squares opened for it.
void Walk(int f, int squares, int32_t code, int stride = 1);

// Raises the fighter's speed the least so that `times` its speed falls a
// foot short of whole squares; returns the squares that go a foot past it.
int SquaresAFootPast(int f, int times);

// A profile of one entry of that kind giving count attacks, or the two
// natural attacks (slots 0 and 1) of one each.
AttackProfile Blows(int32_t kind, int32_t count);

// The crafted rows the fighters are armed from: a longsword (in the last row,
// the one below the base items), a shortbow, a light and a heavy crossbow, a
// shield; a dagger, a dwarven waraxe, a tower shield, armour, a longbow, a
// greatsword and a rapier made for two hands.
constexpr uint32_t kLongsword = 4999, kShortbow = 4997, kLightCrossbow = 4996, kHeavyCrossbow = 4995, kShield = 4994;
constexpr uint32_t kDagger = 4993, kWaraxe = 4992, kTowerShield = 4991, kArmour = 4990, kLongbow = 4989,
                   kGreatsword = 4988, kTwoHandedRapier = 4987;

// Those rows, and row 0 (no item), which a case may fill with junk.
constexpr uint32_t kTestRows[] = {kLongsword, kShortbow, kLightCrossbow, kHeavyCrossbow, kShield, kDagger, kWaraxe,
                                  kTowerShield, kArmour, kLongbow, kGreatsword, kTwoHandedRapier, 0};

// The fighter takes a longsword in its right hand and nothing else: no
// ranged weapon, no natural attacks, base attack bonus 1 and no two-weapon
// feats: one blow.
void Outfit(int f);

// The fighter's profile as the game builds it, against the foe (in its
// second form, or for a grapple).
AttackProfile ProfileOf(int f, int foe, int32_t alternate = 0, uint8_t grapple = 0);

// A profile of entries of those kinds, one attack each.
AttackProfile Entries(std::initializer_list<int32_t> kinds);

// Hit points at which the creature is dead (a party member's reach -10).
int32_t DeadAt(int c);

// The fighter's attack on the target with that entry of the profile, as the
// game hands it to the watch.
void Attack(int f, int target, const AttackProfile& p, int entry = 0);

void Frame(uint32_t screenMode = 0);

// One blow with each melee form of the game's profile of the fighter as its
// record stands, or one shot when it has a ranged weapon alone: the check
// holds each against the rules.
void EachFormOnce(int f, int foe, int32_t alternate = 0);

// The fighter's weapons: the longsword's grip and speed, what the left hand
// holds and the ranged slot (0: none).
void Wield(int f, int32_t grip, int32_t speed, uint32_t left, uint32_t ranged);

// A shot of that ranged weapon alone at base attack bonus 6, the fighter
// with Rapid Reload or not, hasted or not.
void ShotOf(int f, int foe, uint32_t weapon, int32_t rapidReload, bool hasted);

void NaturalAttacks(int f, std::initializer_list<std::pair<int32_t, int32_t>> kindsAndCounts);

// The fighter fights with a bite and a gore of one each, no weapon.
void BiteAndGore(int f);

// A blow of the bite (entry 0) or the gore (entry 1).
void NaturalBlow(int f, int target, int entry);

// A shot of one with the shortbow, the sword put away: the second entry
// (the first, melee, empty).
void Shoot(int f, int target);

// A shot of one, then a second as a sword drawn and a bite move the bow to
// the third entry: the first shot of that entry.
void TwoShotsOfOne(int f, int target);

// A grapple attack with a bite.
void Grapple(int f, int target);

// Blows of the sword (one, or two at base attack bonus 6, the second 5
// lower), then one of a bite of no attacks: a form the rules count with none.
void BlowsBesideABiteOfNone(int f, int target, int32_t swordBlows);

void AttackTwice(int f, int target, const AttackProfile& p);

// Blows of a weapon of two attacks (base attack bonus 6), each at the
// falling bonus given, with a natural attack besides.
void BlowsOfTwo(int f, int target, std::initializer_list<int32_t> fallingBonuses);

// A hasted fighter's blows of a weapon of two attacks (three with the haste),
// each at the falling bonus given.
void HastedBlows(int f, int target, std::initializer_list<int32_t> fallingBonuses);

// Blows with the first entry of the game's profile at base attack bonus 16
// (four a turn), one for each pair of items held in the right and left
// hands: each profile, natural attacks beside the items, held against the
// rules.
void BlowsHolding(int f, int foe, std::initializer_list<std::pair<uint32_t, uint32_t>> hands);

// The creature takes Combat Reflexes at Dexterity 12, the least that gives
// it a second attack of opportunity a round, and has that many left.
void ReflexesAtTheirEdge(int c, int32_t left);

// The reactor, put next to the fighter whose turn it is, makes an attack of
// opportunity while the fighter's action has that code (the fighter's target
// the reactor); a frame ends the act.
void Provoke(int f, int reactor, int32_t code, int target = -2);

// The same in a cast of the fighter's, defensive or not.
void ProvokeByCasting(int f, int foe, int32_t defensive);

void ProvokeByReloading(int f, int foe, uint32_t crossbow, int32_t rapidReload);

// The reactor, put next to the fighter whose turn it is, its entry readied
// against an approach, makes that many attacks on the target (the fighter
// unless given) while the fighter's action has that code, its readied action
// left unspent between them, and spent after; a frame follows each.
void ReadiedAttacks(int f, int reactor, int32_t code, int attacks = 1, int target = -2);

// --- Squares left beside foes ----------------------------------------------------

// The first two foes in the order of the turn, each with an attack of
// opportunity left, no Combat Reflexes and no sense but sight, are put next
// to the fighter's square (right of it and below it), and the first makes
// an attack of opportunity against the act of the code; returns them.
std::pair<int, int> TwoFoesBeside(int f, int32_t code);

// The fighter walks off its square and back, the foe beside it kept from
// reacting by one thing at a time: each condition that keeps it from a blow
// or a reaction (flat-footed without Combat Reflexes among them), deafness
// or silence where it senses by hearing, a curse (which may cost it the
// reaction), no attack of opportunity left, off the map, the fighter
// invisible to it; an ally with one left stands beside it first.
void WalkOffBesideFoesKeptFromReacting(int f, int foe);

// The first three foes each make an attack of opportunity against the act of
// a walk, a move and attack and a charge, each before the fighter leaves the
// square beside it by that act.
void ReactionsBeforeEachMove(int f);

// --- Held creatures' deeds -----------------------------------------------------

// The fighter's hold check against the foe (a grapple's, a pin's or an
// escape's) under the action of the code.
void HoldCheck(int f, int foe, int32_t code);

// A cast of the spell by the fighter, its row given that somatic word for
// the cast (put back after), stilled or not, from an item or not: its start,
// its checks, the caster given the condition `amid` (0: none) amid them, and
// its announcement, or when not `announced` the spell lost.
void CastSpell(int f, int32_t spell, int32_t somatic, int32_t metamagic, uint8_t fromItem, uint32_t amid = 0,
               bool announced = true);

// Two squares of a charge, the foe then beside the fighter, and both natural
// attacks on it; sense code 3 pounces.
void ChargeAndFullAttack(int f, int foe, int32_t sense);

// Knocked off the map: fallen, not dead.
void Fell(int c);

// The fighter takes its shortbow alone at base attack bonus 6: the profile
// of two shots.
AttackProfile ShotsOfTwo(int f);

// A blow that fells the foe, then two cleaves each felling the next foe.
void TwoCleaves(int f, int foe, int32_t greatCleave);

// Under that action code: a blow (or shot) that fells the foe, then one
// at the next foe, a cleave or not.
void OnAfterAKill(int f, int foe, int32_t code, bool shots, bool cleave);

// Steps the battle through the turns of the next fighters.
void StepTurns(int turns);

void EndTheTurn();

void StartCast(int f);

void Stun(int f);

// The fighter, held by the condition, strikes the foe with one blow, walks a
// square or decides; the condition is taken off again after.
void AttackWhile(int f, int foe, uint32_t condition);
void WalkWhile(int f, uint32_t condition);
void DecideWhile(int f, uint32_t condition);

// How a held casting comes back: resumed as its entry comes up (the held
// code cleared in that step), dropped a frame before, still held as the
// entry comes up, held only after the caster's turn had closed, or resumed
// after a turn of the caster that came while it was held and never started.
enum class Held { kResumed, kDropped, kStillHeld, kLate, kPassedOver };

// The fighter's casting yields to a readied foe (held code 27: its block is
// given back as it resumes), in the turn of a foe that passes it makes an
// attack of opportunity against the foe's shot, and the casting resumes with
// its standard action and its attacks of opportunity as given back.
// `paralysed`: the caster is Paralyzed while its casting is held, and the
// casting resumes with its item forgotten (the source word cleared).
void YieldAndResume(int f, int32_t standardGivenBack, int32_t opportunitiesGivenBack, int32_t code = 27,
                    Held how = Held::kResumed, bool paralysed = false);

// --- Turns ended, taken up again and in the next round ---------------------------

// The creature's entry in the turn order (0 when it has none: the
// creatures of these cases all have one).
int EntryOf(int c);

// The entry's turn comes up, in that state.
void TurnComes(int entry, int32_t state = kStateComputerDecision);

// The fighter's turn ends and the next foe's in the order comes, in which
// the fighter makes an attack of opportunity against the foe's shot; returns
// the foe.
int ReactInAFoesTurn(int f);

// The fighter's turn ends and its next comes in the next round, in that state.
void ItsNextRound(int f, int32_t state = kStateComputerDecision);

// After an attack of opportunity in a foe's turn (not taken off what it has
// left) the fighter's entry, holding that action, comes up in the next round,
// and the fighter makes another in the foe's turn after it.
void ReactAcrossItsNextTurn(int f, int32_t held);

// With four attacks of opportunity a round, the fighter's turn taken up
// again after an attack of opportunity gives back the one taken off; after
// a second, not taken off, it gives none back.
void TakenUpAgainAfterReacting(int f);

// The fighter's first condition slot holds that condition.
void FirstCondition(int c, uint32_t id, int32_t duration = 3);

// The foe's conditions last 0 rounds, 999 (the most below the lasting
// marks), until rest and 3000 rounds (each a lasting mark the game writes),
// and an empty slot keeps a stale -1.
void EdgesOfDuration(int foe);

// Frames of the casting screen: with no spell, with a foe's spell, and one
// cast of the fighter's over two frames.
void CastingScreens(int f, int foe);

// A weapon's two blows (base attack bonus 6), both at the full bonus, with a
// natural attack besides; the roll's modifier list holds that many pairs,
// none the falling bonus: one of no source and one of no value among them.
void TwoBlowsWithPairs(int f, int target, int pairs);

// --- Charges and areas ----------------------------------------------------------

// The fighter charges the foe standing on (34, 20) (both of one square),
// every other fighter put far off, on open floor: set off from (30, 20) plus
// `from`, laid to (30, 20) plus `laidTo`, it pays for the squares (30, 20)
// plus each step in turn, `onTheWay` (when given) having laid what else
// stands there. The foe has no attack of opportunity left. Unless `named`,
// the action's target is the charger (as a reaction leaves it).
void ChargeOver(int f, int foe, std::pair<int, int> from, std::pair<int, int> laidTo,
                std::initializer_list<std::pair<int, int>> steps, bool named = true,
                const std::function<void()>& onTheWay = {});

// The creature is put on the square (its footprint of that many squares a
// side).
void PutOn(int c, int x, int y, int footprint = 1);

// Every fighter of the battle but those named is put far off, in a row
// along the top of the map.
void ClearTheField(std::initializer_list<int> kept);

// A creature put at an offset from the centre of an area's use, and
// whether the use takes it.
struct Placed {
  int creature;
  int dx, dy;
  bool taken = true;
  int footprint = 1;
};

// A use of the spell (Turn Undead, or the fighter's special attack), widened
// or not, by the fighter standing on the centre (by default 20, 15) of a field of open
// floor, every other fighter but those placed put far off: aimed at the
// centre (a burst or a rectangle aimed at a square) or at the square of the
// fighter's ring toward the first creature placed, the obstacles put, announced taking the
// creatures placed as taken, and the fighter too when it stands in a burst.
// An obstacle put in the field at an offset from the centre: a wall (the
// square closed), or an effect of that kind (a solid one closes it).
struct Obstacle {
  int dx, dy;
  uint32_t effect = 0;
};
// A cone or a line is aimed at `aim` off the centre instead, when that is not
// (0, 0).
void AreaUse(int f, int32_t spell, int32_t metamagic, std::initializer_list<Placed> placed,
             std::initializer_list<Obstacle> obstacles = {}, std::pair<int, int> centre = {20, 15},
             std::pair<int, int> aim = {0, 0});
// The same with the foe of that footprint alone, taken, at (dx, dy).
void AreaUse(int f, int32_t spell, int32_t metamagic, int foe, int dx, int dy, int footprint = 1);

// A Medium creature's line of fire (8 squares) breathed by the fighter on
// the centre (20, 15) of the field, aimed at `aim` off it, the creatures
// placed and the obstacles put as AreaUse puts them.
void LineOfFire(int f, std::pair<int, int> aim, std::initializer_list<Placed> placed,
                std::initializer_list<Obstacle> obstacles = {});

// The fighter strikes the foe (of that footprint, on (20, 15), every other
// fighter put far off) from `from` off the foe's square, the ally standing
// at `across` off it (none placed when the ally is -1), with one blow whose
// roll holds the flanking bonus given (0 none), with the game's own profile
// when the bonus is -1; a roll whose list is full, the rest of it other
// pairs, when `full`.
void FlankingBlow(int f, int foe, int ally, std::pair<int, int> from, std::pair<int, int> across, int32_t bonus,
                  int footprint = 1, bool full = false);

// The fighter, of that size, breathes its breath weapon of that kind at the
// foe standing dx squares right of it.
void BreathOn(int f, int foe, int32_t kind, int32_t size, int dx);

// The action codes of a turn, each frame's: the end of an action and none
// are not noted, nor a code again after itself.
void ActionCodes(std::initializer_list<int32_t> codes);

}  // namespace turn_cases
