// Conditions: the 50-entry list every creature carries, the condition name
// table (which also names the sources of modifier breakdowns) and the list
// operations with their stacking, displacement and compaction rules.
#pragma once
#include <cstddef>
#include <cstdint>

// One slot of a creature's condition list; id 0 marks an empty slot.
struct ConditionEntry {
  uint32_t id;        // row of ConditionNames
  int32_t duration;   // rounds left; 1000 and 2000 last until removed; 0 or less expired
  uint32_t source;    // equipment slot 1-12 for worn items, 18 spell effects, 21 magic areas...
  uint32_t param;     // a further parameter given by the caller
  int32_t value;      // magnitude; for Grappling and Pinned the partner's creature id
};
static_assert(sizeof(ConditionEntry) == 20);
static_assert(offsetof(ConditionEntry, duration) == 4);
static_assert(offsetof(ConditionEntry, source) == 8);
static_assert(offsetof(ConditionEntry, param) == 12);
static_assert(offsetof(ConditionEntry, value) == 16);

constexpr int kConditionSlots = 50;
