// The readable source of an adventure's prepared start: the creatures of save
// folder 0 (the party and everyone the adventure places on its maps) and the
// crafted items they carry or the scripts hand out. content/start/README.md
// describes the format.
//
// Reading a source needs the item, spell and crafted tables in place (names
// are looked up in them); it checks everything it can without building.
#pragma once
#include <string>
#include <vector>

#include "common/source_faults.h"

// One item a creature wears, carries or has as ammunition: a crafted row
// made from a prepared row (crafted >= 0, its enhancement) or a base item
// (code >= 5,000), or a crafted row of the source's own `item` blocks
// (code 1 to 4,999).
struct StartItem {
  int place = 0;         // equipment slot 1 to 12, 13 ammunition, 0 carried
  int preparedRow = -1;  // a prepared row to copy (4,952 to 4,999), -1 none
  int enhancement = 0;
  int code = 0;          // the item code when no copy is made
  int count = 1;
  std::string rowName;   // a crafted row of the sources, named so (settled by the check)
  int line = 0;
};

struct StartCreature {
  std::string file;
  int line = 0;
  int id = -1;
  // A party member is built as a created character of its class; any other
  // creature is generated from its kind by the game's creature generation.
  bool party = false;
  int creatureClass = 0;
  int race = 57;       // party: the creature kind of its race
  int gender = 0;      // 1 male, 2 female; 0: male for the party, as built for others
  int colour = 0;      // party: 0 to 7
  int kind = 0;        // generated
  int extraLevels = 0;
  int abilityBoost = 0, metamagic = 0, castingStyle = 0, defensiveStyle = 0;
  int weapons[3] = {0, 0, 0};  // generated: item options of the right hand, left hand, ranged
  std::string name, text, tag;
  bool hasAbilities = false;
  int abilities[6] = {};
  int hitPoints = 0;   // 0: as built
  int alignment = 0;   // 0: as built
  int figure = 0;      // 0: as built
  int sight = -1;      // feet; -1: as built
  int map = -1, x = 0, y = 0, facing = 0;
  int allegiance = 0;  // 0: as built
  bool absent = false;
  int deathScript = 0;
  int group = 0, leader = 0;
  int challengeRating = -1;
  int experience = 0;
  std::vector<int> feats;
  std::vector<int> spells;
  std::vector<StartItem> items;
};

// A crafted row the source fills itself: a copy of a prepared row with its
// enhancement, under a name and text of its own when given.
struct StartCraftedRow {
  std::string file;
  int line = 0;
  int row = 0;
  int preparedRow = 0;
  int enhancement = 0;
  std::string name, text;
};

struct StartSource {
  std::vector<StartCreature> creatures;
  std::vector<StartCraftedRow> rows;
  std::vector<std::string> errors;  // "file:line: message"
  LineFaults faults;                // the faults of the sources read so far (errors holds their messages)
};

// Reads one source file's text into *out (creatures and rows are appended,
// faults added to out->errors).
void ReadStartSource(const std::string& fileName, const std::string& text, StartSource* out);
// The checks across all sources: creature ids unique, the party 0 to 3 all
// given, the others from 4 without gaps; crafted rows unique.
void CheckStartSource(StartSource* source);
