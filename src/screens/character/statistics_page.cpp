#include "screens/character/statistics_page.h"

#include <cstdio>
#include <cstring>

#include "engine/page_history.h"
#include "engine/last_screen.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "rules/armour_class.h"
#include "rules/attack_profile.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/modifier_list.h"
#include "rules/recompute_creature.h"
#include "screens/character/character_screens.h"
#include "screens/character/modifier_rows.h"
#include "screens/character/page_kit.h"
#include "state/turn_order.h"
#include "rules/experience.h"

uint32_t PageWeaponCode = 0;

namespace {

constexpr int kNameInCaption = 15;

struct PageHeading {
  const char* prefix;  // the caption is prefix, the name and ")"
  int32_t help;
};
constexpr PageHeading kHeadings[] = {
    {"Level Modifiers (", 21002},        {"Hit Points Modifiers (", 21003}, {"Size Modifiers (", 21004},
    {"Strength Modifiers (", 21007},     {"Dexterity Modifiers (", 21008},  {"Constitution Modifiers (", 21009},
    {"Intelligence Modifiers (", 21010}, {"Wisdom Modifiers (", 21011},     {"Charisma Modifiers (", 21012},
    {"Fortitude Modifiers (", 21014},    {"Reflex Modifiers (", 21014},     {"Willpower Modifiers (", 21014},
    {"Base Attack Bonus (", 21013},      {"Speed Modifiers (", 41006},
};

// The page's own list and profile, prepared when the page becomes the top
// page.
ModifierList g_list;
AttackProfile g_profile;

// Builds the list of one creature; every row adds its value to the total.
class Breakdown {
 public:
  Breakdown(int creature, ModifierList* list) : id_(creature), c_(Creatures[creature]), list_(list) {}

  void Row(int32_t source, int32_t value) { AddModifier(value, list_, source); }
  int32_t Total() const { return list_->total; }
  // The total becomes `to` through a row of the source.
  void SetTotal(int32_t source, int32_t to) { Row(source, to - Total()); }
  bool Active(uint32_t id) const { return FindCondition(id_, id) >= 0; }
  int32_t Value(uint32_t id) const {
    const int k = FindCondition(id_, id);
    return k >= 0 ? c_.conditions[k].value : 0;
  }
  // A row of the entry's value (negated with `sign` -1) when it is active.
  void ValueRow(uint32_t id, int sign) {
    if (Active(id)) Row(static_cast<int32_t>(id), sign * Value(id));
  }

  void Level();
  void HitPoints();
  void Size();
  void Ability(int32_t type);
  void Save(int32_t type);
  void BaseAttack();
  void Speed();

