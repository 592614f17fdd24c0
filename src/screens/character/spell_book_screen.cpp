// The spell book of one creature (page type 4): its known spells of levels
// 1 to 9 as rows of icons with the uses left and per day, casting a spell,
// its help page, the crafting of wands and scrolls, the sharing of spells,
// defensive casting, the metamagic pages and the casting warnings.
#include <cstdio>
#include <cstring>

#include "creatures/control_tendencies.h"
#include "engine/click_sound.h"
#include "engine/linked_text.h"
#include "engine/page_history.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/feat_ids.h"
#include "rules/item_tables.h"
#include "rules/record_words.h"
#include "screens/character/character_screens.h"
#include "screens/character/page_kit.h"
#include "screens/character/spell_book.h"
#include "screens/character/spell_icons.h"
#include "screens/game/click_results.h"
#include "state/game_screen_words.h"
#include "state/inventory_state.h"
#include "state/turn_order.h"

namespace {

constexpr int kStyleChosen = 7;
constexpr int32_t kCursorCast = 16;
constexpr uint32_t kWhite = 0xFFFFFFFFu, kGrey = 0xFFA0A0A0u;
constexpr int kBlockedMark = 429;
constexpr int kPieceSlot = 303, kPieceLinkLeft = 304, kPieceLinkRight = 305, kPieceLinkUp = 306,
              kPieceLinkDown = 307;

constexpr int32_t kTopicSpellsIndex = 50000, kTopicWizardTable = 23019, kTopicClericTable = 23018,
                  kTopicScribeScroll = 31290, kTopicCraftWand = 31291, kTopicSharing = 41023,
                  kTopicDefensive = 41022;

constexpr int32_t kResultSuccess = 33;

struct MetamagicIcon {
  int feat, figure, xOffset, hitX;
  const char* caption;
  int32_t page, topic;
  const char* topicCaption;
};
constexpr MetamagicIcon kMetamagicIcons[6] = {
    {kFeatMetamagicMaximise, 441, -3, 16, "Maximised Spells", kPageMetamagicMaximise, 31301, "Metamagic: Maximise"},
    {kFeatMetamagicEmpower, 497, 15, 34, "Empowered Spells", kPageMetamagicEmpower, 31300, "Metamagic: Empower"},
    {kFeatMetamagicWiden, 525, 33, 52, "Widened Spells", kPageMetamagicWiden, 31302, "Metamagic: Widen"},
    {kFeatMetamagicHeighten, 430, 51, 70, "Heightened Spells", kPageMetamagicHeighten, 31305, "Metamagic: Heighten"},
    {kFeatMetamagicSilent, 526, 69, 88, "Silenced Spells", kPageMetamagicSilent, 31304, "Metamagic: Silent"},
    {kFeatMetamagicStill, 466, 87, 106, "Stilled Spells", kPageMetamagicStill, 31303, "Metamagic: Still"},
};

// One frame's view of the creature shown.
struct Book {
  int creature;
  bool cleric;  // class 3 lays the rows out without labels, further left
  bool party;   // only party members cast, craft, share and choose
  bool levellingUp;
  bool inCombat;
};

CreatureRecord& Of(const Book& b) { return Creatures[b.creature]; }

void ShowCaption(const char* text, int32_t cursor) {
  SetHoverCaption(text);
  CursorShape = cursor;
}

// A click with the click sound, both buttons latched.
bool Clicked() { return ConsumeClick(1) == 1; }

// A fresh press of one button, latched, with the click.
bool Pressed(int button) {
  if (!ButtonPressed(button)) return false;
  LatchButton(button);
  PlayClickSound();
  return true;
}

void Title(const Book& b) {
  char title[40];
  std::snprintf(title, sizeof title, "Spells: %.15s", Of(b).name);
  PageTextAt(title, kStyleTitle, 2, 2);
  if (!MouseInRect(16, 16, 8 * static_cast<int>(std::strlen(title)), 8)) return;
  PageTextAt(title, kStyleHover, 2, 2);
  ShowCaption("Spells_Index", kCursorLink);
  if (Clicked()) OpenPage("Spells_Index", kTopicSpellsIndex);
}

void NumberAt(int32_t value, int style, int x, int y, bool cleric) {
  char text[16];
  std::snprintf(text, sizeof text, "%i", value);
  if (cleric) DrawString(text, style, x, y, kDefaultColour, 0);
  else PageTextAt(text, style, x / 8, y / 8);
}

// Where a layout puts its level rows' numbers and what they link to.
struct RowLayout {
  const char* captionFormat;  // the caption of a level's topic
  const int32_t* levelTopics;
  int32_t tableTopic;
  const char* tableCaption;
  int leftX, tableX;  // pixels of the uses left and of the uses per day
};
constexpr RowLayout kWizardRows{"Level_%i_Arcane_Spells", kArcaneLevelHelpPages, kTopicWizardTable,
                                "Wizard_Spells_Table", 48, 64};
// A cleric's numbers start at x 8: from x 12 "2/2" touched the first icon.
constexpr RowLayout kClericRows{"Level_%i_Cleric_Spells", kDivineLevelHelpPages, kTopicClericTable,
                                "Cleric_Spells_Table", 8, 24};

void LevelRows(const Book& b) {
  const CreatureRecord& c = Of(b);
  const RowLayout& layout = b.cleric ? kClericRows : kWizardRows;
  for (int n = 1; n <= 9; ++n) {
    const int y = 16 * n + 16;
    char uses[32];
    std::snprintf(uses, sizeof uses, "%i/%i", c.spellsLeft[n - 1], c.spellsPerDay[n - 1]);
    char caption[32];
    std::snprintf(caption, sizeof caption, layout.captionFormat, n);
    const int32_t leftTopic = layout.levelTopics[n - 1], tableTopic = layout.tableTopic;
    const char* tableCaption = layout.tableCaption;
    const int leftX = layout.leftX, tableX = layout.tableX;
    if (b.cleric) {
      DrawString(uses, kStyleLabel, leftX, y, kDefaultColour, 0);
    } else {
      char label[16];
      std::snprintf(label, sizeof label, "L-%i", n);
      PageTextAt(label, kStyleLabel, 2, 2 * n + 2);
      PageTextAt(uses, kStyleLabel, 6, 2 * n + 2);
      if (MouseInRect(y, 16, 24, 8)) {
        PageTextAt(label, kStyleHover, 2, 2 * n + 2);
        ShowCaption(caption, kCursorLink);
        if (Clicked()) OpenPage(caption, leftTopic);
      }
    }
    if (MouseInRect(y, leftX, 8, 8)) {
      NumberAt(c.spellsLeft[n - 1], kStyleHover, leftX, y, b.cleric);
      ShowCaption(caption, kCursorLink);
      if (Clicked()) OpenPage(caption, leftTopic);
    } else if (MouseInRect(y, tableX, 8, 8)) {
      NumberAt(c.spellsPerDay[n - 1], kStyleHover, tableX, y, b.cleric);
      ShowCaption(tableCaption, kCursorLink);
      if (Clicked()) OpenPage(tableCaption, tableTopic);
    }
  }
}

// The known spells of levels 1 to 9 in table order, each with its place in
// its level's row (k: the number of spells of that level before it).
template <typename Visit>
void ForEachBookSpell(const CreatureRecord& c, Visit visit) {
  int placed[10] = {};
  for (int s = 0; s < kSpellRows; ++s) {
    if (c.knownSpells[s] != 1) continue;
    const int level = SpellTable[s].level;
    if (level < 1 || level > 9) continue;
    if (visit(s, level, placed[level], placed)) return;
    ++placed[level];
  }
}

void GridFrame(const Book& b) {
  const int first = b.cleric ? 5 : 10, yOffset = b.cleric ? -6 : -4;
  ForEachBookSpell(Of(b), [&](int, int level, int k, const int* placed) {
    const int column = first + 2 * k, row = 2 * level + 2;
    DrawFigureIcon(-8, yOffset, kPieceSlot, column, row, kWhite, 0);
    if (k >= 1) {
      DrawFigureIcon(-8, yOffset, kPieceLinkLeft, column - 2, row, kWhite, 0);
      DrawFigureIcon(-8, yOffset, kPieceLinkRight, column, row, kWhite, 0);
    }
    if (level > 1 && placed[level - 1] > k) {
      DrawFigureIcon(-8, yOffset, kPieceLinkUp, column, 2 * level, kWhite, 0);
      DrawFigureIcon(-8, yOffset, kPieceLinkDown, column, row, kWhite, 0);
    }
    return false;
  });
}

// The icons; true when a cast began or a help page was pushed (the frame
// ends there).
bool SpellIcons(const Book& b) {
  const int first = b.cleric ? 5 : 10, yOffset = b.cleric ? -5 : -3, xShift = b.cleric ? -2 : 0;
  bool ended = false;
  ForEachBookSpell(Of(b), [&](int s, int level, int k, const int*) {
    const int column = first + 2 * k, row = 2 * level + 2;
    const bool blocked = IsSpellcastingBlocked(b.creature, s, kMetamagicNone, 0, 0);
    const bool over = MouseInRect(16 * level + 12, 8 * column + xShift, 16, 16);
    const uint32_t colour = over ? kGrey : kWhite;
    DrawFigureIcon(-7, yOffset, SpellIconTable[s], column, row, colour, 1);
    if (blocked) DrawFigureIcon(-7, yOffset, kBlockedMark, column, row, colour, 0);
    if (!over) return false;
    CursorShape = blocked ? kCursorRefused : kCursorCast;
    ScreenHovered = 1;
    SetHoverCaption(SpellTable[s].name);
    if (!blocked && b.party && Pressed(0)) {
      StartSpellBookCast(b.creature, s, kMetamagicNone);
      ended = true;
    } else if (Pressed(1)) {
      ClickResult.code = -1;
      PushSpellHelpPage(s);
      ended = true;
    }
    return ended;
  });
  return ended;
}

bool HandsFull(const CreatureRecord& c) {
  const uint32_t right = c.equipment[kSlotRightHand - 1], left = c.equipment[kSlotLeftHand - 1];
  if (right == 0) return false;
  if (left != 0) return true;
  return right >= 1 && right < 5000 && right < static_cast<uint32_t>(kCraftedRows) &&
         CraftedWeapons[right].handling == 3;
}

void Warnings(const Book& b, int highest) {
  if (highest >= 6 || b.levellingUp || !b.party) return;
  const CreatureRecord& c = Of(b);
  struct Warning {
    const char* text;
    int boxRight, boxBottom, textRight, textBottom;
  };
  Warning w{nullptr, 45, 25, 44, 23};
  if (HandsFull(c)) {
    w.text = "Warning: A character cannot cast @SOMATIC@ @SPELLS@ without a free hand.";
  } else if (HasCondition(b.creature, 84) || HasCondition(b.creature, 157)) {
    w.text = "Warning: A character cannot cast @SOMATIC@ @SPELLS@ when @PARALYZED@ or @GRAPPLING@.";
  } else if (HasCondition(b.creature, 95) || HasCondition(b.creature, 103)) {
    w.text = "Warning: A character cannot cast @VERBAL@ @SPELLS@ when @SILENCED@ or @MUTED@.";
  } else if (!HighestUsableSpellLevel(2, b.creature) && HoldsChargedWand(b.creature)) {
    w = {"Warning: don't forget to use the character's @MAGIC_WAND@.", 46, 24, 46, 22};
  } else if (!b.inCombat) {
    w = {"Warning: Most @SPELLS@ cannot be cast outside combat.", 45, 24, 44, 23};
  } else if (c.feats[kFeatScribeScroll] != 0 && highest >= 1 && c.spellsLeft[highest - 1] == 0) {
    w.text = "Remember that you can use @SCRIBE_SCROLL@ to cast your highest-level @SPELLS@.";
  }
  if (w.text == nullptr) return;
  if (DrawSpellBookPopup(w.boxRight, w.boxBottom))
    DrawLinkedText(w.text, kStyleWhite, 17, 21, w.textRight, w.textBottom, 0, 1, 0, 1);
}

bool HasFreePair(const CreatureRecord& c) {
  for (const ItemPair& p : c.carried)
    if (p.code == 0) return true;
  return false;
}

struct CraftEntry {
  const char* text;  // also the caption of its help topic and page
  int column;
  int32_t topic;
  int feat;
  const char* featRefusal;
  int32_t page;
  bool needsFreePair;  // a scroll needs a free carried pair, a wand none
};
constexpr CraftEntry kCraftWand{"Craft Wand", 27, kTopicCraftWand, kFeatCraftWand, "You need Craft Wand",
                                kPageCraftWand, false};
constexpr CraftEntry kScribeScroll{"Scribe Scroll", 32, kTopicScribeScroll, kFeatScribeScroll,
                                   "You need Scribe Scroll", kPageScribeScroll, true};

// One entry under the pointer; true when a page was pushed.
bool CraftEntryUnderPointer(const Book& b, const CraftEntry& e, const char* label) {
  const CreatureRecord& c = Of(b);
  CursorShape = kCursorRefused;
  PageTextAt(label, kStyleHover, e.column, 2);
  if (Pressed(1)) {
    OpenPage(e.text, e.topic);
    ClickResult.code = -1;
    return true;
  }
  const bool feat = c.feats[e.feat] != 0, room = !e.needsFreePair || HasFreePair(c);
  if (b.party && feat && !b.inCombat && room && !b.levellingUp) {
    CursorShape = kCursorArrow;
    if (!Pressed(0)) return false;
    PushSpellPage(e.text, e.page, b.creature);
    return true;
  }
  if (b.party)
    SetHoverCaption(b.inCombat      ? "Not while in combat"
                    : !feat         ? e.featRefusal
                    : b.levellingUp ? "Not while levelling up"
                                    : "No space in Inventory");
  return false;
}

// "Craft:" with its wand and scroll; true when a page was pushed.
bool CraftEntries(const Book& b) {
  PageTextAt("Craft:", kStyleLabel, 27, 1);
  PageTextAt("Wand", kStyleGreen, 27, 2);
  PageTextAt("/", kStyleLabel, 31, 2);
  PageTextAt("Scroll", kStyleGreen, 32, 2);
  if (PointerOnCells(32, 2, 6)) return CraftEntryUnderPointer(b, kScribeScroll, "Scroll");
  if (PointerOnCells(27, 2, 4)) return CraftEntryUnderPointer(b, kCraftWand, "Wand");
  return false;
}

// Whether another present party member shares the creature's class.
bool HasPartner(const Book& b) {
  const CreatureRecord& c = Of(b);
  if (c.creatureClass != kClassWizard && c.creatureClass != kClassCleric) return false;
  for (int member = 0; member < kPartySize; ++member)
    if (member != b.creature && Creatures[member].present == 1 && Creatures[member].creatureClass == c.creatureClass)
      return true;
  return false;
}

void ShareResult(int32_t code, bool secondLine) {
  ClickResult.code = code;
  ClickResult.left = 8 * 31;
  ClickResult.top = secondLine ? 8 * 19 : 8 * 18;
  ClickResult.right = ClickResult.left + 8 * (secondLine ? 6 : 5) - 1;
  ClickResult.bottom = ClickResult.top + 7;
}

// "Share" / "Spells"; true when the frame ends there (a help page pushed).
bool ShareEntry(const Book& b) {
  const bool onShare = PointerOnCells(31, 18, 5), onSpells = PointerOnCells(31, 19, 6);
  const bool over = onShare || onSpells;
  const bool offered = !b.inCombat && b.party && !b.levellingUp && HasPartner(b) && HasSpellsToExchange(b.creature);
  const int style = over ? kStyleHover : offered ? kStyleGreen : kStyleLabel;
  PageTextAt("Share", style, 31, 18);
  PageTextAt("Spells", style, 31, 19);
  if (!over) return false;
  if (Pressed(1)) {
    OpenPage("Sharing Spells", kTopicSharing);
    ClickResult.code = -1;
    return true;
  }
  const int32_t cls = Of(b).creatureClass;
  if (b.inCombat) ShowCaption("Not while in combat", kCursorRefused);
  else if (!b.party) ShowCaption("Not a player character", kCursorRefused);
  else if (b.levellingUp) ShowCaption("Not while levelling up", kCursorRefused);
  else if (!HasPartner(b))
    ShowCaption(cls == kClassWizard ? "No other wizard" : cls == kClassCleric ? "No other cleric" : "Not a spellcaster",
                kCursorRefused);
  else if (!offered) ShowCaption("No spells to exchange", kCursorRefused);
  else {
    CursorShape = kCursorArrow;
    if (Pressed(0)) {
      ClickResult.code = -1;
      const ShareOutcome outcome = ShareKnownSpells(b.creature);
      // Success only when a spell was learnt; a pass that shared nothing
      // and met no refusal reports nothing.
      if (outcome.refusal != -1) ShareResult(outcome.refusal, onSpells);
      else if (outcome.shared > 0) ShareResult(kResultSuccess, onSpells);
    }
  }
  return false;
}

void DefensiveCasting(const Book& b) {
  int32_t& flag = Of(b).behaviour[kBehaviourDefensiveCasting];
  const bool overLabels = PointerOnCells(21, 22, 17) || PointerOnCells(21, 23, 17);
  PageTextAt("Defensive casting", overLabels ? kStyleHover : kStyleLabel, 21, 22);
  PageTextAt("When enemy nearby", overLabels ? kStyleHover : kStyleLabel, 21, 23);
  if (overLabels) {
    ShowCaption("Casting Defensively", kCursorLink);
    if (Clicked()) OpenPage("Defensive Casting", kTopicDefensive);
  }
  const bool onYes = PointerOnCells(23, 24, 3) && b.party, onNo = PointerOnCells(32, 24, 2) && b.party;
  PageTextAt("Yes", onYes && flag == 0 ? kStyleHover : flag == 1 ? kStyleChosen : kStyleTitle, 23, 24);
  PageTextAt("No", onNo && flag == 1 ? kStyleHover : flag == 0 ? kStyleChosen : kStyleTitle, 32, 24);
  if (onYes) {
    ScreenHovered = 1;
    if (flag == 0) {
      CursorShape = kCursorArrow;
      if (Pressed(0)) flag = 1;
    }
  } else if (onNo) {
    ScreenHovered = 1;
    if (flag == 1) {
      CursorShape = kCursorArrow;
      if (Pressed(0)) flag = 0;
    }
  }
}

// The icons of the metamagic feats held; true when a page was pushed.
bool MetamagicIcons(const Book& b) {
  PageTextAt("Metamagic spells", kStyleLabel, 2, 22);
  for (const MetamagicIcon& m : kMetamagicIcons) {
    if (Of(b).feats[m.feat] == 0) continue;
    const bool over = MouseInRect(184, m.hitX, 18, 18);
    DrawFigureIcon(m.xOffset, 0, m.figure, 2, 23, over ? kGrey : kWhite, 1);
    if (!over) continue;
    ShowCaption(m.caption, kCursorCast);
    ScreenHovered = 1;
    if (b.party && Pressed(0)) {
      PushSpellPage(m.caption, m.page, b.creature);
      return true;
    }
    if (Pressed(1)) {
      OpenPage(m.topicCaption, m.topic);
      ClickResult.code = -1;
      return true;
    }
  }
  return false;
}

void ShowShareResult() {
  if (ClickResult.code == -1) return;
  const int x = PointerX(), y = PointerY();
  if (x < ClickResult.left || x > ClickResult.right || y < ClickResult.top || y > ClickResult.bottom) {
    ClickResult = ClickResultState{-1, -1, -1, -1, -1};
    return;
  }
  switch (ClickResult.code) {
    case 31: SetHoverCaption("Not Enough Gold"); break;
    case 32: SetHoverCaption("Not Enough XP"); break;
    case 41: SetHoverCaption("You need Scribe Scroll"); break;
    case kResultSuccess: SetHoverCaption("Success"); break;
    default: break;
  }
}

}  // namespace

int DrawSpellBookScreen(int creature) {
  if (!BeginSpellPage("DrawSpellBookScreen", creature)) return 1;
  const CreatureRecord& c = Creatures[creature];
  const Book b{creature, c.creatureClass == kClassCleric, c.allegiance == kAllegianceParty, LevelUpPending != 0,
               InCombat != 0};
  Title(b);
  LevelRows(b);
  const int highest = MaxSpellLevel(creature);
  GridFrame(b);
  if (SpellIcons(b)) return 1;
  Warnings(b, highest);
  if (CraftEntries(b)) return 1;
  if (ShareEntry(b)) return 1;
  DefensiveCasting(b);
  if (MetamagicIcons(b)) return 1;
  ShowShareResult();
  EndSpellPage();
  return 1;
}
