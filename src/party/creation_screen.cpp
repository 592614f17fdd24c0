// The creation page (page type 104): one party member of a new game at a
// time is named, its ability rolls swapped, rerolled and confirmed, its
// class, race, gender, alignment and colour chosen, and its feats and
// spells picked on their own pages, which come back here.
#include "party/creation_screen.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "combat/resolution/spell_keywords.h"
#include "engine/music.h"
#include "engine/page_history.h"
#include "engine/last_screen.h"
#include "engine/settings.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "frontend/menu_pages.h"
#include "party/character_names.h"
#include "party/creation_rules.h"
#include "party/new_characters.h"
#include "party/page_controls.h"
#include "party/party_screens.h"
#include "rules/creature_record.h"
#include "rules/feat_names.h"
#include "rules/dice.h"
#include "rules/spell_slots.h"
#include "engine/designated_lists.h"
#include "state/game_progress.h"
#include "state/text_entry.h"

CreationScreenState CreationState;

void ClearCreationFlags() {
  CreationState.swapUsed = CreationState.rerollUsed = CreationState.confirmed = 0;
  std::memset(CreationState.savedFlags, 0, sizeof CreationState.savedFlags);
}

namespace {

constexpr int kKeyReturn = 0x1C;
constexpr int kKeyPadEnter = 0x9C;
constexpr int kSheetInterface = 13;
constexpr int kNameMaxCursor = 9;
// Small cells of the lists beside the large texts of the page: the first
// column of a chosen feat's name, which keeps a large letter's width of
// blank clear of the class list (its cells end at x 184), and the column of
// the spell list, 7 pixels right of "Alignment".
constexpr int kFeatColumnFirst = 39;
constexpr int kSpellColumn = 43;
// Text styles of the page.
constexpr int kHighlighted = 2, kCaption = 4, kNormal = 5, kButton = 6, kSelected = 7, kSmallHighlighted = 8,
              kSmallActive = 9;

// Elements whose hover plays the hover sound once: the captions and the
// bottom buttons.
enum HoverLabel : int32_t {
  kHoverAbilities, kHoverAbilityFirst, kHoverAlignment = kHoverAbilityFirst + kAbilityCount, kHoverFeats,
  kHoverSpells, kHoverCancel, kHoverReset, kHoverAccept, kHoverHelp,
};

// Why "Accept" is refused, first reason first.
enum class Missing { kNothing, kName, kAbilities, kFeats, kSpells };

const char* const kTitles[kPartySize] = {"First character", "Second character", "Third character",
                                         "Fourth character"};
const char* const kAbilityLabels[kAbilityCount] = {"STR:", "DEX:", "CON:", "INT:", "WIS:", "CHA:"};

struct Choice {
  const char* label;
  int32_t code;
  int column, row;
  int32_t helpPage;
  const char* helpCaption;
};
constexpr Choice kClasses[] = {
    {"Knight", kClassKnight, 17, 7, 23002, "Knight Class"},
    {"Wizard", kClassWizard, 17, 8, 23004, "Wizard Class"},
    {"Cleric", kClassCleric, 17, 9, 23003, "Cleric Class"},
};
constexpr Choice kRaces[] = {
    {"Human", kRaceHuman, 17, 11, 22057, "Humans"},
    {"Mul", kRaceMul, 17, 12, 22067, "Muls"},
    {"Half-Elf", kRaceHalfElf, 17, 13, 22051, "Half-Elves"},
};
constexpr Choice kGenders[] = {
    {"Male", kGenderMale, 17, 22, 21001, "Gender"},
    {"Female", kGenderFemale, 17, 23, 21001, "Gender"},
};
constexpr Choice kAlignments[] = {
    {"LG", 1, 17, 16, 21016, "Lawful Good Alignment"},  {"NG", 4, 20, 16, 21017, "Neutral Good Alignment"},
    {"CG", 7, 23, 16, 21018, "Chaotic Good Alignment"}, {"LN", 2, 17, 17, 21019, "Lawful Neutral Alignment"},
    {"TN", 5, 20, 17, 21020, "True Neutral Alignment"}, {"CN", 8, 23, 17, 21021, "Chaotic Neutral Alignment"},
};

// The walking figure of a party member: the runs of party figures in the
// creature sheets (12 frames a figure), facing the viewer. It walks between
// the colour swatches and the spell list, clear of both.
struct FigureRun {
  int32_t first, last, sheet, base;
};
constexpr FigureRun kPartyFigureRuns[] = {
    {1, 8, 9, -11},      {9, 16, 10, -107},   {17, 24, 11, -203},
    {140, 147, 22, -1679}, {148, 155, 25, -1775}, {156, 163, 24, -1871},
};
constexpr int kFacingViewerPose = 1;
constexpr int kPreviewX = 196;
constexpr int kWalkPoses[4] = {0, 4, 0, 8};

void DrawWalkingFigure(int32_t figure, int step) {
  for (const FigureRun& run : kPartyFigureRuns)
    if (figure >= run.first && figure <= run.last) {
      DrawSheetFrame(run.sheet, 12 * figure + run.base + kFacingViewerPose + kWalkPoses[step & 3], kPreviewX, 147);
      return;
    }
}

class CreationPage {
 public:
  explicit CreationPage(int member)
      : member_(member), c_(Creatures[member]), s_(CreationState), idle_(CreationState.draggedAbility == -1) {}

