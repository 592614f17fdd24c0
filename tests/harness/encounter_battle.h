// A battle of the road: the main adventure's prepared party, at level 1 and
// with the equipment it sets out with, meets one row of a region's random
// encounter table on the battlefields of the world map, as the travel does:
// the seed chooses the battlefield (maps 0 to 4) and the side the party comes
// in by, the map switch places the group, and the battlefield's own script
// asks whether to fight: the party fights, and the battle starts as that
// script starts it.
#pragma once
#include <string>
#include <vector>

namespace battles {

// Sets the battle up on the game state that a fresh start left (the random
// generator already seeded): false with the reason when it could not
// begin. The battlefield is the one named by its file stem ("Map2") or its
// name, or drawn when the name is empty. The fighters are listed party
// first, then the group.
bool SetUpEncounterBattle(int region, int face, const std::string& battlefield, std::vector<int>* fighters,
                          std::string* fault);

// The text that announced the group of the battle set up last.
std::string EncounterAnnouncement();

}  // namespace battles
