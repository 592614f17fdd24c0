// The icon of each spell (a figure drawn with DrawFigureIcon), one per spell
// row, shown in every list of spells.
#pragma once
#include <cstdint>

#include "rules/item_tables.h"  // kSpellRows

extern const int32_t SpellIconTable[kSpellRows];
