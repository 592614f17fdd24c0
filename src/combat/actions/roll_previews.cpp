#include "combat/actions/roll_previews.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "combat/actions/action_executor.h"
#include "combat/actions/attack_support.h"
#include "combat/resolution/area_targets.h"
#include "combat/resolution/attack_resolution.h"
#include "combat/resolution/spell_preview.h"
#include "engine/game_speeds.h"
#include "engine/graphics.h"
#include "engine/reset_words.h"
#include "engine/settings.h"
#include "engine/text.h"
#include "map/fighter_tests.h"
#include "map/line_of_effect.h"
#include "rules/adjacency.h"
#include "rules/armour_class.h"
#include "rules/attack_profile.h"
#include "rules/breakdown_sources.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/feat_ids.h"
#include "rules/item_tables.h"
#include "state/camera.h"
#include "state/combat_action.h"

SituationLabel SituationLabels[kSituationLabels];

namespace {

constexpr int32_t kSourceD20 = 171;
constexpr int32_t kSourceGrappling = 157;
constexpr int32_t kSourceImprovedBullRush = 678;
constexpr size_t kCriticalCut = 13;
constexpr uint32_t kLabelColour = 0xFFFFFFFF;
// The freedom-of-movement property of a crafted item.
constexpr int kPropertyFreedom = 25;
constexpr int32_t kNaturalAttackFreedom = 4;
constexpr int32_t kSizeModifiers[8] = {0, -8, -4, 0, 4, 8, 12, 16};
// The chance of winning an opposed Strength check by the difference of the
// totals, from -19 to +18 (-20 and below 0, +19 and above 100).
constexpr int kStrengthChance[38] = {1,  1,  1,  2,  4,  5,  7,  9,  11, 14, 16, 19, 23,
                                     26, 30, 34, 38, 43, 47, 52, 57, 62, 66, 70, 74, 77,
                                     80, 83, 86, 89, 91, 93, 95, 96, 97, 98, 99, 99};

struct LabelRow {
  int32_t source;
  const char* text;
};
// In the order they are looked for.
constexpr LabelRow kLabelRows[] = {
    {163, "Charging"},  {18, "Concealed"},   {168, "Flanked"},  {673, "Cover"},    {169, "Meleeing"},
    {680, "Point-Blank"}, {84, "Paralyzed"}, {85, "Sleeping"},  {82, "Stunned"},   {118, "Cowering"},
    {158, "Pinned"},    {152, "Slowed"},     {157, "Grappling"}, {88, "Blinded"},  {156, "Flat-Footed"},
};

bool ListHasSource(const ModifierList& list, int32_t source) {
  for (const ModifierPair& p : list.pairs)
    if (p.source == source) return true;
  return false;
}

int32_t Clamp(int32_t v) { return std::clamp(v, 5, 95); }

// A Strength check list of one side (the bull rush's feat for the attacker only).
ModifierList StrengthCheckList(int creature, bool attacker) {
  ModifierList list;
  InitModifierList(&list);
  const CreatureRecord& c = Creatures[creature];
  std::snprintf(list.caption, sizeof list.caption, "Strength Check (%s)", c.name);
  AddModifier(c.strength.current / 2 - 5, &list, kSrcStrengthModifier);
  const int32_t size = c.size.current;
  if (size != 3 && size >= 0 && size < 8) AddModifier(kSizeModifiers[size], &list, kSrcSpecialSizeModifier);
  if (attacker && c.feats[kFeatImprovedBullRush] != 0) AddModifier(4, &list, kSourceImprovedBullRush);
  return list;
}

// The focus feats of a touch attack.
void AddTouchFocus(ModifierList& roll, int attacker, uint8_t ranged, uint8_t naturalAttack) {
  const CreatureRecord& a = Creatures[attacker];
  if (naturalAttack && !ranged) {
    const int32_t kind = a.naturalAttacks[CombatAction.useAlternateAttack == 1 ? 3 : 0].kind;
    const int offset = NaturalFeatOffset(kind);
    if (offset < 0) return;
    if (a.feats[kFeatGreaterWeaponFocusFists + offset] != 0) AddModifier(2, &roll, kSrcGreaterWeaponFocus);
    else if (a.feats[kFeatWeaponFocusFists + offset] != 0) AddModifier(1, &roll, kSrcWeaponFocus);
    return;
  }
  const int greater = ranged ? kFeatGreaterWeaponFocusFists + 9 : kFeatGreaterWeaponFocusFists + 8;
  const int focus = ranged ? kFeatWeaponFocusRangedTouch : kFeatWeaponFocusTouch;
  if (a.feats[greater] != 0) AddModifier(1, &roll, kSrcGreaterWeaponFocus);
  if (a.feats[focus] != 0) AddModifier(1, &roll, kSrcWeaponFocus);
}

// The base item type of the creature's ammunition, 0 when none.
int32_t AmmunitionBaseType(int creature) {
  const uint32_t code = Creatures[creature].ammunition.code;
  if (code < kFirstBaseItemCode || code >= kFirstBaseItemCode + kItemRows) return 0;
  return ItemTable[code - kFirstBaseItemCode].baseType;
}

bool Immune(const CreatureRecord& c, int category) { return ImmunityCodeOf(c, category) == kImmunityImmune; }

}  // namespace

