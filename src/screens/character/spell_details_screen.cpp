// The sheet of a spell: its icon, name and level, school and descriptors,
// the description with links, its costs, casting time, components, range,
// target, saving throw and area, the metamagic feats that suit it and the
// links to the spell indexes.
#include <cstdio>
#include <cstring>
#include <iterator>

#include "engine/last_screen.h"
#include "engine/page_history.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "rules/item_tables.h"
#include "screens/character/character_screens.h"
#include "screens/character/page_kit.h"
#include "screens/character/sheet_description.h"
#include "screens/character/sheet_texts.h"
#include "screens/character/spell_icons.h"

const char* const SchoolNames[9] = {"",           "Abjuration", "Conjuration", "Divination",   "Enchantment",
                                    "Evocation",  "Illusion",   "Necromancy",  "Transmutation"};
const char* const SubschoolNames[13] = {"Nothing",  "Calling", "Charm",   "Compulsion", "Creation",
                                        "Figment",  "Glamer",  "Healing", "Pattern",    "Phantasm",
                                        "Scrying",  "Summoning", "Teleportation"};
const char* const DescriptorNames[14] = {"None",  "Force", "Fire",   "Cold",  "Acid", "Electricity", "Sonic",
                                         "Air",   "Earth", "Water",  "Lawful", "Good", "Chaos",      "Evil"};
const char* const CastingTimeNames[4] = {"Nothing", "Move", "Standard", "Full"};
const char* const RangeNames[6] = {"None", "Personal", "Touch", "15 Feet", "35 Feet", "60 Feet"};
const char* const TargetKindNames[12] = {"Nothing",     "Caster",     "Centered",   "Individual",
                                         "Square(s)",   "Rectangle",  "Circle",     "Circ. Burst",
                                         "Cone Burst",  "Line Burst", "Equipment",  "Sqr/Indiv"};

