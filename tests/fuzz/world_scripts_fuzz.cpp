// Compiled scripts run by the interpreter on a real game: the introductory
// adventure as it stands at its start, loaded afresh from its saved slot
// before every input, with the locals, the random numbers and the queued
// answers started afresh too, so that nothing one input did has a say in the
// next. A run keeps to the game's own limits (a shorter time), saving is on,
// and a slot a script saves must load.
#include <cstring>

#include "adventure/dialogue.h"
#include "adventure/script_file.h"
#include "engine/random.h"
#include "engine/settings.h"
#include "fuzz/intro_game_fuzzing.h"

namespace {

// The most processor time a run takes here: enough for any script of the
// adventures, short enough that a run that works without end is soon stopped.
constexpr int64_t kRunTimeMicroseconds = 250000;

}  // namespace

GH_FUZZ_TARGET(world_scripts) {
  ScriptCommand* head = nullptr;
  uint32_t count = 0;
  if (ParseScriptBytes(data, size, &head, &count) != kScriptLoaded) return;
  introfuzz::StartGame();
  if (LoadSavedGame(introfuzz::kStartSlot) != kSaveOk) FuzzFault("the game saved at its start does not load");
  std::memset(ScriptLocals, 0, sizeof ScriptLocals);
  SeedRandomForTests(1);
  QueuedDialogueAnswerCount = 0;
  OptionWords[kOptionIronmanMode] = 0;
  const int firstNewSlot = FindFreeSaveSlot();

  FreeScript();
  GameScript.head = head;
  GameScript.commandCount = count;
  ScriptTimeLimitMicroseconds = kRunTimeMicroseconds;
  RunScriptFile(nullptr);
  ScriptTimeLimitMicroseconds = kScriptTimeLimitMicroseconds;
  FreeScript();

  // Every slot the script saved loads, and goes again.
  for (int slot = FindFreeSaveSlot() - 1; slot >= firstNewSlot; --slot) {
    if (LoadSavedGame(slot) != kSaveOk) FuzzFault("a script saved a slot the load refuses");
    if (DeleteSavedGame(slot) != kSaveOk) FuzzFault("a slot a script saved could not be deleted");
  }
}
