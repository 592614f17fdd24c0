// The words of the item and spell sheets: the sentence on a base item's
// magic, the names of a spell's fields and the text of its saving throw.
#pragma once
#include <cstdint>

#include "rules/item_tables.h"

constexpr int kPropertiesSentenceSize = 300;

// The sentence on the magic of a base item of that type and bonus amount
// (a magic scroll's bonus is its spell row).
void ItemPropertiesSentence(int32_t baseType, int32_t bonus, char (&out)[kPropertiesSentenceSize]);

extern const char* const SchoolNames[9];        // 1 to 8; 0 has no name
extern const char* const SubschoolNames[13];
extern const char* const DescriptorNames[14];
extern const char* const CastingTimeNames[4];
extern const char* const RangeNames[6];
extern const char* const TargetKindNames[12];

// The text of a spell's saving throw ("" when its save word has no text).
const char* SpellSaveText(const SpellRecord& spell, int row);
