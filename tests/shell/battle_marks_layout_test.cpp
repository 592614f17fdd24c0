// The marks the map draws in a battle (condition icons, the turn marker,
// a shot's line of fire, path arrows, the chances over creatures, the bags
// of things lying on the ground) keep off the texts, the panels and each
// other in each window size (the suite is instantiated with the sizes in
// text_layout_test.cpp).
#include "shell/layout_check.h"

namespace {

using layout_check::MapSpan;
using layout_check::TextLayout;

TEST_P(TextLayout, TheMarksOfABattleKeepOffTheTextsAndEachOther) {
  // The marks of the orders on the map: an archer's line of fire and its
  // chance, the arrows of a walk or a charge with the chance at their end,
  // and a wizard aiming Sleep at a knot of gnolls and Shocking Grasp at the
  // one beside her, the view placed so that the marks reach the hit points
  // and moves in the corner and the turn order in the side panel.
  scenes::LayOutGround(40, 24);
  scenes::AddKnight(0, 6, 14, true);
  scenes::AddKnight(1, 6, 15);
  scenes::AddKnight(2, 5, 13);
  scenes::AddKnight(3, 5, 16);
  const int gnolls[][2] = {{13, 10}, {14, 10}, {13, 11}, {14, 11}, {7, 15}};
  for (int i = 0; i < 5; ++i) scenes::AddFoe(scenes::kFirstFoe + i, kKindGnoll, gnolls[i][0], gnolls[i][1]);
  scenes::Finish();
  Creatures[0].dexterity = {60, 60};
  CreatureRecord& wizard = Creatures[1];
  wizard.creatureClass = kClassWizard;
  wizard.knownSpells[kSpellSleep] = wizard.knownSpells[kSpellShockingGrasp] = 1;
  wizard.spellsPerDay[0] = wizard.spellsLeft[0] = 3;
  harness::MoveMouse(160, 2);
  for (int f = 0; f < 2000 && !(CombatState == kStatePlayerTurn && CurrentFighter() == 0 &&
                                CombatAction.actionCode == 0);
       ++f)
    harness::StepFrames(1);
  EXPECT_EQ(CurrentFighter(), 0);
  const auto viewOn = [](int x, int y, int px, int py) {
    ViewOriginX = x * 24 + 12 - MapSpan(px);
    ViewOriginY = y * 24 + 12 - MapSpan(py);
    FollowTarget = -1;
    ViewIdle = 1;
  };
  const auto party = [](bool panel) {
    ScreenMode = kModeExploring;
    CurrentSpell = -1;
    SidePanelShown = 1;
    SidePanelMode = panel ? 1 : 2;
  };
  // The party in the corner over the hit points, the gnolls under the side panel.
  const auto corner = [&] { viewOn(6, 14, 60, 190); };
  GameScreen("a shot aimed", [&] {
    party(false);
    WeaponMode = 2;
    corner();
  });
  GameScreen("a walk or a charge aimed", [&] {
    party(false);
    WeaponMode = 1;
    corner();
  });
  GameScreen("a walk or a charge beside the turn order", [&] {
    party(true);
    WeaponMode = 1;
    corner();
  });
  GameScreen("aiming Sleep", [&] {
    party(true);
    viewOn(10, 12, 150, 120);
    CurrentSpell = kSpellSleep;
    SpellCaster = 1;
    ScreenMode = kModeAimSquare;
  });
  GameScreen("aiming Shocking Grasp", [&] {
    party(true);
    viewOn(7, 15, 150, 150);
    CurrentSpell = kSpellShockingGrasp;
    SpellCaster = 1;
    ScreenMode = kModeAimCreature;
  });
  party(false);
  WeaponMode = 1;

  Report();
}

}  // namespace
