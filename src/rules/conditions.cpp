#include "rules/conditions.h"

#include "state/turn_order.h"
#include "engine/message_log.h"
#include "rules/creature_record.h"

namespace {

ConditionEntry* ListOf(int creature) { return Creatures[creature].conditions; }

void ClearEntry(ConditionEntry& e) { e = ConditionEntry{}; }

// The line a removal writes while combat is under way, for spell effects on
// a creature that is present and standing.
void LogRemoval(int creature, const ConditionEntry& e) {
  const CreatureRecord& c = Creatures[creature];
  if (!InCombat || e.source != kSourceSpell || c.present != 1 || c.hitPoints < 1) return;
  LogMessage("\xA3%s\xA3 loses effect: \xA3%s\xA3.\r", c.name, ConditionName(e.id));
}

// Whether the list holds an entry of the id, or a hole (an empty entry before
// the last) with an entry in use after it that CompactConditions would close.
bool HoldsIdOrHole(const ConditionEntry* list, uint32_t id) {
  int i = 0;
  for (; i < kConditionSlots - 1; ++i) {
    const ConditionEntry& e = list[i];
    if (e.id == id) return true;
    if (e.id == 0 && e.duration == 0) break;
  }
  if (i == kConditionSlots - 1) return list[i].id == id;
  // Past the first hole any entry in use, the id's or another, is to be moved up.
  uint32_t inUse = 0;
  for (++i; i < kConditionSlots; ++i) inUse |= list[i].id;
  return inUse != 0;
}

// Clears every entry of the same id, duration and source and sums their values.
int MergeEntries(int creature, uint32_t id, int32_t duration, uint32_t source) {
  int accumulated = 0;
  ConditionEntry* list = ListOf(creature);
  for (int i = 0; i < kConditionSlots; ++i) {
    ConditionEntry& e = list[i];
    if (e.id == id && e.duration == duration && e.source == source) {
      accumulated += e.value;
      ClearEntry(e);
    }
  }
  CompactConditions(creature);
  return accumulated;
}

}  // namespace

const char* ConditionName(uint32_t id) {
  return id < static_cast<uint32_t>(kConditionNameCount) ? ConditionNames[id] : ConditionNames[0];
}

std::string ConditionKeyword(uint32_t id) {
  std::string keyword = ConditionName(id);
  for (char& c : keyword)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return keyword;
}

bool IsAbilityDamageCondition(uint32_t id) {
  return (id >= 61 && id <= 65) || id == 71;
}

bool IsAbilityDrainCondition(uint32_t id) {
  return (id >= 66 && id <= 70) || id == 72;
}

bool IsIncapacitatingCondition(uint32_t id) {
  switch (id) {
    case 82: case 83: case 85: case 86: case 92: case 98:
    case 100: case 109: case 111: case 112: case 118: case 158:
      return true;
    default:
      return false;
  }
}

bool AddCondition(int creature, uint32_t id, int32_t duration, int32_t value, uint32_t source,
                  uint32_t param) {
  if (!IsValidCreature(creature)) return false;
  if (IsIncapacitatingCondition(id)) CancelReadiedAction(creature);

  const bool damage = IsAbilityDamageCondition(id);
  const bool drain = IsAbilityDrainCondition(id);
  const bool levelDrain = id == kCondLevelDrained;
  if (!damage && !drain && !levelDrain) RemoveCondition(creature, id);

  int accumulated = -1;
  if (damage && duration == kDurationUntilRest) {
    accumulated = MergeEntries(creature, id, duration, source);
  } else if (drain && duration == kDurationLasting) {
    accumulated = MergeEntries(creature, id, duration, source);
  } else if (levelDrain && (duration == kDurationLasting || duration == kDurationUntilRest)) {
    accumulated = MergeEntries(creature, id, duration, source);
  }

  const int slot = FreeConditionSlot(creature);
  if (slot == kNoFreeConditionSlot) return false;
  ConditionEntry& e = ListOf(creature)[slot];
  e.id = id;
  e.duration = duration;
  e.source = source;
  e.param = param;
  e.value = (accumulated != -1 && accumulated != 0) ? value + accumulated : value;
  CompactConditions(creature);
  return true;
}

int FindCondition(int creature, uint32_t id) {
  if (!IsValidCreature(creature)) return -1;
  const ConditionEntry* list = ListOf(creature);
  for (int i = 0; i < kConditionSlots; ++i) {
    const ConditionEntry& e = list[i];
    if (e.id == 0 && e.duration == 0) return -1;
    if (e.id == id && (e.duration > 0 || id == kCondSummonedCreature)) return i;
  }
  return -1;
}

int FindAnyCondition(int creature, int a, int b, int c, int d, int e, int f, int g, int h, int i,
                     int j, int k) {
  if (!IsValidCreature(creature)) return -1;
  const int given[11] = {a, b, c, d, e, f, g, h, i, j, k};
  int ids[11];
  int count = 0;
  ids[count++] = a;
  ids[count++] = b;
  for (int n = 2; n < 11 && given[n] != -1; ++n) ids[count++] = given[n];

  const ConditionEntry* list = ListOf(creature);
  for (int slot = 0; slot < kConditionSlots; ++slot) {
    const ConditionEntry& entry = list[slot];
    if (entry.id == 0 && entry.duration == 0) return -1;
    if (entry.duration <= 0) continue;
    for (int n = 0; n < count; ++n) {
      if (static_cast<int64_t>(entry.id) == ids[n]) return slot;
    }
  }
  return -1;
}

