// The box of the creature under the mouse while the player examines the map:
// the line naming its kind or class, its numbers, and where the box stands.
#include "screens/game/panels_fixture.h"

#include "creatures/creature_kinds.h"
#include "screens/game/hovered_creature_box.h"

namespace {

using panelstest::From;
using panelstest::Screen;
using screentest::GameScreen;

std::string TypeLine(const char* name, int kind, int type, int klass, int32_t allegiance) {
  CreatureRecord c{};
  std::snprintf(c.name, sizeof c.name, "%s", name);
  c.kind = kind;
  c.type = type;
  c.creatureClass = klass;
  c.allegiance = allegiance;
  char line[kTypeLineLength + 1];
  HoveredTypeLine(c, line);
  return line;
}

TEST(HoveredCreatureBox, TheTypeLineNamesWhatTheNameDoesNotSay) {
  // A party knight: kind and class; an enemy fighter gets the other word.
  EXPECT_EQ(TypeLine("Aldric", kKindHuman, kTypeHumanoid, kClassKnight, kAllegianceParty), "HUMAN_Knight");
  EXPECT_EQ(TypeLine("Bandit", kKindHuman, kTypeHumanoid, kClassKnight, kAllegianceEnemy), "HUMAN_Fighter");
  // A warrior whose name begins with its kind shows the class alone.
  EXPECT_EQ(TypeLine("Orc Raider", kKindOrc, kTypeHumanoid, kClassWarrior, kAllegianceEnemy), "Warrior");
  // A humanoid of another class has no line.
  EXPECT_EQ(TypeLine("Orc Raider", kKindOrc, kTypeHumanoid, kClassRogue, kAllegianceEnemy), "");
  // Other types: the type word, unless the name says it; then a caster's class.
  EXPECT_EQ(TypeLine("Grey Hunter", kKindWolf, kTypeAnimal, kClassAnimal, kAllegianceEnemy), "Animal");
  EXPECT_EQ(TypeLine("Wolf", kKindWolf, kTypeAnimal, kClassAnimal, kAllegianceEnemy), "");
  EXPECT_EQ(TypeLine("Undead", kKindSkeleton, kTypeUndead, kClassUndead, kAllegianceEnemy), "");
  EXPECT_EQ(TypeLine("Undead Priest", kKindSkeleton, kTypeUndead, kClassCleric, kAllegianceEnemy), "Cleric");
  EXPECT_EQ(TypeLine("Bone Mage Skeleton", kKindSkeleton, kTypeUndead, kClassWizard, kAllegianceEnemy), "Wizard");
}

// The mouse moved onto the creature's figure outside combat: the map mouse
// handler opens screen mode 3 and the box shows.
std::vector<std::string> HoverFrame(int creature) {
  const CreatureRecord& c = Creatures[creature];
  harness::MoveMouse(10, 230);
  harness::StepFrames(1);
  harness::MoveMouse(c.pixelX + 9, c.pixelY + 9);
  harness::StepFrames(1);
  return Screen();
}

TEST_F(GameScreen, TheBoxShowsTheNumbersBesideTheFigure) {
  panelstest::LayOutBattle();
  InCombat = 0;
  CreatureRecord& gnoll = Creatures[panelstest::kGnoll];
  gnoll.kind = kKindGnoll;
  gnoll.type = kTypeHumanoid;
  gnoll.creatureClass = kClassWarrior;
  gnoll.challengeRating = 1;
  gnoll.baseHitPoints = 10;
  gnoll.hitPoints = -3;
  gnoll.strength = {15, 15};
  gnoll.dexterity = {9, 9};
  // The gnoll's centre lies in cell (25, 19): the box opens to its left and
  // ten rows up.
  std::vector<std::string> rows = HoverFrame(panelstest::kGnoll);
  ASSERT_EQ(ScreenMode, static_cast<uint32_t>(kModeCreatureHovered));
  EXPECT_EQ(HoveredBox.left, 25 - 17);
  EXPECT_EQ(HoveredBox.top, 19 - 10);
  const int left = HoveredBox.left + 1, top = HoveredBox.top;
  EXPECT_EQ(From(rows[top + 1], left).substr(0, 5), "Gnoll");
  EXPECT_EQ(From(rows[top + 2], left), "Warrior") << "the name already says the kind";
  EXPECT_EQ(From(rows[top + 3], left).substr(0, 15), "HP 000/010 CR01") << "a dying creature shows 0";
  EXPECT_EQ(gnoll.hitPoints, -3);
  EXPECT_EQ(From(rows[top + 4], left).substr(0, 14), "ST15 DE09 CO10");

  // Aldric stepped to (3, 2), his centre in cell (10, 7): the box opens to
  // his right, two columns further, level with him.
  gnoll.baseHitPoints = gnoll.hitPoints = 1200;
  CreatureRecord& aldric = Creatures[0];
  aldric.squareX = aldric.nextX = 3;
  aldric.squareY = aldric.nextY = 2;
  aldric.pixelX = 72;
  aldric.pixelY = 48;
  Creatures[0].kind = kKindHuman;
  Creatures[0].type = kTypeHumanoid;
  Creatures[0].creatureClass = kClassKnight;
  rows = HoverFrame(0);
  EXPECT_EQ(HoveredBox.left, 10 + 1 + 2);
  EXPECT_EQ(From(rows[9], 14).substr(0, 12), "Human Knight");
  EXPECT_EQ(HoveredBox.top, 7);
  EXPECT_EQ(From(rows[8], 14).substr(0, 6), "Aldric");
  // Four digits once the hit points pass 999.
  rows = HoverFrame(panelstest::kGnoll);
  EXPECT_EQ(From(rows[HoveredBox.top + 3], HoveredBox.left + 1).substr(0, 15), "HP1200/1200CR01");
  // No box while an action waits for its target.
  CombatAction.selectedAction = 3;
  rows = HoverFrame(panelstest::kGnoll);
  EXPECT_EQ(From(rows[HoveredBox.top + 1], HoveredBox.left + 1), "");
}

}  // namespace
