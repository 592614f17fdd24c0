// The playback of the queued combat events over the creature they concern:
// in the figure pass the pending blow's sound, the event's word and the
// flashing silhouette of a death; in the label pass the event's own sound,
// its effect frame and the number or short text it shows.
#include "screens/game/event_playback.h"

#include <cstdio>
#include <cstring>

#include "combat/actions/combat_sounds.h"
#include "combat/turns/combat_cycle.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "screens/game/creature_figures.h"
#include "screens/game/floating_texts.h"
#include "screens/game/sounds_and_music.h"
#include "screens/game/square_drawing.h"
#include "screens/game/view_squares.h"
#include "screens/game/view_window.h"
#include "state/combat_events.h"
#include "state/current_cast.h"
#include "state/map_view_state.h"

// Read while a size change is shown; nothing sets it, so a figure takes its
// new size at once (no game state, no end).
float ResizeStartScale[2] = {0, 0};

namespace {

constexpr int kEventSoundChannel = 22;
constexpr uint32_t kDeathRed = 0xFFFF0000u, kFormEndsYellow = 0xFFFFFF00u, kPetrifiedGrey = 0xFF464646u;
constexpr int32_t kEventPetrified = 52;

// The creature the last debug trace named (the debug log's alone: no end).
int TracedCreature = -1;

// The entry drawn last (creature, read index, extra pair shown and its index)
// and its count then; whether this frame is the first drawn of its entry.
// Renewed on every frame that draws an event (no end needed).
struct ShownEntry {
  int32_t creature = -1;
  uint32_t index = 0;
  uint8_t extra = 0;
  int32_t extraIndex = 0;
  int32_t framesLeft = 0;
  bool operator==(const ShownEntry&) const = default;
};
ShownEntry LastShown;
bool FirstFrameNow = false;

const CombatEvent& CurrentEvent() {
  static const CombatEvent kEmpty{};
  return CombatEventReadIndex < static_cast<uint32_t>(kCombatEventCount) ? CombatEvents[CombatEventReadIndex]
                                                                          : kEmpty;
}

CombatEvent& ShownExtraEvent() { return ExtraDamageEvents[ExtraDamageIndex == 1 ? 1 : 0]; }

// The first frame of an entry is the one whose count equals the pace; an
// attack's first entry has been counted once before the screen draws it, so
// the first frame drawn of an entry counts as its first too.
bool FirstFrame() { return FirstFrameNow; }
void NoteShownEntry(int creature) {
  ShownEntry now{creature, CombatEventReadIndex, ExtraDamageShowing, ExtraDamageIndex, PlaybackFramesLeft};
  ShownEntry sameCount = LastShown;
  sameCount.framesLeft = now.framesLeft;
  FirstFrameNow = PlaybackFramesLeft == FramesPerEvent || !(sameCount == now) ||
                  PlaybackFramesLeft > LastShown.framesLeft;
  LastShown = now;
}
bool SecondFrame() { return PlaybackFramesLeft == FramesPerEvent - 1; }

// The word shown over the creature on an event's first frame, by its type.
const char* EventWord(const CombatEvent& e) {
  switch (e.type) {
    case 57: return "Saved (Willpower)";
    case 58: return "Saved (Fortitude)";
    case 59: return "Immunity (Death)";
    case 60: return "Immunity (Disintegration)";
    case 61: return "Wrong Type";
    case 65: return "Immunity (Sleep)";
    case 67: return "Ineffective Weapon";
    default: return nullptr;
  }
}

void ShowEventWord(int creature, const CombatEvent& e) {
  if (e.type == 53) {
    char text[32];
    if (e.value > 0)
      std::snprintf(text, sizeof text, "Absorbed (%i)", e.value);
    else
      std::snprintf(text, sizeof text, "Absorbed");
    ShowFloatingText(text, creature);
    return;
  }
  if (const char* word = EventWord(e)) ShowFloatingText(word, creature);
}

// What a creature's fall shows: a summoned creature is expelled, a dead one
// dies (a construct or undead is destroyed), else it is knocked out.
const char* FallWord(int creature) {
  if (FindCondition(creature, kCondSummonedCreature) >= 0) return "Expelled";
  if (DebugMode == 1) LogMessage("Not a summoned creature.\r");
  if (FindCondition(creature, kCondDead) >= 0) {
    const int32_t type = Creatures[creature].type;
    return type == kTypeConstruct || type == kTypeUndead ? "Destroyed" : "Dead";
  }
  if (FindCondition(creature, kCondUnconscious) >= 0) return "Unconscious";
  return nullptr;
}

// The colour of the flashing silhouette, 0 when the shown event does not flash.
uint32_t FlashColour(const CombatEvent& current) {
  if (ExtraDamageShowing == 1) return ShownExtraEvent().type == kEventDeath ? kDeathRed : 0;
  switch (current.type) {
    case kEventDeath: return kDeathRed;
    case kEventFormEnds: return kFormEndsYellow;
    case kEventPetrified: return kPetrifiedGrey;
    default: return 0;
  }
}

// Main-queue types that show only what the figure pass shows.
bool ShowsNoEffect(int32_t type) {
  switch (type) {
    case 0: case 40: case 47: case 48: case 50: case 52: case 53: case 57: case 58: case 59: case 60: case 61:
    case 64: case 65:
      return true;
    default:
      return false;
  }
}

// The effect of an event: a sheet frame, a flash or sparks of n frames, or none;
// the short text shown in place of the number (a format with the value); the
// word shown on its first frame.
struct EventEffect {
  enum Kind { kNone, kFrame, kFlash, kSparks } kind = kNone;
  int sheet = 0, frame = 0;  // kFrame; for kFlash and kSparks frame is the frame count and sheet the variant
  const char* text = nullptr;
  const char* word = nullptr;
};

EventEffect Frame(int sheet, int frame, const char* text = nullptr, const char* word = nullptr) {
  return EventEffect{EventEffect::kFrame, sheet, frame, text, word};
}
EventEffect Flash(int variant, const char* word = nullptr) {
  return EventEffect{EventEffect::kFlash, variant, 7, nullptr, word};
}
EventEffect Sparks(int colour, const char* word = nullptr) {
  return EventEffect{EventEffect::kSparks, colour, 10, nullptr, word};
}

// The energy damage shown by both lists: fire, cold, electricity; acid;
// sonic, negative energy, force.
bool EnergyEffect(int32_t type, int32_t v, EventEffect* out) {
  switch (type) {
    case 4: case 5: case 6:
      *out = v < 20 ? Frame(47, 12) : Frame(36, 24);
      return true;
    case 7:
      *out = v < 20 ? Frame(47, 14) : Frame(37, 24);
      return true;
    case 8: case 9: case 10: case 11:
      *out = v < 20 ? Frame(47, 13) : Frame(47, 24);
      return true;
    default:
      return false;
  }
}

EventEffect MainEffect(const CombatEvent& e) {
  static const char* const kAbility[6] = {"STR %i", "DEX %i", "CON %i", "INT %i", "WIS %i", "CHA %i"};
  const int32_t v = e.value;
  EventEffect effect;
  if (EnergyEffect(e.type == 30 ? 4 : e.type, v, &effect)) return effect;
  switch (e.type) {
    case 1: case 2: case 3: case 29:
      return v <= 7 ? Frame(16, 24) : v <= 14 ? Frame(47, 15) : Frame(47, 19);
    case 12: case 13: case 14: case 15: case 16: case 17:
      return Frame(37, 24, kAbility[e.type - 12]);
    case 18: case 19: case 20: case 21: case 22: case 23:
      return Frame(47, 24, kAbility[e.type - 18]);
    case 25: return Frame(47, 19, "Bleeding");
    case 26: return Frame(47, 13);
    case 27: return Frame(47, 19, "Grappling");
    case 28: return Frame(47, 19, nullptr, "Vorpal Weapon");
    case 32: return Frame(47, 13, "LVL %i");
    case 34: case 35: return Frame(47, v < 7 ? 17 : 22);
    case 36: case 37: return Frame(47, v < 7 ? 18 : 23);
    case 41: return Frame(47, v < 15 ? 16 : 21);
    case 49: return Frame(47, 16, "STR %i");
    case 51: return Frame(47, 13, "AC %i");
    case 54: return Frame(47, 13, nullptr, "Disruption");
    case 24: return Flash(1, "Paralyzed");
    case 31: return Sparks(2, "Blind");
    case 42: return Flash(1);
    case 43: return Flash(5);
    case 44: return Flash(4);
    case 45: return Sparks(1);
    case 46: return Sparks(5);
    case 55: return Sparks(2, "Deafened");
    case 56: return Flash(1, "Asleep");
    case 62: return Sparks(1, "Bad Morale");
    case 63: return Sparks(5, "Awakened");
    case 66: return Sparks(2);
    default: return EventEffect{};
  }
}

// The event's own sound, once, on its second frame.
void PlayEventSound() {
  if (!SecondFrame() || MovementPlaybackActive != 0) return;
  CombatEvent* e = nullptr;
  if (ExtraDamageShowing == 1)
    e = &ShownExtraEvent();
  else if (CombatEventReadIndex < static_cast<uint32_t>(kCombatEventCount))
    e = &CombatEvents[CombatEventReadIndex];
  if (e == nullptr || e->sound == 0 || e->soundPlayed != 0) return;
  PlayChannelSound(kEventSoundChannel, e->sound, 0, 1, 0, 100);
  e->soundPlayed = 1;
  if (DebugMode == 1) LogMessage("Playing a sound\r");
}

}  // namespace

