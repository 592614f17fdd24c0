// The active adventure: its folder word, the %s of script and saved-game paths.
#pragma once
#include <cstdint>

// "DemoVersion" for the introductory adventure, "FullVersion" for the main one.
extern char AdventureFolder[12];
// 1 while the introductory adventure is active, 0 for the main adventure.
extern uint8_t IntroductoryAdventureFlag;
