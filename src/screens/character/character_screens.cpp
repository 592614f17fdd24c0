#include "screens/character/character_screens.h"

#include "engine/page_placeholder.h"

void DrawCharacterRecordScreen() { DrawPagePlaceholder("DrawCharacterRecordScreen"); }
void DrawMapOverviewScreen() { DrawPagePlaceholder("DrawMapOverviewScreen"); }
void DrawQuestJournalScreen() { DrawPagePlaceholder("DrawQuestJournalScreen"); }
void DrawLocalMapScreen() { DrawPagePlaceholder("DrawLocalMapScreen"); }
void DrawSpecialAbilitiesScreen(int) { DrawPagePlaceholder("DrawSpecialAbilitiesScreen"); }
void DrawEffectsPage(int) { DrawPagePlaceholder("DrawEffectsPage"); }
void DrawAttackDetailsPage(int) { DrawPagePlaceholder("DrawAttackDetailsPage"); }
void DrawStatisticsPage(int, int) { DrawPagePlaceholder("DrawStatisticsPage"); }
void DrawModifierListPage(ModifierList*) { DrawPagePlaceholder("DrawModifierListPage"); }
void DrawSpellDetailsScreen(int) { DrawPagePlaceholder("DrawSpellDetailsScreen"); }
void DrawItemPropertiesScreen(int) { DrawPagePlaceholder("DrawItemPropertiesScreen"); }
void DrawTextPageScreen(int) { DrawPagePlaceholder("DrawTextPageScreen"); }
void DrawSpellBookScreen(int) { DrawPagePlaceholder("DrawSpellBookScreen"); }
void MetamagicMaximiseScreen(int) { DrawPagePlaceholder("MetamagicMaximiseScreen"); }
void MetamagicEmpowerScreen(int) { DrawPagePlaceholder("MetamagicEmpowerScreen"); }
void MetamagicWidenScreen(int) { DrawPagePlaceholder("MetamagicWidenScreen"); }
void MetamagicHeightenScreen(int) { DrawPagePlaceholder("MetamagicHeightenScreen"); }
void MetamagicSilentScreen(int) { DrawPagePlaceholder("MetamagicSilentScreen"); }
void MetamagicStillScreen(int) { DrawPagePlaceholder("MetamagicStillScreen"); }
