// The sections the game screen frame draws over everything else, in every
// state: the object list of a square, the current action's banner, the
// hovered creature's box, the debug map tool, the missile, the dialogue box,
// the ambient sounds and the debug exit, and the end of the frame: the spell
// cursor or the click result, the cursor hint and the cursor.
#pragma once

// The objects of the hovered square (screen mode 5).
void DrawObjectList();
// The banner of the action being carried out.
void DrawActionBanner();
// The picture's pixels (right and bottom excluded) the banner of this frame
// takes, read before it is drawn; false when there is none.
bool ActionBannerBox(int* left, int* top, int* right, int* bottom);
// The box of the hovered creature (screen mode 3).
void DrawHoveredCreatureBox();
// The debug map tool (debug flag and its switch on).
void DrawDebugMapTool();
// The missile in flight.
void DrawMissileSprite();
// The script's dialogue box (screen mode 1).
void DrawDialogueBox();
// The looping ambient sounds of what the map passes found in view.
void UpdateAmbientSounds();
// With the debug flag, Left Shift and Escape together: true ends the program.
bool DebugExitChord();
// The icon of the spell being aimed in place of the cursor, with its hit
// chance.
void DrawSpellCursor();
// The held object or the cursor with its hint, and the end of the sprite batch.
void FinishFrame();
