// Small scenes on a test map for the tests of the map view's input and for
// playscript: open ground (with walls, doors or stairs drawn in), knights of
// the party and their foes made by the game's own creature generation, and
// the party exploring with the view on its leader.
#pragma once
#include <string>

namespace scenes {

constexpr int kSceneMap = 3;
constexpr int kFirstFoe = 100;

// A clean game state and a map of width by height squares of plain ground,
// explored everywhere, nobody on it yet.
void LayOutGround(int width, int height);
// Wall code of a square (doors 82/83, stairs 73/74, walls 46...).
void SetWall(int x, int y, int code);
// A knight of the party (members 0 to 3) with a longsword, or with a
// shortbow and arrows when archer is set; level 3.
void AddKnight(int member, int x, int y, bool archer = false);
// A foe (ids from kFirstFoe) of a kind of the creature table at its default
// level, led by the first foe, staying where it stands.
void AddFoe(int id, int kind, int x, int y);
// The fighter table, the grids and the party's sight built; exploring, the
// view on the leader.
void Finish();

// A named scene: "skirmish" (four knights before two orcs held in an alcove,
// the battle starts as soon as they see each other), "vigil" (the
// skirmish with Berta, who acts first, a cleric who knows Bless), "camp" (the four
// knights exploring open ground alone), "crypt" (the skirmish with two
// skeletons in the alcove, Berta a cleric with turnings who acts first,
// Dunja next), "chapel" (the camp with the second
// knight a hurt cleric who knows Cure Light Wounds), "throng" (the knights
// against 36 foes of six kinds on a wide field: a battle of forty),
// "fallen" (the knights after a hard fight: one dead far off, a pile by the
// leader, whose level-up star a dwarf's figure stands under), "piles"
// (the knights after a fight, Berta knocked out, piles near and far),
// "market" (the knights trading with a cleric, the leader's inventory open)
// "smithy" (the knights at rest, the leader a smith and enchanter with his
// inventory open), "butts" (Aldwin alone, an archer of the eighth level,
// before a rooted orc six squares off and a rooted talking orc by a
// campfire) or "bolts" (Berta alone, a cleric with the market's light
// crossbow and forty bolts, before the butts' rooted orc). False when the
// name is unknown.
bool LayOutScene(const std::string& name);

}  // namespace scenes
