// The battle check's cases of where creatures stand: where a charge stops
// and strikes from, the creatures an area reaches and holds, and the
// flanking bonus of a melee roll.
#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include "combat/actions/action_executor.h"
#include "combat/resolution/attack_resolution.h"
#include "combat/resolution/combat_sequencer.h"
#include "harness/turn_check_cases.h"
#include "harness/turn_check_moves.h"
#include "map/area_shapes.h"
#include "map/square_grids.h"
#include "rules/attack_profile.h"
#include "rules/breakdown_sources.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/modifier_list.h"
#include "rules/record_words.h"
#include "state/current_cast.h"

namespace turn_cases {

const std::vector<Case>& PlaceCases() {
  static const std::vector<Case> cases = {
      // Charges, areas and turnings.
      {"a charge runs on past its first square beside its target", "charge", "runs on from 33,20",
       [](int f, int foe) { ChargeOver(f, foe, {0, 0}, {3, 0}, {{1, 0}, {2, 0}, {3, 0}, {3, 1}}); }},
      {"a charge set off beside its target runs on past its first square beside it", "charge", "runs on from 33,20",
       [](int f, int foe) { ChargeOver(f, foe, {3, -1}, {3, 0}, {{3, 0}, {3, 1}}); }},
      {"a charge laid past its first square beside its target", "charge", "laid to run on to 33,21",
       [](int f, int foe) { ChargeOver(f, foe, {0, 0}, {3, 1}, {{1, 0}, {2, 0}, {3, 0}}); }},
      {"a charge laid past its first square beside its target, along the target's row", "charge",
       "laid to run on to 34,21", [](int f, int foe) { ChargeOver(f, foe, {0, 1}, {4, 1}, {{1, 1}, {2, 1}, {3, 1}}); }},
      // A charge's line runs straight over squares open to it.
      {"a charge turns off its straight line", "charge", "turns off its straight line from 32,19 to 32,20",
       [](int f, int foe) { ChargeOver(f, foe, {0, -1}, {3, 0}, {{1, -1}, {2, -1}, {2, 0}, {3, 0}}); }},
      {"a charger whose record gives a footprint of none runs through a creature of none", "charge",
       "runs onto 32,20, where creature",
       [](int f, int foe) {
         ChargeOver(f, foe, {0, 0}, {3, 0}, {{1, 0}, {2, 0}, {3, 0}}, true, [f] {
           Creatures[f].footprintWidth.current = Creatures[f].footprintHeight.current = 0;
           PutOn(AllyOf(f), 32, 20, 0);
         });
       }},
      {"a Large charger's lower row runs over a creature", "charge", "runs onto 32,21, where creature",
       [](int f, int foe) {
         ChargeOver(f, foe, {0, 0}, {2, 0}, {{1, 0}, {2, 0}}, true, [f] {
           Creatures[f].footprintWidth.current = Creatures[f].footprintHeight.current = 2;
           PutOn(AllyOf(f), 32, 21);
         });
       }},
      {"a charge runs over a wall", "charge", "runs onto 32,20, no open floor",
       [](int f, int foe) {
         ChargeOver(f, foe, {0, 0}, {3, 0}, {{1, 0}, {2, 0}, {3, 0}}, true, [] {
           CurrentMap.At(kLayerWalls, 32, 20) = 1;
           BlockedGrid[SquareIndex(32, 20)] = kSquareBlocked;
         });
       }},
      {"a charge runs through an insect plague", "charge", "runs onto 31,20 in an insect plague",
       [](int f, int foe) {
         ChargeOver(f, foe, {0, 0}, {3, 0}, {{1, 0}, {2, 0}, {3, 0}}, true,
                    [] { MagicAreaGrid[SquareIndex(31, 20)].kind = kEffectInsectPlague; });
       }},
      {"a charge runs through a solid area", "charge", "runs onto 33,20 in a solid area",
       [](int f, int foe) {
         ChargeOver(f, foe, {0, 0}, {3, 0}, {{1, 0}, {2, 0}, {3, 0}}, true,
                    [] { MagicAreaGrid[SquareIndex(33, 20)].kind = kEffectSolid; });
       }},
      {"a charge runs over difficult floor of code 123", "charge", "runs onto 32,20, difficult floor",
       [](int f, int foe) {
         ChargeOver(f, foe, {0, 0}, {3, 0}, {{1, 0}, {2, 0}, {3, 0}}, true,
                    [] { CurrentMap.At(kLayerFloor, 32, 20) = 123; });
       }},
      {"a charge runs over difficult floor of code 124", "charge", "runs onto 32,20, difficult floor",
       [](int f, int foe) {
         ChargeOver(f, foe, {0, 0}, {3, 0}, {{1, 0}, {2, 0}, {3, 0}}, true,
                    [] { CurrentMap.At(kLayerFloor, 32, 20) = 124; });
       }},
      {"a fireball takes a creature 5 squares east of its centre", "area",
       "a burst of spell 31 reaching 4 squares from 20,15 takes creature",
       [](int f, int foe) { AreaUse(f, 31, kMetamagicNone, foe, 5, 0); }},
      {"a fireball takes a creature 4 squares west of its centre, 5 from its corner", "area", ", 5 squares away",
       [](int f, int foe) { AreaUse(f, 31, kMetamagicNone, foe, -4, 0); }},
      {"an Entangle takes a creature 4 squares north of its centre, 5 from its corner", "area",
       "a burst of spell 0 reaching 4 squares", [](int f, int foe) { AreaUse(f, 0, kMetamagicNone, foe, 0, -4); }},
      {"a widened fireball takes a creature 8 squares west of its centre, 9 from its corner", "area",
       "a burst of spell 31 reaching 8 squares", [](int f, int foe) { AreaUse(f, 31, kMetamagicWidened, foe, -8, 0); }},
      {"a fireball takes a creature 4 squares east and 2 south, 5 by the diagonals", "area", ", 5 squares away",
       [](int f, int foe) { AreaUse(f, 31, kMetamagicNone, foe, 4, 2); }},
      {"a Bless round its caster takes a creature 7 squares off", "area", "a burst of spell 105 reaching 6 squares",
       [](int f, int foe) { AreaUse(f, 105, kMetamagicNone, foe, 7, 0); }},
      {"a cone of cold takes a creature 7 squares west", "area", "a cone of spell 60 reaching 6 squares",
       [](int f, int foe) { AreaUse(f, 60, kMetamagicNone, foe, -7, 0); }},
      {"a Large caster's cone of cold takes a creature 8 squares east of its first square", "area", ", 7 squares away",
       [](int f, int foe) {
         Creatures[f].footprintWidth.current = 2;
         AreaUse(f, 60, kMetamagicNone, foe, 8, 0);
       }},
      {"a lightning bolt takes a creature 12 squares on", "area", "a rectangle of spell 32 reaching 11 squares",
       [](int f, int foe) { AreaUse(f, 32, kMetamagicNone, foe, 0, 12); }},
      {"Turn Undead takes an undead 5 squares off", "area", "a cone of spell 998 reaching 4 squares",
       [](int f, int foe) {
         Creatures[foe].type = kTypeUndead;
         AreaUse(f, kSpellTurnUndead, kMetamagicNone, foe, 0, 5);
       }},
      {"a Medium creature's line of fire takes a creature 9 squares off", "area", "a line of spell 999 reaching 8",
       [](int f, int foe) { BreathOn(f, foe, 12, 3, 9); }},
      {"a Medium creature's cone of fire takes a creature 5 squares off", "area", "a cone of spell 999 reaching 4",
       [](int f, int foe) { BreathOn(f, foe, 1, 3, 5); }},
      {"a Large creature's cone of fire takes a creature 7 squares off", "area", "a cone of spell 999 reaching 6",
       [](int f, int foe) { BreathOn(f, foe, 1, 4, 7); }},
      {"a Huge creature's cone of fire takes a creature 9 squares off", "area", "a cone of spell 999 reaching 8",
       [](int f, int foe) { BreathOn(f, foe, 1, 5, 9); }},
      {"Turn Undead takes a creature that is not undead", "turning", "of type 5, not undead",
       [](int f, int foe) {
         Creatures[foe].type = 5;
         AreaUse(f, kSpellTurnUndead, kMetamagicNone, foe, 1, 0);
       }},
      {"a charge's blow from two squares off its target", "charge", "after its charge, not beside it",
       [](int f, int foe) {
         Walk(f, 2, kActionCharge);
         Beside(foe, f);
         Creatures[foe].squareX += Creatures[foe].squareX > Creatures[f].squareX ? 1 : -1;
         Attack(f, foe, Blows(kEntryMainHand, 1));
       }},
      // Cones measured by their templates, lines by their straight length.
      {"a cone of cold takes a creature 5 squares east and 5 north, 7 by its template", "area",
       "a cone of spell 60 reaching 6 squares from 20,15 takes creature",
       [](int f, int foe) { AreaUse(f, 60, kMetamagicNone, foe, 5, -5); }},
      {"Turn Undead takes an undead 4 squares west and 4 south, 6 by its template", "area", ", 6 squares away",
       [](int f, int foe) {
         Creatures[foe].type = kTypeUndead;
         AreaUse(f, kSpellTurnUndead, kMetamagicNone, foe, -4, 4);
       }},
      {"a widened cone of cold takes a creature 10 squares east, past the cones' window", "area",
       "reaching 12 squares from 20,15 takes creature",
       [](int f, int foe) { AreaUse(f, 60, kMetamagicWidened, foe, 10, 0); }},
      {"a Medium creature's line of fire takes a creature 7 squares east and 6 south, 9 along the line", "area",
       "a line of spell 999 reaching 8 squares", [](int f, int foe) {
         Creatures[f].special[kSpecialAttackKind] = 12;
         Creatures[f].size.current = 3;
         AreaUse(f, kSpellSpecialAttack, kMetamagicNone, foe, 7, 6);
       }},
      {"a cone of cold laid as a line takes a creature 7 squares west", "area", "a line of spell 60 reaching 6",
       [](int f, int foe) {
         SpellTable[60].target = kAimLine;
         AreaUse(f, 60, kMetamagicNone, foe, -7, 0);
         SpellTable[60].target = kAimCone;
       }},
      // Every creature an area plainly holds is taken, as its sides say.
      {"a fireball leaves out a creature 4 squares east of its centre", "area",
       "a burst of spell 31 reaching 4 squares from 20,15 holds creature",
       [](int f, int foe) { AreaUse(f, 31, kMetamagicNone, {{foe, 4, 0, false}}, {{6, 6}}); }},
      {"a fireball leaves out a creature 3 squares south, a wall on its edge 4 squares east", "area",
       "a burst of spell 31 reaching 4 squares from 20,15 holds creature",
       [](int f, int foe) { AreaUse(f, 31, kMetamagicNone, {{foe, 0, 3, false}}, {{4, 0}}); }},
      {"a fireball at the map's lower edge leaves out a creature 2 squares east", "area",
       "a burst of spell 31 reaching 4 squares from 20,27 holds creature",
       [](int f, int foe) { AreaUse(f, 31, kMetamagicNone, {{foe, 2, 0, false}}, {}, {20, 27}); }},
      {"a fireball leaves out a creature of no footprint 2 squares east", "area", "and leaves it out",
       [](int f, int foe) { AreaUse(f, 31, kMetamagicNone, {{foe, 2, 0, false, 0}}); }},
      {"a widened Bless round its caster takes a creature 11 squares west, past the bursts' window", "area",
       "a burst of spell 105 reaching 12 squares from 20,15 takes creature",
       [](int f, int foe) { AreaUse(f, 105, kMetamagicWidened, foe, -11, 0); }},
      {"a cone of cold leaves out a creature 4 squares east, walls past it", "area",
       "a cone of spell 60 reaching 6 squares from 20,15 holds creature",
       [](int f, int foe) { AreaUse(f, 60, kMetamagicNone, {{foe, 4, 0, false}}, {{5, 0}, {0, 1}}); }},
      {"a widened fireball leaves out a Large creature 8 squares west of its centre by its near corner", "area",
       "and leaves it out", [](int f, int foe) { AreaUse(f, 31, kMetamagicWidened, {{foe, -8, 0, false, 2}}); }},
      {"a cone of cold leaves out a creature 6 squares west", "area",
       "a cone of spell 60 reaching 6 squares from 20,15 holds creature",
       [](int f, int foe) { AreaUse(f, 60, kMetamagicNone, {{foe, -6, 0, false}}, {{-3, -2}}); }},
      {"a cone of cold leaves out a creature 4 squares east and 4 south, 6 by its template", "area",
       "and leaves it out", [](int f, int foe) { AreaUse(f, 60, kMetamagicNone, {{foe, 4, 4, false}}); }},
      {"a cone of cold leaves out a creature 1 square north and 3 west, at its side", "area", "and leaves it out",
       [](int f, int foe) { AreaUse(f, 60, kMetamagicNone, {{foe, -3, -1, false}}); }},
      {"a Large caster's cone of cold leaves out a creature 7 squares east of its first square", "area",
       "from 21,15 holds creature",
       [](int f, int foe) {
         Creatures[f].footprintWidth.current = 2;
         AreaUse(f, 60, kMetamagicNone, {{foe, 7, 0, false}});
       }},
      {"Turn Undead leaves out an undead 3 squares north", "area", "a cone of spell 998 reaching 4 squares",
       [](int f, int foe) {
         Creatures[foe].type = kTypeUndead;
         AreaUse(f, kSpellTurnUndead, kMetamagicNone, {{foe, 0, -3, false}});
       }},
      {"a Huge creature's cone of fire leaves out a creature 5 squares west and 5 north", "area",
       "a cone of spell 999 reaching 8 squares",
       [](int f, int foe) {
         Creatures[f].special[kSpecialAttackKind] = 1;
         Creatures[f].size.current = 5;
         AreaUse(f, kSpellSpecialAttack, kMetamagicNone, {{foe, -5, -5, false}});
       }},
      {"a Bless round its caster leaves out an ally 6 squares south", "area",
       "a burst of spell 105 reaching 6 squares from 20,15 holds creature",
       [](int f, int) { AreaUse(f, 105, kMetamagicNone, {{AllyOf(f), 0, 6, false}}); }},
      {"a burst round its caster for its enemies leaves out a foe", "area", "a burst of spell 104 reaching 6",
       [](int f, int foe) { AreaUse(f, 104, kMetamagicNone, {{foe, -5, 1, false}}); }},
      {"a mass cure leaves out a living ally", "area", "a burst of spell 153 reaching 3",
       [](int f, int) {
         Creatures[AllyOf(f)].type = 5;
         AreaUse(f, 153, kMetamagicNone, {{AllyOf(f), 3, 1, false}});
       }},
      {"a mass cure leaves out an undead foe", "area", "a burst of spell 153 reaching 3",
       [](int f, int foe) {
         Creatures[foe].type = kTypeUndead;
         AreaUse(f, 153, kMetamagicNone, {{foe, -2, 1, false}});
       }},
      {"a mass infliction leaves out a living foe", "area", "a burst of spell 155 reaching 3",
       [](int f, int foe) {
         Creatures[foe].type = 5;
         AreaUse(f, 155, kMetamagicNone, {{foe, 0, -2, false}});
       }},
      {"a mass infliction leaves out an undead ally", "area", "a burst of spell 155 reaching 3",
       [](int f, int) {
         Creatures[AllyOf(f)].type = kTypeUndead;
         AreaUse(f, 155, kMetamagicNone, {{AllyOf(f), 2, 2, false}});
       }},
      {"a Medium creature's line of fire aimed 4 squares east and 2 south leaves out a creature on its first square",
       "area", "a line of spell 999 reaching 8 squares from 20,15 holds creature",
       [](int f, int foe) { LineOfFire(f, {4, 2}, {{foe, 1, 1, false}}); }},
      {"a Medium creature's line of fire aimed 4 squares east and 2 south leaves out a creature on its end square",
       "area", "on 27,19 and leaves it out", [](int f, int foe) { LineOfFire(f, {4, 2}, {{foe, 7, 4, false}}); }},
      {"a Medium creature's line of fire aimed 4 squares west and 2 north leaves out a creature on its end square",
       "area", "on 13,11 and leaves it out", [](int f, int foe) { LineOfFire(f, {-4, -2}, {{foe, -7, -4, false}}); }},
      {"a cone of cold laid as a line aimed 5 squares east and 4 south leaves out a creature 3 east and 2 south", "area",
       "a line of spell 60 reaching 6 squares from 20,15 holds creature",
       [](int f, int foe) {
         SpellTable[60].target = kAimLine;
         AreaUse(f, 60, kMetamagicNone, {{foe, 3, 2, false}}, {}, {20, 15}, {5, 4});
         SpellTable[60].target = kAimCone;
       }},
      // Flanking: +2 on a melee roll exactly when an able ally stands across the target.
      {"a blow with a flanking bonus, no ally across its target", "flanking",
       "a flanking bonus of 2 on creature",
       [](int f, int foe) { FlankingBlow(f, foe, -1, {-1, 0}, {0, 0}, 2); }},
      {"a blow with no flanking bonus, an ally on the target's other side", "flanking", "where the rules give 2 (creature",
       [](int f, int foe) { FlankingBlow(f, foe, AllyOf(f), {-1, 0}, {1, 0}, 0); }},
      {"a blow with no flanking bonus from a corner, an ally on the opposite corner", "flanking",
       "a flanking bonus of 0 on creature",
       [](int f, int foe) { FlankingBlow(f, foe, AllyOf(f), {1, -1}, {-1, 1}, 0); }},
      {"a blow with a flanking bonus on a target immune to flanking", "flanking", ", immune to flanking",
       [](int f, int foe) {
         Creatures[foe].protections[kProtFlanking].current = kImmunityImmune;
         FlankingBlow(f, foe, AllyOf(f), {0, -1}, {0, 1}, 2);
       }},
      {"a bite with no flanking bonus, an ally on the target's other side", "flanking", "where the rules give 2",
       [](int f, int foe) {
         FlankingBlow(f, foe, AllyOf(f), {-1, 0}, {1, 0}, 2);
         ItsNextRound(f);
         NaturalBlow(f, foe, 0);
       }},
      {"a full roll holding a flanking bonus, no ally across its target", "flanking", "a flanking bonus of 2 on creature",
       [](int f, int foe) { FlankingBlow(f, foe, -1, {-1, 0}, {0, 0}, 2, 1, true); }},
      {"a grapple's hold check by a creature whose first natural attack is a ranged touch, with no flanking bonus, an "
       "ally across", "flanking", "where the rules give 2",
       [](int f, int foe) {
         FlankingBlow(f, foe, AllyOf(f), {0, -1}, {0, 1}, 2);
         ItsNextRound(f);
         NaturalAttacks(f, {{5, 1}});
         AttackProfile p = ProfileOf(f, foe, 0, 1);
         for (ModifierPair& pair : p.entries[0].attackRoll.pairs)
           if (pair.source == kSrcFlankingTarget) pair = ModifierPair{};
         AttackObserver(AttackWatch{f, foe, 0, &p, true, true});
       }},
      {"a grapple's hold check with no flanking bonus, an ally below the target", "flanking",
       "where the rules give 2",
       [](int f, int foe) {
         FlankingBlow(f, foe, AllyOf(f), {0, -1}, {0, 1}, 0);
         ItsNextRound(f);
         HoldCheck(f, foe, kActionGrapple);
       }},
      // Within the rules.
      {"charges, then shoots a foe far off", "", "",
       [](int f, int foe) {
         Walk(f, 2, kActionCharge);
         Beside(foe, f);
         Creatures[foe].squareY += Creatures[foe].squareY > 10 ? -8 : 8;
         Shoot(f, foe);
       }},
      {"a charge stops at its first square beside its target; another sets off beside its target; one whose action "
       "names the charger alone runs along the foe's side; an oblique one runs between creatures, walls, areas and "
       "difficult floor beside its line", "", "",
       [](int f, int foe) {
         ChargeOver(f, foe, {0, 0}, {3, 0}, {{1, 0}, {2, 0}, {3, 0}});
         ItsNextRound(f);
         ChargeOver(f, foe, {3, -1}, {3, 0}, {{3, 0}});
         ItsNextRound(f);
         ChargeOver(f, foe, {0, 1}, {3, 1}, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}, false);
         ItsNextRound(f);
         std::vector<int> others = FoesInOrder(f);
         others.erase(std::find(others.begin(), others.end(), foe));
         ChargeOver(f, foe, {-2, -1}, {3, 0}, {{-1, -1}, {0, -1}, {1, 0}, {2, 0}, {3, 0}}, true, [f, others] {
           PutOn(AllyOf(f), 31, 19);
           // Foes with no attack of opportunity left below the line and left
           // of it, and one fallen on it.
           for (const auto& [other, x, y] : {std::tuple{others[0], 32, 21}, {others[1], 27, 20}, {others[2], 30, 19}}) {
             PutOn(other, x, y);
             Creatures[other].attacksOfOpportunityLeft = 0;
           }
           Fell(others[2]);
           CurrentMap.At(kLayerWalls, 29, 20) = 1;
           BlockedGrid[SquareIndex(29, 20)] = kSquareBlocked;
           MagicAreaGrid[SquareIndex(30, 18)].kind = kEffectSolid;
           CurrentMap.At(kLayerFloor, 33, 21) = 123;
         });
       }},
      {"fireballs to their edges, east, west, by the diagonals and widened; a Large creature in one by its near "
       "corner, a creature of no footprint by its square; a spell of one creature takes one far off", "", "",
       [](int f, int foe) {
         for (const auto& [dx, dy, metamagic, footprint] :
              {std::tuple{4, 0, kMetamagicNone, 1}, {-3, 0, kMetamagicNone, 1}, {3, 3, kMetamagicNone, 1},
               {-7, 0, kMetamagicWidened, 1}, {-4, 0, kMetamagicNone, 2},
               {4, 0, kMetamagicNone, 0}}) {
           AreaUse(f, 31, metamagic, foe, dx, dy, footprint);
           ItsNextRound(f);
         }
         AreaUse(f, 1, kMetamagicNone, foe, 40, 0);
       }},
      {"areas to their edges: a Bless round its caster, cones of cold of a Medium and a Large caster, a lightning "
       "bolt, Turn Undead on an undead", "", "",
       [](int f, int foe) {
         AreaUse(f, 105, kMetamagicNone, foe, 6, 0);
         ItsNextRound(f);
         AreaUse(f, 60, kMetamagicNone, foe, -6, 0);
         ItsNextRound(f);
         Creatures[f].footprintWidth.current = 2;
         AreaUse(f, 60, kMetamagicNone, foe, 7, 0);
         Creatures[f].footprintWidth.current = 1;
         ItsNextRound(f);
         AreaUse(f, 32, kMetamagicNone, foe, 0, 11);
         ItsNextRound(f);
         Creatures[foe].type = kTypeUndead;
         AreaUse(f, kSpellTurnUndead, kMetamagicNone, foe, -3, 3);
       }},
      {"breath weapons to their edges: a Medium creature's line and cone, a Large and a Huge creature's cones", "", "",
       [](int f, int foe) {
         for (const auto& [kind, size, dx] : {std::tuple{12, 3, 8}, {1, 3, 4}, {1, 4, 6}, {1, 5, 8}}) {
           BreathOn(f, foe, kind, size, dx);
           ItsNextRound(f);
         }
       }},
      {"areas plainly holding creatures they may leave out: a wall in a fireball's reach, walls in a widened Bless's "
       "window, a wall or a solid area before a cone's creature, a cone's creature on a wall or off the map, a "
       "creature on a wall or a web at a fireball's edge, a foe out of a Bless, an ally out of a burst for enemies, a "
       "creature past a cone's window or beside it, a non-undead out of a turning, a spreading cone", "", "",
       [](int f, int foe) {
         AreaUse(f, 31, kMetamagicNone, {{foe, -3, 0, false}}, {{3, 0}});
         for (const Obstacle wall : {Obstacle{9, 0}, Obstacle{0, 9}}) {
           ItsNextRound(f);
           AreaUse(f, 105, kMetamagicWidened, {{AllyOf(f), 3, 0, false}}, {wall});
         }
         for (const Obstacle before : {Obstacle{4, 0}, Obstacle{2, 0, kEffectSolid}}) {
           ItsNextRound(f);
           AreaUse(f, 60, kMetamagicNone, {{foe, 4, 0, false}}, {before});
         }
         ItsNextRound(f);
         AreaUse(f, 60, kMetamagicNone, {{foe, 0, 4, false}}, {}, {20, 27});
         ItsNextRound(f);
         const int other = FoesInOrder(f)[0] == foe ? FoesInOrder(f)[1] : FoesInOrder(f)[0];
         AreaUse(f, 60, kMetamagicWidened, {{foe, 4, -4}, {other, -1, -3, false}});
         ItsNextRound(f);
         AreaUse(f, 60, kMetamagicNone, {{foe, 4, 0, false}}, {{2, 0}});
         ItsNextRound(f);
         AreaUse(f, 60, kMetamagicNone, {{foe, 3, 2, false}}, {{1, 1}});
         for (uint32_t effect : {0u, static_cast<uint32_t>(kEffectWeb)}) {
           ItsNextRound(f);
           AreaUse(f, 31, kMetamagicNone, {{foe, 4, 0, false}}, {{4, 0, effect}});
         }
         ItsNextRound(f);
         AreaUse(f, 105, kMetamagicNone, {{foe, 2, 2, false}});
         ItsNextRound(f);
         AreaUse(f, 104, kMetamagicNone, {{AllyOf(f), 0, 6, false}});
         ItsNextRound(f);
         AreaUse(f, 60, kMetamagicWidened, {{foe, 10, 0, false}});
         ItsNextRound(f);
         Creatures[foe].type = 5;
         AreaUse(f, kSpellTurnUndead, kMetamagicNone, {{foe, 0, -3, false}});
         ItsNextRound(f);
         SpellTable[60].areaWord = 1;
         AreaUse(f, 60, kMetamagicNone, {{foe, -5, 0, false}});
         SpellTable[60].areaWord = 0;
       }},
      {"mass cures and inflictions leaving out whom they do not take", "", "",
       [](int f, int foe) {
         const int ally = AllyOf(f);
         Creatures[ally].type = kTypeUndead;
         Creatures[FoesInOrder(f)[1]].type = 5;
         AreaUse(f, 153, kMetamagicNone, {{ally, 3, 0, false}, {FoesInOrder(f)[1], 0, 3, false}});
         ItsNextRound(f);
         Creatures[ally].type = 5;
         Creatures[foe].type = kTypeUndead;
         AreaUse(f, 155, kMetamagicNone, {{ally, 3, 0, false}, {foe, -3, 0, false}});
       }},
      {"cones to their edges in each of the eight directions, widened to the cones' window by the axes and a diagonal",
       "", "",
       [](int f, int foe) {
         for (const auto& [dx, dy, metamagic] :
              {std::tuple{-2, -6, kMetamagicNone}, {4, -4, kMetamagicNone}, {6, 2, kMetamagicNone},
               {5, 3, kMetamagicNone}, {-2, 6, kMetamagicNone}, {-4, 4, kMetamagicNone}, {-6, -2, kMetamagicNone},
               {-5, -3, kMetamagicNone}, {9, 0, kMetamagicWidened}, {-10, 0, kMetamagicWidened},
               {0, -10, kMetamagicWidened}}) {
           AreaUse(f, 60, metamagic, {{foe, dx, dy}});
           ItsNextRound(f);
         }
         const int other = FoesInOrder(f)[0] == foe ? FoesInOrder(f)[1] : FoesInOrder(f)[0];
         AreaUse(f, 60, kMetamagicWidened, {{foe, -4, 4}, {other, -10, 1}});
       }},
      {"lines holding creatures they may leave out: beside the squares of a line of fire aimed 4 east and 2 south, "
       "past the end of one aimed 5 east and 2 south within its reach, half a square off one aimed 8 east and 1 "
       "south, behind a wall on one aimed east", "", "",
       [](int f, int foe) {
         const int other = FoesInOrder(f)[0] == foe ? FoesInOrder(f)[1] : FoesInOrder(f)[0];
         LineOfFire(f, {4, 2}, {{foe, 1, 0, false}, {other, 2, 2, false}, {AllyOf(f), 4, 2}});
         ItsNextRound(f);
         LineOfFire(f, {5, 2}, {{foe, 8, 3, false}, {other, 7, 3}});
         ItsNextRound(f);
         LineOfFire(f, {8, 1}, {{foe, 4, 0, false}});
         ItsNextRound(f);
         LineOfFire(f, {4, 0}, {{foe, 4, 0, false}}, {{2, 0}});
       }},
      {"lines to their ends: a Medium creature's fire 6 squares east and 6 south, a cone of cold laid as a line 6 "
       "squares north", "", "",
       [](int f, int foe) {
         Creatures[f].special[kSpecialAttackKind] = 12;
         Creatures[f].size.current = 3;
         AreaUse(f, kSpellSpecialAttack, kMetamagicNone, foe, 6, 6);
         ItsNextRound(f);
         SpellTable[60].target = kAimLine;
         AreaUse(f, 60, kMetamagicNone, foe, 0, -6);
         SpellTable[60].target = kAimCone;
       }},
      {"flanking bonuses as the rules give them: by sides and by corners, across a Large target's long sides, from "
       "allies of the party's sides, none beside a corner nor from the target's own square, and the game's own "
       "profiles", "", "",
       [](int f, int foe) {
         const int ally = AllyOf(f);
         for (const auto& [from, across, bonus, footprint] :
              {std::tuple{std::pair{-1, 0}, std::pair{1, 0}, 2, 1}, {{-1, -1}, {1, 1}, 2, 1}, {{-1, 1}, {1, -1}, 2, 1},
               {{-1, -1}, {1, 0}, 0, 1}, {{-1, 0}, {2, 1}, 2, 2}, {{0, 2}, {1, -1}, 2, 2}, {{0, -1}, {0, 1}, -1, 1},
               {{-1, -1}, {0, 1}, -1, 1}}) {
           FlankingBlow(f, foe, ally, from, across, bonus, footprint);
           ItsNextRound(f);
         }
         Creatures[ally].allegiance = PartySide(f) ? 6 : 2;
         FlankingBlow(f, foe, ally, {1, 0}, {-1, 0}, 2);
         ItsNextRound(f);
         FlankingBlow(f, foe, ally, {0, 0}, {0, 0}, 0);
       }},
      {"no flanking bonus beside an ally across kept from it: each helpless or disabled state, another grapple, a "
       "side of its own; a grappling ally across; a full roll; no ally across a shot nor a ranged touch of the first or "
       "the second form", "", "",
       [](int f, int foe) {
         const int ally = AllyOf(f);
         for (uint32_t id : {kCondNauseated, kCondConfused, kCondInsane, kCondSurprised, kCondSleeping, kCondParalyzed,
                             kCondPetrified, kCondDancing, kCondCowering, kCondStunned, kCondDazed, kCondDead,
                             kCondUnconscious}) {
           Give(ally, id);
           FlankingBlow(f, foe, ally, {-1, 0}, {1, 0}, 0);
           RemoveCondition(ally, id);
           ItsNextRound(f);
         }
         AddCondition(ally, kCondGrappling, 3, f, 0, 0);
         FlankingBlow(f, foe, ally, {-1, 0}, {1, 0}, 0);
         RemoveCondition(ally, kCondGrappling);
         ItsNextRound(f);
         AddCondition(ally, kCondGrappling, 3, foe, 0, 0);
         FlankingBlow(f, foe, ally, {-1, 0}, {1, 0}, 2);
         RemoveCondition(ally, kCondGrappling);
         ItsNextRound(f);
         const int32_t side = Creatures[ally].allegiance;
         Creatures[ally].allegiance = 8;
         FlankingBlow(f, foe, ally, {-1, 0}, {1, 0}, 0);
         Creatures[ally].allegiance = side;
         ItsNextRound(f);
         FlankingBlow(f, foe, ally, {-1, 0}, {1, 0}, 0, 1, true);
         ClearTheField({f, foe});
         ItsNextRound(f);
         AttackProfile shot = Entries({kEntryNone, kEntryRanged});
         shot.entries[1].attackRoll.pairs[0] = ModifierPair{kSrcFlankingTarget, 2};
         Creatures[f].equipment[kSlotRightHand - 1] = 0;
         Creatures[f].equipment[kSlotRanged - 1] = kShortbow;
         Attack(f, foe, shot, 1);
         for (int32_t alternate : {0, 1}) {
           ItsNextRound(f);
           Outfit(f);
           Creatures[f].equipment[kSlotRightHand - 1] = 0;
           NaturalAttacks(f, {{5, 1}, {1, 1}, {1, 1}, {5, 1}});
           CombatAction.useAlternateAttack = static_cast<uint8_t>(alternate);
           AttackProfile touch = ProfileOf(f, foe, alternate);
           touch.entries[0].attackRoll.pairs[0] = ModifierPair{kSrcFlankingTarget, 2};
           Attack(f, foe, touch);
           CombatAction.useAlternateAttack = 0;
         }
       }},
  };
  return cases;
}

}  // namespace turn_cases
