// Game-screen words the rules read: the pending level-up, the storm, the
// party's recent spells and the selected-fighter mode word.
#pragma once
#include <cstdint>

// 1 while a party member's level-up is due; no party member may cast then.
extern uint8_t LevelUpPending;
// 1 while a storm rains on the outdoor map.
extern uint8_t StormActive;
// The time of day in minutes (0 to 1,439; 480 after a rest and at a new
// game), the storm's animation counter and the rounds of rain left; the
// game screen advances them, the saved game keeps them.
extern int32_t TimeOfDayMinutes;
extern int32_t RainAnimationCounter;
extern int32_t RainTimeLeft;
// The selected-fighter mode word (0, 1 or 2), kept in option word 27: the
// hovered-creature cursor reads it.
extern int32_t WeaponMode;
// 1 while the joystick steps the party leader; a new path for the leader clears it.
extern uint32_t LeaderStepEnabled;

// The spells each party member cast most recently, newest first; a pair of
// -1 words is empty.
struct RecentSpellPair {
  int32_t spell;
  int32_t metamagic;
};
constexpr int kRecentSpells = 8;
extern RecentSpellPair RecentSpells[4][kRecentSpells];

// Set by a script: the game screen's lower information panel is hidden.
extern uint8_t LowerPanelHidden;

// Implemented by the game screen: switches the background music to the
// track, keeping the playing position of the old one.
void SwitchMusicTrack(int track, int a, int b);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetGameScreenWordsState();