int RemoveCondition(int creature, uint32_t id) {
  if (!IsValidCreature(creature)) return 0;
  int removed = 0;
  ConditionEntry* list = ListOf(creature);
  // Most calls find no entry of the id in a list already closed up: then
  // there is nothing to remove and nothing to close.
  if (id != 0 && !HoldsIdOrHole(list, id)) return 0;
  for (int i = 0; i < kConditionSlots; ++i) {
    if (list[i].id != id) continue;
    LogRemoval(creature, list[i]);
    ClearEntry(list[i]);
    ++removed;
  }
  CompactConditions(creature);
  return removed;
}

int RemoveConditions(int creature, std::span<const uint32_t> ids) {
  if (!IsValidCreature(creature)) return 0;
  // In a closed-up list only the entries up to the last in use can hold an
  // id: the ids none of them holds are passed over, as their removal would
  // change nothing.
  const ConditionEntry* list = ListOf(creature);
  int span = 0;
  bool hole = false, closedUp = true;
  for (int i = 0; i < kConditionSlots; ++i) {
    const ConditionEntry& e = list[i];
    if (e.id == 0) {
      if (i < kConditionSlots - 1 && e.duration == 0) hole = true;
      continue;
    }
    if (hole) closedUp = false;
    span = i + 1;
  }
  size_t first = 0;
  if (closedUp) {
    for (; first < ids.size(); ++first) {
      if (ids[first] == 0) break;
      bool held = false;
      for (int i = 0; i < span && !held; ++i) held = list[i].id == ids[first];
      if (held) break;
    }
  }
  int removed = 0;
  for (size_t k = first; k < ids.size(); ++k) removed += RemoveCondition(creature, ids[k]);
  return removed;
}

int RemoveConditionIdFromSource(int creature, uint32_t id, uint32_t source) {
  if (!IsValidCreature(creature)) return 0;
  int removed = 0;
  ConditionEntry* list = ListOf(creature);
  for (int i = 0; i < kConditionSlots; ++i) {
    if (list[i].id != id || list[i].source != source) continue;
    LogRemoval(creature, list[i]);
    ClearEntry(list[i]);
    ++removed;
  }
  CompactConditions(creature);
  return removed;
}

int RemoveConditionBySource(int creature, uint32_t source) {
  if (!IsValidCreature(creature)) return 0;
  int removed = 0;
  ConditionEntry* list = ListOf(creature);
  for (int i = 0; i < kConditionSlots; ++i) {
    ConditionEntry& e = list[i];
    if (e.id < 1 || e.duration < 1 || e.source != source) continue;
    LogRemoval(creature, e);
    ClearEntry(e);
    removed = 1;
  }
  CompactConditions(creature);
  return removed;
}

int FreeConditionSlot(int creature) {
  if (!IsValidCreature(creature)) return kNoFreeConditionSlot;
  ConditionEntry* list = ListOf(creature);
  auto firstEmpty = [list]() {
    for (int i = 0; i < kConditionSlots; ++i)
      if (list[i].id == 0) return i;
    return -1;
  };
  int slot = firstEmpty();
  if (slot >= 0) return slot;
  if (PurgeExpiredConditions(creature)) {
    slot = firstEmpty();
    if (slot >= 0) return slot;
  }
  slot = PickConditionToReplace(creature);
  if (slot < 0) return kNoFreeConditionSlot;
  ClearEntry(list[slot]);
  return slot;
}

int PurgeExpiredConditions(int creature) {
  if (!IsValidCreature(creature)) return 0;
  int cleared = 0;
  ConditionEntry* list = ListOf(creature);
  for (int i = 0; i < kConditionSlots; ++i) {
    ConditionEntry& e = list[i];
    if (e.id >= 1 && e.id != kCondSummonedCreature && e.duration <= 0) {
      ClearEntry(e);
      cleared = 1;
    }
  }
  // Close the holes, or the finders would stop at them and miss the
  // conditions behind.
  if (cleared) CompactConditions(creature);
  return cleared;
}

int PickConditionToReplace(int creature) {
  if (!IsValidCreature(creature)) return -1;
  const ConditionEntry* list = ListOf(creature);
  int best = -1;
  for (int i = 0; i < kConditionSlots; ++i) {
    const ConditionEntry& e = list[i];
    if (e.id > 0 && e.duration >= 1 && e.duration <= 998) {
      if (best < 0 || e.duration < list[best].duration) best = i;
    }
  }
  if (best >= 0) return best;
  for (int i = kConditionSlots - 1; i >= 0; --i) {
    if (list[i].id > 0 && list[i].duration == kDurationUntilRest) return i;
  }
  return -1;
}

int CountFreeConditionSlots(int creature) {
  if (!IsValidCreature(creature)) return 0;
  PurgeExpiredConditions(creature);
  int free = 0;
  const ConditionEntry* list = ListOf(creature);
  for (int i = 0; i < kConditionSlots; ++i)
    if (list[i].id == 0) ++free;
  return free;
}

int CompactConditions(int creature) {
  if (!IsValidCreature(creature)) return 1;
  ConditionEntry* list = ListOf(creature);
  for (int i = 0; i < kConditionSlots - 1; ++i) {
    if (list[i].id != 0 || list[i].duration != 0) continue;
    do {
      bool later = false;
      for (int j = i + 1; j < kConditionSlots; ++j) {
        if (list[j].id > 0) {
          later = true;
          break;
        }
      }
      if (!later) return 1;
      for (int j = i; j < kConditionSlots - 1; ++j) list[j] = list[j + 1];
      ClearEntry(list[kConditionSlots - 1]);
    } while (list[i].id == 0);
  }
  return 1;
}

bool HasCondition(int creature, uint32_t id) { return FindCondition(creature, id) >= 0; }

int32_t ConditionValue(int creature, uint32_t id) {
  const int slot = FindCondition(creature, id);
  return slot < 0 ? 0 : Creatures[creature].conditions[slot].value;
}
