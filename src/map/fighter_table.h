// Building the fighter table of the current map.
#pragma once

// Slots 0 to 3 the party, then every present creature of the current map in
// id order; writes each creature's fighter-slot field (-1 for creatures not on it).
void BuildFighterTable();