  void Run() {
    KeepPartyPageMusic();
    DrawScreenBackdrop();
    ClearHint();
    CursorShape = 29;
    if (++s_.blinkCounter >= 6) {
      s_.blinkCounter = 0;
      s_.blinkPhase ^= 1;
    }
    if (OptionWords[kOptionMaxAbilityScores] == 6) s_.confirmed = s_.swapUsed = s_.rerollUsed = 1;
    s_.complete = 1;
    PageText(kTitles[member_], kCaption, 5, 1);
    Name();
    AbilityPanel();
    Reroll();
    NewRoll();
    Confirmation();
    Choices();
    Colours();
    if (++s_.previewCounter >= 11) {
      s_.previewCounter = 0;
      s_.previewStep = (s_.previewStep + 1) % 4;
    }
    DrawWalkingFigure(c_.figure, s_.previewStep);
    Feats();
    Spells();
    BottomButtons();
    PlayHoverSoundOnChange(hovered_, &s_.hoveredLabel);
    EndOfFrame();
  }

 private:
  bool Editing() const { return TextEntryMode == kTextEntryCharacterName; }

  // "Accept" names the first of the reasons in their order: the name, the
  // abilities, the feats, the spells.
  void Refuse(Missing why) {
    s_.complete = 0;
    if (missing_ == Missing::kNothing || why < missing_) missing_ = why;
  }

  // A caption or button that opens its help page on a click of either button.
  void HelpCaption(const char* text, int column, int row, int32_t label, int32_t page, const char* caption,
                   const char* hint = nullptr) {
    const bool over = idle_ && OverText(text, column, row);
    PageText(text, over ? kHighlighted : kCaption, column, row);
    if (!over) return;
    hovered_ = label;
    CursorShape = 4;
    if (hint) SetHint(hint);
    if (TakeLeftClick() || TakeRightClick()) OpenPage(caption, page);
  }

  // A choice of a group: selected style when chosen, greyed when refused;
  // a left click picks it (when allowed), a right click opens its help.
  bool ChoiceClicked(const Choice& choice, bool chosen, bool allowed, const char* hint) {
    const bool over = idle_ && OverText(choice.label, choice.column, choice.row);
    const int style = chosen ? kSelected : !allowed ? kCaption : over ? kHighlighted : kNormal;
    PageText(choice.label, style, choice.column, choice.row);
    if (!over) return false;
    SetHint(hint);
    if (allowed) CursorShape = 4;
    if (TakeRightClick()) {
      OpenPage(choice.helpCaption, choice.helpPage);
      return false;
    }
    return allowed && TakeLeftClick();
  }

