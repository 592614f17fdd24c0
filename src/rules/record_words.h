// The meanings of the creature record's word arrays (display, behaviour,
// special-ability, script-set, further, generation, formation and patrol
// words) and of the protection codes read as flags. Every word id of the
// record is named here and nowhere else; a new meaning takes a free word and
// joins the list of its array at the end of this file, which a test keeps
// free of duplicates.
#pragma once
#include <cstdint>

// The five display and use words.
enum DisplayWord : int {
  kDisplayFigureSize = 0,      // 1 one square, 4 or 5 two by two, 8 three by three
  kDisplaySideMark = 1,        // 1 or 2, chosen by the creator of the creature
  kDisplayEvilMark = 2,        // 1 for a chaotic evil creature
  kDisplayTurnUndeadUses = 3,  // a Cleric's Turn Undead uses per day
  kDisplayAnimationFrame = 4,  // the walking or attacking frame of the figure, 0 to 4
};

// The behaviour words: the percentages (0 to 100) and style words the
// computer-controlled fighter rolls against when it plans a turn. Some words
// serve several of its decisions under one name:
// - the spell-attack percentage is also its spell percentage and its
//   percentage of readying against an enemy's spellcasting;
// - the casting percentage (a caster's 50 or 90) is its percentage of
//   escaping a grapple;
// - the second grapple percentage is its percentage of pinning the creature
//   it grapples;
// - the defensive style is its keep-distance word (1 keeps its distance;
//   kKeepsPreferredRange keeps a preferred range of 2 to 4 squares);
// - the casting style is its role word (1 and 2 select the class rules of the
//   spell search) and its behaviour code (1 lets a caster stop beside its
//   enemies; the stance of its good-square grid, 2 when 0).
enum BehaviourWord : int {
  kBehaviourCleric = 0,          // a Cleric cures its friends
  kBehaviourCharge = 1,
  kBehaviourSpellAttack = 2,
  kBehaviourMetamagic = 3,
  kBehaviourCounterspell = 4,
  kBehaviourCasting = 5,
  kBehaviourGrapple = 6,
  kBehaviourGrapple2 = 7,
  kBehaviourWhirlwind = 8,
  kBehaviourSpecialAttack = 9,   // breath weapon or gaze
  kBehaviourSpellLike = 10,
  kBehaviourSecondTactic = 11,   // the alternate natural attack
  kBehaviourRangedUse = 12,
  kBehaviourWand = 13,
  kBehaviourBullRush = 14,
  kBehaviourDefensiveCasting = 15,  // flag 0 or 1
  kBehaviourDefensiveStyle = 16,    // 1 or 2
  kBehaviourCastingStyle = 17,      // 1 fighting caster, 2 pure caster
  kBehaviourAlarm = 18,             // the alarm sounder's percentage (above 0: it sounds the alarm)
};
constexpr int kBehaviourWordCount = 19;
// The keep-distance value of a fighter that keeps a preferred range.
constexpr int32_t kKeepsPreferredRange = 5;

// The twenty special-ability words.
enum SpecialWord : int {
  kSpecialSpellLike = 0,        // spell id + 1 of the spell-like ability, 0 none
  kSpecialCasterLevel = 1,      // its caster level
  kSpecialUsesLeft = 2,
  kSpecialUsesPerDay = 3,
  kSenseKindWord = 4,           // the special quality (the sense kinds below)
  kSpecialAttackKind = 5,       // breath weapon or gaze kind 1 to 23
  kSpecialAttackSides = 6,
  kSpecialAttackDice = 7,
  kSpecialRegeneration = 8,     // hit points regenerated at the start of each turn
  kSpecialConstrictSides = 9,
  kSpecialConstrictDice = 10,
  // The energy shield: die size, dice count, kind (1 fire, 2 cold, 3 shock,
  // 4 acid, 5 sonic, 6 positive, 7 negative energy, 8 force).
  kSpecialShieldSides = 11,
  kSpecialShieldDice = 12,
  kSpecialShieldKind = 13,
  kSpecialRakeSides = 14,
  kSpecialRakeDice = 15,
  kSpecialRakeBonus = 16,
  kSpecialPowerfulChargeSides = 17,
  kSpecialPowerfulChargeDice = 18,
  kSpecialPowerfulChargeBonus = 19,
};

// The sense kinds of the special quality that work without sight: a
// creature of kind 5 senses by hearing (deafness or silence takes the sense
// away), one of kind 6 by a sense nothing stops.
constexpr int32_t kSenseByHearing = 5;
constexpr int32_t kSenseBeyondSight = 6;
constexpr bool SenseWorksWithoutSight(int32_t sense) { return sense == kSenseByHearing || sense == kSenseBeyondSight; }


// The seven script-set words.
enum ScriptWord : int {
  kScriptWordAcceptsAllies = 0,     // 1: its area spells may catch allies when they catch as many enemies
  kScriptWordDeathScript = 1,       // the death-script number, 0 none ("Map%i_Death%i")
  kScriptWordTarget = 2,            // the creature its scripted spells aim at, 0 none
  kScriptWordFirstSpell = 3,        // 3 to 5: the three script-set spells (spell id + 1, 0 none)
  kScriptWordLastSpell = 5,
  kScriptWordSelfEnlargement = 6,   // 1: a Wizard may enlarge itself
};

