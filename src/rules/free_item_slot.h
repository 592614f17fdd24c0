// Finding a free row of the crafted item table.
#pragma once

// The highest row FindFreeItemSlot hands out unless asked for fewer: the
// rows below the generated and prepared ones.
constexpr int kLastFreeItemRow = 4700;

// The first crafted row from 1 to lastRow (at most 4,700) whose name is
// empty; -1 when none.
int FindFreeItemSlot(int lastRow = kLastFreeItemRow);
