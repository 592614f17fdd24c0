// The inventory serving as an item picker (screen modes 12, 17 and 18): the
// item to enchant, the empty wand to charge, the item a spell aims at. The
// game's frame runs it in those modes.
#pragma once

// One frame of the picker; 0 ends the program.
int ItemPickerFrame();
// The wand picker's choice: an empty wand the crafter holds is charged with
// the spell being prepared (50 charges, the picture of the spell's school,
// the spell's name when it had only a wand's name), the crafting costs are
// paid and its price rises by twice the gold; any other choice is left alone
// and costs nothing. The inventory opens again either way.
void WandChargeStep();
