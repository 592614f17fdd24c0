// What one attack carries from the roll to the damage, and the helpers the
// roll, the damage and the effects share (inside attack resolution only).
#pragma once
#include <cstdint>

#include "rules/attack_profile.h"
#include "rules/modifier_list.h"
#include "state/combat_events.h"

// The message log's highlight mark, for joining into quoted texts.
#define HL "\xA3"

struct AttackContext {
  int attacker = -1;
  int target = -1;
  int entryIndex = 0;
  AttackProfile profile;
  AttackProfileEntry* entry = nullptr;
  bool ranged = false;
  bool touch = false;
  bool brilliant = false;
  bool grapple = false;
  bool coupDeGrace = false;
  bool critical = false;
  int32_t weaponItem = -1;   // crafted code of the weapon used, -1 none
  int naturalSlot = -1;      // natural-attack slot of the entry, -1 none
  int32_t naturalCode = -1;  // its attack kind (sound variant), -1 none
  int32_t multiplier = 2;    // critical multiplier of the weapon
  int32_t d20 = 0;           // the attack roll's die
  int32_t nextEvent = 0;     // next entry of the event queue to write
};

// Rolls dice into the list (null: unrecorded) and returns their sum; a roll
// is logged by keeping its list with StoreCombatRoll and writing the line with
// the list's total and the index it returned.
int RollInto(ModifierList* list, int sides, int count);

// The next free entry of the event queue; null when the queue is full.
CombatEvent* NextEvent(AttackContext& a);
void SetEvent(CombatEvent* e, int32_t type, int32_t value, int creature, int32_t sound);

// A creature's immunity code of one of the 44 categories.
int32_t ImmunityCode(int creature, int category);
bool IsImmune(int creature, int category);

// A saving throw of combat: d20 + save + ability modifier in a list of its
// own, logged with the saver's name; natural 1 fails and natural 20 succeeds
// with their texts. kind 0 Fortitude, 1 Willpower. *natural is set when the
// die decided.
bool SavingThrow(int creature, int kind, int32_t dc, bool* natural);

// The energies of damage, in the order of the energy table.
enum Energy : int {
  kFire = 0,
  kCold = 1,
  kElectricity = 2,
  kAcid = 3,
  kSonic = 4,
  kNegativeEnergy = 5,
  kForce = 6,
};
// Who deals an energy damage: the target's energy defence (reported in the
// attacker's event queue, no immunity or zero texts), a weapon's magic, or a
// natural attack.
enum EnergyUse : int { kEnergyDefence, kEnergyWeapon, kEnergyNatural };
// The dice are already in the list: the victim's response to the energy and
// its resistance are added, then the loss (or, reversed, the healing) is
// applied, reported and logged. Returns the hit points lost.
int32_t ApplyEnergyDamage(AttackContext& a, int victim, int hurtBy, Energy energy, ModifierList* list, EnergyUse use);

// Damage reduction, the absorbing pools and the loss of one physical damage
// (code 1 bludgeoning, 2 slashing, 3 piercing) already rolled into the list.
void ApplyPhysicalDamage(AttackContext& a, ModifierList* list, int32_t code, bool natural);

// The weapon's alignment damages, energies and special abilities.
void ApplyWeaponMagic(AttackContext& a);
// The one or two effects of a natural attack.
void ApplyNaturalEffects(AttackContext& a);

// The damage of a hit, from the sound of the hit to RemoveFromCombat; its
// result is ResolveAttack's.
int ApplyHitDamage(AttackContext& a);
