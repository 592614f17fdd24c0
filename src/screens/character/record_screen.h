// The character record (page type 1): one creature's values, its
// background text, attack lines and conditions, every value a link to the
// page that explains it, and the menu of the other pages.
#pragma once
#include <cstdint>

// The caret of the text being typed blinks: the counter runs every frame of
// the record and the caret shows while CaretVisible is 1.
extern uint32_t CaretBlinkCounter;
extern uint32_t CaretVisible;

// The neighbouring party member (0 to 3) with a name, before or after the
// given one, wrapping round; the member itself when no other has a name.
int PrevPartyMember(int member);
int NextPartyMember(int member);
