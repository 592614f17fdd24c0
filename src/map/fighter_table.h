// Building the fighter table of the current map.
#pragma once

// Slots 0 to 3 the party (wherever its members are), then every present
// creature of the current map in id order, at most 300 in all (more shows the
// error "Maximum number of characters reached on the map." and the rest get no
// slot). A creature that had a slot keeps its path, grids and saved form.
// Writes the fighter-slot field of each creature placed; others keep theirs.
void BuildFighterTable();
