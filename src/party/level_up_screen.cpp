// The level-up page (page type 132): a party member whose level has just
// risen raises an ability every fourth level, picks the level's new feats
// and spells on their own pages, sees the hit points it gains, and then
// keeps the level ("Accept") or gives it back ("Cancel").
#include "party/level_up_screen.h"

#include <cstdio>
#include <cstring>

#include "combat/resolution/spell_keywords.h"
#include "combat/turns/turn_routines.h"
#include "creatures/control_tendencies.h"
#include "engine/click_sound.h"
#include "engine/designated_lists.h"
#include "engine/frame.h"
#include "engine/last_screen.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/settings.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "party/level_up_rules.h"
#include "party/level_up_words.h"
#include "party/new_characters.h"
#include "party/page_controls.h"
#include "party/party_screens.h"
#include "rules/breakdown_sources.h"
#include "rules/creature_record.h"
#include "rules/feat_names.h"
#include "rules/modifier_list.h"
#include "rules/recompute_creature.h"
#include "rules/spell_slots.h"
#include "screens/game/action_state.h"
#include "state/game_progress.h"
#include "state/game_screen_words.h"

LevelUpScreenState LevelUpState;

namespace {

// Text styles of the page.
constexpr int kHighlighted = 2, kCaption = 4, kNormal = 5, kButton = 6, kValue = 7, kSmallActive = 9;
constexpr int32_t kCharacterLevelsHelp = 21002;
constexpr int kFeatRowColumn = 15, kFirstFeatRow = 21, kFirstSpellRow = 26;

const char* const kAbilityRows[kAbilityCount] = {"Strength:     %i", "Dexterity:    %i", "Constitution: %i",
                                                 "Intelligence: %i", "Wisdom:       %i", "Charisma:     %i"};

// The hit points a level's die and Constitution give, at least 1.
int32_t LevelHitPoints(int member) {
  ModifierList list;
  return BuildHitPointBonus(member, &list);
}

// 3 for each TOUGHNESS picked at this level.
int32_t ToughnessHitPoints() {
  int32_t points = 0;
  for (int choice : {kPendingFirstFeat, kPendingSecondFeat})
    if (PendingLevelUpChoices[choice] == kFeatToughness) points += 3;
  return points;
}

// A Constitution raised into a higher modifier: one for each earlier level.
int32_t EarlierLevelsHitPoints(const CreatureRecord& c, bool constitutionRaised) {
  const int32_t con = c.constitution.base;
  return constitutionRaised && AbilityModifier(con - 1) < AbilityModifier(con) ? c.level - 1 : 0;
}

void AddHitPoints(CreatureRecord& c, int32_t points) {
  c.baseHitPoints += points;
  c.maxHitPoints += points;
  c.hitPoints += points;
}

// Takes a feat off the creature again (TOUGHNESS one point).
void DropFeat(CreatureRecord& c, int32_t feat) {
  if (feat < 0 || feat >= kFeatFlags) return;
  if (feat == kFeatToughness) {
    if (c.feats[feat] > 0) --c.feats[feat];
  } else {
    c.feats[feat] = 0;
  }
}

void DropSpell(CreatureRecord& c, int32_t spell) {
  if (spell >= 0 && spell < kKnownSpellFlags) c.knownSpells[spell] = 0;
}

// Back to the game screen with an empty page history and nothing hovered
// or selected.
void ReturnToGame() {
  SetFirstPage("", 0, 0);
  SavedScreenMode = kModeExploring;
  ResetActionState();
}

// The level achievements, reported through the store client when it is in use.
void ReportLevelAchievements(int32_t level) {
  if (!AchievementsClientAvailable()) return;
  int fresh = 0;
  auto grant = [&](int slot, const char* identifier) {
    if (AchievementProgress[slot] == 0) {
      AchievementProgress[slot] = 1;
      ++fresh;
    }
    ReportAchievement(identifier);
  };
  if (IntroductoryAdventureFlag == 1) {
    if (DemoChosenFlag == 0 && level >= 4) grant(0, "ACHIEVEMENT_ADVENTURER");
  } else if (OptionWords[kOptionIronmanMode] == 1) {
    static const struct {
      int32_t level;
      int slot;
      const char* identifier;
    } kLevels[] = {{2, 95, "ACHIEVEMENT_JOURNEYMAN"}, {5, 96, "ACHIEVEMENT_ADEPT"}, {10, 97, "ACHIEVEMENT_EXPERT"},
                   {15, 98, "ACHIEVEMENT_MASTER"},    {20, 99, "ACHIEVEMENT_GRANDMASTER"}};
    for (const auto& l : kLevels)
      if (level >= l.level) grant(l.slot, l.identifier);
  }
  if (fresh > 0) SubmitPartyScore(fresh);
  SubmitPartyScore(0);
}

class LevelUpPage {
 public:
  explicit LevelUpPage(int member) : member_(member), c_(Creatures[member]), s_(LevelUpState) {}

