// The queue of combat events the game screen plays back (floating texts,
// deaths, sounds).
#pragma once
#include <cstdint>

constexpr int kCombatEventCount = 10;

// What an event shows.
enum CombatEventType : int32_t {
  kEventNone = -1,
  kEventDamage = 1,      // 1 to 3: the damage kinds
  kEventBleedingDamage = 3,
  kEventFireDamage = 4,
  kEventAcidDamage = 7,
  kEventDeath = 40,
  kEventHealed = 41,     // hit points regained
  kEventCondition = 45,  // a condition taken
  kEventFreed = 46,      // a condition ended
  kEventGrow = 47,       // a size change back up
  kEventShrink = 48,     // a size change back down
  kEventFormEnds = 50,   // a summoning or a changed form ends
};

struct CombatEvent {
  int32_t type = kEventNone;  // a CombatEventType
  int32_t value = 0;
  int32_t creature = -1; // the creature the event concerns (for a death, the one that leaves)
  int32_t sound = 0;     // 0 none
  int32_t soundPlayed = 0;
};

extern CombatEvent CombatEvents[kCombatEventCount];
extern uint32_t CombatEventReadIndex;
// Frames an event stays on display.
extern int32_t EventDisplayTime;

// Empties the queue and its read index.
void ClearCombatEvents();
// Puts type, value and sound (a sample number, not yet played) into the first event.
void SetFirstCombatEvent(int32_t type, int32_t value, int32_t sound);
// An entry that holds nothing to show (as constructed, or cleared).
inline bool IsEmptyCombatEvent(const CombatEvent& e) { return (e.type == -1 || e.type == 0) && e.value == 0; }

// The two events an attack keeps for the damage its attacker takes from the
// target's energy defence (and the attacker's fall), shown over the attacker
// after the main queue; whether they are being shown and which one.
constexpr int kExtraDamageEventCount = 2;
extern CombatEvent ExtraDamageEvents[kExtraDamageEventCount];
extern CombatEvent (&AttackerEventQueue)[kExtraDamageEventCount];
extern uint8_t ExtraDamageShowing;
extern int32_t ExtraDamageIndex;
void ClearExtraDamageEvents();

// Implemented by the game screen: a text (at most 29 characters) rising over
// the creature; false when it could not be shown.
bool ShowFloatingText(int creature, const char* text);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetCombatEventsState();