 private:
  int id_;
  const CreatureRecord& c_;
  ModifierList* list_;
};

void Breakdown::Level() {
  Row(235, c_.level);  // Normal_Level_for_this_XP
  if (Active(kCondLevelDrained)) Row(kCondLevelDrained, -Value(kCondLevelDrained));
  if (Total() < 0) SetTotal(236, 0);  // Minimum_Level_0
}

void Breakdown::HitPoints() {
  const int32_t base = c_.baseHitPoints;
  Row(237, base);  // Base_Hit_Points
  int32_t v = (c_.constitution.current / 2 - c_.constitution.base / 2) * c_.effectiveLevel + base;
  if (v < c_.effectiveLevel) v = c_.effectiveLevel;
  if (v != base) Row(238, v - base);  // HP_bonus_from_Constitution_Bonus
  if (Active(kCondLevelDrained)) Row(kCondLevelDrained, -5 * Value(kCondLevelDrained));
  if (Total() < 0) SetTotal(239, 0);  // Minimum_HP_0
}

void Breakdown::Size() {
  Row(232, c_.size.base);  // Base_Size_Index
  if (Active(kCondEnlarged)) Row(kCondEnlarged, 1);
  else if (Active(kCondReduced)) Row(kCondReduced, -1);
  if (Total() > 7) SetTotal(234, 7);        // Maximum_Size_Colossal
  else if (Total() <= 0) SetTotal(233, 1);  // Minimum_Size_Tiny
}

struct AbilityRows {
  int32_t baseRow;
  uint32_t enhanced;
  bool transformed;  // Transformation gives +4 when no enhancement does
  uint32_t damaged, drained;
};
constexpr AbilityRows kAbilityRows[6] = {
    {219, kCondEnhancedStrength, true, kCondDamagedStrength, kCondDrainedStrength},
    {220, kCondEnhancedDexterity, true, kCondDamagedDexterity, kCondDrainedDexterity},
    {221, kCondEnhancedConstitution, true, kCondDamagedConstitution, kCondDrainedConstitution},
    {223, kCondEnhancedIntelligence, false, kCondDamagedIntelligence, kCondDrainedIntelligence},
    {222, kCondEnhancedWisdom, false, kCondDamagedWisdom, kCondDrainedWisdom},
    {224, kCondEnhancedCharisma, false, kCondDamagedCharisma, kCondDrainedCharisma},
};

void Breakdown::Ability(int32_t type) {
  const AbilityRows& a = kAbilityRows[type - kStatStrength];
  const StatPair* scores[6] = {&c_.strength, &c_.dexterity, &c_.constitution,
                               &c_.intelligence, &c_.wisdom, &c_.charisma};
  Row(a.baseRow, scores[type - kStatStrength]->base);
  if (Active(a.enhanced)) Row(static_cast<int32_t>(a.enhanced), Value(a.enhanced));
  else if (a.transformed && Active(kCondTransformation)) Row(kCondTransformation, 4);
  if (type == kStatConstitution && !Active(kCondReduced) && Active(kCondRighteousMight)) Row(kCondRighteousMight, 2);
  // Every damage and drain entry, one row each, whatever its duration.
  for (const ConditionEntry& e : c_.conditions)
    if (e.id == a.damaged || e.id == a.drained) Row(static_cast<int32_t>(e.id), -e.value);
  if (type == kStatStrength || type == kStatDexterity) {
    if (Active(kCondExhausted)) Row(kCondExhausted, -6);
    else if (Active(kCondFatigued)) Row(kCondFatigued, -2);
  }
  if (type == kStatStrength) {
    if (Active(kCondEnlarged)) Row(kCondEnlarged, 2);
    else if (Active(kCondReduced)) Row(kCondReduced, -2);
    else if (Active(kCondRighteousMight)) Row(kCondRighteousMight, 4);
  }
  if (type == kStatDexterity) {
    if (Active(kCondEntangled)) Row(kCondEntangled, -4);
    if (Active(kCondEnlarged)) Row(kCondEnlarged, -2);
    else if (Active(kCondReduced)) Row(kCondReduced, 2);
    // A helpless creature has no Dexterity at all.
    if (Active(kCondParalyzed)) SetTotal(226, 0);
    else if (Active(kCondPetrified)) SetTotal(228, 0);
    else if (Active(kCondSleeping)) SetTotal(227, 0);
  }
  if ((type == kStatIntelligence || type == kStatCharisma) && Active(kCondFeebleminded) && Total() > 0)
    SetTotal(kCondFeebleminded, 1);
  if (Total() < 0) SetTotal(225, 0);  // Minimum_Ability_Score_0
}

void Breakdown::Save(int32_t type) {
  struct SaveRows {
    const StatPair* save;
    int32_t baseRow;
    const StatPair* ability;
    int32_t abilityRow;
    int feat;
    int32_t featRow;
  };
  const SaveRows rows[3] = {
      {&c_.fortitude, 229, &c_.constitution, 175, kFeatGreatFortitude, 633},
      {&c_.reflex, 230, &c_.dexterity, 174, kFeatLightningReflexes, 635},
      {&c_.willpower, 231, &c_.wisdom, 176, kFeatIronWill, 634},
  };
  const SaveRows& s = rows[type - kStatFortitude];
  Row(s.baseRow, s.save->base);
  Row(s.abilityRow, s.ability->current / 2 - 5);
  if (c_.feats[s.feat] == 1) Row(s.featRow, 2);
  if (type == kStatFortitude) {
    if (Active(kCondTransformation)) Row(kCondTransformation, 5);
    if (Active(kCondSickened)) Row(kCondSickened, -2);
    ValueRow(kCondEnhancedSaves, 1);
    ValueRow(kCondLucky, 1);
    ValueRow(kCondUnlucky, -1);
    ValueRow(kCondLevelDrained, -1);
  } else if (type == kStatReflex) {
    bool insightLost = FindAnyCondition(id_, kCondBlinded, kCondCantSee, kCondFlatFooted, kCondGrappling,
                                        kCondPinned, kCondStunned, kCondCowering) >= 0;
    if (c_.special[kSenseKindWord] == 5 && FindAnyCondition(id_, kCondDeafened, kCondSilenced) >= 0)
      insightLost = true;
    if (!insightLost) ValueRow(kCondInsightful, 1);
    if (Active(kCondSickened)) Row(kCondSickened, -2);
    ValueRow(kCondEnhancedSaves, 1);
    ValueRow(kCondLucky, 1);
    ValueRow(kCondUnlucky, -1);
    if (Active(kCondHasted)) Row(kCondHasted, 1);
    else if (Active(kCondSlowed)) Row(kCondSlowed, -1);
    if (Active(kCondDancing)) Row(kCondDancing, -10);
    ValueRow(kCondLevelDrained, -1);
  } else {
    if (Active(kCondSickened)) Row(kCondSickened, -2);
    if (Active(kCondBolstered)) Row(kCondBolstered, 2);
    ValueRow(kCondEnhancedSaves, 1);
    ValueRow(kCondLucky, 1);
    ValueRow(kCondUnlucky, -1);
    ValueRow(kCondGoodMorale, 1);
    ValueRow(kCondBadMorale, -1);
    ValueRow(kCondLevelDrained, -1);
  }
}

void Breakdown::BaseAttack() {
  const int32_t bonus = c_.baseAttack.base;
  Row(216, bonus);  // Normal_BAB_for_this_class/lvl
  const int32_t level = c_.effectiveLevel;
  if (level <= bonus) return;
  if (Active(kCondTransformation)) Row(kCondTransformation, level - bonus);
  else if (Active(kCondEnhancedBaseAttack)) Row(kCondEnhancedBaseAttack, level - bonus);
}

void Breakdown::Speed() {
  int32_t speed = c_.speed.base;
  Row(217, speed);  // Base_Speed
  auto change = [&](int32_t source, int32_t to) {
    Row(source, to - speed);
    speed = to;
  };
  if (Active(kCondReducedSpeedArmor)) change(kCondReducedSpeedArmor, speed - (speed < 25 ? 5 : 10));
  if (Active(kCondLongStride)) change(kCondLongStride, speed + 10);
  if (Active(kCondHasted)) change(kCondHasted, speed * 2);
  if (Active(kCondSlowed)) change(kCondSlowed, speed / 2);
  if (Active(kCondExhausted)) change(kCondExhausted, speed / 2);
  const bool hearingOnly = c_.special[kSenseKindWord] == 5;
  if (Active(kCondBlinded) || (hearingOnly && Active(kCondDeafened))) {
    if (c_.feats[kFeatBlindFight] == 0) change(hearingOnly ? kCondDeafened : kCondBlinded, speed / 2);
    else change(201, speed - speed / 4);  // Blind_(Blindfight_feat)
  }
  if (speed < 1) change(218, 1);  // Minium_Speed_1_foot
}

// The list of entry n of the page's profile that the page type names.
const ModifierList* ProfileList(int32_t type, int* entry) {
  if (type >= kStatAttackCountFirst && type < kStatAttackRollFirst) {
    *entry = type - kStatAttackCountFirst;
    return &g_profile.entries[*entry].attackCount;
  }
  if (type >= kStatAttackRollFirst && type < kStatDamageBonusFirst) {
    *entry = type - kStatAttackRollFirst;
    return &g_profile.entries[*entry].attackRoll;
  }
  *entry = type - kStatDamageBonusFirst;
  return &g_profile.entries[*entry].damageBonus;
}

void Prepare(int32_t type, int creature) {
  g_profile = AttackProfile{};
  InitModifierList(&g_list);
  RecomputeCreature(creature, 0);
  const uint32_t combat = InCombat;
  InCombat = 0;
  BuildAttackProfile(&g_profile, creature, 0, -1, 0, 0);
  PageReady = 1;
  InCombat = combat;
  if (type <= kStatSpeed) {
    BuildStatisticList(type, creature, &g_list);
  } else if (type == kStatArmourClass) {
    int rows = 0;
    g_list.total = ComputeArmourClass(creature, &g_list, &rows, 0, -1, 0, 0);
  } else {
    int entry = 0;
    g_list = *ProfileList(type, &entry);
    const CreatureRecord& c = Creatures[creature];
    const int32_t kind = g_profile.entries[entry].kind;
    if (kind == kEntryMainHand) PageWeaponCode = c.equipment[kSlotRightHand - 1];
    else if (kind == kEntryOffHand) PageWeaponCode = c.equipment[kSlotLeftHand - 1];
    else if (kind == kEntryRanged) PageWeaponCode = c.equipment[kSlotRanged - 1];
  }
}

bool OneOf(int32_t source, std::initializer_list<int32_t> ids) {
  for (int32_t id : ids)
    if (source == id) return true;
  return false;
}

// The link of a hovered row: what its caption says and what a click opens.
void RowLink(int32_t source, int creature) {
  CursorShape = kCursorLink;
  struct StatLink {
    std::initializer_list<int32_t> sources;
    const char* hint;
    const char* caption;
    int32_t type;
  };
  static const StatLink kStatLinks[] = {
      {{173}, "Modifiers: Strength", "Strength Modifiers", kStatStrength},
      {{174}, "Modifiers: Dexterity", "Dexterity Modifiers", kStatDexterity},
      {{175, 238}, "Modifiers: Constitution", "Constitution Modifiers", kStatConstitution},
      {{177}, "Modifiers: Intelligence", "Intelligence Modifiers", kStatIntelligence},
      {{176}, "Modifiers: Wisdom", "Wisdom Modifiers", kStatWisdom},
      {{178}, "Modifiers: Charisma", "Charisma Modifiers", kStatCharisma},
      {{172}, "Modifiers: Base Attack Bonus", "Base Attack Bonus", kStatBaseAttack},
      {{179}, "Modifiers: Size", "Size Modifiers", kStatSize},
  };
  for (const StatLink& l : kStatLinks) {
    if (!OneOf(source, l.sources)) continue;
    SetHoverCaption(l.hint);
    if (ConsumeClick(1)) PushCharacterPage(l.caption, kCaptionShown, l.type, creature);
    return;
  }
  // The item a row stands for: the weapon of the list, the armour, the
  // shield, the bracers.
  const CreatureRecord& c = Creatures[creature];
  uint32_t item = 0;
  bool itemRow = true;
  if (OneOf(source, {132, 180, 181, 182, 185, 200})) item = PageWeaponCode;
  else if (OneOf(source, {42, 122, 127, 128, 209, 210})) item = c.equipment[kSlotTorso - 1];
  else if (OneOf(source, {123, 189, 666})) item = c.equipment[kSlotLeftHand - 1];
  else if (source == 211) item = c.equipment[kSlotArms - 1];
  else itemRow = false;
  if (itemRow) {
    // Weapons, armour and shields are crafted items, the bracers a base item.
    const bool crafted = source != 211;
    const bool fits = crafted ? item >= 1 && item < 5000 : item > 5000;
    int32_t type = 0;
    const char* name = fits ? ItemNameOfCode(item, &type) : nullptr;
    if (name == nullptr) return;
    SetHoverCaption(name);
    if (ConsumeClick(1)) PushCharacterPage(name, kNameInCaption, type, creature);
    return;
  }
  if (OneOf(source, {190, 191, 195, 196, 201, 202, 240, 241}) || (source >= 242 && source <= 690)) {
    SetHoverCaption("Feats");
    if (ConsumeClick(1)) PushCharacterPage("Feats", kCaptionShown, kPageSpecialAbilities, creature);
    return;
  }
  const int k = source >= 1 && source <= 170 ? FindCondition(creature, static_cast<uint32_t>(source)) : -1;
  if (k >= 0) {
    SetHoverCaption(ConditionName(static_cast<uint32_t>(source)));
    if (ConsumeClick(1))
      PushCharacterPage(ConditionName(static_cast<uint32_t>(source)), kCaptionShown, kPageEffectsFirst + k, creature);
    return;
  }
  const int32_t help = source >= 0 && source < kConditionNameCount ? static_cast<int32_t>(ConditionHelpPages[source]) : 0;
  if (const char* title = HelpPageTitle(help)) {
    SetHoverCaption(title);
    if (ConsumeClick(1)) PushHelpPage(help);
  }
}

// The level page's note on the experience still needed for the next level.
void ExperienceNote(int creature) {
  const CreatureRecord& c = Creatures[creature];
  if (c.allegiance != kAllegianceParty || c.level >= 20) return;
  const int64_t needed = ExperienceForLevel(c.level + 1) - c.experience;
  char text[96];
  if (needed >= 0) {
    std::snprintf(text, sizeof text, "XP Needed For Next Level %lli", static_cast<long long>(needed));
    PageTextAt(text, kStyleLabel, 2, 10);
    return;
  }
  char name[sizeof c.name];
  CopyCut(name, sizeof name, c.name, sizeof name - 1);
  std::snprintf(text, sizeof text, "%s has enough experience", name);
  PageTextAt(text, kStyleLabel, 2, 10);
  PageTextAt(name, kStyleGreen, 2, 10);
  PageTextAt("to reach the next level. In", kStyleLabel, 2, 11);
  PageTextAt("the game screen, click the", kStyleLabel, 2, 12);
  PageTextAt("star in the top-right corner", kStyleLabel, 2, 13);
  PageTextAt("to level this character up.", kStyleLabel, 2, 14);
}

}  // namespace

