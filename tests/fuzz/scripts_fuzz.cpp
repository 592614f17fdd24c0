// The compiled script reader and the interpreter: any file is either refused
// whole or read, and whatever it holds runs without harm (saving is kept
// off by the Ironman option, and a run is held to a few thousand commands).
// Each input starts from the same state: the game reset, and what the reset
// leaves (the locals, the random numbers, the queued answers) started afresh.
#include <cstring>

#include "adventure/dialogue.h"
#include "adventure/script_file.h"
#include "engine/random.h"
#include "engine/settings.h"
#include "frontend/game_reset.h"
#include "fuzz/fuzz_target.h"

GH_FUZZ_TARGET(scripts) {
  ScriptCommand* head = nullptr;
  uint32_t count = 0;
  if (ParseScriptBytes(data, size, &head, &count) != kScriptLoaded) {
    if (head) FuzzFault("a refused script file left a list behind");
    return;
  }
  uint32_t nodes = 0;
  for (const ScriptCommand* n = head; n; n = n->next) {
    ++nodes;
    for (uint32_t a = 0; a < n->argumentCount; ++a) (void)ArgumentText(n, static_cast<int>(a));
  }
  if (nodes != count) FuzzFault("the list does not hold the file's commands");
  ResetGameState();
  std::memset(ScriptLocals, 0, sizeof ScriptLocals);
  SeedRandomForTests(1);
  QueuedDialogueAnswerCount = 0;
  OptionWords[kOptionIronmanMode] = 1;
  ScriptCommandLimit = 5000;
  ScriptTimeLimitMicroseconds = 250000;
  FreeScript();
  GameScript.head = head;
  GameScript.commandCount = count;
  RunScriptFile(nullptr);
  FreeScript();
  ScriptCommandLimit = kScriptCommandLimit;
  ScriptTimeLimitMicroseconds = kScriptTimeLimitMicroseconds;
}
