// The creature roster "SaveChar.cml" of a saved game, loaded in a whole slot;
// what was taken packs again into a roster that reads.
#include "fuzz/saved_game_fuzzing.h"

GH_FUZZ_TARGET(save_roster) {
  savefuzz::LoadWithFile("SaveChar.cml", data, size);
  std::vector<uint8_t> packed;
  PackCreatureRoster(&packed);
  static std::vector<CreatureRecord> table(kCreatureCount);
  if (DecodeCreatureRoster(packed.data(), packed.size(), table.data()) < 0) FuzzFault("a packed roster was refused");
}