void BuildStatisticList(int32_t type, int creature, ModifierList* list) {
  InitModifierList(list);
  if (type < kStatLevel || type > kStatSpeed || !IsValidCreature(creature)) return;
  const PageHeading& h = kHeadings[type - kStatLevel];
  // The name is cut so that the caption keeps its closing bracket.
  const int room = static_cast<int>(sizeof list->caption) - 2 - static_cast<int>(std::strlen(h.prefix));
  const int most = room < kNameInCaption ? room : kNameInCaption;
  std::snprintf(list->caption, sizeof list->caption, "%s%.*s)", h.prefix, most, Creatures[creature].name);
  list->helpTopic = h.help;
  Breakdown b(creature, list);
  switch (type) {
    case kStatLevel: b.Level(); break;
    case kStatHitPoints: b.HitPoints(); break;
    case kStatSize: b.Size(); break;
    case kStatFortitude:
    case kStatReflex:
    case kStatWillpower: b.Save(type); break;
    case kStatBaseAttack: b.BaseAttack(); break;
    case kStatSpeed: b.Speed(); break;
    default: b.Ability(type); break;
  }
}

const ModifierList& StatisticsPageList() { return g_list; }

void DrawStatisticsPage(int pageType, int creature) {
  LastScreenDrawn = "DrawStatisticsPage";
  BeginCharacterPage();
  DrawFramedBox(0, 0, 2);
  if (pageType >= kStatLevel && pageType <= kStatLast && IsValidCreature(creature)) {
    if (PageReady == 0) Prepare(pageType, creature);
    if (DrawModifierCaption(g_list)) {
      CursorShape = kCursorLink;
      const char* title = HelpPageTitle(g_list.helpTopic);
      SetHoverCaption(title ? title : "");
      if (ConsumeClick(1)) PushCharacterPage(title ? title : "", kCaptionShown, kPageHelpTopic, g_list.helpTopic);
    }
    const ModifierRowsDrawn drawn = DrawModifierRows(g_list, false);
    DrawModifierTotal(g_list, drawn);
    if (pageType == kStatLevel) ExperienceNote(creature);
    if (drawn.hoveredRow >= 0) RowLink(g_list.pairs[drawn.hoveredRow].source, creature);
  }
  EndCharacterPage(true);
}
