// The two keyword tables of the spells, one entry per spell row: the full
// form ("RAY_OF_ENFEEBLEMENT") names the spells in the log, the help links and
// wand names; the short form ("ENFEEBLEMENT") the narrow lists.
#pragma once

#include "rules/item_tables.h"

extern const char* const SpellKeywordTable[kSpellRows];
extern const char* const SpellShortKeywordTable[kSpellRows];

// The short keyword of a spell row ("" for an id outside the table). The full
// one is SpellKeywordFull (rules/casting_rules.h).
const char* SpellKeywordShort(int spell);
