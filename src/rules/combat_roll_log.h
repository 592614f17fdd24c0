// Keeping the modifier lists of combat rolls: each roll's list is stored in
// the combat roll log and a log line links to it by its two-digit index.
#pragma once

struct ModifierList;

// Called after each combat roll is stored: when the count reaches 99 the
// newest 70 rolls move down and every two-digit roll index after a '|' in
// the message log is lowered by 29, so links keep pointing at their rolls.
void TrimMessageLog();
// Stores a copy of the list, trims, and returns the index a log line links to.
int StoreCombatRoll(const ModifierList& list);
