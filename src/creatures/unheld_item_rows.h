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
