// The entry point of one libFuzzer program: the single target linked with it.
#include "fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (FuzzTargets().size() != 1) FuzzFault("a fuzzing program links exactly one target");
  FuzzTargets().begin()->second(data, size);
  return 0;
}
