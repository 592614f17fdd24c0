#include "shell/page_dispatch.h"

#include "engine/game_screen_state.h"
#include "engine/help_pages.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "frontend/front_screens.h"
#include "party/party_screens.h"
#include "rules/modifier_list.h"
#include "screens/character/character_screens.h"
#include "state/game_progress.h"
#include "state/inventory_state.h"
#include "screens/items/item_screens.h"

ModifierList PageModifierList;

namespace {

struct IdRun {
  int32_t first, last, base;  // value = id - base (spells) or base + (id - first) (items)
};

// Help ids of spell details: the runs between the level headings.
constexpr IdRun kSpellRuns[] = {
    {51002, 51015, 51002}, {51017, 51029, 51003}, {51031, 51043, 51004}, {51045, 51058, 51005},
    {51060, 51071, 51006}, {51073, 51083, 51007}, {51085, 51093, 51008}, {51095, 51103, 51009},
    {51105, 51999, 51010}, {52002, 52018, 51900}, {52020, 52031, 51901}, {52033, 52045, 51902},
    {52047, 52055, 51903}, {52057, 52064, 51904}, {52066, 52069, 51905}, {52071, 52074, 51906},
    {52076, 52078, 51907}, {52080, 59999, 51908},
};

// Help ids 70001 to 70064: item properties of fixed base items (0: nothing).
constexpr int32_t kPropertyCodes[64] = {
    5232, 5239, 5238, 5240, 5236, 5233, 5237, 5235, 5234, 0,    5226, 5227, 5228, 5209, 5210, 5211,
    5212, 5198, 5199, 5200, 5201, 5202, 5203, 5204, 5205, 5206, 5207, 5208, 5220, 5216, 5217, 5221,
    5222, 5223, 5224, 5225, 5219, 5218, 5213, 5214, 5215, 5229, 5230, 5231, 5178, 5179, 5180, 5181,
    5182, 5183, 5184, 5185, 5186, 5187, 5188, 5189, 5190, 5191, 5192, 5193, 5194, 5195, 5196, 5197,
};

static_assert(kPropertyCodes[kBlankHelpId - 70001] == 0);

// Help ids 43050 to 43098: details of the prepared crafted rows (0: a text page).
constexpr int32_t kDetailCodes[49] = {
    4955, 4952, 4961, 4962, 4959, 4956, 4953, 4957, 4958, 4954, 4960, 4968, 4976, 4969, 4977, 4978, 4980,
    4981, 4964, 4979, 4971, 4965, 4963, 4966, 4983, 4970, 4972, 4973, 4982, 4967, 4984, 4974, 4975, 4985,
    4986, 0,    4987, 4988, 4989, 4990, 4991, 4992, 4993, 4994, 4995, 4996, 4997, 4998, 4999,
};

constexpr int kSpellRows = 180;

}  // namespace

PageChoice ChooseHelpTopicScreen(int32_t helpId) {
  if (helpId >= 51002 && helpId <= 59999) {
    for (const IdRun& run : kSpellRuns) {
      if (helpId < run.first || helpId > run.last) continue;
      const int32_t spell = helpId - run.base;
      // Ids past the last spell row have no spell page: their text page shows.
      if (spell < kSpellRows) return {PageScreen::kSpellDetails, spell};
      break;
    }
  }
  if (helpId >= 70001 && helpId <= 70064) {
    // The id that names no item draws nothing.
    const int32_t code = kPropertyCodes[helpId - 70001];
    return code ? PageChoice{PageScreen::kItemProperties, code} : PageChoice{PageScreen::kNone, 0};
  }
  if (helpId >= 43050 && helpId <= 43098) {
    const int32_t code = kDetailCodes[helpId - 43050];
    if (code) return {PageScreen::kItemDetails, code};
  }
  return {PageScreen::kTextPage, helpId};
}

