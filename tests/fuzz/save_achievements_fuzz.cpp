// The achievement progress "Achievements.dat" of a saved game, loaded in a
// whole slot.
#include "fuzz/saved_game_fuzzing.h"

GH_FUZZ_TARGET(save_achievements) {
  savefuzz::LoadWithFile("Achievements.dat", data, size);
}
