// The page that describes one natural attack of a creature (page types 46
// to 49): how often it is used in a row, its critical range, the dice and
// kind of its effect and of a second effect.
#include <cstdio>
#include <cstring>

#include "engine/last_screen.h"
#include "engine/page_history.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "rules/attack_profile.h"
#include "rules/creature_record.h"
#include "screens/character/character_screens.h"
#include "screens/character/page_kit.h"

namespace {

constexpr int32_t kHelpNaturalWeapons = 43099;

// The second line of an effect of kinds 1 to 23: a word in its own style
// between "of" and "Damage." (or before "Drain."), each part a string of its
// own drawn over the same line.
struct EffectWords {
  const char* kind;  // led by blanks that stand for "of "
  int style;
  const char* tail;  // led by blanks that put it after the kind word
};
constexpr EffectWords kDamageWords[17] = {
    {"   Bludgeoning", 0, "               Damage."},
    {"   Slashing", 0, "            Damage."},
    {"   Piercing", 0, "            Damage."},
    {"   Fire", 2, "        Damage."},
    {"   Cold", 0, "        Damage."},
    {"   Electricity", 5, "               Damage."},
    {"   Acid", 6, "        Damage."},
    {"   Sonic", 1, "         Damage."},
    {"   Positive Energy", 5, "                   Damage."},
    {"   Negative Energy", 5, "                   Damage."},
    {"   Force", 3, "         Damage."},
    {"   Strength", 2, "            Damage."},
    {"   Dexterity", 5, "             Damage."},
    {"   Constitution", 6, "                Damage."},
    {"   Intelligence", 1, "                Damage."},
    {"   Wisdom", 0, "          Damage."},
    {"   Charisma", 3, "            Damage."},
};
constexpr EffectWords kDrainWords[6] = {
    {"Strength", 2, "         Drain."},      {"Dexterity", 5, "          Drain."},
    {"Constitution", 6, "             Drain."}, {"Intelligence", 1, "             Drain."},
    {"Wisdom", 0, "       Drain."},          {"Charisma", 3, "         Drain."},
};

// One effect on two rows: kind 1 to 26, dice count and sides.
void DrawEffect(int32_t kind, int32_t count, int32_t sides, int row) {
  char dice[32];
  std::snprintf(dice, sizeof dice, "%iD%i", count, sides);
  const int n = static_cast<int>(std::strlen(dice));
  if (kind >= 1 && kind <= 23) {
    PageTextAt("The attack deals", kStyleLabel, 2, row);
    PageTextAt(dice, kStyleGreen, 19, row);
    const EffectWords& w = kind <= 17 ? kDamageWords[kind - 1] : kDrainWords[kind - 18];
    if (kind <= 17) PageTextAt("of", kStyleLabel, 2, row + 1);
    PageTextAt(w.kind, w.style, 2, row + 1);
    PageTextAt(w.tail, kStyleLabel, 2, row + 1);
  } else if (kind == 24) {
    PageTextAt("The attack paralyzes", kStyleLabel, 2, row);
    PageTextAt(dice, kStyleGreen, 23, row);
    PageTextAt("rounds.", kStyleLabel, 24 + n, row);
  } else if (kind == 25) {
    PageTextAt("The attack causes bleeding", kStyleLabel, 2, row);
    PageTextAt("lasting", kStyleLabel, 2, row + 1);
    PageTextAt(dice, kStyleGreen, 10, row + 1);
    PageTextAt("rounds.", kStyleLabel, 11 + n, row + 1);
  } else if (kind == 26) {
    PageTextAt("The attack drains", kStyleLabel, 2, row);
    PageTextAt(dice, kStyleGreen, 20, row);
    PageTextAt("levels.", kStyleLabel, 21 + n, row);
  }
}

}  // namespace

void DrawAttackDetailsPage(int pageType, int creature) {
  LastScreenDrawn = "DrawAttackDetailsPage";
  BeginCharacterPage();
  DrawFramedBox(0, 0, 2);
  const int n = pageType - kPageAttackDetailsFirst;
  if (n >= 0 && n < 4 && IsValidCreature(creature)) {
    const CreatureRecord& c = Creatures[creature];
    const NaturalAttack& a = c.naturalAttacks[n];
    // A name index past the table shows the table's "N.A.".
    const int32_t index = a.kind >= 0 && a.kind < 11 ? a.kind : 0;
    const char* name = NaturalAttackNames[index];
    if (LitText(name, kStyleTitle, 2, 2)) {
      CursorShape = kCursorLink;
      SetHoverCaption("Natural Weapons");
      if (ConsumeClick(1)) OpenPage("Natural Weapons", kHelpNaturalWeapons);
    }
    char text[64];
    char creatureName[sizeof c.name];
    CopyCut(creatureName, sizeof creatureName, c.name, sizeof c.name - 1);
    PageTextAt(creatureName, kStyleGreen, 2, 4);
    PageTextAt("can use this attack", kStyleLabel, 3 + static_cast<int>(strnlen(creatureName, 15)), 4);
    std::snprintf(text, sizeof text, "%i", a.count);
    PageTextAt(text, kStyleGreen, 2, 5);
    PageTextAt("times in a row.", kStyleLabel, 3 + static_cast<int>(std::strlen(text)), 5);
    if (a.critLow == 20) {
      PageTextAt("Critical range", kStyleLabel, 2, 7);
      PageTextAt("               20", kStyleGreen, 2, 7);
    } else {
      PageTextAt("Critical range from ", kStyleLabel, 2, 7);
      std::snprintf(text, sizeof text, "%i to 20", a.critLow);
      PageTextAt(text, kStyleGreen, 22, 7);
    }
    DrawEffect(a.effectKind, a.effectDice, a.effectSides, 9);
    if (a.riderKind >= 1) DrawEffect(a.riderKind, a.riderDice, a.riderSides, 12);
  }
  EndCharacterPage(true);
}
