// The combat events shown over their creature: a blow that kills, carried out
// frame by frame by the action executor, and each kind of event drawn alone
// on its first and second frames.
#include "screens/game/panels_fixture.h"

#include "combat/actions/executor_fixture.h"
#include "engine/graphics.h"
#include "engine/random.h"
#include "engine/settings.h"
#include "engine/sound.h"
#include "engine/sprite_sheets.h"
#include "map/square_grids.h"
#include "rules/conditions.h"
#include "rules/recompute_creature.h"
#include "screens/game/creature_figures.h"
#include "screens/game/floating_texts.h"
#include "state/combat_events.h"
#include "state/current_cast.h"
#include "state/inventory_state.h"
#include "combat/actions/combat_sounds.h"

namespace {

using panelstest::kGnoll;
using panelstest::LayOutBattle;
using screentest::GameScreen;

constexpr uint32_t kRed = 0xFFFF0000u;
constexpr int kDeathSound = 11;

// The battle of the panels' tests with Aldric armed and acting, and the
// gnoll down to its last hit point.
void ArmForBattle() {
  LayOutBattle();
  executorfixture::MakeWeapons();
  for (int id : {0, kGnoll}) {
    CreatureRecord& c = Creatures[id];
    c.creatureClass = 1;
    c.level = c.effectiveLevel = 1;
    c.size = {3, 3};
    c.baseAttack = {30, 30};
    c.equipment[kSlotRightHand - 1] = executorfixture::kSword;
    RecomputeCreature(id, 1);
  }
  Creatures[kGnoll].hitPoints = 1;
  CombatAction.fullRoundActionLeft = CombatAction.standardActionLeft = 1;
  CombatAction.reactingCreature = -1;
  ActingCreature = 0;
  BuildOccupancyGrids(0);
}

// What one frame showed of the playback over the target.
struct Shown {
  uint32_t index;        // the event on display
  int32_t type;
  bool redFlash;         // the target drawn again as a red silhouette
  bool blowSound;        // the blow's sound request was played (and cleared)
  bool deathSound;       // the death's sound started on channel 22
  std::string word;      // the word over the target when it was new this frame
};

TEST_F(GameScreen, ABlowThatKillsShowsTheDamageThenTheDeathEachForTheEventPace) {
  for (int32_t accelerated : {0, 1}) {
    ArmForBattle();
    OptionWords[kOptionAcceleratedCombat] = accelerated;
    ApplyCombatSpeedOption();
    const int pace = FramesPerEvent;
    EXPECT_EQ(pace, accelerated ? 22 : 45);
    SeedRandomForTests(3);
    executorfixture::Order(kActionMeleeAttack, kGnoll);
    harness::MoveMouse(100, 200);

    std::vector<Shown> frames;
    for (int f = 0; f < 200 && Creatures[kGnoll].present == 1; ++f) {
      std::vector<SheetDraw> draws;
      RecordSheetDraws(&draws);
      const int32_t textLeft = FloatingTexts[kGnoll].framesLeft;
      const bool pending = PendingCombatSound.pending == 1;
      harness::StepFrames(1);
      RecordSheetDraws(nullptr);
      if (PlaybackCreature != kGnoll) continue;
      Shown s{CombatEventReadIndex, CombatEvents[CombatEventReadIndex].type, false, pending && PendingCombatSound.pending == 0,
              false, ""};
      for (const SheetDraw& d : draws) s.redFlash |= d.kind == 2 && d.colour == kRed;
      s.deathSound = SoundChannels[22].playing == 1 && SoundChannels[22].sample.data == SoundSamples[kDeathSound].data &&
                     CombatEvents[CombatEventReadIndex].soundPlayed == 1;
      if (FloatingTexts[kGnoll].framesLeft > textLeft) s.word = FloatingTexts[kGnoll].text;
      frames.push_back(s);
    }
    ASSERT_EQ(Creatures[kGnoll].present, 0) << "the death takes the gnoll off the map";
    // The blow has been counted once when the screen first draws it; the
    // death is drawn from its first frame on.
    ASSERT_EQ(frames.size(), static_cast<size_t>(2 * pace - 1));
    const size_t deathFrom = static_cast<size_t>(pace - 1);
    for (size_t f = 0; f < frames.size(); ++f) {
      const Shown& s = frames[f];
      const bool death = f >= deathFrom;
      EXPECT_EQ(s.index, death ? 1u : 0u) << f;
      EXPECT_EQ(s.type, death ? kEventDeath : CombatEvents[0].type) << f;
      // The silhouette flashes on the even counts of the death only.
      EXPECT_EQ(s.redFlash, death && (pace - static_cast<int>(f - deathFrom)) % 2 == 0) << f;
      EXPECT_EQ(s.word, f == deathFrom ? "Dead" : "") << f;
      EXPECT_EQ(s.blowSound, f == 0) << f;
    }
    EXPECT_FALSE(frames[deathFrom].deathSound);
    EXPECT_TRUE(frames[deathFrom + 1].deathSound) << "the death's sound starts on its second frame";
  }
}

// The game screen drawn alone (without the executor counting the event
// down) on the first or second frame of the current event.
struct Drawn {
  std::vector<SheetDraw> sheets;
  std::string number;  // the glyphs drawn across the figure's centre
  std::string word;    // the floating text over the creature
};

Drawn DrawEventFrame(int creature, int frame) {
  PlaybackFramesLeft = FramesPerEvent - frame;
  FloatingTexts[creature] = FloatingTextEntry{};
  Drawn d;
  std::vector<GlyphDraw> glyphs;
  RecordSheetDraws(&d.sheets);
  RecordGlyphs(&glyphs);
  BeginScene();
  GameScreenFrame(11, 14);
  EndScene();
  RecordGlyphs(nullptr);
  RecordSheetDraws(nullptr);
  int cx = 0, cy = 0;
  FigureCentre(creature, &cx, &cy);
  int left = 1000;
  for (const GlyphDraw& g : glyphs)
    if (g.y == cy - 4 && g.x < left) left = g.x;
  for (const GlyphDraw& g : glyphs) {
    if (g.y != cy - 4) continue;
    const size_t at = static_cast<size_t>((g.x - left) / 8);
    if (d.number.size() <= at) d.number.resize(at + 1, ' ');
    d.number[at] = static_cast<char>(g.c);
  }
  d.word = FloatingTexts[creature].text;
  return d;
}

void Queue(std::initializer_list<CombatEvent> events, int creature) {
  ClearCombatEvents();
  ClearExtraDamageEvents();
  int i = 0;
  for (const CombatEvent& e : events) CombatEvents[i++] = e;
  PlaybackCreature = creature;
}

bool DrewFrame(const Drawn& d, int sheet, int frame) {
  for (const SheetDraw& s : d.sheets)
    if (s.kind == 0 && s.slot == sheet && s.frame == frame) return true;
  return false;
}

TEST_F(GameScreen, EachKindOfEventShowsItsWordEffectAndNumber) {
  LayOutBattle();
  CombatState = kStateActionUnderWay;
  FramesPerEvent = 45;
  struct Case {
    int32_t type, value;
    const char* word;
    int sheet, frame;  // 0: no sheet frame
    const char* number;
  } cases[] = {
      {53, 0, "Absorbed", 0, 0, ""},
      {53, 12, "Absorbed (12)", 0, 0, ""},
      {12, 2, "", 37, 24, "STR 2"},
      {1, 7, "", 16, 24, "7"},
      {1, 8, "", 47, 15, "8"},
      {58, 0, "Saved (Fortitude)", 0, 0, ""},
      {59, 4, "Immunity (Death)", 0, 0, ""},  // a word alone, never its value
      {24, 3, "Paralyzed", 0, 0, ""},         // an animated effect shows no number
      {28, 9, "Vorpal Weapon", 47, 19, "9"},
      {32, 2, "", 47, 13, "LVL 2"},
      {33, 5, "", 0, 0, "5"},  // a type without an effect shows its value alone
  };
  for (const Case& c : cases) {
    Queue({{c.type, c.value, kGnoll, 0, 0}}, kGnoll);
    const Drawn first = DrawEventFrame(kGnoll, 0);
    EXPECT_EQ(first.word, c.word) << c.type << "/" << c.value;
    if (c.sheet != 0) {
      EXPECT_TRUE(DrewFrame(first, c.sheet, c.frame)) << c.type << "/" << c.value;
    }
    EXPECT_EQ(first.number, c.number) << c.type << "/" << c.value;
    // Later frames keep the effect and number, without the word again.
    const Drawn later = DrawEventFrame(kGnoll, 5);
    EXPECT_EQ(later.word, "") << c.type;
    EXPECT_EQ(later.number, c.number) << c.type;
  }

  // A death: a destroyed undead flashes red on even counts; a summoned
  // creature is expelled whatever else it is.
  Creatures[kGnoll].type = kTypeUndead;
  AddCondition(kGnoll, kCondDead, 1000, 0, 24, 0);
  Queue({{kEventDeath, 0, kGnoll, 0, 0}}, kGnoll);
  const auto red = [](const Drawn& d) {
    for (const SheetDraw& s : d.sheets)
      if (s.kind == 2 && s.colour == kRed) return true;
    return false;
  };
  const Drawn first = DrawEventFrame(kGnoll, 0);
  EXPECT_EQ(first.word, "Destroyed");
  EXPECT_FALSE(red(first)) << "45 frames left: odd";
  EXPECT_TRUE(red(DrawEventFrame(kGnoll, 1)));
  AddCondition(kGnoll, kCondSummonedCreature, 1000, 0, 24, 0);
  EXPECT_EQ(DrawEventFrame(kGnoll, 0).word, "Expelled");

  // The attacker's extra pair shows its value, even 0.
  Queue({}, kGnoll);
  ExtraDamageEvents[0] = {kEventFireDamage, 0, 0, 0, 0};
  ExtraDamageShowing = 1;
  const Drawn extra = DrawEventFrame(kGnoll, 3);
  EXPECT_EQ(extra.number, "0");
  EXPECT_TRUE(DrewFrame(extra, 47, 12));
}

TEST_F(GameScreen, AnEventsSoundPlaysOnceOnItsSecondFrame) {
  LayOutBattle();
  CombatState = kStateActionUnderWay;
  FramesPerEvent = 45;
  const int sound = 38;
  Queue({{kEventCondition, 0, kGnoll, sound, 0}, {kEventFreed, 0, kGnoll, 0, 0}}, kGnoll);
  const auto playing = [&] { return SoundChannels[22].playing == 1 && SoundChannels[22].sample.data == SoundSamples[sound].data; };
  StopChannel(22);
  DrawEventFrame(kGnoll, 0);
  EXPECT_FALSE(playing()) << "not on the first frame";
  DrawEventFrame(kGnoll, 1);
  EXPECT_TRUE(playing());
  EXPECT_EQ(CombatEvents[0].soundPlayed, 1);
  StopChannel(22);
  DrawEventFrame(kGnoll, 1);  // the count restarted on the same event
  EXPECT_FALSE(playing()) << "a played sound never plays again";
  // An event without a sound plays nothing.
  CombatEventReadIndex = 1;
  DrawEventFrame(kGnoll, 1);
  EXPECT_FALSE(SoundChannels[22].playing == 1);
}

}  // namespace
