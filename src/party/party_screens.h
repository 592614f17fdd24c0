// The party's pages: character creation, level-up, feat and spell picks, party set-up.
#pragma once
#include <cstdint>

void DrawCharacterCreationScreen(int parameter);  // page type 104
void DrawLevelUpScreen(int parameter);            // 132
void DrawFeatSelectionScreen(int parameter);      // 114
void SpellPickScreen(int parameter);              // 115
void PartySetupScreen();                          // 117

// The first feat row of the feat page and the level-1 spells the spell page
// leaves out at the start of its first row; kept between visits.
extern int32_t FeatListScroll;
extern int32_t SpellRowOffset;
// The party member whose name the set-up page's drag holds, -1 none.
extern int32_t PartyDragSource;

struct ModifierList;
// The dice of each party member's last ability rolls: member x 6 + ability.
extern ModifierList CreationAbilityRolls[24];

// Puts the words above back to their start-up values (a new game, and tests).
void ResetPartyScreensState();
