#include "screens/character/feats_and_abilities_page.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "engine/input.h"
#include "engine/last_screen.h"
#include "engine/page_history.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "rules/attack_profile.h"
#include "rules/casting_rules.h"
#include "rules/creature_record.h"
#include "rules/feat_names.h"
#include "rules/item_tables.h"
#include "screens/character/character_screens.h"
#include "screens/character/page_kit.h"
#include "state/inventory_state.h"

int32_t AbilityListScroll = 0;

namespace {

constexpr int kFirstListRow = 3;
constexpr int kScrollStep = 3;
constexpr int kMartialCount = kFeatLastMartial - kFeatFirstMartial + 1;

// Help pages of the list.
constexpr uint32_t kHelpFeatBase = 31001, kHelpMartialAll = 31400, kHelpArmourAll = 31407, kHelpDarkvision = 32019,
                   kHelpDamageReduction = 32017, kHelpSpellResistance = 61017, kHelpArmourBonus = 32016,
                   kHelpResistance = 32015, kHelpTurnUndead = 42040, kHelpBreath = 32009,
                   kHelpRegeneration = 32010, kHelpConstrict = 32011, kHelpShield = 32012, kHelpRake = 32013,
                   kHelpPowerfulCharge = 32014, kHelpNaturalWeapons = 43099, kHelpSingleActions = 32021,
                   kHelpFirstQuality = 32003;

constexpr const char* kQualities[9] = {nullptr,         "Stunning Double Attack",   "Drench",
                                       "Pounce",        "Hide in plain sight",      "Hearing-based Blindsight",
                                       "See Invisible", nullptr,                    "Single Actions Only"};
constexpr const char* kArmourBonuses[7] = {"Deflection AC Bonus %i", "Racial Dodge AC Bonus %i",
                                           "Natural Armor AC Bonus %i", "Sacred AC Bonus %i",
                                           "Profane AC Bonus %i",     "Lawful AC Bonus %i",
                                           "Chaotic AC Bonus %i"};
constexpr const char* kResistances[8] = {"Fire Resistance (%i)",           "Cold Resistance (%i)",
                                         "Sonic Resistance (%i)",          "Electricity Resistance (%i)",
                                         "Acid Resistance (%i)",           "Positive Energy Resistance (%i)",
                                         "Negative Energy Resistance (%i)", "Force Resistance (%i)"};
// The breath weapon's effect by kind 1 to 11 (12 to 22 the same).
constexpr const char* kBreaths[11] = {
    "%iD%i Fire Damage)",  "%iD%i Cold Damage)",      "%iD%i Shock Damage)",      "%iD%i Acid Damage)",
    "%iD%i Force Damage)", "Sleep %iD%i Rounds)",     "Slow %iD%i Rounds)",       "Paralysis %iD%i Rounds)",
    "Petrify)",            "%iD%i Strength Damage)", "%iD%i Con. Damage)",
};
constexpr const char* kShields[8] = {
    "Fire Shield (%iD%i Fire Damage)",     "Ice Shield (%iD%i Cold Damage)",
    "Shock Shield (%iD%i Shock Damage)",   "Acid Shield (%iD%i Acid Damage)",
    "Sonic Shield (%iD%i Sonic Damage)",   "Positive Energy Shield (%iD%i Damage)",
    "Negative Energy Shield (%iD%i Damage)", "Force Shield (%iD%i Force Damage)",
};
constexpr const char* kSusceptibilities[6] = {nullptr, "Immunity (%s)", "Weakness (%s)", "Serious Weakness (%s)",
                                              "Resistance (%s)", "Reverse Effect (%s)"};

class Gatherer {
 public:
  explicit Gatherer(AbilityEntry (&entries)[kAbilityEntries]) : entries_(entries) {
    std::memset(entries_, 0, sizeof entries_);
  }
  void Add(uint32_t help, const char* format, ...) __attribute__((format(printf, 3, 4))) {
    if (count_ >= kAbilityEntries - 1) return;  // the entry after the last stays empty
    va_list args;
    va_start(args, format);
    std::vsnprintf(entries_[count_].name, sizeof entries_[count_].name, format, args);
    va_end(args);
    entries_[count_].helpPage = help;
    ++count_;
  }
  int Count() const { return count_; }

