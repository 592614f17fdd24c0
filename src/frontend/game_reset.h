// Resetting the whole game state: every module's words back to their
// start-up values. The tests' fixtures use it, and so will starting a new game.
#pragma once

// Calls the Reset...State function of every module of the game state, the
// model, combat, the screens and the adventure, and empties the quest
// journal. The tables read at start-up (items, spells, help), the settings
// and the devices are left as they are.
void ResetGameState();
// The same but for the creature table and the maps (stored, current and
// world), which the caller then writes whole: a load.
void ResetGameStateButCreaturesAndMaps();
