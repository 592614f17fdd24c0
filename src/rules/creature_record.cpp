#include "rules/creature_record.h"

#include "engine/reset_words.h"
#include "state/fighter_slots.h"

CreatureRecord Creatures[kCreatureCount];

const char CreatureTypeNames[9][16] = {"None",     "Animal",       "Construct",
                                       "Dragon",   "Giant",        "Humanoid",
                                       "Monstrous H.", "Outsider", "Undead"};

const char GenderNames[3][8] = {"N.A.", "Male", "Female"};

const char ClassNames[18][14] = {"None",     "Knight",   "Rogue",     "Cleric",   "Wizard",
                                 "Lich",     "Commoner", "Animal",    "Construct", "Dragon",
                                 "Elemental", "Giant",   "Humanoid",  "Magical Beast",
                                 "Outsider", "Undead",   "Warrior",   "Noble"};

const char ClassNamesFighter[18][14] = {
    "None",     "Fighter",  "Rogue",    "Cleric",        "Wizard",   "Lich",
    "Commoner", "Animal",   "Construct", "Dragon",       "Elemental", "Giant",
    "Humanoid", "Magical Beast", "Outsider", "Undead",   "Warrior",  "Noble"};

const char AlignmentNames[10][16] = {"Not Applicable", "Lawful Good",     "Lawful Neutral",
                                     "Lawful Evil",    "Neutral Good",    "True Neutral",
                                     "Neutral Evil",   "Chaotic Good",    "Chaotic Neutral",
                                     "Chaotic Evil"};

const char DamageReductionKindNames[15][12] = {
    "Nothing", "-",      "Melee",    "Piercing",  "Slashing",   "Bludgeoning", "Masterwork", "Magic",
    "Holy",    "Unholy", "Anarchic", "Axiomatic", "Adamantine", "Silver",      "Cold Iron"};

const char ImmunityCategoryNames[kImmunityCategories][16] = {
    "Ability Drain", "Acid",        "Bleeding",    "BullRush",        "Charm",     "Cold",
    "Compulsion",    "Criticals",   "Death",       "Disintegration",  "Ears",      "Exhaustion",
    "Eyes",          "Fear",        "Figment",     "Fire",            "Flanking",  "Flat Foot",
    "Force",         "Glamer",      "Grappling",   "Hampering",       "Language",  "Level Drain",
    "Luck",          "Mind",        "Morale",      "Negative Energy", "Paralysis", "Pattern",
    "Petrification", "Phantasm",    "Pinning",     "Poison",          "Polymorph", "Positive Energy",
    "Electricity",   "Sickness",    "Size",        "Sleep",           "Sonic",     "Speed",
    "Stunning",      "Trip"};

int GetFighterSlot(int creature) {
  if (creature < 0 || creature >= kCreatureCount) return -1;
  return Creatures[creature].fighterSlot;
}

bool IsCreatureInSight(int a, int b) {
  if (a < 0 || a >= kCreatureCount || b < 0 || b >= kCreatureCount) return false;
  const int slot = Creatures[a].fighterSlot;
  if (slot < 0 || slot >= kFighterSlots) return false;
  const CreatureRecord& target = Creatures[b];
  const int32_t* grid = FighterSlots[slot].visible;
  for (int x = target.squareX; x < target.squareX + target.footprintWidth.current; ++x) {
    for (int y = target.squareY; y < target.squareY + target.footprintHeight.current; ++y) {
      if (x < 0 || x >= 60 || y < 0 || y >= 60) continue;  // off the map: never seen
      if (grid[x * 60 + y] == 1) return true;
    }
  }
  return false;
}

void ResetCreatureRecordState() {
  ResetWords(Creatures);
}
