// What the game screen shows while the player aims an order: the chance that
// it works (to hit, to resist, to win a Strength check) and, beside a roll,
// up to three short labels of the situations that changed it. Nothing here
// rolls a die. With them the d20 of a roll's breakdown, the caption of a
// critical roll, and the walking step that the view follows.
#pragma once
#include <cstdint>

#include "rules/modifier_list.h"

constexpr int kSituationLabels = 3;
struct SituationLabel {
  char text[16] = {};
  ModifierList space;
};
extern SituationLabel SituationLabels[kSituationLabels];

// The value of the list's D20_Roll pair, 0 when none.
int32_t GetD20FromRoll(const ModifierList& list);
// Turns the list's caption into "Critical %s" of its text after the first 13
// characters ("Damage Bonus (Longsword)" becomes "Critical (Longsword)"); a
// caption of 13 characters or fewer leaves "Critical " and nothing after it.
void FormatCriticalText(ModifierList* list);
// Empties the three labels.
void ClearSituationLabels();
// The label of one modifier source into the first free entry; false when the
// list is full or the source carries no label.
bool AddSituationLabel(int32_t source);
// With the option on: clears the labels, then labels the sources found in the
// attack list, then those of the target's armour-class list; the grapple
// note labels Grappling. True.
bool BuildSituationLabels(int target, uint8_t grappler, const ModifierList& armourClass,
                          const ModifierList& attackRoll);
// With the option on, draws each label in the small font from (x, y) down, 8
// pixels apart in the 320x240 layout (scaled by 3/2 while the frame draws
// in the 960x720 (b) window's 480x360 space), on a tooltip's backing like
// the chance above them. True.
bool DrawSituationLabels(int x, int y);

// 5 x (21 + Wisdom modifier + Will save - DC), within 5 to 95.
int WillSaveChancePercent(int creature, int32_t dc);
// Sleeping, nauseated, paralysed, dancing, confused, stunned or cowering: a
// creature it grapples breaks free without a roll, and an attack on it is
// as good as sure.
bool IsDefenceless(int creature);
// What an attack on a defenceless target shows: its roll still misses on a
// natural 1 (only a coup de grace hits without a roll).
constexpr int kSureHitShown = 95;
// What an order that needs no roll shows: a coup de grace, or breaking free
// of a defenceless partner.
constexpr int kCertainShown = 100;
// kSureHitShown against a defenceless target, else the attack's chance in
// evaluation.
int HitChancePercent(int attacker, int target);
// The chance to shake off a hold: 100 with freedom of movement (an item in
// a hand, the creature's own, or a natural attack of kind 4), else a
// Strength check against 20, within 5 to 95.
int ImmunityChancePercent(int creature);
// The chance that A wins an opposed Strength check against B (a bull rush).
int StrengthCheck(int a, int b);
// The chance of a touch attack, concealment and grapples counted.
int TouchAttackRoll(int attacker, int target, uint8_t ranged, uint8_t naturalAttack);
// The chance that the target fails its save against the shooter's special
// ammunition (0 when none applies). The preview values and marks are cleared;
// the target alone is shown (its chance, mark 2, the area list and the mark
// timer 100).
int SpecialAmmunitionChance(int shooter, int target);

// Moves the creature one walking step in its facing; the view follows where
// the creature leaves the follow box (unless noScroll). True.
bool StepTowardFacing(int creature, uint8_t noScroll);
// The box, in map pixels, in which a walking creature may move before the
// view follows it.
struct FollowBox {
  int32_t left, right, top, bottom;
};
FollowBox CameraFollowBox();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetRollPreviewsState();
