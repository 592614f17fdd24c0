// Least version of the object list's held object, standing until the object
// list defines it: nothing is ever lifted.
#include "screens/game/held_object.h"

HeldObjectWords HeldObject;
