// The adventure flags "GameFlags.dat" of a saved game, loaded in a whole slot.
#include "fuzz/saved_game_fuzzing.h"

GH_FUZZ_TARGET(save_flags) {
  savefuzz::LoadWithFile("GameFlags.dat", data, size);
}
