// The two routines that close the start of a battle: a talker's own script
// when it meets the party, and the challenge rating of the opposing side.
#pragma once

// Runs the talker's script ("Scripts\<adventure>\<tag>.mls"); 1. (Facing the
// party and stopping its walk come with the talkers' own rules.)
int RunCreatureScript(int talker);
// Sorts the participants by challenge rating, highest first (equal ratings
// in reverse listing order), and returns the encounter's rating: the first
// rating, raised for each further participant (a rating-1 one adds 1 up to
// 6; another adds 2 when within 1 of the running rating, 1 when within 2 to
// 4, and ends the count from 5 below it).
int EncounterChallengeRating();
