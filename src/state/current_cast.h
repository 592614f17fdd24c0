// The words of the cast under way: which spell, by whom, on whom, with which
// metamagic and from which source, and the follow-up and playback words the
// casting steps share with the action executor. Whoever starts a cast (the
// player's orders, the computer's decision, a queued action of the turn
// order) writes them; the combat sequencer reads them and clears them when
// the use ends.
#pragma once
#include <cstdint>

// The spell being cast: a spell row 0 to 179, 998 Turn Undead, 999 the acting
// creature's special attack (breath weapon or gaze), -1 none. CurrentSpell is
// the same word under the name the spell screens and item pickers use.
extern int32_t SpellInProgress;
extern int32_t& CurrentSpell;
// The creature casting the current spell.
extern int32_t SpellCaster;
// The creature the spell is aimed at (-1 none).
extern int32_t SpellTarget;
// MetamagicKind of rules/casting_rules.h: 0 none, 1 Maximise, 2 Empower,
// 3 Widen, 4 Heighten, 5 Silent, 6 Still.
extern int32_t PendingMetamagic;

// Where the use comes from: read from an item (a scroll, or a wand when the
// wand byte is set too) and the item's code; an innate (spell-like) use; a
// spell the creature's script set for it (an innate use with this byte set
// counts as no innate use).
extern uint8_t CastingFromItem;
extern uint8_t CastingWand;
extern uint32_t CastingItem;
extern uint8_t CastingSpellLike;
extern uint8_t CastingScripted;
// The casting parameter (the group-spell target mode), the two kept values
// (the dispel parameter of spell 27, the group parameter of the group
// spells) and the turn's budget words when the casting began.
extern int32_t CastingParameter;
extern int32_t CastingExtraValue[2];
// The group parameter of a cure or infliction (CastingExtraValue[1]): cast
// on a friend, or against an enemy (a cure on an undead foe, an infliction
// on a living one); 0 leaves it to the spell's own side.
constexpr int32_t kGroupOnFriends = 1;
constexpr int32_t kGroupAgainstEnemies = 2;

// The computer's focus creature: the creature whose spellcasting the acting
// fighter was readied to disrupt, set when its readied action goes off at
// the start of its turn (-1 none). Its spells and areas are aimed to reach it.
extern int32_t DisruptionTarget;
// Why a computer caster looks for a dispel centre (0 none): 1 its own
// paralysis, 2 its own confusion, 3 an enemy summoned, controlled or
// dominated, 4 standing in fire, 5 in an entangling area, 6 in a web, 7 a
// solid barrier, 8 fire on the square about to be stepped on, 9 a helpless
// ally, 10 magic on an enemy, 11 silence, 12 webbed creatures, 13 creatures
// burning, 14 a fire area in the way. Cleared with the current spell.
extern int32_t DispelReason;
// Set by the combat state machine when a fighter's turn resumes a held cast:
// the start of the use tests for readied enemies and the source is not spent
// again.
extern uint8_t CastResumed;
// How the spell of the use under way was lost before it took hold, in the
// words floated over its caster; the next use begins with none.
enum CastingLoss : uint8_t {
  kCastingNotLost = 0,
  kCastingLostConcentration = 1,   // a failed Concentration check: "Concentration Failure"
  kCastingLostDisrupted = 2,       // the caster can no longer go on: "Spellcasting Disrupted"
  kCastingLostToFailure = 3,       // a spell failure roll: "Failed to Cast"
  kCastingLostCounterspelled = 4,  // a foe's counterspell: "Counterspelled"
};
extern uint8_t CastingLost;

// The follow-up applied when an action ends (code 13): next action code,
// next screen mode, next combat state; -1 none.
extern int32_t QueuedActionCode;
extern int32_t QueuedScreenMode;
extern int32_t QueuedCombatState;
// Sets the three to -1.
bool ClearQueuedAction();

// The playback of queued combat events: the creature they are shown over
// (-1 none; RunDeathScript handles its fall, so it is also the dying-creature
// word), the frames left for the event on display and the frames one event
// stays.
extern int32_t PlaybackCreature;
extern int32_t PlaybackFramesLeft;
extern int32_t& FramesPerEvent;  // the combat step of the speed options

// Sets the ready-action mode word (the action bar's mode, ActionBarMode) from
// the ready byte: 2 when it is 0, 1 when it is 1.
void SetReadyMode();

// Puts every word above back to its start-up value (a new game, and tests).
void ResetCurrentCastState();
