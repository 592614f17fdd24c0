// The status boxes of combat: the acting fighter's in the bottom left corner
// (name, the one condition that matters most, hit points, movement left) and,
// on the player's turn, the box of the creature the order targets.
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

// Name, condition and hit points from the column given.
void DrawBox(int creature, int column) {
  const CreatureRecord& c = Creatures[creature];
  DrawTextF(0, column, 26, "%.15s", c.name);
  DrawTextF(0, column, 27, "%s", ShownConditionLabel(creature));
  DrawTextF(0, column, 28, "HP: %i/%i", c.hitPoints, c.maxHitPoints);
}

}  // namespace

namespace {

int Longer(int a, const char* text) {
  const int n = static_cast<int>(std::strlen(text));
  return n > a ? n : a;
}

// The cells the box's name, condition and hit points take from the column
// given, `rows` rows from row 26.
PixelBox BoxBlock(int creature, int column, int rows, int longest) {
  const CreatureRecord& c = Creatures[creature];
  char line[48];
  std::snprintf(line, sizeof line, "%.15s", c.name);
  longest = Longer(longest, line);
  longest = Longer(longest, ShownConditionLabel(creature));
  std::snprintf(line, sizeof line, "HP: %i/%i", c.hitPoints, c.maxHitPoints);
  longest = Longer(longest, line);
  return PixelBox{8 * column, 8 * 26, 8 * longest, 8 * rows};
}

}  // namespace

int StatusBoxBlocks(PixelBox* blocks) {
  const int fighter = CurrentFighter();
  if (InCombat != 1 || !IsValidCreature(fighter)) return 0;
  char moves[48];
  const int32_t speed = Creatures[fighter].speed.current;
  std::snprintf(moves, sizeof moves, "Moves: %i/%i Feet", FindCondition(fighter, kCondStuck) >= 0 ? 0 : CombatAction.movesLeft,
                2 * speed);
  blocks[0] = BoxBlock(fighter, 0, 4, Longer(0, moves));
  if (!IsValidCreature(ShownTargetCreature) || CombatState != kStatePlayerTurn) return 1;
  blocks[1] = BoxBlock(ShownTargetCreature, 24, 3, 0);
  return 2;
}

void DrawFighterStatusBoxes() {
  const int fighter = CurrentFighter();
  if (!IsValidCreature(fighter)) return;
  const CreatureRecord& c = Creatures[fighter];
  DrawBox(fighter, 0);
  const int32_t speed = c.speed.current;
  if (FindCondition(fighter, kCondStuck) >= 0) {
    DrawTextF(0, 0, 29, "Moves: 0/%i Feet", 2 * speed);
  } else {
    const int32_t moves = CombatAction.movesLeft;
    DrawTextF(0, 0, 29, "Moves: %i/%i Feet", moves, 2 * speed);
    // A second move still possible shows its number brighter.
    DrawTextF(moves > speed ? 6 : 1, 0, 29, "       %i", moves);
  }
  if (IsValidCreature(ShownTargetCreature) && CombatState == kStatePlayerTurn) DrawBox(ShownTargetCreature, 24);
}
