#include "party/party_screens.h"

#include "engine/page_placeholder.h"

void DrawCharacterCreationScreen(int) { DrawPagePlaceholder("DrawCharacterCreationScreen"); }
void DrawLevelUpScreen(int) { DrawPagePlaceholder("DrawLevelUpScreen"); }
void DrawFeatSelectionScreen(int) { DrawPagePlaceholder("DrawFeatSelectionScreen"); }
void SpellPickScreen(int) { DrawPagePlaceholder("SpellPickScreen"); }
void PartySetupScreen() { DrawPagePlaceholder("PartySetupScreen"); }

#include "engine/reset_words.h"
#include "rules/modifier_list.h"

ModifierList CreationAbilityRolls[24];

void ResetPartyScreensState() {
  ResetWords(CreationAbilityRolls);
}
