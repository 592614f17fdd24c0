#include "screens/character/record_screen.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "creatures/control_tendencies.h"
#include "creatures/creature_kinds.h"
#include "engine/click_sound.h"
#include "engine/frame.h"
#include "engine/game_screen_state.h"
#include "engine/input.h"
#include "engine/last_screen.h"
#include "engine/linked_text.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "map/map_record.h"
#include "rules/armour_class.h"
#include "rules/attack_lines.h"
#include "rules/attack_profile.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/modifier_list.h"
#include "rules/recompute_creature.h"
#include "screens/character/character_screens.h"
#include "screens/character/page_kit.h"
#include "screens/character/statistics_page.h"
#include "state/game_progress.h"
#include "state/game_screen_words.h"
#include "state/inventory_state.h"
#include "state/map_view_state.h"
#include "state/party_leader.h"
#include "state/text_entry.h"
#include "state/turn_order.h"
#include "state/world_travel.h"

uint32_t CaretBlinkCounter = 0;
uint32_t CaretVisible = 0;

namespace {

constexpr int kKeyOne = 0x02;  // keys 1 to 8 are the scan codes 0x02 to 0x09
constexpr int kNameShown = 15;
constexpr int kConditionsShown = 40;
constexpr int kFigureSheetBase = 196;
constexpr uint32_t kPlainColour = 0xFFFFFFFFu, kHoveredIconColour = 0xFFA0A0A0u, kDimmedGlyph = 0x6EFFFFFFu;
constexpr int32_t kCursorSpells = 16, kCursorInventory = 14, kCursorLeftButton = 20, kCursorRightButton = 21;
constexpr int32_t kCursorInventoryDefault = 11;
// The menu buttons whose hover sound is played.
constexpr int32_t kSoundBackToGame = 54, kSoundBack = 63, kSoundForward = 64;
constexpr int kBackgroundBottom = 8;
constexpr int kLongestScroll = 64;  // lines a background text can be scrolled by

// Help pages of the alignments 0 to 9 (0: none).
constexpr int32_t kAlignmentHelp[10] = {0, 21016, 21019, 21022, 21017, 21020, 21023, 21018, 21021, 21024};

// The page's cached values, made again whenever the page becomes the top page.
AttackProfile g_profile;
ModifierList g_armour;

int g_creature = -1;

bool Party() { return Creatures[g_creature].allegiance == kAllegianceParty; }
bool EditingName() { return TextEntryMode == kTextEntryCharacterName && TextEntryCreature == g_creature; }
bool EditingBackground() {
  return TextEntryMode == kTextEntryCreatureDescription && TextEntryCreature == g_creature;
}
bool Editing() { return TextEntryMode != kTextEntryNone; }

// A fresh press of the left button, latched, with the click.
bool TakeLeftClick() {
  if (!ButtonPressed(0)) return false;
  LatchButton(0);
  PlayClickSound();
  return true;
}

void ShowCaption(const char* text, int32_t cursor) {
  SetHoverCaption(text);
  CursorShape = cursor;
}

// A label that opens its help page: style 4, the hint under the pointer.
void HelpLabel(const char* text, int column, int row, const char* hint, int32_t help, const char* caption,
               int style = kStyleLabel) {
  if (help <= 0) {  // a value without a help page ("Not Applicable") is no link
    PageTextAt(text, style, column, row);
    return;
  }
  if (!LitText(text, style, column, row)) return;
  ShowCaption(hint, kCursorLink);
  if (ConsumeClick(1)) PushCharacterPage(caption, kCaptionShown, kPageHelpTopic, help);
}

// A value that opens its statistic page; `width` cells are live.
void StatisticLink(const char* text, int column, int row, int width, const char* hint, const char* caption,
                   int32_t type) {
  const bool over = PointerOnCells(column, row, width);
  PageTextAt(text, over ? kStyleHover : kStyleValue, column, row);
  if (!over) return;
  ShowCaption(hint, kCursorLink);
  if (ConsumeClick(1)) PushCharacterPage(caption, kCaptionShown, type, g_creature);
}

void CopyName(int creature, char (&out)[kNameShown + 1]) {
  CopyCut(out, sizeof out, Creatures[creature].name, kNameShown);
}

// "Prefix (" the name ")" as the caption of a page of the creature.
void NamedCaption(const char* prefix, char (&out)[kPageCaptionSize]) {
  char name[kNameShown + 1];
  CopyName(g_creature, name);
  std::snprintf(out, sizeof out, "%s (%s)", prefix, name);
}

// The page state a return to the game or to the main menu leaves behind.
void ResetPageState() {
  PageReady = 0;
  BackgroundScroll = 0;
  AttackLinesScroll = 0;
  EndCreatureTextEntry();
  PageWork.scroll = 0;
  HoverSoundMark = -1;
  HoveredBarButton = -1;
  NavBarState.selection = -1;
}

void BackToTheGame() {
  PlayClickSound();
  LatchButton(0);
  TradePartner = -1;
  CombatEquipAction = 0;
  PageDepth = 0;
  PageHighestDepth = 0;
  ScreenMode = kModeExploring;
  SavedScreenMode = kModeExploring;
  ResetPageState();
}

void GoBack() {
  if (PageDepth <= 0) return;
  --PageDepth;
  ResetHover();
}

void GoForward() {
  if (PageDepth >= PageHighestDepth || PageDepth >= kPageHistorySize - 1) return;
  ++PageDepth;
  ResetHover();
}

void NumberKeys() {
  for (int member = 0; member < kPartySize; ++member) {
    if (Creatures[member].name[0] == '\0') continue;
    if (TakeKey(kKeyOne + member)) {
      char name[kNameShown + 1];
      CopyName(member, name);
      PushCharacterPage(name, kNameShown, kPageCharacterRecord, member);
      g_creature = -1;
      return;
    }
    if (TakeKey(kKeyOne + 4 + member)) PushCharacterPage("Inventory", kCaptionShown, kPageInventory, member);
  }
}

// The name on row 1, and the start of its typing for a party creature.
void NameRow() {
  const CreatureRecord& c = Creatures[g_creature];
  char name[kNameShown + 1];
  CopyName(g_creature, name);
  const int length = static_cast<int>(std::strlen(name));
  const bool over = Party() && PointerOnCells(1, 1, std::min(length + 1, kNameShown) - 1);
  if (EditingName()) {
    PageTextAt(NameEditBuffer, kStyleHover, 1, 1);
    if (CaretVisible == 1) DrawSheetFrame(kSheetInterface, kCaretFrame, 8 * static_cast<int>(NameEditCursor) + 8, 8, kCaretColour);
  } else {
    PageTextAt(name, over ? kStyleHover : kStyleTitle, 1, 1);
  }
  if (!over) return;
  ShowCaption("Edit Name (Enter to Confirm)", kCursorEdit);
  if (Editing()) return;
  const bool start = ButtonPressed(0) || KeyPressed(kKeyReturn) || KeyPressed(kKeyPadEnter);
  if (!start) return;
  PlayClickSound();
  LatchButton(0);
  LatchKey(kKeyReturn);
  LatchKey(kKeyPadEnter);
  BeginCreatureTextEntry(kTextEntryCharacterName, g_creature);
  std::memset(NameEditBuffer, 0, sizeof NameEditBuffer);
  CopyCut(NameEditBuffer, sizeof NameEditBuffer, c.name, sizeof NameEditBuffer - 1);
  NameEditCursor = static_cast<uint32_t>(std::min<size_t>(std::strlen(NameEditBuffer), 14));
}

// The race (the creature kind's keyword) or, for a creature without one,
// its type; then the class and the leader's mark, one blank apart.
void IdentityRow() {
  const CreatureRecord& c = Creatures[g_creature];
  int column = 1;
  const int32_t alignment = c.alignment >= 0 && c.alignment < 10 ? c.alignment : 0;
  char text[sizeof AlignmentNames[0] + 16];
  std::snprintf(text, sizeof text, "%.15s Alignment", AlignmentNames[alignment]);
  HelpLabel(AlignmentNames[alignment], column, 3, text, kAlignmentHelp[alignment], AlignmentNames[alignment],
            kStyleGreen);
  column += static_cast<int>(std::strlen(AlignmentNames[alignment])) + 1;

  constexpr int32_t kNoKind = 92;
  if (c.kind == kNoKind || c.kind < 0 || c.kind >= kKindRows) {
    const int32_t type = c.type >= 0 && c.type < 9 ? c.type : 0;
    HelpLabel(CreatureTypeNames[type], column, 3, "Type", kCreatureTypeHelpPageBase + type, CreatureTypeNames[type], kStyleGreen);
    column += static_cast<int>(std::strlen(CreatureTypeNames[type])) + 1;
  } else {
    char race[sizeof KindNames[0] + 1];
    CapitaliseWords(race, KindNames[c.kind], 1);
    HelpLabel(race, column, 3, "Race", kKindHelpPageBase + c.kind, race, kStyleGreen);
    column += static_cast<int>(std::strlen(race)) + 1;
  }

  const char* cls = nullptr;
  int32_t help = 0;
  const char* caption = nullptr;
  switch (c.creatureClass) {
    case kClassKnight: {
      const bool knight = c.type == kTypeHumanoid && IsPartyAllegiance(c.allegiance);
      cls = knight ? "Knight" : "Fighter";
      help = 23002;
      caption = "Knight/Fighter";
      break;
    }
    case kClassCleric: help = 23003; break;
    case kClassWizard: help = 23004; break;
    case kClassCommoner: help = 23001; break;
    case kClassWarrior: help = 23015; break;
    case kClassNoble: help = 23016; break;
    default: break;
  }
  if (help != 0 && cls == nullptr) cls = caption = ClassNames[c.creatureClass];
  if (cls != nullptr) {
    HelpLabel(cls, column, 3, "Class", help, caption, kStyleGreen);
    column += static_cast<int>(std::strlen(cls)) + 1;
  }

  if (static_cast<uint32_t>(g_creature) == PartyLeader && InCombat == 0 && LevelUpPending == 0) {
    if (LitText("(Leader)", kStyleWhite, column, 3)) {
      ShowCaption("Change Leader", kCursorLink);
      if (TakeLeftClick()) PushCharacterPage("Leader Selection", kCaptionShown, kPagePartySetup, -1);
    }
  }
}

void UpperRows() {
  const CreatureRecord& c = Creatures[g_creature];
  char text[32];
  HelpLabel("Sex:", 17, 1, "Gender", 21001, "Gender");
  PageTextAt(GenderNames[c.gender >= 0 && c.gender < 3 ? c.gender : 0], kStyleValue, 21, 1);
  HelpLabel("Level:", 28, 1, "Levels", 21002, "Experience Levels");
  std::snprintf(text, sizeof text, "%i", c.effectiveLevel);
  StatisticLink(text, 34, 1, static_cast<int>(std::strlen(text)), "Modifiers: Level", "Level Modifiers", kStatLevel);

  HelpLabel("HP:", 1, 2, "Hit-Points", 21003, "Hit Points");
  std::snprintf(text, sizeof text, "%i/", c.hitPoints);
  PageTextAt(text, kStyleValue, 4, 2);
  const int maxColumn = 4 + static_cast<int>(std::strlen(text));
  std::snprintf(text, sizeof text, "%i", c.maxHitPoints);
  StatisticLink(text, maxColumn, 2, static_cast<int>(std::strlen(text)), "Modifiers: HP", "Hit Points Modifiers",
                kStatHitPoints);
  HelpLabel("Size:", 16, 2, "Size", 21004, "Size");
  std::snprintf(text, sizeof text, "%.6s", WeaponSizeNames[c.size.current >= 0 && c.size.current < 8 ? c.size.current : 0]);
  StatisticLink(text, 21, 2, static_cast<int>(std::strlen(text)), "Modifiers: Size", "Size Modifiers", kStatSize);
  HelpLabel("XP:", 28, 2, "Experience", 21002, "Experience Levels");
  if (Party()) std::snprintf(text, sizeof text, "%i", c.experience);
  else std::snprintf(text, sizeof text, "-");
  PageTextAt(text, kStyleValue, 31, 2);
  IdentityRow();
}

void PartyArrows() {
  if (!Party() || g_creature >= kPartySize) return;
  const int targets[2] = {PrevPartyMember(g_creature), NextPartyMember(g_creature)};
  for (int i = 0; i < 2; ++i) {
    const int x = 296 + 8 * i;
    const bool over = !Editing() && MouseInRect(24, x, 8, 8);
    DrawSheetFrame(kSheetInterface, 946 + i, x, 24, over ? kHoveredArrowColour : kPlainColour);
    if (!over) continue;
    char name[kNameShown + 1];
    CopyName(targets[i], name);
    ShowCaption(name, kCursorArrow);
    if (ConsumeClick(1)) {
      PushCharacterPage(name, kNameShown, kPageCharacterRecord, targets[i]);
      g_creature = targets[i];
    }
  }
}

// The background text in its box (rows 5 to 8), its typing and its arrows.
void BackgroundBox() {
  const CreatureRecord& c = Creatures[g_creature];
  char text[sizeof c.description + 1];
  CopyCut(text, sizeof text, c.description, sizeof c.description);
  const bool overBox = MouseInTextRow(5, 1, 38, 4, 1, 0);
  if (EditingBackground()) {
    // The text being typed stays scrolled to its end.
    int scroll = 0;
    for (; scroll < kLongestScroll; ++scroll) {
      DrawLinkedText(BackgroundEditBuffer, kStyleHover, 1, 5, 38, kBackgroundBottom, scroll, 0, 1, 0);
      if (LinkedTextOverflow != -1) break;
    }
    BackgroundScroll = scroll;
    DrawLinkedText(BackgroundEditBuffer, kStyleHover, 1, 5, 38, kBackgroundBottom, scroll, 0, 1, 1);
    if (CaretVisible == 1)
      DrawSheetFrame(kSheetInterface, kCaretFrame, 8 * LinkedTextEndColumn, 8 * LinkedTextEndRow, kCaretColour);
    return;
  }
  DrawLinkedText(text, overBox ? kStyleHover : kStylePink, 1, 5, 38, kBackgroundBottom, BackgroundScroll, 1, 1, 1);
  const bool runsOn = LinkedTextOverflow == -1;
  if (BackgroundScroll > 0) DrawSheetFrame(kSheetInterface, kArrowUpFrame, 304, 40);
  if (runsOn) DrawSheetFrame(kSheetInterface, kArrowDownFrame, 304, 64);
  if (CursorShape == kCursorLink) return;  // a link of the text is under the pointer
  if (Party() && MouseInRect(48, 8, 312, 16)) {
    ShowCaption("Edit Background (Enter to Confirm)", kCursorEdit);
    if (!Editing() && TakeLeftClick()) {
      while (BackgroundScroll < kLongestScroll) {
        DrawLinkedText(text, kStylePink, 1, 5, 38, kBackgroundBottom, BackgroundScroll, 1, 1, 0);
        if (LinkedTextOverflow != -1) break;
        ++BackgroundScroll;
      }
      BeginCreatureTextEntry(kTextEntryCreatureDescription, g_creature);
      CopyCut(BackgroundEditBuffer, sizeof BackgroundEditBuffer, text, sizeof BackgroundEditBuffer - 1);
    }
    return;
  }
  if (BackgroundScroll > 0 && PointerOnCells(1, 5, 38)) {
    ShowCaption("Scroll Up", kCursorScrollUp);
    if (TakeLeftClick()) --BackgroundScroll;
  } else if (runsOn && PointerOnCells(1, kBackgroundBottom, 38)) {
    ShowCaption("Scroll Down", kCursorScrollDown);
    if (TakeLeftClick()) ++BackgroundScroll;
  }
  if (overBox && !Editing()) {
    const int wheel = GetMouseWheel();
    if (wheel > 0 && BackgroundScroll > 0) {
      --BackgroundScroll;
      PlayClickSound();
    } else if (wheel < 0 && runsOn) {
      ++BackgroundScroll;
      PlayClickSound();
    }
  }
}

void Prepare() {
  RecomputeCreature(g_creature, 0);
  g_profile = AttackProfile{};
  const uint32_t combat = InCombat;
  InCombat = 0;
  BuildAttackProfile(&g_profile, g_creature, 0, -1, 0, 0);
  InCombat = combat;
  PageReady = 1;
  InitModifierList(&g_armour);
  int rows = 0;
  g_armour.total = ComputeArmourClass(g_creature, &g_armour, &rows, 0, -1, 0, 0);
}

bool EntryInUse(int entry) {
  return entry >= 0 && entry < kAttackProfileEntries && g_profile.entries[entry].kind != kEntryNone;
}

// The attack lines (rows 14 to 16) with their arrows.
void AttackRows() {
  FormatAttackCountModifiers(&g_profile, g_creature);
  const bool canUp = AttackLinesScroll > 0;
  const bool canDown = AttackLinesScroll < 4 && EntryInUse(std::min(AttackLinesScroll + 3, 6));
  if (canUp) DrawSheetFrame(kSheetInterface, kArrowUpFrame, 304, 112);
  if (canDown) DrawSheetFrame(kSheetInterface, kArrowDownFrame, 304, 128);
  if (CursorShape == kCursorRest) {
    if (MouseInRect(113, 305, 7, 7)) {
      ShowCaption("Scroll Up", canUp ? kCursorScrollUp : kCursorRefused);
      if (canUp && TakeLeftClick()) --AttackLinesScroll;
    } else if (MouseInRect(129, 305, 7, 7)) {
      ShowCaption("Scroll Down", canDown ? kCursorScrollDown : kCursorRefused);
      if (canDown && TakeLeftClick()) ++AttackLinesScroll;
    }
  }
  if (MouseInRect(112, 8, 304, 24)) {
    const int wheel = GetMouseWheel();
    if (wheel > 0 && canUp) {
      --AttackLinesScroll;
      PlayClickSound();
    } else if (wheel < 0 && canDown) {
      ++AttackLinesScroll;
      PlayClickSound();
    }
  }
}

void AbilityAndSaveRows() {
  const CreatureRecord& c = Creatures[g_creature];
  struct Cell {
    const char* label;
    const char* hint;
    int32_t help;
    const char* helpCaption;
    int32_t value;
    const char* valueHint;
    const char* pageCaption;
    int32_t page;
  };
  const Cell cells[9] = {
      {"STR:", "Strength", 21007, "Strength", c.strength.current, "Modifiers: Strength", "Strength Modifiers",
       kStatStrength},
      {"DEX:", "Dexterity", 21008, "Dexterity", c.dexterity.current, "Modifiers: Dexterity", "Dexterity Modifiers",
       kStatDexterity},
      {"CON:", "Constitution", 21009, "Constitution", c.constitution.current, "Modifiers: Constitution",
       "Constitution Modifiers", kStatConstitution},
      {"INT:", "Intelligence", 21010, "Intelligence", c.intelligence.current, "Modifiers: Intelligence",
       "Intelligence Modifiers", kStatIntelligence},
      {"WIS:", "Wisdom", 21011, "Wisdom", c.wisdom.current, "Modifiers: Wisdom", "Wisdom Modifiers", kStatWisdom},
      {"CHA:", "Charisma", 21012, "Charisma", c.charisma.current, "Modifiers: Charisma", "Charisma Modifiers",
       kStatCharisma},
      {"FOR:", "Base Fortitude", 21014, "Saving Throws", c.fortitude.current + AbilityModifier(c.constitution.current),
       "Modifiers: Fortitude", "Fortitude Save Modifiers", kStatFortitude},
      {"REF:", "Base Reflex", 21014, "Saving Throws", c.reflex.current + AbilityModifier(c.dexterity.current),
       "Modifiers: Reflex", "Reflex Save Modifiers", kStatReflex},
      {"WIL:", "Base Willpower", 21014, "Saving Throws", c.willpower.current + AbilityModifier(c.wisdom.current),
       "Modifiers: Willpower", "Willpower Save Modifiers", kStatWillpower},
  };
  for (int i = 0; i < 9; ++i) {
    const Cell& cell = cells[i];
    const int column = 1 + 7 * (i % 3), row = 10 + i / 3;
    HelpLabel(cell.label, column, row, cell.hint, cell.help, cell.helpCaption);
    char text[16];
    std::snprintf(text, sizeof text, "%2i", cell.value);
    StatisticLink(text, column + 4, row, cell.value < 10 ? 1 : 2, cell.valueHint, cell.pageCaption, cell.page);
  }
  char text[16];
  HelpLabel("Base Attack:", 23, 10, "Base Attack Bonus", 21013, "Base Attack Bonus");
  std::snprintf(text, sizeof text, "%i", c.baseAttack.current);
  StatisticLink(text, 35, 10, static_cast<int>(std::strlen(text)), "Modifiers: Base Attack Bonus", "Base Attack Bonus",
                kStatBaseAttack);
  HelpLabel("Armor Class:", 23, 11, "Armor Class", 41005, "Armor Class");
  std::snprintf(text, sizeof text, "%i", g_armour.total);
  StatisticLink(text, 35, 11, static_cast<int>(std::strlen(text)), "Modifiers: Armor Class", "Armor Class Modifiers",
                kStatArmourClass);
  HelpLabel("Speed:", 23, 12, "Speed", 41006, "Speed");
  std::snprintf(text, sizeof text, "%i", c.speed.current);
  StatisticLink(text, 29, 12, static_cast<int>(std::strlen(text)), "Modifiers: Speed", "Speed Modifiers", kStatSpeed);
  HelpLabel("CR:", 32, 12, "Challenge Rating", 41019, "Challenge Rating");
  std::snprintf(text, sizeof text, "%.2i", c.challengeRating);
  PageTextAt(text, kStyleValue, 35, 12);
}

// The badges of the first 40 conditions, each opening its entry's page.
void ConditionBadges() {
  HelpLabel("Conditions", 23, 18, "Conditions", 61000, "Conditions");
  const CreatureRecord& c = Creatures[g_creature];
  for (int i = 0; i < kConditionsShown; ++i) {
    const ConditionEntry& e = c.conditions[i];
    if (e.id == 0) break;
    const uint32_t id = e.id < static_cast<uint32_t>(kConditionNameCount) ? e.id : 0;
    const int column = 23 + 2 * (i % 8), row = 19 + 2 * (i / 8);
    const bool over = MouseInTextRow(row, column, 2, 2, 1, 0);
    DrawFigureIcon(0, 0, static_cast<int>(ConditionIconTable[id]) + kFigureSheetBase, column, row,
                   over ? kHoveredIconColour : kPlainColour, 0);
    if (!over) continue;
    ShowCaption(ConditionName(id), kCursorLink);
    if (TakeLeftClick()) {
      PushCharacterPage(ConditionName(id), kCaptionShown, kPageEffectsFirst + i, g_creature);
      return;
    }
    if (ConditionHelpPages[id] != 0 && OpenPageWithSound(ConditionName(id), static_cast<int32_t>(ConditionHelpPages[id])))
      return;
  }
}

struct MenuButton {
  const char* caption;
  int column, row;
  int32_t cursor;
  bool refused;
};

// A menu button: style 4, style 2 under the pointer; true on a left click
// that is not refused.
bool Button(const MenuButton& b) {
  const bool over = PointerOnCells(b.column, b.row, static_cast<int>(std::strlen(b.caption)));
  PageTextAt(b.caption, over && !b.refused ? kStyleHover : kStyleLabel, b.column, b.row);
  if (!over) return false;
  ScreenHovered = 1;
  CursorShape = b.refused ? kCursorRefused : b.cursor;
  return !b.refused && TakeLeftClick();
}

bool SpellsAvailable() {
  const CreatureRecord& c = Creatures[g_creature];
  if (g_creature < kPartySize && (c.creatureClass == kClassCleric || c.creatureClass == kClassWizard)) return true;
  return HighestUsableSpellLevel(-1, g_creature);
}

// The menu; true when the page was left (the frame ends there).
bool Menu() {
  ScreenHovered = 0;
  char caption[kPageCaptionSize];
  const bool levelUp = LevelUpPending == 1;
  if (Button({"Spells", 1, 18, kCursorSpells, !SpellsAvailable()})) {
    NamedCaption("Spells", caption);
    PushCharacterPage(caption, kCaptionShown, kPageSpellBook, g_creature);
    return true;
  }
  if (Button({"Inventory", 12, 18, kCursorInventory, false})) {
    NamedCaption("Inventory", caption);
    PushCharacterPage(caption, kCaptionShown, kPageInventory, g_creature);
    return true;
  }
  if (Button({"Feats", 1, 20, kCursorLeftButton, false})) {
    NamedCaption("Feats", caption);
    PushCharacterPage(caption, kCaptionShown, kPageSpecialAbilities, g_creature);
    return true;
  }
  if (Button({"Journal", 12, 20, kCursorRightButton, IntroductoryAdventureFlag == 1})) {
    PushCharacterPage("JOURNAL", kCaptionShown, kPageQuestJournal, 0);
    return true;
  }
  if (Button({"Local Map", 1, 22, kCursorLeftButton, levelUp})) {
    PushCharacterPage("Local Map", kCaptionShown, kPageMapOverview, g_creature);
    return true;
  }
  const bool worldRefused =
      IntroductoryAdventureFlag == 1 || InCombat != 0 || CurrentMap.localMapAvailable != 1 || levelUp;
  if (Button({"World Map", 12, 22, kCursorRightButton, worldRefused})) {
    AttackLinesScroll = 0;
    EndCreatureTextEntry();
    PageWork.scroll = 0;
    ResetHover();
    ShowLocalMapMode();
    return true;
  }
  if (Button({"Options", 1, 24, kCursorLeftButton, levelUp})) {
    SetFirstPage("Title Screen", kPageMainMenu, -1);
    ScreenMode = kModePageView;
    // The menu's "Back to the Game" returns where this page's own would.
    MenuReturnMode = kModeExploring;
    ResetPageState();
    return true;
  }
  if (Button({"Rules", 12, 24, kCursorRightButton, false})) {
    PushCharacterPage("Help Index", kCaptionShown, kPageHelpTopic, 10000);
    return true;
  }
  const bool overBack = PointerOnCells(1, 26, 4);
  if (overBack) HoverSoundFor(kSoundBack);
  if (Button({"Back", 1, 26, kCursorLeftButton, PageDepth <= 0})) {
    GoBack();
    return true;
  }
  if (overBack && PageDepth > 0) SetHoverCaption(PageHistory[PageDepth - 1].caption);
  const bool overForward = PointerOnCells(12, 26, 7);
  if (overForward) HoverSoundFor(kSoundForward);
  const bool forwardRefused = PageDepth >= PageHighestDepth || PageDepth >= kPageHistorySize - 1;
  if (Button({"Forward", 12, 26, kCursorRightButton, forwardRefused})) {
    GoForward();
    return true;
  }
  if (overForward && !forwardRefused) SetHoverCaption(PageHistory[PageDepth + 1].caption);
  if (PointerOnCells(3, 28, 16)) HoverSoundFor(kSoundBackToGame);
  if (Button({"Back To The Game", 3, 28, kCursorInventory, levelUp})) {
    BackToTheGame();
    return true;
  }
  return false;
}

// The keys of the page while nothing is typed; true when the page was left.
bool PageKeys() {
  if (Editing()) return false;
  const bool toGame = TakeKey(kKeySpace) || (!KeyPressed(kKeyLeftShift) && TakeKey(kKeyEscape));
  if (toGame && LevelUpPending != 1) {
    HoverSoundFor(kSoundBackToGame);
    BackToTheGame();
    return true;
  }
  if ((TakeKey(kKeyLeft) || TakeKey(kKeyBackspace)) && PageDepth > 0) {
    GoBack();
    return true;
  }
  if (TakeKey(kKeyRight) && PageDepth < PageHighestDepth) {
    GoForward();
    return true;
  }
  if ((CursorShape == kCursorRest || CursorShape == kCursorInventoryDefault) && ButtonPressed(1) && PageDepth > 0) {
    LatchButton(1);
    GoBack();
    return true;
  }
  const bool up = TakeKey(kKeyUp) || KeyHeld(kKeyPageUp);
  const bool down = TakeKey(kKeyDown) || KeyHeld(kKeyPageDown);
  if (up && BackgroundScroll > 0) --BackgroundScroll;
  if (down && LinkedTextOverflow == -1) ++BackgroundScroll;
  return false;
}

}  // namespace

