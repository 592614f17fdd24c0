// The details "Details.dat" of a saved game, loaded in a whole slot; details
// that are taken read back the same once written again.
#include "fuzz/saved_game_fuzzing.h"

GH_FUZZ_TARGET(save_details) {
  savefuzz::LoadWithFile("Details.dat", data, size);
  SavedGameDetails d, back;
  if (!DecodeDetails(data, size, &d)) return;
  uint8_t bytes[kDetailsBytes], again[kDetailsBytes];
  EncodeDetails(d, bytes);
  if (!DecodeDetails(bytes, sizeof bytes, &back)) FuzzFault("written details were refused");
  EncodeDetails(back, again);
  if (std::memcmp(bytes, again, sizeof bytes) != 0) FuzzFault("details read back otherwise");
}
