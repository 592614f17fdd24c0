// The party's pages: character creation, level-up, feat and spell picks, party set-up.
#pragma once

void DrawCharacterCreationScreen(int parameter);  // page type 104
void DrawLevelUpScreen(int parameter);            // 132
void DrawFeatSelectionScreen(int parameter);      // 114
void SpellPickScreen(int parameter);              // 115
void PartySetupScreen();                          // 117

struct ModifierList;
// The dice of each party member's last ability rolls: member x 6 + ability.
extern ModifierList CreationAbilityRolls[24];

// Puts the words above back to their start-up values (a new game, and tests).
void ResetPartyScreensState();
