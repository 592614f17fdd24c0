// The character pages: record, statistics, effects, attacks, breakdowns,
// spells, metamagic, quest journal, maps and help text pages.
#pragma once

struct ModifierList;

void DrawCharacterRecordScreen();                   // page type 1
int DrawMapOverviewScreen();                        // page type 6, the local map
int DrawQuestJournalScreen();                       // page type 136
int DrawWorldMapScreen();                           // screen mode 9
void DrawSpecialAbilitiesScreen(int creature);      // page type 3
void DrawEffectsPage(int pageType, int creature);   // page types 50-99
void DrawAttackDetailsPage(int pageType, int creature);  // page types 46-49
void DrawStatisticsPage(int pageType, int creature);  // page types 10-45
void DrawModifierListPage(ModifierList* list);      // page types 101, 107-113, 133
int DrawSpellDetailsScreen(int spell);              // a spell row, from its help topic
int DrawItemPropertiesScreen(int itemCode);         // item codes 5001-10000
int DrawTextPageScreen(int helpId);                 // page type 9; 0 when no page has the id
int DrawSpellBookScreen(int creature);              // page type 4
int MetamagicMaximiseScreen(int creature);          // page type 121
int MetamagicEmpowerScreen(int creature);           // page type 122
int MetamagicWidenScreen(int creature);             // page type 123
int MetamagicHeightenScreen(int creature);          // page type 124
int MetamagicSilentScreen(int creature);            // page type 125
int MetamagicStillScreen(int creature);             // page type 126
