// The spell page (page type 115): the spells a Wizard or Cleric may learn
// now, as icons in a grid of one row per spell level, and two good choices;
// one pick and the page hands back to the creation or level-up page that
// opened it.
#include <cstdio>
#include <cstring>

#include "adventure/item_commands.h"
#include "combat/resolution/spell_keywords.h"
#include "combat/turns/turn_routines.h"
#include "engine/frame.h"
#include "engine/last_screen.h"
#include "engine/linked_text.h"
#include "engine/page_history.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "party/level_up_words.h"
#include "party/page_controls.h"
#include "party/party_screens.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "screens/character/spell_icons.h"
#include "state/game_progress.h"

int32_t SpellRowOffset = 0;

namespace {

constexpr int kRowSpells = 14;  // spells a level row shows
constexpr uint32_t kScrollCodeFirst = 5003;   // scroll items of spell i: 5003 + i and 5244 + i
constexpr uint32_t kScrollCodeSecond = 5244;
constexpr uint32_t kGreyed = 0xFF969696u;
// Text styles of the page.
constexpr int kEntry = 1, kHighlighted = 2, kHeading = 4, kName = 5, kLink = 6;

// The good choices, best first; DEEP_SLUMBER (28) only for a Wizard with
// SPELL FOCUS (ENCHANTMENT).
constexpr int kWizardChoices[] = {95, 98, 97, 101, 94, 92, 87, 88, 93, 82, 79, 81, 83, 69, 72, 68,
                                  70, 59, 60, 61, 64, 65, 41, 47, 49, 50, 48, 31, 36, 28, 27, 39,
                                  37, 14, 15, 17, 26, 25, 20, 5,  3,  1,  0,  4,  9,  7};
constexpr int kDeepSlumber = 28;
constexpr int kClericChoices[] = {172, 173, 174, 171, 169, 165, 167, 166, 162, 163, 164, 161, 153,
                                  157, 155, 154, 158, 160, 144, 150, 146, 151, 148, 133, 138, 137,
                                  136, 119, 130, 129, 121, 107, 105, 114, 108, 106, 104, 113};

struct SpellGrid {
  bool candidate[kSpellRows] = {};
  bool scroll[kSpellRows] = {};
  int count = 0;        // all candidates
  int firstLevel = 0;   // level-1 candidates
};

// The spells the creature may learn now: a spell of its magic (arcane for a
// Wizard, divine for a Cleric) it does not know, of a level it has reached
// (spell level L from class level 2L - 1).
SpellGrid Candidates(const CreatureRecord& c) {
  SpellGrid g;
  for (int i = 0; i < kSpellRows; ++i) {
    const SpellRecord& s = SpellTable[i];
    if (s.name[0] == '\0' || c.knownSpells[i] != 0 || 2 * s.level - 1 > c.level) continue;
    const bool own = (c.creatureClass == kClassWizard && s.divine == 0) ||
                     (c.creatureClass == kClassCleric && s.divine == 1);
    if (!own) continue;
    g.candidate[i] = true;
    g.scroll[i] = PartyHasItem(kScrollCodeFirst + i) || PartyHasItem(kScrollCodeSecond + i);
    ++g.count;
    if (s.level == 1) ++g.firstLevel;
  }
  return g;
}

// The two arrows of a level-1 row longer than the grid; the spells scrolled
// past stop being candidates for this frame.
void ShiftFirstRow(SpellGrid& g) {
  if (g.firstLevel <= kRowSpells) {
    SpellRowOffset = 0;
    return;
  }
  if (SpellRowOffset < g.firstLevel - kRowSpells) {
    const bool over = MouseInRect(40, 272, 8, 8);
    DrawSheetFrame(13, 487, 272, 40, over ? kGreyed : 0xFFFFFFFFu);
    if (over) {
      SetHint("Scroll Right");
      CursorShape = 21;
      if (TakeLeftClick()) ++SpellRowOffset;
    }
  }
  if (SpellRowOffset > 0) {
    const bool over = MouseInRect(40, 264, 8, 8);
    DrawSheetFrame(13, 488, 264, 40, over ? kGreyed : 0xFFFFFFFFu);
    if (over) {
      SetHint("Scroll Left");
      CursorShape = 20;
      if (TakeLeftClick()) --SpellRowOffset;
    }
  }
  int left = SpellRowOffset;
  for (int i = 0; i < kSpellRows && left > 0; ++i)
    if (g.candidate[i] && SpellTable[i].level == 1) {
      g.candidate[i] = false;
      --left;
    }
}

// Learns the spell and hands back to the caller; in a level-up it becomes
// the first or second new spell by the slot counter.
void LearnSpell(int creature, int spell) {
  Creatures[creature].knownSpells[spell] = 1;
  HandBackPick(creature, spell, SpellSlotCounter, kPendingFirstSpell);
}

// The name and, in a level-up, the "Examine Character" link; true when the
// link was taken (the page has presented its frame and is left).
bool Header(int creature) {
  const char* name = Creatures[creature].name;
  PageText(name, kName, 5, 1);
  if (NewPartyPending != 0) return false;
  PageText("Examine", kLink, 23, 1);
  PageText("Character", kLink, 23, 2);
  const bool overName = MouseInRect(8, 40, 8 * static_cast<int>(std::strlen(name)), 8);
  const bool overLink = MouseInRect(8, 184, 56, 8) || MouseInRect(16, 184, 72, 8);
  if (!overName && !overLink) return false;
  CursorShape = 8;
  if (overName) {
    PageText(name, kHighlighted, 5, 1);
  } else {
    PageText("Examine", kHighlighted, 23, 1);
    PageText("Character", kHighlighted, 23, 2);
  }
  if (!ConsumeClick(1)) return false;
  OpenCharacterRecordOver("Spell Selection", kPageSpellPick, creature);
  PresentBackdropFrameNow();
  return true;
}

void LevelLabels(const CreatureRecord& c) {
  const bool wizard = c.creatureClass == kClassWizard;
  for (int n = 1; n <= 9; ++n) {
    char label[8], hint[32];
    std::snprintf(label, sizeof label, "L-%i", n);
    std::snprintf(hint, sizeof hint, wizard ? "Level_%i_Arcane_Spells" : "Level_%i_Cleric_Spells", n);
    const bool over = MouseInRect(40 + 16 * n, 40, 24, 8);
    PageText(label, over ? kHighlighted : kHeading, 5, 5 + 2 * n);
    if (!over) continue;
    CursorShape = 28;
    SetHint(hint);
    if (ConsumeClick(1)) OpenPage(hint, (wizard ? kArcaneLevelHelpPages : kDivineLevelHelpPages)[n - 1]);
  }
}

// The slot of each shown spell in its level row (-1 not shown), in spell
// order: candidate k of a row takes slot 2k, at most 14 to a row.
void LayOutGrid(const SpellGrid& g, int slots[kSpellRows]) {
  int filled[10] = {};
  for (int i = 0; i < kSpellRows; ++i) {
    slots[i] = -1;
    if (!g.candidate[i]) continue;
    const int level = SpellTable[i].level;
    if (level < 1 || level > 9 || filled[level] >= kRowSpells) continue;
    slots[i] = 2 * filled[level]++;
  }
}

void DrawGridFrames(const int slots[kSpellRows]) {
  bool occupied[10][2 * kRowSpells] = {};
  for (int i = 0; i < kSpellRows; ++i) {
    if (slots[i] < 0) continue;
    const int c = slots[i], level = SpellTable[i].level;
    const int y = 35 + 16 * level;
    DrawSheetFrame(19, 107, 67 + 8 * c, y);
    if (c > 0) {
      DrawSheetFrame(19, 108, 51 + 8 * c, y);
      DrawSheetFrame(19, 109, 67 + 8 * c, y);
    }
    if (level > 1 && occupied[level - 1][c]) {
      DrawSheetFrame(19, 110, 67 + 8 * c, 19 + 16 * level);
      DrawSheetFrame(19, 111, 67 + 8 * c, y);
    }
    occupied[level][c] = true;
  }
}

// The icons; a click learns the hovered spell, a right click opens its help.
// True when a spell was learnt.
bool GridIcons(int creature, const SpellGrid& g, const int slots[kSpellRows]) {
  bool learnt = false;
  for (int i = 0; i < kSpellRows; ++i) {
    if (slots[i] < 0) continue;
    const int c = slots[i], level = SpellTable[i].level;
    const bool over = !learnt && MouseInRect(36 + 16 * level, 68 + 8 * c, 16, 16);
    DrawFigureIcon(1, 1, SpellIconTable[i], c + 8, 2 * level + 4, over ? 0xFFA0A0A0u : 0xFFFFFFFFu, over ? 1 : 0);
    if (!over) continue;
    SetHint(g.scroll[i] ? "You have a scroll of this spell" : SpellKeywordTable[i]);
    CursorShape = 4;
    if (TakeLeftClick()) {
      SpellRowOffset = 0;
      LearnSpell(creature, i);
      learnt = true;
    } else if (TakeRightClick()) {
      OpenPage(HoverCaption, SpellHelpPage(i));
    }
  }
  for (int i = 0; i < kSpellRows; ++i)
    if (slots[i] >= 0 && g.scroll[i])
      DrawSheetFrameGradient(20, 193, 68 + 8 * slots[i], 36 + 16 * SpellTable[i].level, 0xFFFFFFFFu, 1.0f, 1.0f,
                             0.0f, 1, 0xFF65F9F4u, 0xFF56B7FAu, 0xFF269BFEu, 0xFF0F75FFu, 0xFF035DC3u);
  return learnt;
}

void GoodChoices(int creature, const SpellGrid& g, bool learnt) {
  const CreatureRecord& c = Creatures[creature];
  PageText("Good Choices:", kHeading, 7, 25);
  int good[2] = {-1, -1};
  int taken = 0;
  const auto walk = [&](const int* list, int length) {
    for (int k = 0; k < length && taken < 2; ++k) {
      const int spell = list[k];
      if (spell == kDeepSlumber && c.feats[kFeatSpellFocusEnchantment] != 1) continue;
      if (g.candidate[spell] && !g.scroll[spell]) good[taken++] = spell;
    }
  };
  if (c.creatureClass == kClassWizard) walk(kWizardChoices, static_cast<int>(std::size(kWizardChoices)));
  if (c.creatureClass == kClassCleric) walk(kClericChoices, static_cast<int>(std::size(kClericChoices)));
  for (int k = 0; k < 2; ++k) {
    if (good[k] < 0) continue;
    const char* word = SpellKeywordTable[good[k]];
    const bool over = !learnt && OverText(word, 15, 35 + k, kSmallText, k);
    PageText(word, over ? kHighlighted : kEntry, 15, 35 + k, kSmallText, k);
    if (!over) continue;
    SetHint("Pick");
    CursorShape = 4;
    if (TakeLeftClick()) {
      LearnSpell(creature, good[k]);
      learnt = true;
    } else if (TakeRightClick()) {
      OpenPage(word, SpellHelpPage(good[k]));
    }
  }
}

}  // namespace

