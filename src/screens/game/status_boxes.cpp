// The status boxes of combat: the acting fighter's in the bottom left corner
// (name, the one condition that matters most, hit points, movement left) and,
// on the player's turn, the box of the creature the order targets.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "engine/text.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "screens/game/overlay_rules.h"
#include "screens/game/panel_sections.h"
#include "screens/game/panel_words.h"
#include "state/combat_action.h"
#include "state/panel_buttons.h"
#include "state/turn_order.h"

int32_t ShownTargetCreature = -1;

namespace {

// The label of each condition a status box may name, in the order the
// picker ranks them.
struct ConditionLabel {
  int32_t id;
  const char* label;
};
constexpr ConditionLabel kConditionLabels[] = {
    {111, "Dead"},        {92, "Petrified"},   {109, "Unconscious"}, {84, "Paralyzed"},    {86, "Dancing"},
    {85, "Sleeping"},     {89, "Insane"},      {106, "Stuck"},       {83, "Dominated"},    {112, "Controlled"},
    {82, "Stunned"},      {118, "Cowering"},   {96, "Cursed"},       {94, "Feebleminded"}, {88, "Blinded"},
    {95, "Muted"},        {110, "Bleeding"},   {148, "Polymorphed"}, {87, "Deafened"},     {158, "Pinned"},
    {157, "Grappling"},   {93, "Sickened"},    {90, "Exhausted"},    {91, "Fatigued"},     {97, "Confused"},
    {105, "Entangled"},   {98, "Nauseated"},   {99, "Acid Burns"},   {100, "Dazed"},       {101, "Shaken"},
    {102, "Plagued"},     {104, "Can't See"},  {103, "Silenced"},    {107, "Burning"},     {113, "Surrounded"},
    {145, "Unlucky"},     {146, "Low morale"}, {152, "Slowed"},      {154, "Reduced"},     {167, "Surprised"},
    {156, "Flat Footed"}, {114, "Transformed"}, {115, "Iron Body"},  {151, "Hasted"},      {150, "Ice Shield"},
    {149, "Fire Shield"},
};

const char* ShownConditionLabel(int creature) {
  const int id = PickShownEffect(creature);
  for (const ConditionLabel& row : kConditionLabels)
    if (row.id == id) return row.label;
  return "Okay";
}

// The boxes' rows start at row 26; the acting fighter's box stands at the
// left edge, the shown target's from column 24.
constexpr int kTopRow = 26, kFighterColumn = 0, kTargetColumn = 24;
constexpr int kLineLength = 48;

// A status box as drawn: its column and its lines of text, one a row from
// the top row on (name, condition, hit points, and the acting fighter's
// movement left).
struct StatusBox {
  int column = 0;
  int rows = 0;
  char lines[kMostStatusBoxRows][kLineLength] = {};
  char* Add() { return lines[rows++]; }
};

StatusBox CreatureBox(int creature, int column) {
  const CreatureRecord& c = Creatures[creature];
  StatusBox box;
  box.column = column;
  std::snprintf(box.Add(), kLineLength, "%.15s", c.name);
  std::snprintf(box.Add(), kLineLength, "%s", ShownConditionLabel(creature));
  std::snprintf(box.Add(), kLineLength, "HP: %i/%i", c.hitPoints, c.maxHitPoints);
  return box;
}

// The boxes this frame shows, the acting fighter's first: how many were
// written (0 to kStatusBoxCount).
int LayStatusBoxes(StatusBox* boxes) {
  const int fighter = CurrentFighter();
  if (InCombat != 1 || !IsValidCreature(fighter)) return 0;
  boxes[0] = CreatureBox(fighter, kFighterColumn);
  const int32_t speed = Creatures[fighter].speed.current;
  const bool stuck = FindCondition(fighter, kCondStuck) >= 0;
  std::snprintf(boxes[0].Add(), kLineLength, "Moves: %i/%i Feet", stuck ? 0 : CombatAction.movesLeft, 2 * speed);
  if (!IsValidCreature(ShownTargetCreature) || CombatState != kStatePlayerTurn) return 1;
  boxes[1] = CreatureBox(ShownTargetCreature, kTargetColumn);
  return 2;
}

}  // namespace

int StatusBoxBlocks(PixelBox* blocks) {
  StatusBox boxes[kStatusBoxCount];
  const int n = LayStatusBoxes(boxes);
  for (int i = 0; i < n; ++i) {
    int longest = 0;
    for (int row = 0; row < boxes[i].rows; ++row)
      longest = std::max(longest, static_cast<int>(std::strlen(boxes[i].lines[row])));
    blocks[i] = PixelBox{kCellPixels * boxes[i].column, kCellPixels * kTopRow, kCellPixels * longest,
                         kCellPixels * boxes[i].rows};
  }
  return n;
}

void DrawFighterStatusBoxes() {
  StatusBox boxes[kStatusBoxCount];
  const int n = LayStatusBoxes(boxes);
  for (int i = 0; i < n; ++i) {
    for (int row = 0; row < boxes[i].rows; ++row)
      DrawTextF(0, boxes[i].column, kTopRow + row, "%s", boxes[i].lines[row]);
    if (i != 0) continue;
    // A second move still possible shows its number brighter.
    const int fighter = CurrentFighter();
    const int32_t moves = CombatAction.movesLeft;
    if (FindCondition(fighter, kCondStuck) < 0)
      DrawTextF(moves > Creatures[fighter].speed.current ? 6 : 1, boxes[i].column, kTopRow + boxes[i].rows - 1,
                "       %i", moves);
  }
}
