// Finding a free row of the crafted item table.
#pragma once

// The first crafted row (1 to 4,700, below the generated and prepared rows)
// whose name is empty; -1 when none.
int FindFreeItemSlot();
