#include "screens/character/character_screens.h"

#include "engine/page_placeholder.h"

void DrawMapOverviewScreen() { DrawPagePlaceholder("DrawMapOverviewScreen"); }
void DrawQuestJournalScreen() { DrawPagePlaceholder("DrawQuestJournalScreen"); }
void DrawLocalMapScreen() { DrawPagePlaceholder("DrawLocalMapScreen"); }
void DrawSpellDetailsScreen(int) { DrawPagePlaceholder("DrawSpellDetailsScreen"); }
void DrawItemPropertiesScreen(int) { DrawPagePlaceholder("DrawItemPropertiesScreen"); }
