// Random encounters: the monster groups placed round a square.
#pragma once
#include <cstdint>

// The running counter of creatures created for groups: the n-th gets
// creature id kFirstEncounterCreature + n. The map switch resets it to 0
// before its first group.
constexpr int kFirstEncounterCreature = 601;
extern int32_t EncounterCounter;

// The text announcing the last encounter, shown by the encounter choice.
constexpr int kEncounterTextSize = 400;
extern char EncounterText[kEncounterTextSize];

// The groups asked for since the log was last cleared (region, square,
// world-map arrival flag), one entry for each call from outside.
struct EncounterRequest {
  int32_t region, x, y, arrival;
};
constexpr int kEncounterRequestLog = 32;
extern EncounterRequest EncounterRequests[kEncounterRequestLog];
extern int32_t EncounterRequestCount;

// Creates one hostile group of the region's table (0 to 20; any other value
// takes the table of regions 0 to 2) round the anchor square (x, y) of the
// current map and writes its announcing sentence into EncounterText. With
// arrival 1 (a world-map arrival) the group stays in place; with 0 it roams
// on a 1 of 1d2. Returns 1 when a row was carried out, 0 when none was or
// the creature table could not hold the group (nothing is then created).
// The map switch passes a fifth word, 0, which changes nothing.
int GenerateRandomEncounter(int region, int x, int y, int arrival, int unused = 0);

// A face that the next roll of a region's die shows in place of the one
// rolled (the die is still rolled), then 0 again; 0 lets the die decide.
// The battle tools use it to meet each row of a table in turn.
extern int32_t ChosenEncounterFace;

// Puts the words above back to their start-up values (a new game, and tests).
void ResetEncountersState();
