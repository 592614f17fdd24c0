// What the party carries, as the adventure's item commands and the pages
// that ask about the party's things see it.
#pragma once
#include <cstdint>

// True when the four party members together hold at least one item of that
// code (5,001 and above): in a carried pair or the ammunition slot (by
// count) or in an equipment slot.
bool PartyHasItem(uint32_t code);
