// The character pages: record, statistics, effects, attacks, breakdowns,
// spells, metamagic, quest journal, maps and help text pages.
#pragma once

struct ModifierList;

void DrawCharacterRecordScreen();                   // page type 1
int DrawMapOverviewScreen();                        // 6: the local map
int DrawQuestJournalScreen();                       // 136
int DrawWorldMapScreen();                           // screen mode 9
void DrawSpecialAbilitiesScreen(int creature);      // 3
void DrawEffectsPage(int pageType, int creature);   // 50-99
void DrawAttackDetailsPage(int pageType, int creature);  // 46-49
void DrawStatisticsPage(int pageType, int creature);  // 10-45
void DrawModifierListPage(ModifierList* list);      // 101, 107-113, 133
int DrawSpellDetailsScreen(int spell);              // a spell row, from its help topic
int DrawItemPropertiesScreen(int itemCode);         // 5001-10000
int DrawTextPageScreen(int helpId);                 // 9: 0 when no page has the id
int DrawSpellBookScreen(int creature);              // 4
int MetamagicMaximiseScreen(int creature);          // 121
int MetamagicEmpowerScreen(int creature);           // 122
int MetamagicWidenScreen(int creature);             // 123
int MetamagicHeightenScreen(int creature);          // 124
int MetamagicSilentScreen(int creature);            // 125
int MetamagicStillScreen(int creature);             // 126