  void Name() {
    PageText("Name:", kNormal, 5, 3);
    PageText(Editing() ? NameEditBuffer : c_.name, kNormal, 10, 3);
    if (idle_ && MouseInRect(24, 80, 72, 8)) {
      SetHint("Edit Name (Enter to Confirm)");
      CursorShape = 4;
      if (!Editing() && (TakeLeftClick() || TakeKey(kKeyReturn) || TakeKey(kKeyPadEnter))) {
        TextEntryMode = kTextEntryCharacterName;
        std::memset(NameEditBuffer, 0, sizeof NameEditBuffer);
        std::snprintf(NameEditBuffer, sizeof NameEditBuffer, "%s", c_.name);
        NameEditCursor = static_cast<uint32_t>(std::min<size_t>(std::strlen(NameEditBuffer), kNameMaxCursor));
      }
    }
    if (Editing() && s_.blinkPhase == 1)
      DrawSheetFrame(kSheetInterface, 497, 80 + 8 * static_cast<int>(NameEditCursor), 24, 0x96FFFFFFu);

    const char* const random = "Random Name";
    const bool over = idle_ && OverText(random, 20, 3);
    PageText(random, Editing() ? kCaption : over ? kHighlighted : kButton, 20, 3);
    if (over && !Editing()) {
      CursorShape = 4;
      if (TakeLeftClick()) GiveRandomName(member_, c_.gender == kGenderFemale ? kGenderFemale : kGenderMale);
    }
  }

  void AbilityPanel() {
    HelpCaption("Abilities", 5, 7, kHoverAbilities, 21005, "Abilities");
    for (int a = 0; a < kAbilityCount; ++a) {
      const int row = 9 + a;
      HelpCaption(kAbilityLabels[a], 5, row, kHoverAbilityFirst + a, kAbilityHelpPageBase + a, AbilityNames[a],
                  AbilityNames[a]);
      char score[16];
      std::snprintf(score, sizeof score, "%.2i", BaseAbility(member_, a));
      const bool over = MouseInTextRow(row, 9, 2, 1, kLargeText, 0);
      PageText(score, a == s_.draggedAbility ? kCaption : over && idle_ ? kHighlighted : kNormal, 9, row);
      if (!over) continue;
      if (idle_) {
        if (!s_.swapUsed) {
          SetHint("Drag to swap abilities");
          CursorShape = 100;
          if (TakeLeftClick()) {
            s_.draggedAbility = a;
            s_.draggedScore = BaseAbility(member_, a);
          }
        }
        if (TakeRightClick()) PushPage("Attribute Roll", kPageAbilityRollFirst + a, member_);
      } else if (a != s_.draggedAbility && !ButtonHeld(0)) {
        SwapAbilities(s_.draggedAbility, a);
        s_.swapUsed = 1;
      }
    }
  }

  void SwapAbilities(int a, int b) {
    std::swap(BaseAbility(member_, a), BaseAbility(member_, b));
    std::swap(AbilityRollRecord(member_, a), AbilityRollRecord(member_, b));
  }

  void Reroll() {
    if (s_.confirmed || s_.rerollUsed) return;
    for (int a = 0; a < kAbilityCount; ++a) {
      const int row = 9 + a;
      const bool over = idle_ && OverText("Roll", 12, row);
      PageText("Roll", over ? kHighlighted : kButton, 12, row);
      if (!over) continue;
      char hint[32];
      std::snprintf(hint, sizeof hint, "Reroll %s", AbilityNames[a]);
      SetHint(hint);
      CursorShape = 4;
      if (TakeLeftClick()) {
        s_.rerollUsed = 1;
        StartAbilityRecord(&s_.rerollRecord, "New Ability Roll", a);
        s_.rerollAbility = a;
        s_.rerollResult = RollDice(6, 4, 1, 0, &s_.rerollRecord);
        s_.newRollX = 96;
        s_.newRollY = 72 + 8 * a;
        s_.newRollBetter = s_.rerollResult > BaseAbility(member_, a) ? 1 : 0;
      }
    }
    const char* const lines[5] = {"You may", "swap two", "abilities", "and reroll", "one."};
    for (int i = 0; i < 5; ++i) PageText(lines[i], kNormal, 5, 16 + i);
  }

