// The game screen's look-up of a help page by id.
#pragma once
#include <cstdint>

// The index (0 to 1,099) of the first help page with that id, -1 when none.
int FindHelpPage(uint32_t id);
