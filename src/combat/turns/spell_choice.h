// The spell branch of a computer fighter's decision: whether to ready a
// counterspell or an action against spellcasting, whether to move first to a
// casting square, which metamagic to use and which spell to cast, whether to
// step to a better square for a cone, line or burst, and the fall-back to
// weapons when no spell will do. The decision calls RunSpellBranch when the
// fighter's plan is to cast (its own spells, a programmed spell, a
// spell-like ability or a wand).
#pragma once
#include <cstdint>

// What the decision works out about the fighter once per decision and the
// spell branch reads.
struct CasterSituation {
  int32_t fighter = -1;       // the acting fighter
  bool canMove = false;       // it may still move this turn
  bool freeHand = true;       // a hand free for somatic gestures
  bool adjacentEnemy = false; // an enemy stands next to it
  bool rangedAttack = false;  // it holds a ranged weapon with ammunition
};

// How the branch ended. Every outcome but kGaveUp and kNothing has set the
// combat state or issued an order; the decision returns after any of them.
enum class SpellBranchOutcome {
  kSpellCast,     // the spell is handed to the combat sequencer (screen mode 22, state 3)
  kMoved,         // a move to a casting square, or to a better square for an area spell
  kReadied,       // readied to counterspell, or against spellcasting
  kTurnEnded,     // combat state 4
  kWeaponAction,  // the fall-back issued an attack, a shot, an escape or a reload
  kGaveUp,        // no spell: the next decision of the turn goes on without spells
  kNothing,       // an item or innate spell found no target; the next frame decides again
};

SpellBranchOutcome RunSpellBranch(const CasterSituation& situation);

// The spell search alone (metamagic already chosen in PendingMetamagic):
// fills the found-spell list at the highest level that yields a spell, as the
// branch does before picking one. True when a spell was found. The branch's
// words below tell which search ran.
bool SearchSpells(const CasterSituation& situation);

// The found-spell list of the last search level: up to 200 spell ids (a
// spell may stand twice), and the level it was found at.
constexpr int kFoundSpellSize = 200;
extern int32_t FoundSpells[kFoundSpellSize];
extern int32_t FoundSpellCount;
extern int32_t FoundSpellLevel;

// Set when a fighter found nothing to do with its spells; the decisions of
// the rest of its turn go on without spells. The combat cycle clears it when
// the next fighter starts.
extern uint8_t SpellsGivenUpThisTurn;

// The metamagic of a computer cast (PendingMetamagic): Silent when silenced
// or mute with the feat; Still when held, grappling, under armour or shield
// failure, or without a free hand, with the feat; else, on a roll of the
// record's metamagic percentage, one of its Empower, Maximise and Heighten
// feats. None for a wand or a spell-like ability.
void ChooseMetamagic(const CasterSituation& situation);

// Readies the fighter against the caster's next spell: the log line, the
// planned code 22 or 23 (23 while the five-foot step is left), its floating
// text and event, and the end of its action.
void ReadyAgainstSpellcasting(int fighter, int caster);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetSpellChoiceState();
