// The attack profile: every attack form a creature can use in one full attack
// (main hand, off hand, up to four natural attacks, ranged weapon), each with
// its attack roll, number of attacks and damage bonus as breakdowns. Built on
// demand from the creature record, never stored.
#pragma once
#include <cstdint>

#include "rules/modifier_list.h"
#include "rules/record_words.h"

constexpr int kAttackProfileEntries = 7;

// Entry kinds.
enum AttackEntryKind : int32_t {
  kEntryNone = 0,
  kEntryMainHand = 1,
  kEntryOffHand = 2,
  kEntryNatural0 = 3,  // 3 to 6: natural-attack slots 0 to 3
  kEntryNatural3 = 6,
  kEntryRanged = 7,
};

// Special effects of a natural attack: 1 to 6 ability damage of Strength ...
// Charisma, 7 level drain, 8 paralysis, 9 bleeding.
constexpr int32_t kEffectLevelDrain = 7;
constexpr int32_t kEffectParalysis = 8;
constexpr int32_t kEffectBleeding = 9;

struct AttackExtraDamage {
  int32_t count;  // 0 none
  int32_t sides;
  int32_t kind;
};

struct AttackProfileEntry {
  int32_t kind = kEntryNone;
  char name[16] = {};
  int32_t damageSides = 0;
  int32_t damageCount = 0;
  int32_t damageKind = 0;     // also the style the character record draws it in
  int32_t specialEffect = 0;
  AttackExtraDamage extra[2] = {};
  int32_t moreExtras = 0;     // a third bonus damage found no place
  ModifierList attackRoll;
  ModifierList attackCount;
  ModifierList damageBonus;
};

struct AttackProfile {
  AttackProfileEntry entries[kAttackProfileEntries];
};

// Natural attack names by kind (0 "N.A.", 1 bite ... 10 wing), and the short
// names of grapple rolls.
extern const char NaturalAttackNames[11][16];
extern const char NaturalAttackShortNames[11][16];
// Weapon size (0-7) and material (0-8) words of weapon names.
extern const char WeaponSizeNames[8][8];
extern const char WeaponMaterialNames[9][11];

// The weapon feats of a natural attack kind stand in each feat block in the
// order fists, bite, claws, gore, slam, tail slap, sting, wings, touch,
// ranged touch: the kind's place in that order, -1 for no kind.
int NaturalFeatOffset(int32_t kind);

// 1 (the default): BuildAttackProfile writes the captions of each entry's
// lists. 0: it leaves them empty, for a profile read for its numbers and
// names alone.
extern uint8_t ProfileCaptionsWritten;

// Fills the profile. alternateForm 1 puts natural slot 3 in place of slot 0;
// target -1 outside combat; grapple 1 builds the single grapple-roll entry;
// grappleFlag goes on to AddAttackModifiers.
void BuildAttackProfile(AttackProfile* profile, int creature, int32_t alternateForm, int target,
                        uint8_t grapple, int32_t grappleFlag);
// 1 below base attack bonus 6, 2 below 11, 3 below 16, else 4.
int AttacksFromBaseAttack(int creature);
// Adds the general attack-roll sources to the list; returns 1.
int AddAttackModifiers(uint8_t grapple, int creature, ModifierList* list, uint8_t useStrength, int target,
                       uint8_t ranged, int32_t grappleFlag);
// A natural hand attack (claw, fist, slam, touch) with more than one attack
// in the slots the creature uses.
bool HasSpareHandAttack(int creature, int32_t alternateForm);
// An able enemy in the turn order has the creature's footprint on its ring.
bool IsThreatenedByEnemy(int creature);
// Every ring square of the target on the map holds an able enemy of it.
bool IsTargetSurrounded(int target);