int PrevPartyMember(int member) {
  int i = member >= 0 && member < kPartySize ? member : 0;
  for (int step = 0; step < kPartySize; ++step) {
    i = i == 0 ? kPartySize - 1 : i - 1;
    if (Creatures[i].name[0] != '\0') return i;
  }
  return member;
}

int NextPartyMember(int member) {
  int i = member >= 0 && member < kPartySize ? member : 0;
  for (int step = 0; step < kPartySize; ++step) {
    i = i == kPartySize - 1 ? 0 : i + 1;
    if (Creatures[i].name[0] != '\0') return i;
  }
  return member;
}

void DrawCharacterRecordScreen() {
  LastScreenDrawn = "DrawCharacterRecordScreen";
  const int32_t creature = TopPageParameter();
  if (!IsValidCreature(creature)) {
    BeginCharacterPage();
    DrawFramedBox(0, 0, 1);
    EndCharacterPage(true);
    return;
  }
  g_creature = creature;
  // A typing begun on another page (or another record) is dropped here.
  CreatureTextEntryStillOpen();
  if (!Editing()) {
    NumberKeys();
    if (g_creature < 0) return;
  }
  BeginCharacterPage();
  if (++CaretBlinkCounter > 5) {
    CaretBlinkCounter = 0;
    CaretVisible = CaretVisible == 0 ? 1 : 0;
  }
  DrawFramedBox(0, 0, 1);
  for (int row : {4, 9, 13, 17}) DrawSeparatorLine(row, 1, 38, row);
  DrawSeparatorLine(27, 1, 21, 27);
  DrawSeparatorLine(22, 10, 12, -1);
  DrawSeparatorLine(11, 18, 26, -1);
  DrawSeparatorLine(22, 18, 28, -1);

  NameRow();
  UpperRows();
  const int before = g_creature;
  PartyArrows();
  if (g_creature != before) PageReady = 0;
  BackgroundBox();
  // A page opened meanwhile prepares itself on its own first frame.
  const bool stillTop = TopPageType() == kPageCharacterRecord && TopPageParameter() == g_creature;
  if (PageReady == 0 && stillTop) Prepare();
  AttackRows();
  AbilityAndSaveRows();
  ConditionBadges();
  if (!Menu()) PageKeys();
  const bool overAttacks = MouseInTextRow(14, 0, 40, 3, 1, 0);
  DrawGradientGlyph(overAttacks ? kDimmedGlyph : kPlainColour, 83, 133, 2);
  DrawGradientGlyph(overAttacks ? kDimmedGlyph : kPlainColour, 171, 133, 3);
  EndCharacterPage(false);
  if (HoverCaption[0] == '\0' && ScreenHovered == 0) HoverSoundMark = -1;
}