  // A higher reroll slides one pixel a frame from x 96 into the score column
  // and then takes the score's place with its record; a lower or equal one
  // stays where it was rolled and changes nothing.
  void NewRoll() {
    if (!s_.rerollUsed) return;
    if (s_.newRollBetter) {
      if (--s_.newRollX <= 72) {
        s_.newRollX = 72;
        BaseAbility(member_, s_.rerollAbility) = s_.rerollResult;
        AbilityRollRecord(member_, s_.rerollAbility) = s_.rerollRecord;
        s_.newRollBetter = 0;
        return;
      }
    } else if (s_.newRollX != 96) {
      return;  // already in place
    }
    char number[16];
    std::snprintf(number, sizeof number, "%.2i", s_.rerollResult);
    DrawTextAt(kDefaultColour, kLargeColumns, s_.newRollX, number, s_.newRollBetter ? kSelected : kCaption, 0, 0,
               kLargeText, s_.newRollY, 1, 0);
    if (!s_.newRollBetter && idle_ && MouseInRect(s_.newRollY, s_.newRollX, 16, 8) && TakeRightClick())
      PushPage("New Roll", kPageDesignatedList, RegisterDesignatedList(&s_.rerollRecord));
  }

  void Confirmation() {
    if (s_.confirmed) return;
    if (s_.swapUsed && s_.rerollUsed) {
      s_.confirmed = 1;
      return;
    }
    Refuse(Missing::kAbilities);
    const bool over = idle_ && (OverText("Confirm", 5, 22) || OverText("Abilities", 5, 23));
    PageText("Confirm", over ? kHighlighted : kButton, 5, 22);
    PageText("Abilities", over ? kHighlighted : kButton, 5, 23);
    if (!over) return;
    CursorShape = 4;
    if (TakeLeftClick()) s_.swapUsed = s_.confirmed = 1;
  }

  void Choices() {
    for (const Choice& g : kGenders) {
      const bool allowed = !(g.code == kGenderFemale && c_.kind == kRaceMul);
      if (ChoiceClicked(g, c_.gender == g.code, allowed, "Pick Gender")) ChooseGender(member_, g.code);
    }
    for (const Choice& k : kClasses)
      if (ChoiceClicked(k, c_.creatureClass == k.code, true, "Pick Class")) ChooseClass(member_, k.code);
    for (const Choice& r : kRaces) {
      const bool allowed = r.code == kRaceHuman || s_.confirmed;
      if (ChoiceClicked(r, c_.kind == r.code, allowed, allowed ? "Pick Race" : "Confirm Abilities First"))
        ChooseRace(member_, r.code);
    }
    HelpCaption("Alignment", 17, 15, kHoverAlignment, 21015, "Alignment");
    for (const Choice& a : kAlignments)
      if (ChoiceClicked(a, c_.alignment == a.code, true, "Pick Alignment")) c_.alignment = a.code;
  }

  void Colours() {
    const int current = FigureColour(member_);
    for (int i = 0; i < kColourCount; ++i) {
      const int x = 136 + 8 * i;
      DrawSheetFrame(kSheetInterface, 519 + i, x, 152);
      if (i == current) DrawSheetFrame(kSheetInterface, 527, x, 152);
      if (!idle_ || !MouseInRect(152, x, 8, 8)) continue;
      DrawSheetFrame(kSheetInterface, 528, x, 152);
      SetHint("Pick Colour");
      CursorShape = 4;
      if (TakeLeftClick()) ChooseColour(member_, i);
    }
  }

