// The page that explains one active condition of a creature (page types 50
// to 99, condition entry type - 50): its badge and name, how long it lasts,
// the value it carries and where it came from, with a link to the item that
// gives it.
#include <cstdio>
#include <cstring>

#include "creatures/creature_kinds.h"
#include "engine/last_screen.h"
#include "engine/page_history.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "screens/character/character_screens.h"
#include "screens/character/page_kit.h"

namespace {

constexpr int kFigureSheetBase = 196;
constexpr uint32_t kPlainColour = 0xFFFFFFFFu;
constexpr int32_t kDurationUntilCombatEnds = 3000;

// The lines of the origins that are not an item (sources 18 to 36).
constexpr const char* kOrigins[19][2] = {
    {"The effect came from a spell.", nullptr},
    {"The effect results from an attack", "with an enchanted weapon."},
    {"The effect results from an attack", "with a monster's special ability."},
    {"The effect was obtained by walking", "on an enchanted or special area."},
    {"The effect is a racial attribute.", nullptr},
    {"This is due to a player action.", nullptr},
    {"The effect results from an attack.", nullptr},
    {"This results from having", "a strength of zero."},
    {"This results from having", "a dexterity of zero."},
    {"This results from having", "a constitution of zero."},
    {"This results from having", "an intelligence of zero."},
    {"This results from having", "a wisdom of zero."},
    {"This results from having", "a charisma of zero."},
    {"This results from the", "action of a NPC."},
    {"Equip a weapon in right", "hand to remove this effect."},
    {"This results from having", "effective level zero."},
    {"This results from the", "start of a fight."},
    {"The effect is due to the weather.", nullptr},
    {"The effect came from a", "special ability."},
};
constexpr uint32_t kFirstOrigin = 18;

bool Between(uint32_t id, uint32_t first, uint32_t last) { return id >= first && id <= last; }

void Label(const char* text, int row) { PageTextAt(text, kStyleLabel, 2, row); }
void Value(int32_t value, int column, int row, const char* format = "%i") {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  PageTextAt(text, kStyleGreen, column, row);
}

// A creature's name cut to 15 characters, "" for an id outside the table.
void NameOf(int64_t creature, char (&out)[16]) {
  out[0] = '\0';
  if (creature >= 0 && creature < kCreatureCount) CopyCut(out, sizeof out, Creatures[creature].name, 15);
}

// The value block; returns the row the origin lines start on, -1 for none.
int DrawValueBlock(int creature, const ConditionEntry& e) {
  const uint32_t id = e.id;
  const int32_t v = e.value;
  auto one = [&](const char* label, int column, const char* format = "%i") {
    Label(label, 9);
    Value(v, column, 9, format);
    return 11;
  };
  auto two = [&](const char* first, const char* second, int column, const char* format = "%i") {
    Label(first, 9);
    Label(second, 10);
    Value(v, column, 10, format);
    return 12;
  };
  if (id == 12 || id == 13 || id == 14 || id == 15 || id == 16 || id == 23)
    return two("The effect offers a", "protection bonus of", 22);
  if (id == 22) return two("The effect offers a", "spell resistance of", 22);
  if (id == 18) return two("The effect offers a", "concealment bonus of", 23, "%i%%");
  if (Between(id, 32, 41)) {
    one("The effect reduces damage by", 31);
    if (e.param == 0) return 11;
    Label("Remaining points to absorb:", 10);
    char points[16];
    std::snprintf(points, sizeof points, "%u", e.param);
    PageTextAt(points, kStyleGreen, 30, 10);
    return 12;
  }
  if (id == 52) return one("The effect offers a bonus of", 31);
  if (id == 53) {
    Label("The effect increases speed by", 9);
    PageTextAt("10", kStyleGreen, 32, 9);
    return 11;
  }
  if (Between(id, 56, 60) || id == 73) return one("The effect gives a bonus of", 30);
  if (Between(id, 61, 72)) return one("The effect gives a penalty of", 32);
  if (id == 133 || id == 134) return one("Attack Roll Penalty: ", 23);
  if (id == 108) return one("Number of lost levels", 24);
  if (id == 110) return one("Damage per round", 19);
  if (id == 122 || id == 123) return one("The risk of spell failure is", 31, "%i%%");
  if (id == 124 || id == 125) return one("The nonproficiency penalty is", 32);
  if (id == 127) return two("Your armour restricts your dexterity", "bonus to Armor Class to", 26);
  if (id == 144) return one("The effect gives a luck bonus of", 35);
  if (id == 145) return one("The luck penalty is", 22);
  if (id == 147) return one("The effect gives a morale bonus of", 37);
  if (id == 146) return one("The morale penalty is", 24);
  if (id == 148) {
    Label("The target creature is", 9);
    // A kind past the table of kinds names nothing.
    if (v >= 0 && v < kKindRows) {
      char kind[sizeof KindNames[0] + 1];
      CapitaliseWords(kind, KindNames[v], 1);
      PageTextAt(kind, kStyleGreen, 25, 9);
    }
    return 11;
  }
  if (id == kCondGrappling || id == kCondPinned) {
    int64_t partner = v;
    if (id == kCondPinned) {
      const int k = FindCondition(creature, kCondGrappling);
      partner = k >= 0 ? Creatures[creature].conditions[k].value : -1;
    }
    char name[16];
    NameOf(partner, name);
    Label(id == kCondGrappling ? "Grappling with" : "Pinned by", 9);
    PageTextAt(name, kStyleGreen, id == kCondGrappling ? 17 : 12, 9);
    return 11;
  }
  if ((id == 160 || id == 162) && v == 1) {
    Label("You will be able to", 9);
    PageTextAt("take a standard action.", kStyleGreen, 2, 10);
    return 12;
  }
  if (id == kCondDamagedWhileCasting) {
    one("Damage taken while spellcasting", 34);
    return -1;
  }
  return 9;
}

// The origin lines from row r.
void DrawOrigin(int creature, const ConditionEntry& e, int r) {
  const CreatureRecord& c = Creatures[creature];
  const uint32_t source = e.source;
  // Only the twelve equipment places and the ammunition hold an item code.
  if (source >= 1 && source <= 13) {
    Label("Effect Origin:", r);
    const uint32_t code = source == 13 ? c.ammunition.code : c.equipment[source - 1];
    int32_t type = 0;
    const char* name = ItemNameOfCode(code, &type);
    if (name == nullptr) return;
    char shown[kCaptionShown + 1];
    CopyCut(shown, sizeof shown, name, kCaptionShown);
    char capitalised[kCaptionShown + 1];
    CapitaliseWords(capitalised, shown, 1);
    if (!LitText(capitalised, kStyleGreen, 17, r)) return;
    CursorShape = kCursorLink;
    SetHoverCaption("Item Details");
    if (ConsumeClick(1)) PushCharacterPage(name, kCaptionShown, type, creature);
    return;
  }
  const bool known = source >= kFirstOrigin && source < kFirstOrigin + 19;
  const char* const* lines = known ? kOrigins[source - kFirstOrigin] : nullptr;
  Label(lines ? lines[0] : "The effect's origin is unknown.", r);
  if (lines && lines[1]) Label(lines[1], r + 1);
}

void DrawDuration(int creature, const ConditionEntry& e) {
  int32_t d = e.duration;
  if (d >= 1 && d <= 999) d -= 1;
  const char* first = "This effect will remain";
  const char* second = nullptr;
  if (d == kDurationUntilRest) {
    second = Creatures[creature].allegiance == kAllegianceParty ? "Until the party rests." : "Until the creature rests.";
  } else if (d == kDurationLasting && e.id == kCondFlatFooted) {
    first = "This effect will go away when";
    second = "you take your first combat action.";
  } else if (d == kDurationLasting) {
    first = "This effect is permanent.";
    second = "It will not go by itself.";
  } else if (d == kDurationUntilCombatEnds) {
    second = "Until the end of combat.";
  } else {
    Label("This effect is temporary.", 6);
    Label("Number of remaining rounds:", 7);
    Value(d, 30, 7);
    return;
  }
  Label(first, 6);
  Label(second, 7);
}

}  // namespace

