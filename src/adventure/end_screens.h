// The end screens (victory, defeat, the end of the introductory adventure)
// and what they share: the experience awards of a won battle, the gold found
// on the enemies, and the way back to the main menu. The screens themselves
// and ReturnToMainMenu are declared with the scripts (adventure/scripts.h).
#pragma once
#include <cstdint>

constexpr int kXPLevels = 21;   // rows: character level 0 to 20
constexpr int kXPRatings = 30;  // columns: challenge rating 1 to 30
// Experience for one enemy of challenge rating column + 1, by the level of
// the character who shares in it (row 0 all zero).
extern const int32_t (&XPTable)[kXPLevels][kXPRatings];

// A party member is alive while none of its conditions is Dead with a
// duration above 0 (the scan stops at the first empty slot).
bool MemberIsAlive(int member);
// The award of each living member for the battle just won (the enemies met
// by challenge rating, shared among the living; an award below 1 becomes 25;
// cut to 60 per cent while allies fought beside the party); 0 for a dead
// member. Returns the number of living members.
int ComputeVictoryAwards(int32_t awards[4]);
// The gold coins the enemies of the battle carry.
int32_t GoldOfDefeatedEnemies();
// What the victory screen's click does: the battle closed, the awards and
// the gold handed out, the level-up and death scripts run, the enemies'
// belongings laid on the map.
void CloseWonBattle(const int32_t awards[4], int32_t gold);

// The end screens' common frame parts: the prompt blinking on the shared
// blink counter, and a fresh click (Space too when asked) taken with its sound.
void DrawBlinkingPrompt(int style, int column, int row, const char* text);
bool TakeEndScreenClick(bool spaceToo);
// The game screen's transient words back to idle and the selected-fighter
// mode word taken from the settings (0 at the end of the adventure).
void SettleGameScreenWords(bool fromSettings);