 private:
  AbilityEntry (&entries_)[kAbilityEntries];
  int count_ = 0;
};

bool AllExactlyOne(const int32_t* flags, int n) {
  for (int i = 0; i < n; ++i)
    if (flags[i] != 1) return false;
  return true;
}

void GatherFeats(const CreatureRecord& c, Gatherer& g) {
  const bool martialFolded = AllExactlyOne(&c.feats[kFeatFirstMartial], kMartialCount);
  const bool armourFolded = AllExactlyOne(&c.feats[kFeatLightArmour], 3);
  for (int f = 0; f < kFeatFlags; ++f) {
    const int32_t taken = c.feats[f];
    if (taken < 1) continue;
    if (martialFolded && f >= kFeatFirstMartial && f <= kFeatLastMartial) continue;
    if (armourFolded && f >= kFeatLightArmour && f <= kFeatHeavyArmour) continue;
    const uint32_t help = kHelpFeatBase + static_cast<uint32_t>(f);
    if (f == kFeatCombatReflexes) {
      const int32_t modifier = c.dexterity.current / 2 - 5;
      g.Add(help, "COMBAT REFLEXES (%i OPP. ATTACKS)", modifier > 0 && taken == 1 ? 1 + modifier : 1);
    } else if (f == kFeatToughness) {
      g.Add(help, "TOUGHNESS (%i)", taken);
    } else if (f == kFeatImprovedNaturalArmor) {
      g.Add(help, "IMPROVED NATURAL ARMOR (%i)", taken);
    } else {
      g.Add(help, "%.38s", FeatNameTable[f]);
    }
  }
  if (martialFolded) g.Add(kHelpMartialAll, "Martial Proficiencies (All)");
  if (armourFolded) g.Add(kHelpArmourAll, "Armor Proficiencies (All)");
}

void GatherSpellLike(const CreatureRecord& c, Gatherer& g) {
  const int32_t word = c.special[kSpecialSpellLike];
  // A spell-like ability whose spell lies outside the spell table is left out.
  if (word <= 0 || word > kSpellRows) return;
  const int row = word - 1;
  const SpellRecord& s = SpellTable[row];
  const uint32_t help = static_cast<uint32_t>((s.divine == 0 ? 51000 : 51898) + word + s.level);
  const char* keyword = SpellKeywordFull(row);
  const int32_t left = c.special[kSpecialUsesLeft];
  if (left >= 999) g.Add(help, "Spell-Like %s", keyword);
  else g.Add(help, "Spell-Like %s (%i/%i)", keyword, left, c.special[kSpecialUsesPerDay]);
}

void GatherSpecialAttacks(const CreatureRecord& c, Gatherer& g) {
  const int32_t quality = c.special[kSenseKindWord];
  if (quality >= 1 && quality <= 8 && kQualities[quality])
    g.Add(quality == 8 ? kHelpSingleActions : kHelpFirstQuality + static_cast<uint32_t>(quality - 1), "%s",
          kQualities[quality]);
  const int32_t breath = c.special[kSpecialAttackKind];
  const int32_t count = c.special[kSpecialAttackDice], sides = c.special[kSpecialAttackSides];
  if (breath >= 1 && breath <= 22) {
    char effect[40];
    std::snprintf(effect, sizeof effect, kBreaths[(breath - 1) % 11], count, sides);
    g.Add(kHelpBreath, "Breath Weapon (%s", effect);
  } else if (breath == 23) {
    g.Add(kHelpBreath, "Gaze Attack (Petrify)");
  }
  if (c.special[kSpecialRegeneration] > 0)
    g.Add(kHelpRegeneration, "Regeneration (%i Per Round)", c.special[kSpecialRegeneration]);
  if (c.special[kSpecialConstrictSides] > 0)
    g.Add(kHelpConstrict, "Constrict (%iD%i Bludgeoning Damage)", c.special[kSpecialConstrictDice],
          c.special[kSpecialConstrictSides]);
  const int32_t shield = c.special[kSpecialShieldKind];
  if (c.special[kSpecialShieldSides] > 0 && shield >= 1 && shield <= 8)
    g.Add(kHelpShield, kShields[shield - 1], c.special[kSpecialShieldDice], c.special[kSpecialShieldSides]);
  if (c.special[kSpecialRakeSides] > 0)
    g.Add(kHelpRake, "Rake Attack (2* %iD%i+%i Damage)", c.special[kSpecialRakeDice], c.special[kSpecialRakeSides],
          c.special[kSpecialRakeBonus]);
  if (c.special[kSpecialPowerfulChargeSides] > 0)
    g.Add(kHelpPowerfulCharge, "Powerful Charge (%iD%i+%i Slash Damage)", c.special[kSpecialPowerfulChargeDice],
          c.special[kSpecialPowerfulChargeSides], c.special[kSpecialPowerfulChargeBonus]);
  const int32_t alternative = c.naturalAttacks[3].kind;
  if (alternative >= 1 && alternative < 11 && quality != 7)
    g.Add(kHelpNaturalWeapons, "Alternative Primary (%s)", NaturalAttackNames[alternative]);
}

}  // namespace

