// The main adventure's battles as its party meets them. A battle of the
// road: the party, at level 1 and with the equipment it sets out with, meets
// one row of a region's random encounter table on the battlefields of the
// world map, as the travel does: the seed chooses the battlefield (maps 0 to
// 4) and the side the party comes in by, the map switch places the group,
// and the battlefield's own script asks whether to fight: the party fights,
// and the battle starts as that script starts it. A fight of the Kings'
// Barrow: the party as the road brings it there meets the foes the
// adventure places.
#pragma once
#include <string>
#include <vector>

namespace battles {

// Sets the battle up on the game state that a fresh start left (the random
// generator already seeded): false with the reason when it could not
// begin. The battlefield is the one named by its file stem ("Map2") or its
// name, or drawn when the name is empty. The party is the prepared one, or
// one made on the creation pages by taking what they offer (four Knights,
// the first feat listed for each pick). The fighters are listed party
// first, then the group.
bool SetUpEncounterBattle(int region, int face, const std::string& battlefield, bool createdParty,
                          std::vector<int>* fighters, std::string* fault);

// The text that announced the group of the battle set up last.
std::string EncounterAnnouncement();

// The fights of the Kings' Barrow as the main adventure brings the party to
// them: the party (prepared or made) with what the scripts on the way give
// it (the reeve's task, the Fenwood's raiders, Tobin's word), raised on the
// level-up page as far as their awards go (level 3); a careful party takes
// into the hand a weapon it was given that breaks bone (the guardians'
// reduction passes over bludgeoning) and rests at a campfire on the way
// when there is one; a careless one fights with what it set out with. The
// hall: the party comes in by the barrow's passage and its guardians meet
// it; the tomb: down the stair to the ghouls of the round chamber; the
// altar: Serenne and her acolyte, who turn on the party as she has spoken.
// Each of these is fought rested, the foes of the fights before it gone;
// the whole barrow is the three in one go, each won fight followed by the
// next with the party as the last one left it (GoDeeperIntoBarrow).
enum BarrowFight { kBarrowHall, kBarrowTomb, kBarrowAltar, kBarrowWhole, kBarrowFights };
// "hall", "tomb", "altar", "whole".
const char* BarrowFightName(int fight);
// The fight named, -1 none.
int FindBarrowFight(const std::string& name);
// Sets the fight up on the game state a fresh start left, as
// SetUpEncounterBattle does; the fighters are the party, then the foes of
// the fight's map.
bool SetUpBarrowBattle(int fight, bool createdParty, bool careful, std::vector<int>* fighters, std::string* fault);
// After a battle of the whole barrow won: the victory screen left and the
// next fight begun, its foes added to the fighters. False when there is none
// (or it could not begin: then with the fault).
bool GoDeeperIntoBarrow(std::vector<int>* fighters, std::string* fault);

}  // namespace battles
