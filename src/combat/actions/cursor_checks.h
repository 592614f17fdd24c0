// The map cursor checks of the acting fighter's turn: keeping the map cursor
// on the map, and whether the mouse is over the action bar's row of recent
// spells (a click there does not act on the map).
#pragma once

#include "state/game_screen_words.h"  // RecentSpellPair

// Brings the map cursor square into 0 .. width - 1 and 0 .. height - 1 of the current map.
void ClampMapCursor();
// Whether a recent-spell pair names a spell of the table (the row shows an
// icon for it; unset pairs leave their place empty).
bool RecentSpellShown(const RecentSpellPair& pair);
// Whether the mouse is over one of the party member's recent-spell icons;
// false while the recent-spell row is not shown.
bool HitTestPanelRows(int creature);

// Set by the action bar while it shows the acting party member's recent spells.
extern unsigned char RecentSpellRowShown;

// Puts the words above back to their start-up values (a new game, and tests).
void ResetCursorChecksState();
