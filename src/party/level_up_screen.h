// The level-up page's own words: how far the member has come through the
// level's steps, kept while it visits the feat and spell pages.
#pragma once
#include <cstdint>

struct LevelUpScreenState {
  uint8_t abilityStepDone = 0;     // the ability increase is made (or the level has none)
  uint8_t constitutionRaised = 0;  // the increase went to Constitution
};
extern LevelUpScreenState LevelUpState;