// The two further words.
enum FurtherWord : int {
  kArmourCastingWord = 0,  // 1: casts in armour without arcane spell failure
  kTalkCountWord = 1,      // how many times its own script has run when it was met
};

// The three generation words: the treasure multipliers of the creature's
// kind, coins, goods and items. 0 none, 5 one roll with a 10 % chance, 6 one
// roll with a 50 % chance, any other value that many rolls.
enum TreasureWord : int {
  kCoinsMultiplierWord = 0,
  kGoodsMultiplierWord = 1,
  kItemsMultiplierWord = 2,
};

// The three formation words. A follower keeps the offset last used, turned
// with its leader's facing, in the first two; a creature that is its own
// leader keeps the third and fourth creatures of its line there instead (the
// first two are its formation offset), -1 or 0 none.
enum FormationWord : int {
  kTurnedOffsetXWord = 0,
  kTurnedOffsetYWord = 1,
  kHoldFlagWord = 2,  // 1: does not follow its leader
};
enum LeaderLinkWord : int {
  kThirdLinkWord = 0,
  kFourthLinkWord = 1,
};

// The three words of a patrol waypoint.
enum WaypointWord : int {
  kWaypointX = 0,      // -1: no waypoint (the patrol turns back to waypoint 1)
  kWaypointY = 1,
  kWaypointPause = 2,  // the value taken into the waypoint-value word on leaving for it
};

// Protection codes (see GetProtectionValue) read as flags: 1 sets the flag.
enum ProtectionFlagCode : int {
  kCodeNeverHelpless = 44,     // cannot be finished off while helpless
  kCodeFreeMovement = 56,      // webs and hampering do not hold it
  kCodeCannotBeGrappled = 64,
  kCodeCannotBePinned = 65,
};
// The protection code read straight from the creature's protection pair 48
// rather than through an immunity category.
constexpr int kCodeReadFromPair = 48;

// The named words of each array, for the test that keeps them apart. A word
// listed twice in one list would mean two meanings sharing a word.
constexpr int kDisplayWordIds[] = {kDisplayFigureSize, kDisplaySideMark, kDisplayEvilMark, kDisplayTurnUndeadUses,
                                   kDisplayAnimationFrame};
constexpr int kBehaviourWordIds[] = {
    kBehaviourCleric,       kBehaviourCharge,       kBehaviourSpellAttack,      kBehaviourMetamagic,
    kBehaviourCounterspell, kBehaviourCasting,      kBehaviourGrapple,          kBehaviourGrapple2,
    kBehaviourWhirlwind,    kBehaviourSpecialAttack, kBehaviourSpellLike,       kBehaviourSecondTactic,
    kBehaviourRangedUse,    kBehaviourWand,         kBehaviourBullRush,         kBehaviourDefensiveCasting,
    kBehaviourDefensiveStyle, kBehaviourCastingStyle, kBehaviourAlarm};
constexpr int kSpecialWordIds[] = {
    kSpecialSpellLike,     kSpecialCasterLevel,   kSpecialUsesLeft,           kSpecialUsesPerDay,
    kSenseKindWord,        kSpecialAttackKind,    kSpecialAttackSides,        kSpecialAttackDice,
    kSpecialRegeneration,  kSpecialConstrictSides, kSpecialConstrictDice,     kSpecialShieldSides,
    kSpecialShieldDice,    kSpecialShieldKind,    kSpecialRakeSides,          kSpecialRakeDice,
    kSpecialRakeBonus,     kSpecialPowerfulChargeSides, kSpecialPowerfulChargeDice, kSpecialPowerfulChargeBonus};
// The script-set spells are the words from kScriptWordFirstSpell to kScriptWordLastSpell.
constexpr int kScriptWordIds[] = {kScriptWordAcceptsAllies, kScriptWordDeathScript, kScriptWordTarget,
                                  kScriptWordFirstSpell,    kScriptWordFirstSpell + 1, kScriptWordLastSpell,
                                  kScriptWordSelfEnlargement};
constexpr int kFurtherWordIds[] = {kArmourCastingWord, kTalkCountWord};
constexpr int kGenerationWordIds[] = {kCoinsMultiplierWord, kGoodsMultiplierWord, kItemsMultiplierWord};
// A follower's formation words, and a leader's (its links share the offset words).
constexpr int kFollowerFormationWordIds[] = {kTurnedOffsetXWord, kTurnedOffsetYWord, kHoldFlagWord};
constexpr int kLeaderFormationWordIds[] = {kThirdLinkWord, kFourthLinkWord, kHoldFlagWord};
constexpr int kWaypointWordIds[] = {kWaypointX, kWaypointY, kWaypointPause};
constexpr int kProtectionFlagCodes[] = {kCodeNeverHelpless, kCodeFreeMovement, kCodeCannotBeGrappled,
                                        kCodeCannotBePinned, kCodeReadFromPair};
