// Which feats a party member may take now, and the two the feat page
// proposes. Both are worked out from the creature record on every call.
#pragma once
#include <array>
#include <cstdint>

#include "rules/creature_record.h"  // kFeatFlags

// One flag a feat, 1 = may be taken now.
using FeatOffer = std::array<int32_t, kFeatFlags>;
// Two feat ids, -1 where none.
using GoodFeats = std::array<int32_t, 2>;

// The weapons of the five weapon feat families, in their order (FISTS 0 to
// DWARVEN WARAXE 45): weapon w's Weapon Focus is 59 + w, its Greater Weapon
// Focus 105 + w, Weapon Specialisation 151 + w, Greater Specialisation
// 197 + w, Improved Critical 243 + w.
constexpr int kFeatWeapons = 46;

// A feat is offered when its requirements (ability scores, base attack
// bonus, class, level, other feats) are met and it is not held yet;
// TOUGHNESS is always offered, IMPROVED DISARM, IMPROVED SUNDER, the natural
// armour, multiattack, tower shield and extra feats never.
FeatOffer ComputeFeatOffer(int creature);
// The first two offered feats of the class's list of good choices (Knight,
// Wizard, Cleric; none for other classes).
GoodFeats ChooseGoodFeats(int creature, const FeatOffer& offer);
// Whether the creature holds an exotic proficiency or a Weapon Focus of
// DAGGER to SHORTBOW (52, 53, 70 to 102).
bool HasExoticProfOrWeaponFocus(int creature);
// Whether it holds a martial or exotic proficiency or a Weapon Focus of
// DAGGER to SHORTBOW (30 to 53, 70 to 102).
bool HasMartialProfOrWeaponFocus(int creature);
