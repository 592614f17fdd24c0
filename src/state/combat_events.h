// The queue of combat events the game screen plays back (floating texts,
// deaths, sounds).
#pragma once
#include <cstdint>

constexpr int kCombatEventCount = 10;
// Writers keep at most this many events, so that the entry after the last
// one written is always empty and every reader finds the end of the list.
constexpr int kCombatEventsKept = kCombatEventCount - 1;

// What an event shows.
enum CombatEventType : int32_t {
  kEventNone = 0,        // an empty entry: type and value 0 end the list
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

// An empty entry is all zero, as constructed and as cleared.
struct CombatEvent {
  int32_t type = kEventNone;  // a CombatEventType
  int32_t value = 0;
  int32_t creature = 0;  // the creature the event concerns (for a death, the one that leaves)
  int32_t sound = 0;     // 0 none
  int32_t soundPlayed = 0;
};
static_assert(sizeof(CombatEvent) == 20);

extern CombatEvent CombatEvents[kCombatEventCount];
extern uint32_t CombatEventReadIndex;
// Frames an event stays on display.
extern int32_t EventDisplayTime;

// Empties the queue and its read index.
void ClearCombatEvents();
// Puts type, value and sound (a sample number, not yet played) into the first event.
void SetFirstCombatEvent(int32_t type, int32_t value, int32_t sound);
// An entry that ends the list: type and value both 0 (as constructed, or
// cleared; no writer stores a type 0 with a value).
inline bool IsEmptyCombatEvent(const CombatEvent& e) { return e.type == kEventNone && e.value == 0; }
// The first empty entry among the kept ones, where the next event goes; -1
// when all of them hold events.
int FirstFreeCombatEvent();
// Where a fall event goes after the events written: the first free entry,
// else the last kept one (the fall replaces the last event).
int FallEventEntry();

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