  void Run() {
    KeepPartyPageMusic();
    DrawScreenBackdrop();
    ClearHint();
    CursorShape = 29;
    Heading();
    AbilityStep();
    Feats();
    Spells();
    HitPoints();
    if (BottomButtons()) return;
    PollPointerButtons();
    DrawMouseCursor();
    if (HoverCaption[0]) DrawWrappedText(-1, HoverCaption, 0, -1, 0, 0);
  }

 private:
  void Heading() {
    char name[sizeof c_.name + 1] = {};
    std::memcpy(name, c_.name, sizeof c_.name);
    const int column = 7 + static_cast<int>(std::strlen(name));
    PageText(name, kNormal, 7, 2);
    PageText("reaches level", kCaption, column + 1, 2);
    DrawTextF(kValue, column + 15, 2, "%i", c_.level);
  }

  void AbilityStep() {
    PageText("Ability Score Increase:", kCaption, 5, 7);
    if (!IsAbilityIncreaseLevel(c_.level)) {
      PageText("No ability increase", kNormal, 5, 9);
      PageText("at this level", kNormal, 5, 10);
      s_.abilityStepDone = 1;
      return;
    }
    for (int a = 0; a < kAbilityCount; ++a) {
      char row[32];
      std::snprintf(row, sizeof row, kAbilityRows[a], BaseAbility(member_, a));
      const int line = 11 + a;
      const bool over = !s_.abilityStepDone && OverText(row, 15, line, kSmallText);
      PageText(row, s_.abilityStepDone ? kCaption : over ? kHighlighted : kNormal, 15, line, kSmallText);
      if (!over) continue;
      CursorShape = 4;
      if (TakeRightClick()) {
        OpenPage(AbilityNames[a], kAbilityHelpPageBase + a);
      } else if (TakeLeftClick()) {
        ++BaseAbility(member_, a);
        s_.abilityStepDone = 1;
        if (a == 2) s_.constitutionRaised = 1;
      }
    }
  }

  // The choices of one kind a level brings (feats or spells).
  struct ChoiceRows {
    const char* caption;  // "New Feats:"
    int countColumn, captionRow, firstRow;
    const char* none;     // shown when the level brings none
    const char* pick;     // "Pick a Feat"
    int firstChoice;      // its first entry of PendingLevelUpChoices
    int32_t* slotCounter;
    const char* pageCaption;
    int32_t page;
  };

