// A created party setting out on the main adventure ("Start Adventuring"),
// and the party's line and order that the set-up page keeps.
#pragma once

// The main adventure's start for the created party: the maps of its
// prepared start read first (a world map or map that cannot be read shows
// "Could not read world map." or "Could not read a map." and changes
// nothing: 0); then the game's words for a new game, each member made ready
// to play (background, hit dice and hit points, body, starting gold and
// equipment), the party on map 20 in the order set, the flags, recent spells
// and journal emptied, and the game running. Returns 1.
int StartAdventuring();
// The party's line: no member has a leader of its own, member 0 leads the
// others one square behind it, and the party gathers on it with its walk
// cancelled.
void ResetPartyFormation();
// The body, side and first hit points of a member made ready to play: the
// steps of the set-out before its gold and equipment (a prepared member keeps
// its description); its hit dice are rolled. Also the start tool's.
void SetOutMemberBody(int member, bool prepared);
// Whether a member may take another's place in the order: not while Dead or
// Unconscious for a positive time.
bool IsMovableMember(int member);
// The member's hit dice for levels 1 to 20 by class (Knight d10, Cleric d8,
// Wizard d4); other classes keep theirs.
void RollMemberHitDice(int member);
