// The main menu (page type 102): where a game starts, is saved, loaded or
// left, where the settings, credits, help and ranking pages open, and where
// the introductory adventure can be chosen.
#pragma once
#include <cstdint>

// The version the menu shows.
constexpr double kGameVersion = 1.36;

// "Load Game" is offered when one of slots 1 to 5 of the active adventure
// holds a creature roster.
bool AnySavedGameToLoad();
// "Save Game" is offered while a game runs, outside combat and outside the
// casting steps.
bool SavingAllowed();
