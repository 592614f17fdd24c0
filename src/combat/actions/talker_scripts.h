// The two routines that close the start of a battle: a talker's own script
// when it meets the party, and the challenge rating of the opposing side.
#pragma once
#include <cstddef>

// Builds "Scripts\<adventure>\<tag>.mls" into the buffer; false (nothing to
// run) when the tag is empty or could lead out of the scripts folder (a
// separator, a drive mark or "..") or the path does not fit.
bool BuildTalkerScriptPath(int talker, char* path, size_t size);
// The party stops and steps off blocked squares; the talker (or its whole
// group) and the party turn to each other; the view centres on the talker;
// its script runs with the talker as the speaker; then the talk is counted,
// the facings are given back (unless every enemy is alert) and the screen
// returns to exploring unless the script kept its mode. 1.
int RunCreatureScript(int talker);
// Sorts the participants by challenge rating, highest first (equal ratings
// in reverse listing order), and returns the encounter's rating: the first
// rating, raised for each further participant (a rating-1 one adds 1 up to
// 6; another adds 2 when within 1 of the running rating, 1 when within 2 to
// 4, and ends the count from 5 below it).
int EncounterChallengeRating();