int32_t GetD20FromRoll(const ModifierList& list) {
  for (const ModifierPair& p : list.pairs)
    if (p.source == kSourceD20) return p.value;
  return 0;
}

void FormatCriticalText(ModifierList* list) {
  if (list == nullptr) return;
  char rest[sizeof list->caption] = {};
  const size_t length = strnlen(list->caption, sizeof list->caption);
  if (length > kCriticalCut) std::memcpy(rest, list->caption + kCriticalCut, length - kCriticalCut);
  // The caption keeps what fits after "Critical ".
  if (std::snprintf(list->caption, sizeof list->caption, "Critical %s", rest) < 0) list->caption[0] = 0;
}

void ClearSituationLabels() {
  for (SituationLabel& label : SituationLabels) label = SituationLabel{};
}

bool AddSituationLabel(int32_t source) {
  for (SituationLabel& label : SituationLabels) {
    if (label.text[0] != '\0') continue;
    for (const LabelRow& row : kLabelRows) {
      if (row.source != source) continue;
      std::snprintf(label.text, sizeof label.text, "%s", row.text);
      return true;
    }
    return false;
  }
  return false;
}

bool BuildSituationLabels(int, uint8_t grappler, const ModifierList& armourClass, const ModifierList& attackRoll) {
  if (OptionWords[kOptionDisplayExpandedTooltip] != 1) return true;
  ClearSituationLabels();
  for (const ModifierList* list : {&attackRoll, &armourClass})
    for (const LabelRow& row : kLabelRows)
      if (ListHasSource(*list, row.source)) AddSituationLabel(row.source);
  if (grappler) AddSituationLabel(kSourceGrappling);
  return true;
}

bool DrawSituationLabels(int x, int y) {
  if (OptionWords[kOptionDisplayExpandedTooltip] != 1) return true;
  int row = 0;
  for (const SituationLabel& label : SituationLabels) {
    if (label.text[0] == '\0') continue;
    const int dy = 8 * row++;
    // Given in the 320x240 layout: scaled when the frame draws in the wide
    // window's 480x360 space, as the hint beside them is.
    if (WideViewDrawn())
      DrawStringOnBacking(label.text, x * 3 / 2, (y + dy) * 3 / 2, kLabelColour, 1);
    else
      DrawStringOnBacking(label.text, x, y + dy, kLabelColour, 1);
  }
  return true;
}

int WillSaveChancePercent(int creature, int32_t dc) {
  if (!IsValidCreature(creature)) return 5;
  const CreatureRecord& c = Creatures[creature];
  const int32_t bonus = c.wisdom.current / 2 - 5 + c.willpower.current;
  return Clamp(5 * (21 + bonus - dc));
}

bool IsDefenceless(int creature) {
  return IsValidCreature(creature) && FindAnyCondition(creature, kCondSleeping, kCondNauseated, kCondParalyzed,
                                                       kCondDancing, kCondConfused, kCondStunned, kCondCowering) >= 0;
}

int HitChancePercent(int attacker, int target) {
  if (!IsValidCreature(attacker) || !IsValidCreature(target)) return 0;
  if (IsDefenceless(target)) return kSureHitShown;
  return ResolveAttack(attacker, target, 0, CombatAction.useAlternateAttack, 1, 0, 0, nullptr);
}

int ImmunityChancePercent(int creature) {
  if (!IsValidCreature(creature)) return 5;
  const CreatureRecord& c = Creatures[creature];
  for (int slot : {kSlotRightHand, kSlotLeftHand}) {
    const uint32_t code = c.equipment[slot - 1];
    if (IsCraftedCode(code) && CraftedWeapons[code].properties[kPropertyFreedom] != 0) return 100;
  }
  if (ImmunityCodeOf(c, kImmHampering) == kImmunityImmune) return 100;
  for (const NaturalAttack& n : c.naturalAttacks)
    if (n.kind == kNaturalAttackFreedom) return 100;
  return Clamp(5 * (c.strength.current / 2 - 5 + 1));
}

int StrengthCheck(int a, int b) {
  if (!IsValidCreature(a) || !IsValidCreature(b)) return 0;
  const int32_t d = StrengthCheckList(a, true).total - StrengthCheckList(b, false).total;
  if (d <= -20) return 0;
  if (d >= 19) return 100;
  return kStrengthChance[d + 19];
}