void DrawEffectsPage(int pageType, int creature) {
  LastScreenDrawn = "DrawEffectsPage";
  BeginCharacterPage();
  DrawFramedBox(0, 0, 2);
  const int k = pageType - kPageEffectsFirst;
  if (k >= 0 && k < kConditionSlots && IsValidCreature(creature)) {
    const ConditionEntry& e = Creatures[creature].conditions[k];
    // A condition id past the name table is shown as row 0.
    const uint32_t id = e.id < static_cast<uint32_t>(kConditionNameCount) ? e.id : 0;
    DrawFigureIcon(3, -3, static_cast<int>(ConditionIconTable[id]) + kFigureSheetBase, 2, 2, kPlainColour, 0);
    const char* name = ConditionName(id);
    if (MouseInRect(32, 40, 8 * static_cast<int>(std::strlen(name)), 8)) {
      PageTextAt(name, kStyleHover, 5, 4);
      CursorShape = kCursorLink;
      if (ConsumeClick(1) && ConditionHelpPages[id] != 0) OpenPage(name, static_cast<int32_t>(ConditionHelpPages[id]));
    } else {
      PageTextAt(name, kStyleTitle, 5, 4);
    }
    DrawDuration(creature, e);
    const int origin = DrawValueBlock(creature, e);
    if (origin >= 0) DrawOrigin(creature, e, origin);
  }
  EndCharacterPage(true);
}
