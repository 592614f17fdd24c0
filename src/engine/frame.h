// The per-frame operation's globals: what the frame draws, the animation
// counters every screen uses, and the debug switch.
#pragma once
#include <cstdint>

// What the frame draws: exploring, page view, the end screens, the local
// map, the player's targeting modes, the item pickers and the steps of casting.
enum ScreenModeId : uint32_t {
  kModeExploring = 0,
  kModeResting = 1,
  kModeCreatureHovered = 3,
  kModePageView = 4,
  kModeItemPileHovered = 5,
  kModeExamine = 6,         // a creature examined while a Control key is held
  kModeDefeat = 7,
  kModeVictory = 8,
  kModeLocalMap = 9,
  kModeTargetFirst = 10,    // 10 to 16: the player's targeting modes, by the targeting kind
  kModeItemTarget = 12,     // the inventory picks the item a pending spell aims at
  kModeTargetCone = 14,
  kModeTargetLine = 15,
  kModeWakeSomeone = 16,
  kModeTargetLast = 16,
  kModeWandPicker = 17,     // the inventory picks the item that becomes a wand
  kModeEnchantPicker = 18,  // the inventory picks the item to enchant
  kModeEndOfIntro = 19,     // the end of the introductory adventure
  kModeCastAnnounce = 20,   // the steps of casting: announcement,
  kModeCastResolve = 21,    // resolution,
  kModeCastStart = 22,      // start,
  kModeCastChecks = 23,     // casting checks,
  kModeCastSpend = 24,      // spending the spell and checking the target
};
extern uint32_t ScreenMode;
// Animation counters of all screens: AnimationStep 0 to 7, AnimationCycle 0 to 99.
extern uint32_t AnimationStep;
extern uint32_t AnimationCycle;
// Toggled by a key; writes trace lines to the message log and beeps on refused drawing.
extern uint8_t DebugMode;
// Puts the words above back to their start-up values (a process started
// afresh: a new game keeps the animation running and the debug switch).
void ResetEngineFrameWords();