void PlayEventOverFigure(int creature, int sheet, int frame, int x, int y, float scaleX, float scaleY) {
  if (creature != PlaybackCreature || !IsValidCreature(creature)) return;
  NoteShownEntry(creature);
  SidePanelMode = 0;
  if (ScreenMode != kModeResting) CursorShape = 0;
  const CombatEvent& current = CurrentEvent();
  if (FirstFrame() && PendingCombatSound.pending == 1) {
    const CombatSoundRequest r = PendingCombatSound;
    PlayCombatSound(r.kind, r.item, r.value, r.flag);
  }
  if (DebugMode == 1 && creature != TracedCreature) {
    const CreatureRecord& c = Creatures[creature];
    LogMessage("Dis.dmg:%s %i %i\r", c.name, c.squareX, c.squareY);
    TracedCreature = creature;
  }
  if (FirstFrame()) ShowEventWord(creature, current);

  // A fall: its word on the first frame, the silhouette on every even count.
  const uint32_t flash = FlashColour(current);
  if (flash == 0) return;
  if (FirstFrame()) {
    if (DebugMode == 1) LogMessage("Displaying death animation.\r");
    if (current.type == kEventDeath)
      if (const char* word = FallWord(creature)) ShowFloatingText(word, creature);
  }
  if (PlaybackFramesLeft % 2 == 0) DrawSheetFrameSilhouette(sheet, frame, x, y, flash, scaleX, scaleY);
}

