// The two keyword tables of the spells, one entry per spell row: the full
// keyword the log writes ("£Ayla£ casts @FIREBALL@") and help texts link to,
// and the short form the narrow lists and wand names show.
#pragma once

#include "rules/item_tables.h"

extern const char* const SpellKeywordTable[kSpellRows];
extern const char* const SpellShortKeywordTable[kSpellRows];

// The short keyword of a spell row ("" for an id outside the table). The full
// one is SpellKeywordFull (rules/casting_rules.h).
const char* SpellKeywordShort(int spell);