  void Feats() {
    HelpCaption("Feats", 27, 7, kHoverFeats, kFeatIndexHelpPage, "Feats");
    const std::vector<int> chosen = ChosenFeats(member_);
    const int listed = static_cast<int>(chosen.size());
    for (int i = 0; i < listed; ++i) {
      const int feat = chosen[i];
      // Centred on small column 48, but never left of kFeatColumnFirst; the
      // list names fit the 24 cells left from there.
      const char* name = FeatDisplayNames[feat];
      const int column = std::max(kFeatColumnFirst, 48 - static_cast<int>(std::strlen(name)) / 2);
      const bool over = idle_ && OverText(name, column, 11 + i, kSmallText);
      PageText(name, over ? kSmallHighlighted : kNormal, column, 11 + i, kSmallText);
      if (!over) continue;
      SetHint("Change Feat");
      CursorShape = 4;
      if (TakeLeftClick()) {
        if (feat == kFeatToughness)
          --c_.feats[feat];
        else
          c_.feats[feat] = 0;
        PushPage("Feat Selection", kPageFeatSelection, member_);
        return;
      }
      if (TakeRightClick()) OpenPage(FeatKeywordTable[feat], kFeatHelpPageBase + feat);
    }
    const int toPick = FeatPicksAtCreation(member_) - listed;
    for (int i = 0; i < toPick; ++i) {
      const int row = 11 + listed + i;
      const bool over = idle_ && OverText("Pick a Feat", 43, row, kSmallText);
      PageText("Pick a Feat", over ? kSmallHighlighted : s_.confirmed ? kSmallActive : kNormal, 43, row, kSmallText);
      if (!over) continue;
      SetHint("Pick a Feat");
      CursorShape = 4;
      if (TakeLeftClick()) PushPage("Feat Selection", kPageFeatSelection, member_);
    }
    featsDone_ = toPick <= 0;
    if (!featsDone_) Refuse(Missing::kFeats);
  }

  void Spells() {
    HelpCaption("Spells", 27, 12, kHoverSpells, 50000, "Spells");
    const bool caster = c_.creatureClass == kClassWizard || c_.creatureClass == kClassCleric;
    if (!caster || !s_.confirmed) return;
    const std::vector<int> known = KnownSpells(member_);
    const int listed = static_cast<int>(known.size());
    for (int i = 0; i < listed; ++i) {
      const int spell = known[i];
      const char* word = SpellKeywordShort(spell);
      const bool over = idle_ && OverText(word, kSpellColumn, 18 + i, kSmallText);
      PageText(word, over ? kSmallHighlighted : kNormal, kSpellColumn, 18 + i, kSmallText);
      if (!over) continue;
      SetHint("Change Spell");
      CursorShape = 4;
      if (TakeLeftClick()) {
        c_.knownSpells[spell] = 0;
        PushPage("Spell Selection", kPageSpellPick, member_);
        return;
      }
      if (TakeRightClick()) OpenPage(word, SpellHelpPage(spell));
    }
    const int toPick = SpellPicksAtCreation(member_) - listed;
    for (int i = 0; i < toPick; ++i) {
      const int row = 18 + listed + i;
      const bool over = idle_ && OverText("Pick a Spell", kSpellColumn, row, kSmallText);
      PageText("Pick a Spell", over ? kSmallHighlighted : featsDone_ ? kSmallActive : kNormal, kSpellColumn, row,
               kSmallText);
      if (!over) continue;
      SetHint("Pick Spell");
      CursorShape = 4;
      if (TakeLeftClick()) PushPage("Spell Selection", kPageSpellPick, member_);
    }
    if (toPick > 0) Refuse(Missing::kSpells);
  }

  bool BottomButton(const char* text, int column, int32_t label, bool active, const char* hint) {
    const bool over = idle_ && OverText(text, column, 26);
    PageText(text, !active ? kCaption : over ? kHighlighted : kButton, column, 26);
    if (!over) return false;
    hovered_ = label;
    SetHint(hint);
    if (active) CursorShape = 4;
    return active && TakeLeftClick();
  }