void PlayEventOverLabels(int creature) {
  if (creature != PlaybackCreature || !IsValidCreature(creature)) return;
  const CombatEvent& current = CurrentEvent();
  if (DebugMode == 1 && current.type == kEventAcidDamage) LogMessage("Counting down %i \r", PlaybackFramesLeft);
  PlayEventSound();

  const bool extra = ExtraDamageShowing == 1;
  if (ShowsNoEffect(current.type) && (!extra || ShownExtraEvent().type == kEventDeath)) return;
  const CombatEvent& shown = extra ? ShownExtraEvent() : current;
  EventEffect effect;
  if (extra)
    EnergyEffect(shown.type, shown.value, &effect);
  else
    effect = MainEffect(shown);

  int cx = 0, cy = 0;
  FigureCentre(creature, &cx, &cy);
  const int left = cx - 24, top = cy - 24;
  if (!extra && effect.word != nullptr && FirstFrame()) ShowFloatingText(effect.word, creature);
  switch (effect.kind) {
    case EventEffect::kFrame:
      DrawMapFrame(effect.sheet, effect.frame, left, top);
      break;
    case EventEffect::kFlash:
      DrawEffectFlash(EventAnimationFrame(effect.frame), left, top, effect.sheet);
      return;
    case EventEffect::kSparks:
      DrawEffectSparks(EventAnimationFrame(effect.frame), left, top, effect.sheet);
      return;
    case EventEffect::kNone:
      break;
  }

  // The number, or the short text the event shows in its place.
  char text[16] = {};
  if (extra || effect.text == nullptr) {
    if (!extra && shown.value == 0) return;
    std::snprintf(text, sizeof text, "%i", shown.value);
  } else {
    std::snprintf(text, sizeof text, effect.text, shown.value);
  }
  // Centred on the figure's centre.
  const int length = static_cast<int>(std::strlen(text)), half = GlyphStep() / 2;
  DrawEventAmount(creature, text, cx - half * length, cy - half);
}
