// Keeping the modifier lists of combat rolls: each roll's list is stored in
// the combat roll log and a log line links to it by its two-digit index.
#pragma once

struct ModifierList;

// Called after each combat roll is stored; sets the log's changed flag. When
// the count reaches 99 the newest 70 rolls move down to 0 to 69 and the roll
// links of the message log ('@' number '|' two digits '@') are renumbered,
// newest first: a link to a kept roll is lowered by 29, a link to a dropped
// roll becomes a highlighted number that opens nothing (its digits 99), and
// the first link already reading 99 ends the scan. Anything else with a '|'
// is left alone.
void TrimMessageLog();
// Stores a copy of the list, trims, and returns the index a log line links to.
int StoreCombatRoll(const ModifierList& list);