int TouchAttackRoll(int attacker, int target, uint8_t ranged, uint8_t naturalAttack) {
  if (!IsValidCreature(attacker) || !IsValidCreature(target)) return 0;
  uint32_t source = 0;
  const int32_t missChance = ConcealmentMissChance(attacker, target, ranged, &source);
  ModifierList concealment;
  InitModifierList(&concealment);
  if (missChance >= 0) {
    std::snprintf(concealment.caption, sizeof concealment.caption, "Concealment Miss Chance");
    if (missChance > 0) AddModifier(missChance, &concealment, static_cast<int32_t>(source));
  }
  const int32_t c = concealment.total;

  ModifierList roll;
  InitModifierList(&roll);
  std::snprintf(roll.caption, sizeof roll.caption, ranged ? "Ranged touch attack roll" : "Melee touch attack roll");
  AddAttackModifiers(0, attacker, &roll, ranged ? 0 : 1, target, ranged, 0);
  AddTouchFocus(roll, attacker, ranged, naturalAttack);

  const CreatureRecord& a = Creatures[attacker];
  const GridSquare from = NearestFootprintSquare(attacker, Creatures[target].squareX, Creatures[target].squareY);
  const GridSquare to = NearestFootprintSquare(target, a.squareX, a.squareY);
  if (ranged) FindCover(from.x, from.y, to.x, to.y, 1);
  ModifierList armour;
  InitModifierList(&armour);
  int count = 0;
  armour.total = ComputeArmourClass(target, &armour, &count, 1, attacker, ranged ? 1 : 0, 0);
  const int32_t d = armour.total - roll.total;
  int32_t hit = d <= 1 ? 95 : d >= 20 ? 5 : 5 * (21 - d);

  uint8_t grapple = 0;
  if (ranged) {
    if (IsBlinded(attacker) && !AreAdjacent(attacker, target)) {
      const int around = ListCreaturesAroundSquare(to.x, to.y);
      if (around > 1) hit /= around;
    }
    if (HasCondition(target, kCondGrappling)) {
      hit /= 2;
      grapple = 1;
    }
  }
  if (c > 0) {
    const bool twice = !ranged && a.feats[kFeatBlindFight] != 0;
    hit = hit * (100 - (twice ? c * c / 100 : c)) / 100;
  }
  if (hit < 1) hit = 1;
  BuildSituationLabels(target, grapple, armour, roll);
  return hit;
}

int SpecialAmmunitionChance(int shooter, int target) {
  for (int32_t& v : SpellPreviewValues) v = kPreviewUnaffected;
  ResetWords(CreatureMarks);
  if (!IsValidCreature(shooter) || !IsValidCreature(target)) return 0;
  const int32_t type = AmmunitionBaseType(shooter);
  if (type < 8 || type > 16) return 0;
  const CreatureRecord& t = Creatures[target];
  int32_t bonus = 0, dc = 0;
  if (type == 8) {
    // Sleep: not against a creature immune to sleep or to the mind.
    if (Immune(t, kImmSleep) || Immune(t, kImmMind)) return 0;
    bonus = t.wisdom.current / 2 - 5 + t.willpower.current;
    dc = 15;
  } else {
    static const int32_t kSlain[8] = {5, 8, 7, 4, 6, 2, 1, 3};
    if (t.type != kSlain[type - 9]) return 0;
    // Undead and constructs are destroyed, the others die.
    if (Immune(t, type == 10 || type == 14 ? kImmDisintegration : kImmDeath)) return 0;
    bonus = t.constitution.current / 2 - 5 + t.fortitude.current;
    dc = 23;
  }
  const int32_t chance = Clamp(5 * (dc - bonus - 1));
  SpellPreviewValues[target] = chance;
  CreatureMarks[target] = 2;
  for (int32_t& id : AreaTargetList) id = -1;
  AreaTargetList[0] = target;
  AreaMarkTimer = 100;
  return chance;
}

FollowBox CameraFollowBox() {
  const bool large = IsWideView();
  const int32_t cx = ViewWidth() / 2 + ViewOriginX;
  const int32_t cy = ViewHeight() / 2 + ViewOriginY;
  FollowBox box{cx - 24, cx, cy - 24, cy};
  if (CombatRollsShown != 0) box.top = large ? cy + 28 : cy + 11;
  box.bottom = box.top + 24;
  if (ShotFlight.flying == 0 && CombatAction.playerControlled == 1 && OptionWords[kOptionActionPanelWord] != 0) {
    if (large) {
      box.left = ViewOriginX + 156;
      box.right = ViewOriginX + 180;
    } else {
      box.left = cx - 64;
      box.right = cx - 40;
    }
  }
  return box;
}

bool StepTowardFacing(int creature, uint8_t noScroll) {
  if (!IsValidCreature(creature)) return true;
  static const int kDx[9] = {0, 0, 1, 1, 1, 0, -1, -1, -1};
  static const int kDy[9] = {0, -1, -1, 0, 1, 1, 1, 0, -1};
  CreatureRecord& c = Creatures[creature];
  const int f = c.facing >= 1 && c.facing <= 8 ? c.facing : 0;
  const int32_t dx = kDx[f] * WalkStepSmall, dy = kDy[f] * WalkStepSmall;
  c.pixelX += dx;
  c.pixelY += dy;
  if (noScroll != 0 || FollowTarget != creature) return true;
  const FollowBox box = CameraFollowBox();
  if ((dx < 0 && c.pixelX < box.left) || (dx > 0 && c.pixelX > box.right)) ViewOriginX += dx;
  if ((dy < 0 && c.pixelY < box.top) || (dy > 0 && c.pixelY > box.bottom)) ViewOriginY += dy;
  return true;
}

void ResetRollPreviewsState() {
  ClearSituationLabels();
}
