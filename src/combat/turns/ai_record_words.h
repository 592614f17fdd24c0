// The creature-record words the computer-controlled fighters roll against,
// under the names their decisions use (the record names them for creation).
#pragma once
#include "rules/creature_record.h"

constexpr int kAiCureOthersPercent = kBehaviourCleric;
constexpr int kAiChargePercent = kBehaviourCharge;
constexpr int kAiSpellPercent = kBehaviourSpellAttack;
constexpr int kAiMetamagicPercent = kBehaviourMetamagic;
constexpr int kAiCounterspellPercent = kBehaviourCounterspell;
constexpr int kAiEscapePercent = kBehaviourCasting;  // breaking free of a grapple
constexpr int kAiGrapplePercent = kBehaviourGrapple;
constexpr int kAiPinPercent = kBehaviourGrapple2;
constexpr int kAiWhirlwindPercent = kBehaviourWhirlwind;
constexpr int kAiBreathPercent = kBehaviourSpecialAttack;
constexpr int kAiSpellLikePercent = kBehaviourSpellLike;
constexpr int kAiAlternateAttackPercent = kBehaviourSecondTactic;
constexpr int kAiWandPercent = kBehaviourWand;
constexpr int kAiBullRushPercent = kBehaviourBullRush;
constexpr int kAiPrefersDefensiveCasting = kBehaviourDefensiveCasting;
// 1 keeps its distance from its foes; 5 keeps a preferred range of 2 to 4
// squares, rolled each turn.
constexpr int kAiKeepDistance = kBehaviourDefensiveStyle;
constexpr int32_t kKeepsPreferredRange = 5;
// 1 and 2 select the class rules of the spell search.
constexpr int kAiRole = kBehaviourCastingStyle;
