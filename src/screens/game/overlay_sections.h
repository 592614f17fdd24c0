// The sections the game screen frame draws over everything else, in every
// state: the object list of a square, the current action's banner, the
// hovered creature's box, the dialogue box, and the end of the frame: the
// spell cursor or the click result (click_results.h), the cursor hint and
// the cursor. (The debug tools, the missile and the ambient sounds between
// them are the map view's: debug_tools.h, missile_flight.h, ambient_sounds.h.)
#pragma once

// The objects of the hovered square (screen mode 5).
void DrawObjectList();
// The banner of the action being carried out.
void DrawActionBanner();
// The box of the hovered creature (screen mode 3).
void DrawHoveredCreatureBox();
// The script's dialogue box (screen mode 1).
void DrawDialogueBox();
// The icon of the spell being aimed in place of the cursor, with its hit
// chance.
void DrawSpellCursor();
// The held object or the cursor with its hint, and the end of the sprite batch.
void FinishFrame();
