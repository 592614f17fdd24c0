// The "Feats and Abilities" page of a creature (page type 3): one
// alphabetical list of everything special about it, each line a link to the
// help page that explains it.
#pragma once
#include <cstdint>

constexpr int kAbilityEntries = 500;
constexpr int kAbilityRowsShown = 23;

struct AbilityEntry {
  char name[40];  // NUL-ended; an empty name ends the list
  uint32_t helpPage;
};
static_assert(sizeof(AbilityEntry) == 44);

// The first entry shown.
extern int32_t AbilityListScroll;

// Gathers the creature's entries into the array (emptied first) and sorts
// them by name, byte by byte; returns how many there are.
int GatherAbilityEntries(int creature, AbilityEntry (&entries)[kAbilityEntries]);
// Draws the entries from AbilityListScroll, at most 23 rows; 1 when it met
// the empty entry that ends the list, 0 when it drew 23 rows.
int DrawAbilityListRows(const AbilityEntry* entries);
