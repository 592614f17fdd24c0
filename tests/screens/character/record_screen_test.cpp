// The character record as a player sees and uses it.
#include "screens/character/character_fixture.h"

namespace charactertest {
namespace {

TEST_F(CharacterPageTest, Look) {
  AddEntry(kKnight, kCondHasted, 0);
  AddEntry(kKnight, kCondEnhancedStrength, 4);
  Open(kPageCharacterRecord, kKnight, "Aldric");
  harness::MoveMouse(300, 230);
  for (const std::string& r : Screen()) printf("|%s\n", r.c_str());
  harness::SaveScreenshot("/tmp/charscreens/record.png");
  Open(kPageCharacterRecord, kDragon, "Dragon");
  for (const std::string& r : Screen()) printf("|%s\n", r.c_str());
  harness::SaveScreenshot("/tmp/charscreens/dragon.png");
  Open(kPageSpecialAbilities, kDragon, "Dragon");
  for (const std::string& r : Screen()) printf("|%s\n", r.c_str());
  harness::SaveScreenshot("/tmp/charscreens/abilities.png");
}

}  // namespace
}  // namespace charactertest