PageChoice ChoosePageScreen(int32_t type, int32_t parameter) {
  const bool creature = parameter >= 0 && parameter < 2100;
  switch (type) {
    case kPageCharacterRecord: return {PageScreen::kCharacterRecord, 0};
    case kPageMainMenu: return {PageScreen::kMainMenu, 0};
    case kPageLogoScreen: return {PageScreen::kSplash, 0};
    case kPageTitle: return {PageScreen::kTitle, 0};
    case kPageSaveLoad: return {PageScreen::kSaveLoad, parameter};
    case kPageOptions: return {PageScreen::kOptions, 0};
    case kPageCredits: return {PageScreen::kCredits, 0};
    case kPageRanking: return {PageScreen::kRanking, 0};
    case kPageCraftingMenu: return {PageScreen::kCraftingMenu, parameter};
    case kPageForgeWeapon: return {PageScreen::kForgeWeapon, parameter};
    case kPageCharacterCreation: return {PageScreen::kCharacterCreation, parameter};
    case kPageLevelUp: return {PageScreen::kLevelUp, parameter};
    case kPageFeatSelection: return {PageScreen::kFeatSelection, parameter};
    case kPageSpellPick: return {PageScreen::kSpellPick, parameter};
    case kPagePartySetup: return {PageScreen::kPartySetup, 0};
    case kPageMapOverview: return {PageScreen::kMapOverview, 0};
    case kPageInventory: return creature ? PageChoice{PageScreen::kInventory, parameter} : PageChoice{PageScreen::kNone, 0};
    case kPageQuestJournal: return {PageScreen::kQuestJournal, 0};
    case kPageSpecialAbilities:
      return creature ? PageChoice{PageScreen::kSpecialAbilities, parameter} : PageChoice{PageScreen::kNone, 0};
    case kPageModifierList: return {PageScreen::kPageModifierList, 0};
    case kPageRollBreakdown:
      return parameter >= 0 && parameter < 99 ? PageChoice{PageScreen::kCombatRollList, parameter}
                                              : PageChoice{PageScreen::kNone, 0};
    case kPageDesignatedList: return {PageScreen::kDesignatedList, parameter};
    case kPageHelpTopic: return ChooseHelpTopicScreen(parameter);
    case kPageSpellBook: return {PageScreen::kSpellBook, parameter};
    case kPageCraftWand: return {PageScreen::kCraftWand, parameter};
    case kPageScribeScroll: return {PageScreen::kScribeScroll, parameter};
    case kPageMagicRing: return {PageScreen::kMagicRing, parameter};
    case kPageWondrousItem: return {PageScreen::kWondrousItem, parameter};
    case kPageEnchantWeaponArmor: return {PageScreen::kEnchantWeaponArmor, parameter};
    default: break;
  }
  if (type >= kPageStatisticsFirst && type <= kPageStatisticsLast)
    return creature ? PageChoice{PageScreen::kStatistics, parameter} : PageChoice{PageScreen::kNone, 0};
  if (type >= kPageAbilityRollFirst && type <= kPageAbilityRollLast) {
    // The parameter is a party member; anything else shows nothing.
    if (parameter < 0 || parameter > 3) return {PageScreen::kNone, 0};
    return {PageScreen::kAbilityRollList, parameter * 6 + (type - kPageAbilityRollFirst)};
  }
  if (type >= kPageEffectsFirst && type <= kPageEffectsLast)
    return creature ? PageChoice{PageScreen::kEffects, parameter} : PageChoice{PageScreen::kNone, 0};
  if (type >= kPageAttackDetailsFirst && type <= kPageAttackDetailsLast)
    return creature ? PageChoice{PageScreen::kAttackDetails, parameter} : PageChoice{PageScreen::kNone, 0};
  if (type > kPageItemPropertiesLast) return {PageScreen::kItemDetails, type - kPageItemPropertiesLast};
  if (type >= kPageItemPropertiesFirst && type <= kPageItemPropertiesLast) return {PageScreen::kItemProperties, type};
  if (type >= kPageMetamagicMaximise && type <= kPageMetamagicStill)
    return {static_cast<PageScreen>(static_cast<int>(PageScreen::kMetamagicMaximise) + (type - kPageMetamagicMaximise)), parameter};
  return {PageScreen::kNone, 0};
}

