// Saved games: writing the running game into a numbered slot of the active
// adventure's folder.
#pragma once

// Writes the running game into the slot; 0 on success, else a code that the
// calling screen turns into a message.
int WriteSavedGame(int slot);
// The lowest slot from 1 up that holds no saved game.
int FindFreeSaveSlot();
