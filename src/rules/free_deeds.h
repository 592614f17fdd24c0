// What a creature's conditions leave it free to do: one rule for the
// player's orders (the action list, the map's clicks and keys), the action
// executor and the computer's decisions alike.
//
// Asleep, stunned, cowering, dazed, petrified, unconscious or dead, a
// creature does nothing of its own; a dancer does nothing but its dance.
// Paralysed, it does nothing with its body: it neither moves, strikes,
// reloads, nor uses a wand, a scroll or a holy symbol; it casts only a spell
// (or uses a spell-like ability) without a somatic part, or one it stills,
// strives against the spell that holds it and may dismiss a spell of its
// own. Nauseated, it takes a move action only: it moves, handles its gear (a
// crossbow's reload, its inventory) and may dismiss a spell of its own, but
// neither strikes, casts nor uses an item. Pinned, it can only try to break
// the pin.
#pragma once
#include <cstdint>

#include "rules/conditions.h"

enum Deed : uint32_t {
  kDeedMove = 1u << 0,         // a walk, a five-foot step, a charge's run, a flight
  kDeedHandle = 1u << 1,       // gear handled as a move: a crossbow's reload, the inventory
  kDeedStrike = 1u << 2,       // any attack (melee, shot, grapple, pin, bull rush, coup de grace,
                               // whirlwind), an attack of opportunity, a readied attack, readying one
  kDeedUseItem = 1u << 3,      // a deed of hand or body in the place of an attack: a wand, a scroll,
                               // a holy symbol's turning, waking an ally, a breath, the alarm
  kDeedGestureCast = 1u << 4,  // a spell or spell-like ability with a somatic part, not stilled; a counterspell
  kDeedStillCast = 1u << 5,    // a spell or spell-like ability without a somatic part, or stilled
  kDeedStrive = 1u << 6,       // a Will save against the spell holding it
  kDeedDismiss = 1u << 7,      // ending a spell of its own (a form, the iron body, its summoned creature)
  kDeedDance = 1u << 8,        // the dance a dancer is made to do
  kDeedEscape = 1u << 9,       // a grapple check to break free of a grapple or a pin
  kDeedDelay = 1u << 10,       // putting its turn off to later in the round
};
constexpr uint32_t kAllDeeds = (1u << 11) - 1;
// The deeds the player or the decision may choose (all but the dance).
constexpr uint32_t kChosenDeeds = kAllDeeds & ~kDeedDance;

// The deeds an active condition of the id leaves free (every deed for a
// condition that forbids none).
constexpr uint32_t DeedsLeftBy(uint32_t condition) {
  switch (condition) {
    case kCondSleeping: case kCondStunned: case kCondCowering: case kCondDazed: case kCondPetrified:
    case kCondUnconscious: case kCondDead:
      return 0;
    case kCondDancing:
      return kDeedDance;
    case kCondParalyzed:
      return kDeedStillCast | kDeedStrive | kDeedDismiss | kDeedDelay;
    case kCondNauseated:
      return kDeedMove | kDeedHandle | kDeedDismiss | kDeedDance | kDeedDelay;
    case kCondPinned:
      return kDeedEscape;
    default:
      return kAllDeeds;
  }
}

// The deeds the creature's active conditions leave it free to do (none for
// a creature the tables do not hold).
uint32_t FreeDeeds(int creature);
// Whether the creature is free to do every deed of the mask.
inline bool MayDo(int creature, uint32_t deeds) { return (FreeDeeds(creature) & deeds) == deeds; }
// The deed a spell (or spell-like ability) of the table is cast as, with the
// metamagic kind of the cast: stilled or without a somatic part, a still cast.
uint32_t CastingDeed(int spell, int metamagic);
