#include "party/party_screens.h"

#include "engine/page_placeholder.h"
#include "engine/reset_words.h"
#include "party/creation_screen.h"
#include "party/level_up_words.h"
#include "rules/modifier_list.h"

void DrawLevelUpScreen(int) { DrawPagePlaceholder("DrawLevelUpScreen"); }
void PartySetupScreen() { DrawPagePlaceholder("PartySetupScreen"); }

ModifierList CreationAbilityRolls[24];

void ResetPartyScreensState() {
  ResetWords(CreationAbilityRolls);
  ResetWords(CreationState);
  ResetLevelUpWords();
  FeatListScroll = 0;
  SpellRowOffset = 0;
}
