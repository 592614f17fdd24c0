// The start of a battle: who takes part, who is surprised, the initiative
// order and the opening of the message log, and the script flags that steer it.
#pragma once
#include <cstdint>

constexpr int kCombatListSize = 300;
constexpr int kEncounterRatingCounters = 31;

// The opposing side of this battle, and the allied creatures (5 and 6) that
// join it (-1 free).
extern int32_t CombatParticipants[kCombatListSize];
extern int32_t CombatParticipantCount;
extern int32_t CombatAllies[kCombatListSize];
extern int32_t CombatAllyCount;

// Script flags, read and cleared here: take every present enemy of the party
// leader into combat; count every enemy and talker as alert; surprise the
// party; no surprise on either side; do not turn the party to its foes.
extern uint8_t ForcedCombat;
extern uint8_t AllEnemiesAlert;
extern uint8_t PartySurprisedFlag;
extern uint8_t NoSurpriseFlag;
extern uint8_t SkipOpeningFacing;
// Every participant was surprised at the start.
extern uint8_t EnemiesSurprised;
// Allies joined the battle (read and cleared by the victory screen).
extern uint8_t AlliesJoined;
// Enemies met by challenge rating (0 to 29, and 30 and above).
extern int32_t EncounterRatingCounts[kEncounterRatingCounters];

// Puts the words above back to their start-up values (a new game, and tests).
void ResetStartOfCombatState();
