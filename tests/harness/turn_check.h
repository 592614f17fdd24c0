// The rules of a turn watched while a battle runs (battlesim --check): each
// attack as it is rolled, each square a mover pays for, each decision and
// the state of every frame, against what one fighter's turn may hold. Each
// breach names its battle, round, fighter, rule and what was seen; a
// fighter's breach of a rule is reported once a round.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace battles {

struct Breach {
  uint32_t seed = 0;
  int round = 0;
  int fighter = -1;
  std::string rule;  // a short name: "shots", "iterative", "movement"...
  std::string seen;  // what broke it, in words and numbers
};

// Starts watching the battle just laid out (the game's observers set).
void StartTurnWatch(uint32_t seed);
// After each frame of the battle.
void WatchFrame();
// When the computer's decision starts (the fighter must be able to act).
void WatchDecision();
// Ends the watch (the last turn closed, the observers taken away) and
// hands over the breaches seen.
std::vector<Breach> EndTurnWatch();

// "breach seed=S round=R fighter=C rule=NAME seen=TEXT"
std::string BreachLine(const Breach& breach);

}  // namespace battles
