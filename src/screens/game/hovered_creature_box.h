// The box of the creature under the mouse (screen mode 3): where it stands
// and the line naming the creature's kind or class.
#pragma once
#include <cstdint>

#include "rules/creature_record.h"
#include "screens/game/object_list.h"  // PopupCellBox

// The box in character cells (the popup box the object list uses too), kept
// between frames and placed again when the hovered figure changes.
inline PopupCellBoxWords& HoveredBox = PopupCellBox;

// The line under the name: the kind word joined to the class word for the
// humanoids of the common classes, the type word for the other types, or
// "Wizard" or "Cleric" where the name already says the rest ('_' shows as a
// space; at most 15 characters, not yet capitalised).
constexpr int kTypeLineLength = 15;
void HoveredTypeLine(const CreatureRecord& c, char (&line)[kTypeLineLength + 1]);