int GatherAbilityEntries(int creature, AbilityEntry (&entries)[kAbilityEntries]) {
  Gatherer g(entries);
  if (!IsValidCreature(creature)) return 0;
  const CreatureRecord& c = Creatures[creature];
  GatherFeats(c, g);
  if (c.sightless == 1) g.Add(kHelpDarkvision, "Darkvision");
  const int32_t reduction = c.protections[kProtDamageReduction].current;
  if (reduction > 0) {
    const int32_t kind = c.protections[kProtDamageReductionKind].current;
    const bool named = kind >= 0 && kind < static_cast<int32_t>(std::size(DamageReductionKindNames));
    g.Add(kHelpDamageReduction, "Damage Reduction %i/%s", reduction, named ? DamageReductionKindNames[kind] : "");
  }
  if (c.protections[kProtSpellResistance].current > 0)
    g.Add(kHelpSpellResistance, "Spell Resistance %i", c.protections[kProtSpellResistance].current);
  for (int i = 0; i < 7; ++i)
    if (c.protections[kProtDeflection + i].current > 0)
      g.Add(kHelpArmourBonus, kArmourBonuses[i], c.protections[kProtDeflection + i].current);
  for (int i = 0; i < 8; ++i)
    if (c.protections[kProtResistFire + i].current > 0)
      g.Add(kHelpResistance, kResistances[i], c.protections[kProtResistFire + i].current);
  if (c.creatureClass == kClassCleric) {
    ActingCreature = creature;
    int32_t level = c.casterLevelAdjust - c.level + c.effectiveLevel;
    if (level < 1) level = 1;
    const int32_t modifier = c.charisma.current / 2 - 5;
    g.Add(kHelpTurnUndead, "Turn Undead DC %i (%i/%i)", level / 2 + modifier + 10,
          c.displayWords[kDisplayTurnUndeadUses], modifier >= 1 ? 1 + modifier : 1);
  }
  GatherSpellLike(c, g);
  GatherSpecialAttacks(c, g);
  for (int i = 0; i < kImmunityCategories; ++i) {
    const int32_t code = ImmunityCodeOf(c, i);
    if (code >= 1 && code <= 5) g.Add(kHelpResistance, kSusceptibilities[code], ImmunityCategoryNames[i]);
  }
  std::sort(entries, entries + g.Count(),
            [](const AbilityEntry& a, const AbilityEntry& b) { return std::strcmp(a.name, b.name) < 0; });
  return g.Count();
}