namespace {

constexpr uint32_t kFrameTint = 0xFFAAAAAAu, kFill = 0xFF5F5F5Fu;
constexpr int kBorderSheet = 53, kRuleLeft = 85, kRuleRight = 112;
constexpr DescriptionBox kDescription = {10, 87, 80, true};
constexpr int kPartialSaveSpell = 95;  // its single halving save reads "(Partial)"

// A name of a table, "" for a value past its rows.
template <size_t N>
const char* NameOf(const char* const (&table)[N], int32_t value) {
  return value >= 0 && static_cast<size_t>(value) < N ? table[value] : "";
}

// A link drawn in the hover style under the pointer: caption, cursor, and a
// click opens the help topic.
void Link(bool over, const char* caption, int32_t topic, const char* pageCaption) {
  if (!over) return;
  SetHoverCaption(caption);
  CursorShape = kCursorLink;
  OpenPageOnClick(pageCaption, topic);
}

// A text of the sheet that is a help link.
void LinkText(const char* text, int column, int row, const char* caption, int32_t topic, const char* pageCaption) {
  Link(LitText(text, kStyleValue, column, row), caption, topic, pageCaption);
}

// The descriptors, "<Fire>" or "<Fire> <Evil>", from the spell's two
// protection codes: only the codes that name a descriptor (Force to Evil)
// are descriptors; the others (sleep, mind, hampering...) only say what
// stops the spell. "<->" for a spell without one.
void DescriptorText(const SpellRecord& s, char* text, size_t size) {
  const char* names[2] = {};
  int count = 0;
  for (int32_t code : {s.immunity1, s.immunity2})
    if (code > 0 && code < static_cast<int32_t>(std::size(DescriptorNames))) names[count++] = DescriptorNames[code];
  if (count == 2)
    std::snprintf(text, size, "<%s> <%s>", names[0], names[1]);
  else if (count == 1)
    std::snprintf(text, size, "<%s>", names[0]);
  else
    std::snprintf(text, size, "<->");
}

void Components(const SpellRecord& s) {
  constexpr int kColumn = 31, kRow = 13;
  constexpr int32_t kVerbalTopic = 42039, kSomaticTopic = 42038;
  if (s.verbal == 1 && s.somatic == 1) {
    PageTextAt("V, S", kStyleValue, kColumn, kRow);
    LinkText("V", kColumn, kRow, "Verbal Component", kVerbalTopic, "Verbal Component");
    LinkText("S", kColumn + 3, kRow, "Somatic Component", kSomaticTopic, "Somatic Component");
  } else if (s.somatic == 1) {
    LinkText("Somatic", kColumn, kRow, "Somatic Component", kSomaticTopic, "Somatic Component");
  } else if (s.verbal == 1) {
    LinkText("Verbal", kColumn, kRow, "Verbal Component", kVerbalTopic, "Verbal Component");
  } else {
    PageTextAt("-", kStyleValue, kColumn, kRow);
  }
}

// Row 15 from column 20: the touch attack or the size of the area.
void TouchOrArea(const SpellRecord& s) {
  constexpr int kRow = 15;
  char text[32];
  switch (s.target) {
    case 3: case 4: case 10: case 11:
      if (s.meleeTouch == 1)
        LinkText("Melee Touch Attack", 20, kRow, "Touch Attacks", 41020, "Touch Attacks");
      else if (s.rangedTouch == 1)
        LinkText("Ranged Touch Attack", 20, kRow, "Touch Attacks", 41020, "Touch Attacks");
      break;
    case 5:
      PageTextAt("Size:", kStyleLabel, 20, kRow);
      std::snprintf(text, sizeof text, "%ix%i", s.areaSize2, s.areaSize);
      PageTextAt(text, kStyleValue, 25, kRow);
      break;
    case 2: case 6: case 7:
      PageTextAt("Radius:", kStyleLabel, 20, kRow);
      std::snprintf(text, sizeof text, "%i Feet", s.areaSize);
      PageTextAt(text, kStyleValue, 27, kRow);
      break;
    case 8: case 9:
      PageTextAt("Length:", kStyleLabel, 20, kRow);
      std::snprintf(text, sizeof text, "%i", s.areaSize);
      PageTextAt(text, kStyleValue, 27, kRow);
      break;
    default: break;
  }
}

// The icons of the metamagic feats the spell allows, closed up from column 3.
void MetamagicIcons(const SpellRecord& s) {
  struct Feat {
    int figure;
    const char* caption;
    int32_t topic;
    const char* page;
  };
  static constexpr Feat kFeats[6] = {
      {441, "Maximise", 31301, "Maximise Spell"}, {497, "Empower", 31300, "Empower Spell"},
      {525, "Widen", 31302, "Widen Spell"},       {430, "Heighten", 31305, "Heighten Spell"},
      {526, "Silent", 31304, "Silent Spell"},     {466, "Still", 31303, "Still Spell"},
  };
  constexpr int kRow = 18;
  int column = 3;
  for (int i = 0; i < 6; ++i) {
    if (s.metamagic[i] != 1) continue;
    const bool over = MouseInRow8(column, 0, kRow);
    DrawFigureIcon(0, 0, kFeats[i].figure, column, kRow, over ? kHoveredArrowColour : 0xFFFFFFFFu, 0);
    Link(over, kFeats[i].caption, kFeats[i].topic, kFeats[i].page);
    column += 4;
  }
}

void IndexLinks(const SpellRecord& s) {
  const bool divine = s.divine == 1;
  const char* kind = divine ? "Cleric" : "Wizard";
  char text[48], caption[32];
  std::snprintf(text, sizeof text, "Index of level %i %s spells", s.level, kind);
  bool over = PointerOnCells(1, 22, 30);
  PageTextAt(text, over ? kStyleHover : kStyleLabel, 1, 22);
  if (over) {
    CursorShape = kCursorLink;
    if (s.level >= 1 && s.level <= 9) {
      std::snprintf(caption, sizeof caption, "L-%i %s Spells", s.level, kind);
      OpenPageOnClick(caption, (divine ? kDivineLevelHelpPages : kArcaneLevelHelpPages)[s.level - 1]);
    }
  }
  std::snprintf(text, sizeof text, "Index of %s spells", kind);
  over = PointerOnCells(1, 23, 22);
  PageTextAt(text, over ? kStyleHover : kStyleLabel, 1, 23);
  if (over) {
    CursorShape = kCursorLink;
    std::snprintf(caption, sizeof caption, "%s Spells", kind);
    OpenPageOnClick(caption, divine ? 52000 : 51000);
  }
  over = MouseInRect(192, 8, 152, 8);
  PageTextAt("Index of all spells", over ? kStyleHover : kStyleLabel, 1, 24);
  if (over) {
    CursorShape = kCursorLink;
    OpenPageOnClick("Index of Spells", 50000);
  }
}

}  // namespace

const char* SpellSaveText(const SpellRecord& spell, int row) {
  const int32_t first = spell.effects[0].save, second = spell.effects[1].save;
  auto kind = [](int32_t save) { return save >= 1 && save <= 6 ? (save - 1) % 3 : -1; };  // For, Wil, Ref
  static constexpr const char* kHalf[3] = {"For.(Half)", "Wil.(Half)", "Ref.(Half)"};
  static constexpr const char* kNegates[3] = {"For.(Negates)", "Wil.(Negates)", "Ref.(Negates)"};
  static constexpr const char* kPartial[3] = {"For.(Partial)", "Wil.(Partial)", "Ref.(Partial)"};
  static constexpr const char* kTwice[3] = {"For.(Twice)", "Wil.(Twice)", "Ref.(Twice)"};
  if (spell.effects[1].code == 0) {
    if (first == 0) return "None";
    if (first >= 1 && first <= 3) return row == kPartialSaveSpell ? kPartial[first - 1] : kHalf[first - 1];
    if (first >= 4 && first <= 6) return kNegates[first - 4];
    return "";
  }
  if (first == 0 && second == 0) return "None";
  if (first != 0 && second != 0) return kind(first) >= 0 && kind(first) == kind(second) ? kTwice[kind(first)] : "Special";
  for (int k = 0; k < 3; ++k)
    if (kind(first) == k || kind(second) == k) return kPartial[k];
  return "";
}

