#include "rules/attack_lines.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/linked_text.h"
#include "engine/page_history.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "rules/creature_record.h"
#include "rules/item_rules.h"
#include "state/map_view_state.h"

namespace {

constexpr int kHoverStyle = 2;
constexpr int32_t kHelpDamageTypes = 43110;
constexpr int32_t kHelpLevelDrain = 43136;
constexpr int32_t kHelpParalysis = 43134;
constexpr int32_t kHelpBleeding = 43135;

// One link of a line: its cells, the caption shown while hovered, and what a
// click opens (a page of a type, or a help page when type is kPageHelpTopic).
struct Link {
  int column;
  int width;
  const char* hoverCaption;
  const char* pageCaption;
  int32_t type;
  int32_t parameter;
  bool resetsScroll = false;  // the item details page starts at its first line
};

// Draws the text at the link's cells in the hover style when the pointer is
// over it; a hovered link sets the caption and cursor and acts on a click.
void DrawLink(const char* text, int style, int row, const Link& link) {
  const bool hovered = MouseInTextRow(row, link.column, link.width, 1, 1, 0);
  DrawTextAt(kDefaultColour, kLargeColumns, 0, text, hovered ? kHoverStyle : style, link.column, row, 1, 0, 0, 0);
  if (!hovered) return;
  std::snprintf(HoverCaption, sizeof HoverCaption, "%s", link.hoverCaption);
  CursorShape = kCursorOverLink;
  if (!ConsumeClick(1)) return;
  if (link.resetsScroll) PageWork.scroll = 0;
  PushPage(link.pageCaption, link.type, link.parameter);
}

int TopPageParameter() {
  return PageDepth >= 0 && PageDepth < kPageHistorySize ? PageHistory[PageDepth].parameter : -1;
}

void DrawLine(const AttackProfileEntry& e, int index, int row, int creature) {
  if (e.kind == kEntryNone) {
    DrawTextAt(kDefaultColour, kLargeColumns, 0, "- -                - -", 0, 1, row, 1, 0, 0, 0);
    return;
  }
  const int32_t parameter = TopPageParameter();
  char text[64];

  // Number of attacks.
  std::snprintf(text, sizeof text, "%.1i", e.attackCount.total);
  DrawLink(text, 0, row,
           {1, static_cast<int>(std::strlen(text)), "Modifiers: Number of Attacks", "Number of Attacks", 25 + index,
            parameter});
  DrawTextAt(kDefaultColour, kLargeColumns, 0, "*", 0, 2, row, 1, 0, 0, 0);

  // Name.
  char name[sizeof e.name];
  CapitaliseWords(name, e.name, 1);
  int32_t nameType = e.kind + 43;
  const bool wielded = e.kind == kEntryMainHand || e.kind == kEntryOffHand || e.kind == kEntryRanged;
  if (wielded) {
    const int slot = e.kind == kEntryMainHand ? kSlotRightHand : e.kind == kEntryOffHand ? kSlotLeftHand : kSlotRanged;
    const uint32_t code = creature >= 0 && creature < kCreatureCount ? Creatures[creature].equipment[slot - 1] : 0;
    nameType = 10000 + static_cast<int32_t>(code);
  }
  DrawLink(name, 0, row,
           {3, static_cast<int>(std::strlen(name)), "More Information", name, nameType, parameter, wielded});

  // Attack bonus.
  std::snprintf(text, sizeof text, "%+.2i", e.attackRoll.total);
  DrawLink(text, 0, row,
           {18, static_cast<int>(std::strlen(text)), "Modifiers: Attack Roll Bonus", "Attack Roll Modifiers",
            32 + index, parameter});

  // Damage: the dice, then the bonus with its sign. Weapon and physical
  // damage links its bonus to the breakdown; other kinds link the whole
  // text to the damage types; ability damage and level drain link nothing.
  const int32_t effect = e.specialEffect;
  if (effect != kEffectParalysis && effect != kEffectBleeding) {
    const int32_t bonus = e.damageBonus.total;
    const bool bonusLink = e.damageKind == 1 && effect == 0;
    const bool kindLink = e.damageKind != 1 && effect == 0;
    const bool hovered = kindLink && MouseInTextRow(row, 22, 7, 1, 1, 0);
    const int style = hovered ? kHoverStyle : e.damageKind;
    std::snprintf(text, sizeof text, "%.1iD", e.damageCount);
    const int diceWidth = static_cast<int>(std::strlen(text));
    DrawTextAt(kDefaultColour, kLargeColumns, 0, text, style, 22, row, 1, 0, 0, 0);
    std::snprintf(text, sizeof text, "%i", e.damageSides);
    DrawTextAt(kDefaultColour, kLargeColumns, 0, text, style, 22 + diceWidth, row, 1, 0, 0, 0);
    if (bonusLink) {
      DrawTextAt(kDefaultColour, kLargeColumns, 0, bonus < 0 ? "    -" : "    +", style, 22, row, 1, 0, 0, 0);
      std::snprintf(text, sizeof text, "%.2i", std::abs(bonus));
      DrawLink(text, style, row,
               {27, static_cast<int>(std::strlen(text)), "Modifiers: Damage Bonus", "Damage Bonus Modifiers",
                39 + index, parameter});
    } else {
      std::snprintf(text, sizeof text, bonus < 0 ? "    -%.2i" : "    +%.2i", std::abs(bonus));
      DrawTextAt(kDefaultColour, kLargeColumns, 0, text, style, 22, row, 1, 0, 0, 0);
    }
    if (hovered) {
      std::snprintf(HoverCaption, sizeof HoverCaption, "%s", "Damage Types");
      CursorShape = kCursorOverLink;
      if (ConsumeClick(1)) PushPage("Damage Types", kPageHelpTopic, kHelpDamageTypes);
    }
  }

  // Bonus damages, or the special effect.
  if (effect == 0) {
    static const int kColumns[2] = {29, 33};
    for (int i = 0; i < 2; ++i) {
      const AttackExtraDamage& x = e.extra[i];
      if (x.count <= 0) continue;
      DrawTextAt(kDefaultColour, kLargeColumns, 0, "+", x.kind, kColumns[i], row, 1, 0, 0, 0);
      std::snprintf(text, sizeof text, "%.1iD%.1i", x.count, x.sides);
      DrawLink(text, x.kind, row,
               {kColumns[i] + 1, static_cast<int>(std::strlen(text)), "Damage Types", "Damage Types", kPageHelpTopic,
                kHelpDamageTypes});
    }
    if (e.moreExtras == 1) DrawTextAt(kDefaultColour, kLargeColumns, 0, "..", 0, 37, row, 1, 0, 0, 0);
  } else if (effect >= 1 && effect <= 6) {
    static const char* const kAbilities[6] = {"STR", "DEX", "CON", "INT", "WIS", "CHA"};
    DrawLink(kAbilities[effect - 1], 0, row,
             {30, 3, "Ability Damage", "Damage Types", kPageHelpTopic, kHelpDamageTypes});
  } else if (effect == kEffectLevelDrain) {
    DrawLink("LVL", 0, row, {30, 3, "Level Drain", "Level Drain", kPageHelpTopic, kHelpLevelDrain});
  } else if (effect == kEffectParalysis) {
    DrawLink("Paralysis", 0, row, {22, 9, "Paralysis", "Paralysis", kPageHelpTopic, kHelpParalysis});
  } else if (effect == kEffectBleeding) {
    DrawLink("Bleeding", 0, row, {22, 8, "Bleeding", "Bleeding", kPageHelpTopic, kHelpBleeding});
  }
}

}  // namespace

int FormatAttackCountModifiers(const AttackProfile* profile, int creature) {
  if (!profile) return 1;
  // The first line shown stays within the entries that exist: the last one
  // in use may be the bottom line at most.
  int last = 0;
  for (int i = 0; i < kAttackProfileEntries; ++i)
    if (profile->entries[i].kind != kEntryNone) last = i;
  int highest = last - (kAttackLinesShown - 1);
  if (highest < 0) highest = 0;
  if (AttackLinesScroll > highest) AttackLinesScroll = highest;
  if (AttackLinesScroll < 0) AttackLinesScroll = 0;

  for (int line = 0; line < kAttackLinesShown; ++line) {
    const int index = AttackLinesScroll + line;
    if (index >= kAttackProfileEntries) break;
    DrawLine(profile->entries[index], index, kAttackLinesFirstRow + line, creature);
  }
  return 1;
}
