#include "combat/resolution/special_attacks.h"

#include "rules/creature_record.h"

// The "%s" of each announcement is the creature's name.
const SpecialAttackKind SpecialAttackKinds[kSpecialAttackKinds + 1] = {
    {"", 0, 0, 0, 0, 0, 0, 0, 0},
    {"\xA3%s\xA3 uses its cone of fire @BREATH_WEAPON@.", 0, 3, 3, 1, 1000, 8, 0, 9},  // 1
    {"\xA3%s\xA3 uses its cone of cold @BREATH_WEAPON@.", 0, 4, 3, 1, 1000, 6, 9, 7},  // 2
    {"\xA3%s\xA3 uses its cone of electricity @BREATH_WEAPON@.", 0, 6, 3, 1, 1000, 7, 5, 10},  // 3
    {"\xA3%s\xA3 uses its cone of acid @BREATH_WEAPON@.", 0, 5, 3, 1, 1000, 9, 4, 7},  // 4
    {"\xA3%s\xA3 uses its cone of dust @BREATH_WEAPON@.", 0, 8, 3, 1, 1000, 7, 1, 10},  // 5
    {"\xA3%s\xA3 uses its sleep cone @BREATH_WEAPON@.", 0, 93, 2, 0, -1, 6, 5, 7},  // 6
    {"\xA3%s\xA3 uses its slow cone @BREATH_WEAPON@.", 0, 94, 1, 0, -1, 6, 1, 7},  // 7
    {"\xA3%s\xA3 uses its paralysis cone @BREATH_WEAPON@.", 0, 84, 1, 0, -1, 7, 1, 10},  // 8
    {"\xA3%s\xA3 uses its petrification cone @BREATH_WEAPON@.", 0, 125, 1, 0, 1000, 6, 1, 7},  // 9
    {"\xA3%s\xA3 uses its weakening cone @BREATH_WEAPON@.", 0, 112, 1, 0, 2000, 9, 4, 7},  // 10
    {"\xA3%s\xA3 uses its suffocating cone @BREATH_WEAPON@.", 0, 110, 1, 0, 2000, 9, 3, 7},  // 11
    {"\xA3%s\xA3 uses its line of fire @BREATH_WEAPON@.", 1, 3, 3, 1, 1000, 8, 0, 9},  // 12
    {"\xA3%s\xA3 uses its line of cold @BREATH_WEAPON@.", 1, 4, 3, 1, 1000, 6, 9, 7},  // 13
    {"\xA3%s\xA3 uses its line of electricity @BREATH_WEAPON@.", 1, 6, 3, 1, 1000, 10, 0, 11},  // 14
    {"\xA3%s\xA3 uses its line of acid @BREATH_WEAPON@.", 1, 5, 3, 1, 1000, 9, 4, 7},  // 15
    {"\xA3%s\xA3 uses its line of dust @BREATH_WEAPON@.", 1, 8, 3, 1, 1000, 7, 1, 10},  // 16
    {"\xA3%s\xA3 uses its sleep line @BREATH_WEAPON@.", 1, 93, 2, 0, -1, 6, 5, 7},  // 17
    {"\xA3%s\xA3 uses its slow line @BREATH_WEAPON@.", 1, 94, 1, 0, -1, 6, 1, 7},  // 18
    {"\xA3%s\xA3 uses its paralysis line @BREATH_WEAPON@.", 1, 84, 1, 0, -1, 7, 1, 10},  // 19
    {"\xA3%s\xA3 uses its petrification line @BREATH_WEAPON@.", 1, 125, 1, 0, 1000, 6, 1, 7},  // 20
    {"\xA3%s\xA3 uses its weakening line @BREATH_WEAPON@.", 1, 112, 1, 0, 2000, 9, 4, 7},  // 21
    {"\xA3%s\xA3 uses its suffocating line @BREATH_WEAPON@.", 1, 110, 1, 0, 2000, 9, 3, 7},  // 22
    {"\xA3%s\xA3 uses its petrification \xA3" "gaze\xA3 \xA3" "attack\xA3.", 0, 125, 1, 0, 1000, 6, 1, 7},  // 23
};

const SpecialAttackKind& SpecialAttackOf(int kind) {
  return SpecialAttackKinds[kind >= 1 && kind <= kSpecialAttackKinds ? kind : 0];
}

int SpecialAttackKindOf(int creature) {
  if (!IsValidCreature(creature)) return 0;
  const int32_t kind = Creatures[creature].special[kSpecialAttackKind];
  return kind >= 1 && kind <= kSpecialAttackKinds ? kind : 0;
}

bool SpecialAttackRollsAmount(int kind) {
  return (kind >= 1 && kind <= 5) || (kind >= 10 && kind <= 16) || kind == 21 || kind == 22;
}

const int32_t SpellCategory[kSpellRows] = {
    8, 3, 3, 8, 2, 1, 1, 7, 7, 3, 7, 1, 3, 3, 1, 8, 7, 7, 1, 3,  // 0-19
    7, 7, 7, 5, 7, 3, 3, 9, 8, 3, 7, 2, 2, 3, 7, 1, 4, 8, 7, 8,  // 20-39
    7, 3, 7, 7, 7, 3, 3, 2, 2, 2, 3, 7, 3, 3, 8, 4, 8, 7, 7, 7,  // 40-59
    2, 8, 7, 7, 4, 8, 3, 3, 3, 2, 2, 2, 1, 1, 5, 3, 7, 8, 7, 7,  // 60-79
    7, 1, 1, 8, 2, 3, 3, 1, 7, 7, 1, 2, 1, 3, 7, 1, 9, 7, 8, 7,  // 80-99
    7, 2, 9, 8, 8, 4, 1, 5, 3, 1, 3, 9, 9, 3, 7, 7, 7, 7, 9, 5,  // 100-119
    1, 9, 9, 9, 9, 9, 9, 9, 9, 8, 2, 9, 9, 5, 1, 9, 4, 8, 1, 9,  // 120-139
    9, 9, 9, 9, 5, 1, 8, 9, 7, 9, 3, 9, 4, 6, 3, 2, 9, 3, 1, 3,  // 140-159
    3, 1, 5, 6, 2, 6, 2, 9, 4, 6, 2, 2, 6, 2, 9, 0, 0, 0, 0, 0,  // 160-179
};
const int32_t (&SpellTargetKind)[kSpellRows] = SpellCategory;

int32_t UseCategory(int spell, int caster) {
  if (spell >= 0 && spell < kSpellRows) return SpellCategory[spell];
  if (spell == 998) return 8;
  if (spell == 999) {
    const int kind = SpecialAttackKindOf(caster);
    return (kind >= 1 && kind <= 5) || (kind >= 12 && kind <= 16) ? 2 : 8;
  }
  return 0;
}
