// The routines around one cast: the caster level and save difficulty the cast
// uses, the Concentration check of a hurt or distracted caster, the tests of
// safe defensive casting, spending what the spell came from, reporting a
// failed cast and the small words of the current spell (state/current_cast.h).
#pragma once
#include <cstdint>

#include "rules/breakdown_sources.h"
#include "rules/feat_ids.h"
#include "state/current_cast.h"

// Modifier sources of the casting rolls (rows of ConditionNames).
constexpr int32_t kSrcCasterLevel = 609;
constexpr int32_t kSrcBaseValue = 612;
constexpr int32_t kSrcSpellLevel = 613;
constexpr int32_t kSrcSuperiorConcentration = 651;

// In combat, for an innate cast: effective level - level + the innate caster
// level; otherwise effective level - level + the caster-level adjustment. At
// least 1.
int32_t CasterLevelOf(int creature);
// CasterLevelOf the caster of the current spell.
int32_t CurrentCasterLevel();
// The second form always (innate casting ignored), at least 1.
int32_t BaseCasterLevel(int creature);
// The current caster's effective level, capped by its creature kind for the
// classes 1, 3, 4, 6, 16 and 17.
int32_t LevelCapByKind();
// The current caster's difficulty bonus for a school 1 to 8: +1 for its
// Spell Focus, +1 for its Greater Spell Focus; 0 for any other school.
int SpellFocusBonus(int school);
// 10 + spell level (+1 heightened) + the casting ability's modifier (Wisdom
// for a divine spell, else Intelligence) + the focus bonus of the school.
int32_t SpellSaveDC();

// d20 + Constitution modifier (+4 Superior Concentration) + caster level
// against base + the current spell's level; logs the roll and the result.
bool ConcentrationCheck(int32_t base, int creature);
// The same for the caster of the current spell with an extra DC source (-1
// none) and value and the current caster level; a failure ends the cast.
// 1 on success, 0 on failure.
int ConcentrationCheckFull(int32_t base, int32_t extraSource, int32_t extraValue);
// The current spell lost by its caster (a failed concentration, a casting
// disrupted; CastingLoss of state/current_cast.h): the words float over the
// caster, the cast ends, its source stays spent and the turn is handed on as
// after the cast.
void LoseCurrentCasting(int caster, const char* words, uint8_t loss);

// Whether casting defensively cannot fail / needs a d20 of 7 or less.
bool CanCastDefensivelySafely(int spell, int creature, int innate);
bool CanCastDefensivelyLikely(int spell, int creature, int innate);

// Spends what the use came from: nothing for a special attack, a Turn
// Undead use, a wand charge or the scroll, an innate use, or a spell of the
// slot level (spell level plus the metamagic's steps; refused above 9, and
// never below 0 left). True.
bool ConsumeSpellSource();
// The spell level a slot must have for the spell with the metamagic.
int SpellSlotLevel(int spell, int metamagic);

// Floating text, "Failure : %s." and the failure effect over the creature.
void ReportSpellFailure(const char* text, int creature);
// The sequencer's target-pass word: 1 on the first pass over the targets;
// a failure report during it makes it 2.
extern int32_t TargetPass;

// The current spell's area size (number of missiles for MAGIC_MISSILE and
// of rays for SCORCHING_RAY by caster level), -1 below 2.
int SpellAreaSize();

// The three spells a creature's script set for it (spell id + 1, 0 empty).
int FirstScriptedSpell(int creature);
bool DropFirstScriptedSpell(int creature);

// 1 when in combat and the current cast is innate (the innate byte set, the
// scripted byte clear).
int IsInnateCasting();
// True when the use is a wand's (item and wand bytes both set).
bool IsChargedItemUse();
// The spell -1, its target -1, metamagic 0 and the spell choice's words cleared.
bool ClearCurrentSpell();

// Sound ids of the current spell by phase 1 to 3 (0 none), and playing one
// on the spell sound channel.
constexpr int kSpellSoundChannel = 2;
int SpellSoundId(int phase);
void PlaySpellSound(int phase);