int DrawPageView() {
  // While a new party is being made there is no game to return to: the help
  // pages reached from its pages lead back to them, never to the game.
  NavBarState.flags[kNavBarPartyBeingMade] = NewPartyPending == 1 ? 1 : 0;
  const PageChoice c = ChoosePageScreen(TopPageType(), TopPageParameter());
  const int32_t a = c.argument;
  switch (c.screen) {
    case PageScreen::kNone: return 1;
    case PageScreen::kCharacterRecord: DrawCharacterRecordScreen(); return 1;
    case PageScreen::kMainMenu: return DrawMainMenuScreen() ? 1 : 0;
    case PageScreen::kSplash: return SplashScreen() ? 1 : 0;
    case PageScreen::kTitle: return TitleScreen() ? 1 : 0;
    case PageScreen::kSaveLoad: return SaveLoadScreen(a) == 1 ? 2 : 1;
    case PageScreen::kOptions: return GameOptionsScreen() ? 1 : 0;
    case PageScreen::kCredits: return CreditsScreen() ? 1 : 0;
    case PageScreen::kRanking: return RankingScreen() ? 1 : 0;
    case PageScreen::kCraftingMenu: return CraftingMenuScreen(a) ? 1 : 0;
    case PageScreen::kForgeWeapon: return ForgeWeaponScreen(a) ? 1 : 0;
    case PageScreen::kCharacterCreation: DrawCharacterCreationScreen(a); return 1;
    case PageScreen::kLevelUp: DrawLevelUpScreen(a); return 1;
    case PageScreen::kFeatSelection: DrawFeatSelectionScreen(a); return 1;
    case PageScreen::kSpellPick: SpellPickScreen(a); return 1;
    case PageScreen::kPartySetup: PartySetupScreen(); return 1;
    case PageScreen::kMapOverview: DrawMapOverviewScreen(); return 1;
    case PageScreen::kInventory: DrawInventoryScreen(a, TradePartner); return 1;
    case PageScreen::kQuestJournal: DrawQuestJournalScreen(); return 1;
    case PageScreen::kSpecialAbilities: DrawSpecialAbilitiesScreen(a); return 1;
    case PageScreen::kStatistics: DrawStatisticsPage(TopPageType(), a); return 1;
    case PageScreen::kPageModifierList: DrawModifierListPage(&PageModifierList); return 1;
    case PageScreen::kCombatRollList: DrawModifierListPage(&CombatRollLog[a]); return 1;
    case PageScreen::kDesignatedList:
      if (ModifierList* list = DesignatedList(a)) DrawModifierListPage(list);
      return 1;
    case PageScreen::kAbilityRollList: DrawModifierListPage(&CreationAbilityRolls[a]); return 1;
    case PageScreen::kEffects: DrawEffectsPage(TopPageType(), a); return 1;
    case PageScreen::kAttackDetails: DrawAttackDetailsPage(TopPageType(), a); return 1;
    case PageScreen::kSpellDetails: DrawSpellDetailsScreen(a); return 1;
    case PageScreen::kItemProperties: DrawItemPropertiesScreen(a); return 1;
    case PageScreen::kItemDetails: DrawItemDetailsScreen(a); return 1;
    case PageScreen::kTextPage: DrawTextPageScreen(a); return 1;
    case PageScreen::kSpellBook: DrawSpellBookScreen(a); return 1;
    case PageScreen::kMetamagicMaximise: MetamagicMaximiseScreen(a); return 1;
    case PageScreen::kMetamagicEmpower: MetamagicEmpowerScreen(a); return 1;
    case PageScreen::kMetamagicWiden: MetamagicWidenScreen(a); return 1;
    case PageScreen::kMetamagicHeighten: MetamagicHeightenScreen(a); return 1;
    case PageScreen::kMetamagicSilent: MetamagicSilentScreen(a); return 1;
    case PageScreen::kMetamagicStill: MetamagicStillScreen(a); return 1;
    case PageScreen::kCraftWand: CraftWandScreen(a); return 1;
    case PageScreen::kScribeScroll: ScribeScrollScreen(a); return 1;
    case PageScreen::kMagicRing: MagicRingScreen(a); return 1;
    case PageScreen::kWondrousItem: WondrousItemScreen(a); return 1;
    case PageScreen::kEnchantWeaponArmor: EnchantWeaponArmorScreen(a); return 1;
  }
  return 1;
}
