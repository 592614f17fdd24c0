// A creature's own texts as the player edits them: its name, which its
// background text mentions, and the background text itself.
#pragma once

// Gives the creature a new name. When both the new and the old name have at
// least two characters, every occurrence of the old name in the background
// text is replaced by the new one first, the text cut to its 402 bytes. An
// empty new name changes nothing. True when the name was stored.
bool RenameCreature(int creature, const char* newName);
// Stores a non-empty text as the creature's background text (cut to 401
// characters and a NUL); true when stored.
bool StoreCreatureBackground(int creature, const char* text);