int DrawSpellDetailsScreen(int spell) {
  LastScreenDrawn = "DrawSpellDetailsScreen";
  BeginCharacterPage();
  DrawFramedBox(kFrameTint, kFill, 3);
  for (int row : {4, 11, 16, 21}) {
    DrawSeparatorLine(row, 0, 39, row);
    DrawSheetFrame(kBorderSheet, kRuleLeft, 0, 8 * row, kFrameTint);
    DrawSheetFrame(kBorderSheet, kRuleRight, 312, 8 * row, kFrameTint);
  }
  if (spell < 0 || spell >= kSpellRows) {
    EndCharacterPage(true);
    return 1;
  }
  const SpellRecord& s = SpellTable[spell];
  char text[64];

  DrawFigureIcon(0, 0, SpellIconTable[spell], 1, 1, 0xFFFFFFFFu, 0);
  char name[kCaptionShown + 1];
  CopyCut(name, sizeof name, s.name, kCaptionShown);
  PageTextAt(name, kStyleTitle, 4, 1);
  char level[16];
  std::snprintf(level, sizeof level, s.divine == 1 ? "(Divine %i)" : "(Arcane %i)", s.level);
  // The level follows the name, or, where a long name leaves no room for it,
  // the school line, or else the descriptors.
  int levelRow = 1, levelColumn = 5 + static_cast<int>(std::strlen(name));

  // The word after the school is its subschool (0 none).
  if (s.descriptor != 0)
    std::snprintf(text, sizeof text, "%s - %s", NameOf(SchoolNames, s.school), NameOf(SubschoolNames, s.descriptor));
  else
    std::snprintf(text, sizeof text, "%s school", NameOf(SchoolNames, s.school));
  PageTextAt(text, kStyleValue, 4, 2);
  const auto levelFits = [&] { return levelColumn + static_cast<int>(std::strlen(level)) <= kLargeColumns; };
  if (!levelFits()) {
    levelRow = 2;
    levelColumn = 5 + static_cast<int>(std::strlen(text));
  }
  DescriptorText(s, text, sizeof text);
  PageTextAt(text, kStyleValue, 4, 3);
  if (!levelFits()) {
    levelRow = 3;
    levelColumn = 5 + static_cast<int>(std::strlen(text));
  }
  PageTextAt(level, kStyleValue, levelColumn, levelRow);

  char description[sizeof s.description + 1];
  CopyCut(description, sizeof description, s.description, sizeof s.description);
  const bool more = DrawSheetDescription(description, kDescription);
  ScrollSheetDescription(kDescription, more);

  PageTextAt("Gold Cost:", kStyleLabel, 1, 12);
  DrawTextF(kStyleValue, 11, 12, "%i", s.goldCost);
  PageTextAt("XP Cost:", kStyleLabel, 20, 12);
  DrawTextF(kStyleValue, 28, 12, "%i", s.xpCost);
  PageTextAt("Cast.Time:", kStyleLabel, 1, 13);
  PageTextAt(NameOf(CastingTimeNames, s.castingTime), kStyleValue, 11, 13);
  PageTextAt("Components:", kStyleLabel, 20, 13);
  Components(s);
  PageTextAt("Range:", kStyleLabel, 1, 14);
  PageTextAt(NameOf(RangeNames, s.range), kStyleValue, 7, 14);
  PageTextAt("Target:", kStyleLabel, 20, 14);
  PageTextAt(NameOf(TargetKindNames, s.target), kStyleValue, 27, 14);

  const bool overSave = MouseInRect(120, 8, 40, 8);
  PageTextAt("Save:", overSave ? kStyleHover : kStyleLabel, 1, 15);
  Link(overSave, "Saving Throws", 21014, "Saving Throws");
  PageTextAt(SpellSaveText(s, spell), kStyleValue, 6, 15);
  TouchOrArea(s);

  PageTextAt("Metamagic feats that may be applied:", kStyleLabel, 1, 17);
  MetamagicIcons(s);
  IndexLinks(s);
  EndCharacterPage(true);
  return 1;
}
