// The combat sequencer: carries the use of a spell, of Turn Undead or of a
// special attack by one creature through its steps, one step (or one slice
// of a step) per frame, in and out of combat. The step is the screen mode:
// 22 the start of the use, 10 to 16 the player's aim (the game screen waits
// for the click and sets 24), 24 spending the source and testing for a
// target, 23 the casting checks, 20 the announcement and animation, 21 the
// resolution on each target (combat/resolution/spell_resolution.h).
#pragma once
#include <array>
#include <cstdint>

#include "combat/resolution/area_targets.h"
#include "rules/casting_rules.h"  // SpellKeywordFull
#include "state/current_cast.h"

// The screen modes of the steps.
enum CastingMode : uint32_t {
  kModeAimCreature = 10,
  kModeAimSquare = 11,
  kModeAimItem = 12,
  kModeAimRectangle = 13,
  kModeAimCone = 14,
  kModeAimLine = 15,
  kModeAimSummon = 16,
  kModeAnnounce = 20,
  kModeResolve = 21,
  kModeStartCast = 22,
  kModeCastingChecks = 23,
  kModeSpendSource = 24,
};

// Targeting kinds of the spell rows (their `target` word).
enum TargetingKind : int32_t {
  kAimCaster = 1,
  kAimCentered = 2,
  kAimIndividual = 3,
  kAimSquares = 4,
  kAimRectangle = 5,
  kAimCircle = 6,
  kAimCircleBurst = 7,
  kAimCone = 8,
  kAimLine = 9,
  kAimEquipment = 10,
  kAimSquareOrIndividual = 11,
};

// The stages of a use's attacks of opportunity (CastingUseWords::opportunityUnderway).
constexpr uint8_t kOpportunitiesUnderway = 1;
constexpr uint8_t kOpportunitiesTaken = 2;

// The words of one use, shared by the steps.
struct CastingUseWords {
  uint8_t noTarget = 0;           // the start found no target
  uint8_t repeat = 0;             // a repeated healing cast is under way
  uint8_t announced = 0;          // the announcement has been written
  uint8_t opportunityUnderway = 0;  // the use's attacks of opportunity: 0 not begun, 1 being taken, 2 over
  uint8_t castableAsAttacked = 0;   // the casting could go on as its attacks of opportunity began
  uint8_t endOfCombatRequested = 0;
  int32_t hitDicePool = -1;
  int32_t missilesLeft = -1;      // further missiles or rays of the use
  uint8_t furtherMissile = 0;     // the player aims a further missile or ray (already paid for and checked)
  int32_t frameCounter = 0;       // calls of the announcement step
  uint8_t missileFlying = 0;
  uint8_t areaAnimating = 0;
  int32_t aimX = -1, aimY = -1;   // the aimed square
  // Where the view stood as the player aimed the use's first missile or ray
  // (kept: 1), where it goes back for the further ones.
  uint8_t aimViewKept = 0;
  int32_t aimViewX = 0, aimViewY = 0;
};
extern CastingUseWords CastingUse;
// The party's summoned creature takes record 581; the enemy's take the
// records from 582 on, one more for each summoning of the battle, at most 19
// (to 600); a summoning tries its square with the next.
constexpr int kSummonRecord = 581;
constexpr int kFirstSummonRecord = 582;
constexpr int kMostSummons = 19;
extern int32_t SummonsMade;
// The action block of a held casting (held codes 27 to 31), kept with its
// caster as the casting yields to a readied foe: the caster's turn as it
// stood then, the casting's action spent with its source. A use another
// creature begins before the casting resumes (the foe's own) keeps its own.
// Null when the caster keeps none.
struct CombatActionState;
const CombatActionState* HeldCastingAction(int caster);
// Hands the caster's kept block to `out` and forgets it; false when it keeps none.
bool TakeHeldCastingAction(int caster, CombatActionState* out);
// The animation kind each fighter slot shows (0 none).
extern int32_t TargetAnimation[300];
// Frames per animation step, for the animation kinds 2/6, 3/7, 4/8, 5/9, 10, 11
// and 12: three for the animations of several steps; the single step of the
// turning glyphs (11) and of the beam (12) lasts a third of a second.
constexpr std::array<int32_t, 7> kAnimationSpeeds = {3, 3, 3, 3, 3, 20, 20};
// The speeds in force (tests shorten them); a reset puts back kAnimationSpeeds.
extern std::array<int32_t, 7> AnimationSpeedWords;
// The frames the target or area animation of the use under way lasts (its
// steps times its speed word).
int32_t UseAnimationFrames();

// One step of the sequencer, every frame; returns 1.
int ProcessCombatAction();

// Puts the words of a use back to their start-up values (a new game, and tests).
void ResetCombatSequencerState();

// The steps, one call each (the sequencer dispatches by ScreenMode).
void StartOfUse();
void SpendSourceStep();
void CastingChecksStep();
void AnnouncementStep();
void ResolutionStep();

// The planned-action test of the start of a use: in combat, when an enemy
// with line of effect to the caster is readied against its casting, the use
// becomes the caster's held action and the enemy acts first. True when that
// happened (the use stops here).
bool YieldToReadiedEnemy();
// Ends the use after a failure the caster suffered: ScreenMode 0, action code
// 13 (in combat state 3, for the action executor), the queued follow-up
// cleared and the turn handed back.
void EndUseAfterFailure();
// Hands the turn back after a use that ended early: the player's fighter to
// the ready mode, a computer fighter to its next decision.
void HandOverTurn();
// The targeting kind of the current spell (0 for Turn Undead and special attacks).
int32_t CurrentTargetingKind();
