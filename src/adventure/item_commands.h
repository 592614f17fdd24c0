// The script commands that reward, test and take from the party (items,
// gold, experience, hit points, trade, weapon improvement), and the item
// operations the screens and the executor call: giving a creature an item,
// picking a square's object up, and asking whether the party holds an item.
#pragma once
#include <cstdint>

#include "rules/item_tables.h"

// Base item kinds whose items pile in one carried pair.
bool IsStackableItem(uint32_t code);
// The base kind of an item code of 5,000 and above; -1 for any other code.
int32_t BaseItemKind(uint32_t code);

// How matching items are chosen: by the base kind of a base item (value the
// kind), or by the item code itself.
enum ItemMatchMode : int32_t {
  kMatchKind = 0,
  kMatchCode = 1,
};
bool ItemMatches(uint32_t code, int32_t mode, int32_t value);

// Gives quantity items of the code to a creature: a stackable base item joins
// a carried pair of that code (or the ammunition of that code), else the
// first free pair takes it; with every pair taken the items are laid on the
// nearest free square around the creature. 1 when placed, 0 when lost.
int GiveItemToCharacter(int creature, int quantity, uint32_t code);
// Gives items to the party (command 10): a stack first, then the current
// character's free pair, then any member's, then the nearest free square.
int GiveItemToParty(uint32_t code, int quantity);
// Command 32: experience for every party record (kind 0) or gold.
void GiveExperienceOrGold(int32_t amount, int32_t kind);
// Command 33: the party's average level (0), gold (1) or highest level (2)
// compared with a value (0 at least, 1 at most).
bool PartyLevelOrGoldTest(int32_t what, int32_t comparison, int32_t value);
// Matching items the party holds: pairs and ammunition by count, worn items as 1.
int64_t CountPartyItems(int32_t mode, int32_t value);
// Matching items in a creature's carried pairs (commands 79 and 80).
int64_t CountCarriedItems(int creature, int32_t mode, int32_t value);
// Command 39: takes count matching items from the party, member by member.
void TakePartyItems(int32_t count, int32_t mode, int32_t value);
// Command 41: takes count items of the code from one creature.
void TakeCreatureItems(int creature, uint32_t code, int32_t count);
// Command 54: opens trade with the creature.
void OpenTrade(int creature);
// Command 88: the crafted weapon in the current character's main hand deals
// the dice of the next larger size, counts one more improvement and costs
// 25,000 more.
void ImproveMainHandWeapon();
// Command 89: the current character's main-hand item is a crafted weapon
// (base kind below 36).
bool MainHandIsCraftedWeapon();
// Command 102: the party's hit points change by a percentage (modes 0, 1)
// or an amount (2, 3), held to the maximum (modes 0, 2).
void ChangePartyHitPoints(int32_t amount, int32_t mode);

// A square's object becomes the creature's: gold, a stack of goods, or an
// item. True when taken.
bool PickUpSquareItem(int creature, int32_t object);
// The four party members together hold an item of the code.
bool PartyHasItem(uint32_t code);

// The party member scripts call the current character.
int CurrentCharacter();
// The improvement counter of a crafted weapon: the second of its four
// further words.
constexpr int kImprovementWord = kCraftedImprovementWord;
constexpr int32_t kImprovementPrice = 25000;