int DrawAbilityListRows(const AbilityEntry* entries) {
  const int first = AbilityListScroll > 0 ? AbilityListScroll : 0;
  for (int k = 0; k < kAbilityRowsShown; ++k) {
    if (first + k >= kAbilityEntries) return 1;
    const AbilityEntry& e = entries[first + k];
    if (e.name[0] == '\0') return 1;
    char shown[sizeof e.name];
    CapitaliseWords(shown, e.name, 1);
    const int row = kFirstListRow + k;
    if (!LitText(shown, kStylePink, 1, row)) continue;
    CursorShape = kCursorLink;
    const char* title = HelpPageTitle(e.helpPage);
    if (title == nullptr) continue;
    SetHoverCaption(title);
    if (ConsumeClick(1)) PushHelpPage(static_cast<int32_t>(e.helpPage));
  }
  return 0;
}

namespace {

// A scroll arrow at the right edge of row y / 8; a left click on its row
// moves the list by `step`, not past its end.
void ScrollArrow(int frame, int y, const char* caption, int32_t cursor, int step, int end) {
  const bool over = MouseInRect(y, 8, 304, 8);
  DrawSheetFrame(kSheetInterface, frame, 304, y, over ? kHoveredArrowColour : 0xFFFFFFFFu);
  if (!over) return;
  SetHoverCaption(caption);
  CursorShape = cursor;
  if (!ButtonPressed(0)) return;
  LatchButton(0);
  AbilityListScroll = std::min(AbilityListScroll + step, end);
}

void ScrollList(int count, bool continues) {
  const int end = std::max(0, count - kAbilityRowsShown);
  if (MouseInRect(24, 8, 304, 176)) {
    const int wheel = GetMouseWheel();
    if (wheel > 0) AbilityListScroll -= kScrollStep;
    if (wheel < 0 && continues) AbilityListScroll = std::min(AbilityListScroll + kScrollStep, end);
  }
  if (KeyHeld(kKeyUp) || KeyHeld(kKeyPageUp)) --AbilityListScroll;
  if (TakeKey(kKeyHome)) AbilityListScroll = 0;
  if (continues && (KeyHeld(kKeyDown) || KeyHeld(kKeyPageDown))) AbilityListScroll = std::min(AbilityListScroll + 1, end);
  if (TakeKey(kKeyEnd)) AbilityListScroll = end;
  if (CursorShape == kCursorRest) {
    if (continues) ScrollArrow(kArrowDownFrame, 200, "Scroll Down", kCursorScrollDown, kScrollStep, end);
    if (AbilityListScroll > 0) ScrollArrow(kArrowUpFrame, 24, "Scroll Up", kCursorScrollUp, -kScrollStep, end);
  }
  if (AbilityListScroll < 0) AbilityListScroll = 0;
}

}  // namespace

void DrawSpecialAbilitiesScreen(int creature) {
  LastScreenDrawn = "DrawSpecialAbilitiesScreen";
  BeginCharacterPage();
  DrawFramedBox(0, 0, 1);
  DrawSeparatorLine(2, 0, 39, 2);
  DrawSheetFrame(53, 85, 0, 24);
  DrawSheetFrame(53, 112, 312, 24);
  if (IsValidCreature(creature)) {
    char name[16];
    CopyCut(name, sizeof name, Creatures[creature].name, 15);
    PageTextAt(name, kStyleTitle, 2, 1);
    PageTextAt(": Feats and Abilities", kStyleTitle, 2 + static_cast<int>(std::strlen(name)), 1);
    static AbilityEntry entries[kAbilityEntries];
    const int count = GatherAbilityEntries(creature, entries);
    const bool ended = DrawAbilityListRows(entries) == 1;
    ScrollList(count, !ended);
  }
  if (EndCharacterPage(true)) AbilityListScroll = 0;
}
