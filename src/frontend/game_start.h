// Starting and leaving games from the main menu: the introductory adventure
// from its prepared start, a new party for the main adventure, the switch to
// the introductory adventure, the save and load page, and leaving the program.
#pragma once

// The introductory adventure from slot 0 of "DemoVersion": 1 when the game
// runs (the next frame shows it), 0 when a file of the prepared start could
// not be read (a fatal message was shown).
int StartIntroductoryAdventure();
// Rolls a new party of four and opens character creation: 1, or 0 when the
// prepared files of the main adventure could not be read. A game running
// then is given up: its state of play is cleared and the creation replaces
// its creatures.
int PrepareNewParty();
// With the debug switch: a new party straight to the party set-up page.
int StartDebugPartySetup();
// "Demo": the introductory adventure becomes the active one.
void SwitchToIntroductoryAdventure();
// "Exit": an Ironman game that may be saved is saved into a new slot first.
// True when the program may end; false when that save failed (the game stays).
bool LeaveTheGame(bool savingAllowed);
// The message shown on "Exit" after its save failed, null otherwise.
const char* ExitRefusal();
