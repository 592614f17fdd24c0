#include "party/party_screens.h"

#include "engine/reset_words.h"
#include "party/creation_screen.h"
#include "party/level_up_screen.h"
#include "party/level_up_words.h"
#include "rules/modifier_list.h"

ModifierList CreationAbilityRolls[24];

void ResetPartyScreensState() {
  ResetWords(CreationAbilityRolls);
  ResetWords(CreationState);
  ResetLevelUpWords();
  ResetWords(LevelUpState);
  PartyDragSource = -1;
  FeatListScroll = 0;
  SpellRowOffset = 0;
}