void SpellPickScreen(int creature) {
  LastScreenDrawn = "SpellPickScreen";
  if (creature < 0 || creature >= kPartySize) return;
  const CreatureRecord& c = Creatures[creature];
  if (++AnimationStep > 7) {
    AnimationStep = 0;
    if (++AnimationCycle > 99) AnimationCycle = 0;
  }
  ClearHint();
  CursorShape = 29;
  DrawScreenBackdrop();

  SpellGrid grid = Candidates(c);
  ShiftFirstRow(grid);
  if (grid.count == 0) ReturnToCallerPage(creature);  // nothing to learn: the frame is still drawn

  if (Header(creature)) return;
  const bool overTitle = MouseInRect(16, 40, 96, 8);
  PageText("Pick a spell", overTitle ? kHighlighted : kHeading, 5, 2);
  if (overTitle) {
    SetHint("Spells Index");
    CursorShape = 28;
    if (ConsumeClick(1)) OpenPage("Spells Index", 50000);
  }
  LevelLabels(c);

  int slots[kSpellRows];
  LayOutGrid(grid, slots);
  DrawGridFrames(slots);
  const bool learnt = GridIcons(creature, grid, slots);
  GoodChoices(creature, grid, learnt);

  PollPointerButtons();
  ResetLinkHover();
  DrawMouseCursor();
  if (HoverCaption[0]) DrawWrappedText(-1, HoverCaption, 0, -1, 0, 0);
}
