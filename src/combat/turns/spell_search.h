// The tests one spell must pass to stand in a computer caster's found-spell
// list at a search level: where it comes from, the caster's class and role,
// and whether its area or target would find anyone worth it. The spell
// branch (spell_choice.cpp) runs them for every spell row, level by level.
#pragma once
#include <cstdint>

#include "combat/turns/spell_choice.h"
#include "engine/frame.h"
#include "engine/message_log.h"

// Where the searched spell comes from.
enum class SpellSource { kOwn, kProgrammed, kSpellLike, kWand };

struct SpellSearchContext {
  const CasterSituation* situation = nullptr;
  int32_t fighter = -1;
  SpellSource source = SpellSource::kOwn;
  int32_t itemSpell = -1;   // the programmed, innate or wand spell; -1 for own spells
  int32_t level = 0;        // the level searched
  bool secondPass = false;  // the favourites of the level are appended again
};

// The spell an item or innate search is about: the programmed spell, the
// innate spell (record's field - 1) or the wand's spell; -1 none.
int32_t InnateSpellOf(int creature);
int32_t WandSpellOf(int creature);
// The crafted wand the creature holds in its main hand (0 none).
uint32_t WandItemOf(int creature);

// All candidate rules in order; true when the spell is listed.
bool PassesCandidateRules(const SpellSearchContext& context, int spell);

// The search's trace lines, written to the message log only in debug mode.
inline void Trace(const char* text) {
  if (DebugMode == 1) LogMessage("%s", text);
}
template <typename... Args>
  requires(sizeof...(Args) > 0)
void Trace(const char* format, Args... args) {
  if (DebugMode == 1) LogMessage(format, args...);
}
