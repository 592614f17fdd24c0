// The keywords that name the spells in the log, the help links and wand
// names: one per spell row, in the full form ("RAY_OF_ENFEEBLEMENT").
#pragma once

#include "rules/item_tables.h"

extern const char* const SpellKeywordTable[kSpellRows];
