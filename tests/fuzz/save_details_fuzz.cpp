// The details "Details.dat" of a saved game, loaded in a whole slot; the
// details read from it read back the same once written again.
#include "fuzz/saved_game_fuzzing.h"

GH_FUZZ_TARGET(save_details) {
  savefuzz::LoadWithFile("Details.dat", data, size);
  SavedGameDetails d, back;
  DecodeDetails(data, size, &d);
  uint8_t bytes[kDetailsBytes], again[kDetailsBytes];
  EncodeDetails(d, bytes);
  DecodeDetails(bytes, sizeof bytes, &back);
  EncodeDetails(back, again);
  if (std::memcmp(bytes, again, sizeof bytes) != 0) FuzzFault("details read back otherwise");
}
