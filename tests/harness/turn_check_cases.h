// The battle check's own cases: a turn of a battle laid out afresh that
// breaks one rule of the check, to be seen in that report's own words and
// under its rule alone, or a turn within the rules, reported by none.
#pragma once
#include <functional>
#include <vector>

namespace turn_cases {

struct Case {
  const char* what;
  const char* rule;   // "" for a turn within the rules
  const char* words;  // a part of that report's own text
  std::function<void(int f, int foe)> breakIt;
  bool surprise = false;  // in a turn of the surprise round (round 1, a single action)
  bool reflexes = false;  // every fighter takes Combat Reflexes at Dexterity 16 (4 a round) before the battle
};

// The cases of where creatures stand: charges, areas and flanking.
const std::vector<Case>& PlaceCases();

}  // namespace turn_cases