  void BottomButtons() {
    if (BottomButton("Cancel", 5, kHoverCancel, true, member_ == 0 ? "Main Menu" : "Previous Character")) Cancel();
    if (BottomButton("Reset", 13, kHoverReset, true, "Reset this Character")) {
      RollNewCharacter(member_);
      TextEntryMode = kTextEntryNone;
      s_.confirmed = s_.swapUsed = s_.rerollUsed = 0;
    }
    if (Editing()) Refuse(Missing::kName);
    const bool active = s_.complete == 1 && !Editing();
    const char* const refusals[] = {"", "Press Enter to Confirm Name", "Please Confirm Abilities",
                                    "Please Select Feats", "Please Select Spells"};
    const char* hint = active ? (member_ == 3 ? "Select Party Leader" : "Create Next Character")
                              : refusals[static_cast<int>(missing_)];
    if (BottomButton("Accept", 21, kHoverAccept, active, hint)) Accept();
    const bool overHelp = idle_ && OverText("Help", 29, 26);
    PageText("Help", overHelp ? kHighlighted : kButton, 29, 26);
    if (overHelp) {
      hovered_ = kHoverHelp;
      CursorShape = 4;
      if (TakeLeftClick() || TakeRightClick()) OpenPage("Character_Index", 20000);
    }
  }

  // Back to the main menu from the first member, else to the member before,
  // whose panel shows locked; the name being typed is given up either way.
  void Cancel() {
    TextEntryMode = kTextEntryNone;
    if (member_ == 0) {
      if (PageDepth > 0) --PageDepth;
      s_.confirmed = s_.swapUsed = s_.rerollUsed = 0;
      NewPartyPending = 0;
      GameRunningFlag = 0;
      std::memset(s_.savedFlags, 0, sizeof s_.savedFlags);
      return;
    }
    s_.savedFlags[member_][0] = s_.swapUsed;
    s_.savedFlags[member_][1] = s_.rerollUsed;
    s_.savedFlags[member_][2] = s_.confirmed;
    s_.swapUsed = s_.rerollUsed = s_.confirmed = 1;
    ReplaceTopPage("Character Creation", kPageCharacterCreation, member_ - 1);
  }

  void Accept() {
    if (member_ == 3) {
      s_.swapUsed = s_.rerollUsed = s_.confirmed = 0;
    } else {
      s_.swapUsed = s_.savedFlags[member_ + 1][0];
      s_.rerollUsed = s_.savedFlags[member_ + 1][1];
      s_.confirmed = s_.savedFlags[member_ + 1][2];
    }
    c_.casterLevelAdjust = 1;
    if (c_.creatureClass == kClassCleric) SetSpellSlotsByLevel(1, member_, 0, 1);
    if (c_.creatureClass == kClassWizard) SetSpellSlotsByLevel(1, member_, 1, 1);
    if (member_ == 3) {
      ReplaceTopPage("Party Setup", kPagePartySetup, -1);
      CreationBypassFlag = 0;
    } else {
      NewPartyPending = 1;
      ReplaceTopPage("Character Creation", kPageCharacterCreation, member_ + 1);
    }
  }

  void EndOfFrame() {
    if (!ButtonHeld(0)) s_.draggedAbility = -1;
    if (s_.draggedAbility != -1) {
      char score[16];
      std::snprintf(score, sizeof score, "%.2i", s_.draggedScore);
      DrawTextAt(kDefaultColour, kLargeColumns, PointerX(), score, kHighlighted, 0, 0, kLargeText, PointerY() - 7, 1,
                 0);
      return;
    }
    PollPointerButtons();
    DrawMouseCursor();
    // The hint keeps off the page's texts, which lie close together here.
    if (HoverCaption[0]) DrawWrappedText(-1, HoverCaption, 0, -1, 0, 0);
  }

  const int member_;
  CreatureRecord& c_;
  CreationScreenState& s_;
  const bool idle_;  // no score is being dragged: the controls react
  int32_t hovered_ = -1;
  Missing missing_ = Missing::kNothing;
  bool featsDone_ = false;
};

}  // namespace

void DrawCharacterCreationScreen(int member) {
  LastScreenDrawn = "DrawCharacterCreationScreen";
  if (member < 0 || member >= kPartySize) return;
  CreationPage(member).Run();
}