  // The rows of the level's choices of a kind; true when they are all made.
  // A usable row is picked again on its page (the old pick taken back
  // first) and opens the help of its pick on a right click.
  template <typename Name, typename Help, typename Drop>
  bool Choices(const ChoiceRows& r, int count, bool usable, Name name, Help help, Drop drop) {
    PageText(r.caption, kCaption, 5, r.captionRow);
    DrawTextF(kValue, r.countColumn, r.captionRow, "%i", count);
    if (count == 0) {
      PageText(r.none, kNormal, kFeatRowColumn, r.firstRow, kSmallText);
      return true;
    }
    const int32_t first = PendingLevelUpChoices[r.firstChoice];
    const bool done = first >= 0 && (count == 1 || PendingLevelUpChoices[r.firstChoice + 1] >= 0);
    for (int k = 0; k < count && k < 2; ++k) {
      const int row = r.firstRow + k;
      if (!usable) {
        PageText(r.pick, kCaption, kFeatRowColumn, row, kSmallText);
        continue;
      }
      const int32_t chosen = PendingLevelUpChoices[r.firstChoice + k];
      const char* text = chosen >= 0 ? name(chosen) : r.pick;
      const bool over = OverText(text, kFeatRowColumn, row, kSmallText);
      PageText(text, over ? kHighlighted : chosen >= 0 ? kNormal : kSmallActive, kFeatRowColumn, row, kSmallText);
      if (!over) continue;
      CursorShape = 4;
      if (chosen >= 0 && TakeRightClick()) {
        help(chosen);
      } else if (TakeLeftClick()) {
        if (chosen >= 0) drop(chosen);
        *r.slotCounter = k == 1 && first >= 0 ? 2 : 1;
        ReplaceTopPage(r.pageCaption, r.page, member_);
        break;
      }
    }
    return done;
  }

  void Feats() {
    static const ChoiceRows kFeatChoiceRows = {"New Feats:", 16, 14, kFirstFeatRow, "No new feat at this level",
                                         "Pick a Feat", kPendingFirstFeat, &FeatSlotCounter, "Feat Selection",
                                         kPageFeatSelection};
    featsDone_ = Choices(
        kFeatChoiceRows, NewFeatCount(c_.creatureClass, c_.level), s_.abilityStepDone != 0,
        [](int32_t feat) { return feat < kFeatFlags ? FeatNameTable[feat] : ""; },
        [](int32_t feat) {
          if (feat < kFeatFlags) OpenPage(FeatDisplayNames[feat], kFeatHelpPageBase + feat);
        },
        [this](int32_t feat) { DropFeat(c_, feat); });
  }

  void Spells() {
    static const ChoiceRows kSpellChoiceRows = {"New Spells:", 17, 18, kFirstSpellRow, "None", "Pick a Spell",
                                          kPendingFirstSpell, &SpellSlotCounter, "Spell Selection",
                                          kPageSpellPick};
    spellsDone_ = Choices(
        kSpellChoiceRows, NewSpellCount(member_), s_.abilityStepDone && featsDone_,
        [](int32_t spell) { return spell < kKnownSpellFlags ? SpellKeywordTable[spell] : ""; },
        [](int32_t spell) {
          if (spell < kKnownSpellFlags) OpenPage(SpellKeywordTable[spell], SpellHelpPage(spell));
        },
        [this](int32_t spell) { DropSpell(c_, spell); });
  }

  // Everything "Accept" adds, as the page shows it: the level's die and
  // Constitution, the TOUGHNESS picked and the earlier levels' Constitution.
  void HitPoints() {
    ModifierList list;
    BuildHitPointBonus(member_, &list);
    if (const int32_t toughness = ToughnessHitPoints()) AddModifier(toughness, &list, kSrcAdditionalPoints);
    if (const int32_t earlier = EarlierLevelsHitPoints(c_, s_.constitutionRaised != 0))
      AddModifier(earlier, &list, kSrcHitPointsFromConstitution);
    const int32_t total = list.total;
    PageText("Hit Point Bonus:", kCaption, 5, 22);
    char number[16];
    std::snprintf(number, sizeof number, "%i", total);
    const bool over = OverText(number, 22, 22);
    PageText(number, over ? kHighlighted : kValue, 22, 22);
    if (!over) return;
    CursorShape = 4;
    if (TakeLeftClick()) {
      PageModifierList = list;
      PushPage("Hit Point Bonus", kPageModifierList, member_);
    }
  }

