// The six metamagic pages (page types 121 to 126): the spells a caster may
// cast with one metamagic feat, each in the row of the raised slot it uses,
// with the uses of those slots; a click hands the spell to the casting steps
// with the feat applied.
#include <cstdio>
#include <cstring>

#include "engine/click_sound.h"
#include "engine/page_history.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "rules/casting_rules.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "screens/character/character_screens.h"
#include "screens/character/page_kit.h"
#include "screens/character/spell_book.h"
#include "screens/character/spell_icons.h"

namespace {

constexpr int32_t kCursorCast = 16;
constexpr uint32_t kWhite = 0xFFFFFFFFu, kGrey = 0xFFA0A0A0u;
constexpr int kSheetSlots = 19, kSheetMarks = 20;
constexpr int kSlotFrame = 107, kLinkLeftFrame = 108, kLinkRightFrame = 109, kRefusedFrame = 37;
constexpr int kLinkUpFigure = 306, kLinkDownFigure = 307;
constexpr int kHighestFigure = 587;

// How a cleric's rows move on the pages that have a layout of their own.
enum class ClericLayout { kNone, kLeftAndTwoPixels, kLeft };

struct MetamagicPage {
  const char* screen;  // the name the frame's tests read
  const char* title;
  const char* helpKey;
  int32_t helpPage;
  int increase;  // slot levels the feat adds
  int kind;      // the MetamagicKind
  ClericLayout clericLayout;
};

constexpr MetamagicPage kPages[6] = {
    {"MetamagicMaximiseScreen", "Select a Maximised Spell to cast", "Metamagic_Maximise", 31301, 3, kMetamagicMaximised, ClericLayout::kNone},
    {"MetamagicEmpowerScreen", "Select an Empowered Spell to cast", "Metamagic_Empower", 31300, 2, kMetamagicEmpowered, ClericLayout::kNone},
    {"MetamagicWidenScreen", "Select a Widened Spell to cast", "Metamagic_Widen", 31302, 3, kMetamagicWidened, ClericLayout::kNone},
    {"MetamagicHeightenScreen", "Select a Heightened Spell to cast", "Metamagic_Heighten", 31305, 1, kMetamagicHeightened,
     ClericLayout::kNone},
    {"MetamagicSilentScreen", "Select a Silenced Spell to cast", "Metamagic_Silent", 31304, 1, kMetamagicSilent,
     ClericLayout::kLeftAndTwoPixels},
    {"MetamagicStillScreen", "Select a Stilled Spell to cast", "Metamagic_Still", 31303, 1, kMetamagicStilled, ClericLayout::kLeft},
};

// The page's view of the caster, copied as the frame begins.
struct Caster {
  int creature;
  int32_t perDay[9];
  int32_t left[9];
  int32_t known[kSpellRows];
  int highest;  // the highest slot level
  bool cleric;  // the page's cleric layout applies
  int pixelShift;
};

// The offered spells in table order with their place counters (0, 2, 4...
// per spell level).
template <typename Visit>
void ForEachOffered(const MetamagicPage& page, const Caster& caster, Visit visit) {
  int counter[10] = {};
  for (int s = 0; s < kSpellRows; ++s) {
    const SpellRecord& row = SpellTable[s];
    if (caster.known[s] != 1 || row.metamagic[page.kind - 1] != 1) continue;
    if (row.level < 1 || row.level + page.increase > caster.highest) continue;
    if (visit(s, row.level, counter[row.level], counter)) return;
    counter[row.level] += 2;
  }
}

void Title(const MetamagicPage& page) {
  CursorShape = kCursorRest;
  DrawTextF(kStyleTitle, 2, 2, "%s", page.title);
  if (!MouseInRect(16, 16, 8 * static_cast<int>(std::strlen(page.title)), 8)) return;
  SetHoverCaption(page.helpKey);
  DrawTextF(kStyleHover, 2, 2, "%s", page.title);
  CursorShape = kCursorLink;
  if (ConsumeClick(1)) OpenPage(page.helpKey, page.helpPage);
}

void SlotRows(const MetamagicPage& page, const Caster& caster) {
  for (int slot = 1 + page.increase; slot <= 9; ++slot) {
    if (caster.cleric) {
      char uses[24];
      std::snprintf(uses, sizeof uses, "%i/%i", caster.left[slot - 1], caster.perDay[slot - 1]);
      DrawString(uses, kStyleLabel, 12, 16 * slot + 16, kDefaultColour, 0);
      continue;
    }
    char label[16];
    std::snprintf(label, sizeof label, "L-%i", slot);
    PageTextAt(label, kStyleLabel, 2, 2 * slot + 2);
    DrawTextF(kStyleLabel, 6, 2 * slot + 2, "%i/%i", caster.left[slot - 1], caster.perDay[slot - 1]);
  }
}

void Decoration(const MetamagicPage& page, const Caster& caster) {
  const int first = caster.cleric ? 5 : 10;
  ForEachOffered(page, caster, [&](int, int level, int counter, const int* counters) {
    const int column = counter + first, row = 2 * (level + page.increase) + 2;
    const int x0 = 8 * column - 1 - caster.pixelShift, y0 = 8 * row - 5;
    DrawSheetFrame(kSheetSlots, kSlotFrame, x0, y0, kWhite);
    if (counter >= 2) {
      DrawSheetFrame(kSheetSlots, kLinkLeftFrame, x0 - 16, y0, kWhite);
      DrawSheetFrame(kSheetSlots, kLinkRightFrame, x0, y0, kWhite);
    }
    if (level > 1 && counters[level - 1] > counter) {
      DrawFigureIcon(-4 - caster.pixelShift, -8, kLinkUpFigure, column, row - 2, kWhite, 0);
      DrawFigureIcon(-4 - caster.pixelShift, -8, kLinkDownFigure, column, row, kWhite, 0);
    }
    return false;
  });
}

// The spells; true when a cast began or a help page was pushed.
bool Spells(const MetamagicPage& page, const Caster& caster) {
  const int first = caster.cleric ? 5 : 10;
  bool ended = false;
  ForEachOffered(page, caster, [&](int s, int level, int counter, const int*) {
    const int column = counter + first, row = 2 * (level + page.increase) + 2;
    const bool refused = IsSpellcastingBlocked(caster.creature, s, page.kind, 0, 0);
    const int x = 8 * column - caster.pixelShift, y = 8 * row - 4;
    const bool over = MouseInRect(y, x, 16, 16);
    const uint32_t colour = over ? kGrey : kWhite;
    if (SpellIconTable[s] <= kHighestFigure)
      DrawFigureIcon(-caster.pixelShift, -7, SpellIconTable[s], column, row, colour, 1);
    if (refused) DrawSheetFrame(kSheetMarks, kRefusedFrame, x, y, colour);
    if (!over) return false;
    CursorShape = refused ? kCursorRefused : kCursorCast;
    ScreenHovered = 1;
    SetHoverCaption(SpellTable[s].name);
    if (!refused && ButtonPressed(0)) {
      PlayClickSound();
      LatchButton(0);
      StartSpellBookCast(caster.creature, s, page.kind);
      ended = true;
    } else if (ButtonPressed(1)) {
      LatchButton(1);
      PlayClickSound();
      PushSpellHelpPage(s);
      ended = true;
    }
    return ended;
  });
  return ended;
}

int DrawMetamagicPage(int pageIndex, int creature) {
  const MetamagicPage& page = kPages[pageIndex];
  if (!BeginSpellPage(page.screen, creature)) return 1;
  const CreatureRecord& c = Creatures[creature];
  Caster caster{};
  caster.creature = creature;
  std::memcpy(caster.perDay, c.spellsPerDay, sizeof caster.perDay);
  std::memcpy(caster.left, c.spellsLeft, sizeof caster.left);
  std::memcpy(caster.known, c.knownSpells, sizeof caster.known);
  caster.cleric = page.clericLayout != ClericLayout::kNone && c.creatureClass == kClassCleric;
  caster.pixelShift = caster.cleric && page.clericLayout == ClericLayout::kLeftAndTwoPixels ? 2 : 0;
  Title(page);
  SlotRows(page, caster);
  caster.highest = MaxSpellLevel(creature);
  Decoration(page, caster);
  if (Spells(page, caster)) return 1;
  EndSpellPage();
  return 1;
}

}  // namespace

int MetamagicMaximiseScreen(int creature) { return DrawMetamagicPage(0, creature); }
int MetamagicEmpowerScreen(int creature) { return DrawMetamagicPage(1, creature); }
int MetamagicWidenScreen(int creature) { return DrawMetamagicPage(2, creature); }
int MetamagicHeightenScreen(int creature) { return DrawMetamagicPage(3, creature); }
int MetamagicSilentScreen(int creature) { return DrawMetamagicPage(4, creature); }
int MetamagicStillScreen(int creature) { return DrawMetamagicPage(5, creature); }
