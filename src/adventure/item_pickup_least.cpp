// A least version of taking the objects of a square, standing until the
// adventure's own object and inventory rules replace it: nothing is taken.
#include "state/inventory_state.h"

bool PickUpSquareItem(int, int32_t) { return false; }
