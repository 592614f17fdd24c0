// Page view: the top page of the page history chooses the screen, and a help
// topic's id chooses the spell, item or text page that shows it.
#pragma once
#include <cstdint>

#include "engine/designated_lists.h"

struct ModifierList;

enum class PageScreen {
  kNone,
  kCharacterRecord, kMainMenu, kSplash, kTitle, kSaveLoad, kOptions, kCredits, kRanking,
  kCraftingMenu, kForgeWeapon, kCharacterCreation, kLevelUp, kFeatSelection, kSpellPick,
  kPartySetup, kMapOverview, kInventory, kQuestJournal, kSpecialAbilities, kStatistics,
  kPageModifierList,       // 133: the page's own list
  kCombatRollList,         // 101: a list of the combat roll log
  kDesignatedList,         // 113: a list registered by the page that opened it
  kAbilityRollList,        // 107-112: a creation ability roll
  kEffects, kAttackDetails,
  kSpellDetails, kItemProperties, kItemDetails, kTextPage,
  kSpellBook,
  kMetamagicMaximise, kMetamagicEmpower, kMetamagicWiden, kMetamagicHeighten, kMetamagicSilent,
  kMetamagicStill,
  kCraftWand, kScribeScroll, kMagicRing, kWondrousItem, kEnchantWeaponArmor,
};

struct PageChoice {
  PageScreen screen;
  int32_t argument;  // what the screen is given (parameter, item code, spell id, list number...)
};

// The screen of a page type and parameter (help topics included).
PageChoice ChoosePageScreen(int32_t type, int32_t parameter);
// The screen of a help topic (page type 9) by its help page id.
PageChoice ChooseHelpTopicScreen(int32_t helpId);
// Draws the top page; returns 0 to end the program, 1 to go on, and 2 when
// the screen has ended the scene and presented itself.
int DrawPageView();
