// Game-screen words the rules, map switching and saved games read: the
// pending level-up, the day clock, the weather and the light, the party's
// recent spells and the selected-fighter mode word.
#pragma once
#include <cstdint>

// 1 while a party member's level-up is due; no party member may cast then.
extern uint8_t LevelUpPending;
// Set by the game screen: 1 while the acting fighter takes the equipment
// action ("Use Inventory") in combat, and 1 while the inventory was opened
// from combat; page view's return to the game clears the first, the local
// map's click the second.
extern uint8_t CombatEquipAction;
extern uint8_t CombatInventoryOpen;
// 1 while a storm rains on the outdoor map.
extern uint8_t StormActive;
// Minutes of the day, 0 to 1439 (480 in a new game and after a rest).
extern uint32_t DayClock;
// Ticks of five frames of exploring left to the storm.
extern uint32_t StormTimer;
// 0, or the frame 84 to 88 of sheet 4 drawn as rain while rain falls.
extern uint32_t RainFrame;
// 0 to 100: the level of the rain sound on its channel.
extern uint32_t RainVolume;
// The rows of the lighting table the tint fades to.
enum LightingRow : uint32_t {
  kLightDawn = 0,
  kLightDay = 1,
  kLightDusk = 2,
  kLightNight = 3,
  kLightStorm = 4,
  kLightBlack = 5,
};
constexpr int kLightingRows = 6;
extern const uint8_t LightingTable[kLightingRows][3];
extern uint32_t LightingIndex;
// The current tint of the map view (red, green, blue): the screen tint
// that map switching sets to white on maps without rain.
extern uint32_t (&AmbientTint)[3];
// 1 once AmbientTint equals its lighting row.
extern uint32_t TintSettled;
// Set by the map switch and by loading: the next frame takes the tint of
// its lighting row at once instead of fading to it.
extern uint8_t SetTintAtOnce;
// The rest's fade: 0 none, 1 fading to black, 2 fading back in.
extern uint32_t RestFade;
// The day clock, the rain's picture frame and the storm's time left under
// the names the saved game keeps them by.
extern uint32_t& TimeOfDayMinutes;
extern uint32_t& RainAnimationCounter;
extern uint32_t& RainTimeLeft;
// The selected-fighter mode word (0, 1 or 2), kept in option word 27: the
// hovered-creature cursor reads it.
extern int32_t WeaponMode;
// Implemented by the game screen: the weapon mode word of the acting party
// member kept into its memory when its turn is left, and taken back when its
// turn starts (the combat turn cycle calls them). False without an acting
// party member.
bool RestoreSelectedFighterValue();
bool SaveSelectedFighterValue();
// 1 while the game pad may order the party leader's next step (1 at the start):
// a new path for the leader clears it, the leader's arrival on a square sets it.
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
