// The end of the game screen's frame: the cursor (or the object held on it,
// or the icon of the spell being aimed) with its hint and hit chance.
#pragma once
#include <cstdint>

// Set while the left button drags the thumb of a scroll bar (the combat-rolls
// panel, the scrolling lists): the end of the frame then leaves the pointer
// buttons alone. Whoever starts a drag sets it; it is cleared whenever the
// left button is up.
extern uint8_t ScrollThumbDrag;
inline uint8_t& LogScrollDragged = ScrollThumbDrag;
