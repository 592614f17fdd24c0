// Generated item rows whose items have left the game come back to creature
// generation. A row is held while anything names its code: a creature's
// equipment, ammunition or backpack (standing, fallen or kept off its map by
// a script), the equipment a transformed fighter's kept natural form holds,
// or an object level of the current map, a stored map or the world map.
// The inventory cursor and the item picker only point at an item that stays
// in its place, so they hold nothing of their own.
#pragma once

// Gives back every generated row (4701 to 4950) in use that nothing holds;
// a row still held is never touched. Returns the number of rows given back.
int ReleaseUnheldGeneratedItems();

// The making of one creature, or of a whole group, while it lasts (a making
// inside another is part of it). A look that finds every row in use held
// serves the rest of the making: its later items, finding no free row, look
// again only once something has let go of a row (a record made over, a
// creature taken back), and until then go without, as that look left them.
class CreatureMaking {
 public:
  CreatureMaking();
  ~CreatureMaking();
  CreatureMaking(const CreatureMaking&) = delete;
  CreatureMaking& operator=(const CreatureMaking&) = delete;
};

// For a generated item to be made when no row is free: the rows nothing
// holds given back (their number), unless a look of this making found none
// and nothing has let go of a row since (then 0, with no look).
int ReleaseUnheldRowsForNewItem();

// A holder let go of generated items without a look: the next item of the
// making that finds no free row looks again.
void NoteGeneratedItemsLetGo();

// The looks over every holder made since the program started.
int GeneratedRowLooks();
