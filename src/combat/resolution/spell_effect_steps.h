// The small steps every spell effect is made of: who is casting what on
// whom, refusing the pass, showing a success, logging in combat, giving a
// condition for the pass's duration, ending a grapple and bringing a fallen
// creature back into the battle. Shared by the spell effect files.
#pragma once
#include <cstdint>

#include "rules/conditions.h"

namespace spellfx {

struct Use {
  int caster;
  int spell;
  int target;
};
Use Current();

const char* Name(int creature);
bool IsUndead(int creature);
bool IsConstruct(int creature);
bool IsHumanoid(int creature);

// The pass is refused: the failure report with its floating text.
void Refuse(const char* floating);
// A success over the target: its floating text, a combat event of the type
// (45 a condition gained, 46 one lost) and the spell's second sound.
void Show(const char* floating, int32_t eventType = 45, int32_t value = 0);
// A log line of the effect, written in combat only ("\r" added).
void Say(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The pass's duration in rounds; a pass without one lasts until removed.
int32_t PassDuration();
// Adds the condition to the target from the spell (source 18) for the
// pass's duration unless another is given.
bool Give(int creature, uint32_t id, int32_t value = 0, int32_t duration = -2, uint32_t source = kSourceSpell,
          uint32_t param = 0);
// Removes every entry of each id given; true when any was there.
bool Take(int creature, uint32_t a, uint32_t b = 0, uint32_t c = 0, uint32_t d = 0);

// Ends the creature's grapple: Grappling and Pinned leave it and its partner.
void EndGrapple(int creature);
// The creature stands up on the caster's square, joins the turn order after
// the current entry (in combat) and the two face each other.
void Revive(int creature, int caster);

// The effects by family (spell_effects_*.cpp); each returns false for a code
// it does not carry.
bool ApplyConditionEffect(int32_t code);
bool ApplyControlEffect(int32_t code);
bool ApplyFormEffect(int32_t code);

}  // namespace spellfx
