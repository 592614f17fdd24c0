#include "screens/items/item_kinds.h"

const char ForgeKindNames[kForgeKinds][16] = {
    "Dagger",         "Light Mace",     "Sickle",        "Club",          "Heavy Mace",    "Morningstar",
    "Shortspear",     "Wand",           "Spear",         "Heavy Crossbow", "Light Crossbow", "Light Hammer",
    "Handaxe",        "Kukri",          "Light Pick",    "Short Sword",   "Battle axe",    "Flail",
    "Longsword",      "Heavy Pick",     "Rapier",        "Scimitar",      "Trident",       "Warhammer",
    "Falchion",       "Greataxe",       "Greatclub",     "Heavy Flail",   "Greatsword",    "Halberd",
    "Scythe",         "Longbow",        "Shortbow",      "Bastard Sword", "Dwarven Waraxe", "Light Shield",
    "Heavy Shield",   "Banded Mail",    "Breastplate",   "Chain Shirt",   "Chainmail",     "Full Plate",
    "Half Plate",     "Leather Armor",  "Padded Armor",  "Scale Mail",    "Splint Mail",   "Studded Leather",
};