  // A button of the bottom row; true when a click was taken on it.
  bool Button(const char* text, int column, bool active, const char* hint) {
    const bool over = OverText(text, column, 26);
    PageText(text, !active ? kCaption : over ? kHighlighted : kButton, column, 26);
    if (!over) return false;
    if (hint) SetHint(hint);
    if (!active) return false;
    CursorShape = 4;
    return TakeLeftClick();
  }

  // True when the page was left.
  bool BottomButtons() {
    if (Button("Cancel", 7, true, nullptr)) {
      Cancel();
      return true;
    }
    const char* refusal = !s_.abilityStepDone ? "Please Select an Ability"
                          : !featsDone_       ? "Please Select Feats"
                          : !spellsDone_      ? "Please Select Spells"
                                              : nullptr;
    if (Button("Accept", 17, refusal == nullptr, refusal)) {
      Accept();
      return true;
    }
    if (Button("Help", 29, true, nullptr)) OpenPage("Character Levels", kCharacterLevelsHelp);
    return false;
  }

  void ClearChoices() {
    for (int32_t& choice : PendingLevelUpChoices) choice = -1;
    s_.abilityStepDone = 0;
    s_.constitutionRaised = 0;
    LevelUpPending = 0;
  }

  // Everything the level brought is given back: the values kept before the
  // level rose, the feats and spells picked.
  void Cancel() {
    PresentBackdropFrameNow();
    c_.level = LevelUpBackup[kBackupLevel];
    c_.casterLevelAdjust = LevelUpBackup[kBackupCasterLevel];
    c_.baseAttack.base = LevelUpBackup[kBackupBaseAttack];
    c_.fortitude.base = LevelUpBackup[kBackupFortitude];
    c_.reflex.base = LevelUpBackup[kBackupReflex];
    c_.willpower.base = LevelUpBackup[kBackupWillpower];
    for (int a = 0; a < kAbilityCount; ++a) BaseAbility(member_, a) = LevelUpBackup[kBackupStrength + a];
    DropFeat(c_, PendingLevelUpChoices[kPendingFirstFeat]);
    DropFeat(c_, PendingLevelUpChoices[kPendingSecondFeat]);
    DropSpell(c_, PendingLevelUpChoices[kPendingFirstSpell]);
    DropSpell(c_, PendingLevelUpChoices[kPendingSecondSpell]);
    ClearChoices();
    FeatSlotCounter = 0;
    SpellSlotCounter = 0;
    RecomputeCreature(member_, 0);
    ReturnToGame();
  }

  void Accept() {
    if (c_.spellsPerDay[0] > 0 && (c_.creatureClass == kClassCleric || c_.creatureClass == kClassWizard))
      SetSpellSlotsByLevel(c_.casterLevelAdjust, member_, c_.creatureClass == kClassWizard ? 1 : 0, 0);
    AddHitPoints(c_, ToughnessHitPoints());
    for (int32_t& choice : PendingLevelUpChoices) choice = -1;
    AddHitPoints(c_, EarlierLevelsHitPoints(c_, s_.constitutionRaised != 0));
    RecomputeCreature(member_, 0);
    AddHitPoints(c_, LevelHitPoints(member_));
    ClearChoices();
    SpellSlotCounter = 0;
    RecomputeCreature(member_, 0);
    ReturnToGame();
    SetPartyAiTendencies();
    ReportLevelAchievements(c_.level);
  }

  const int member_;
  CreatureRecord& c_;
  LevelUpScreenState& s_;
  bool featsDone_ = false;
  bool spellsDone_ = false;
};

}  // namespace

void DrawLevelUpScreen(int member) {
  LastScreenDrawn = "DrawLevelUpScreen";
  if (member < 0 || member >= kPartySize) return;
  LevelUpPage(member).Run();
}
