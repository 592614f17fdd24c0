// The rules of shaping a new party member: the codes of the choices, the
// figure that carries class, gender and colour, the race's ability
// adjustments, and how many feats and spells the member picks.
#pragma once
#include <cstdint>
#include <vector>

enum Gender : int32_t { kGenderMale = 1, kGenderFemale = 2 };
// A party member's race is its creature kind.
enum Race : int32_t { kRaceHalfElf = 51, kRaceHuman = 57, kRaceMul = 67 };
// A female figure is the male one this far on.
constexpr int32_t kFemaleFigureOffset = 139;
constexpr int kColourCount = 8;

// The first figure of a class (Knight 0, Wizard 8, Cleric 16; others 0) and
// of a gender (139 for a female).
int32_t ClassFigureBase(int32_t creatureClass);
int32_t GenderFigureOffset(int32_t gender);
// figure = 1 + colour index (0 to 7) + class base + gender offset.
int32_t PartyFigure(int32_t colour, int32_t creatureClass, int32_t gender);
int32_t FigureColour(int creature);

// The adjustment a race makes to an ability (Mul +2 Strength -2 Dexterity;
// Half-Elf -2 Strength, +2 Dexterity, -2 Constitution, +2 Intelligence).
int32_t RacialAdjustment(int32_t race, int ability);

// Feats the class grants: a Knight the simple and martial weapons, the three
// armours and shields; a Cleric the simple weapons, armours and shields; a
// Wizard SCRIBE SCROLL.
bool IsClassGrantedFeat(int32_t creatureClass, int feat);
// The level-1 base attack bonus and saving throws of the member's class.
void SetClassBaseValues(int member);

// The choices of the creation page. A class change keeps the colour and
// drops every chosen feat and spell; a race change moves the ability
// adjustments over (scores and roll records), drops the chosen feats and
// spells and makes a female Mul male with a new name; a gender change gives
// a new name of that gender and rebuilds the figure.
void ChooseClass(int member, int32_t creatureClass);
void ChooseRace(int member, int32_t race);
void ChooseGender(int member, int32_t gender);
void ChooseColour(int member, int colour);

// The feats the player chose, in feat order, TOUGHNESS once a point (less
// the point a Mul is given); the class's own feats are not listed.
std::vector<int> ChosenFeats(int member);
// Feats a member picks at creation: 1, one more for a Knight, one more for
// a Human.
int FeatPicksAtCreation(int member);
// Spells a Wizard (by Intelligence) or a Cleric (by Wisdom) picks at
// creation: the base score / 2 - 2; none for other classes.
int SpellPicksAtCreation(int member);
// The spells the member knows, in spell order.
std::vector<int> KnownSpells(int member);
