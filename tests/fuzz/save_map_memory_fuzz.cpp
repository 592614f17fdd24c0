// The explored squares "MapMemory.dat" of a saved game, loaded in a whole slot.
#include "fuzz/saved_game_fuzzing.h"

GH_FUZZ_TARGET(save_map_memory) {
  savefuzz::LoadWithFile("MapMemory.dat", data, size);
}
