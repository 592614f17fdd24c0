// Random encounters: the monster groups placed round a square.
#pragma once
#include <cstdint>

// The running counter of creatures created for groups (ids 601 + counter);
// the caller resets it to 0 before placing groups.
extern int32_t EncounterCounter;

// The text announcing the last encounter, shown by the encounter choice.
constexpr int kEncounterTextSize = 400;
extern char EncounterText[kEncounterTextSize];

// The groups asked for since the log was last cleared (region, square, world-map arrival flag).
struct EncounterRequest {
  int32_t region, x, y, arrival;
};
constexpr int kEncounterRequestLog = 32;
extern EncounterRequest EncounterRequests[kEncounterRequestLog];
extern int32_t EncounterRequestCount;

// Creates a monster group of the region's table round (x, y).
void GenerateRandomEncounter(int region, int x, int y, int arrival, int flag);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetEncountersState();
