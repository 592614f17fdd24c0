// Running a script's commands: the dispatch over the 110 operation codes,
// the conditional blocks with their flat and nested ELSE and ENDIF, labels
// and jumps, the locals and the adventure flags.
#pragma once
#include <cstdint>

#include "adventure/script_file.h"

// The operation codes with a meaning of their own in the control flow.
enum ScriptOp : uint32_t {
  kOpEnd = 0,
  kOpElse = 1,          // flat: switches between running and skipping, also inside nested blocks
  kOpEndIf = 2,         // flat: always ends the block
  kOpLabel = 7,
  kOpGoto = 8,
  kOpNestedElse = 70,
  kOpNestedEndIf = 71,
  kOpLast = 109,
};
constexpr int kScriptOpCount = 110;

// Whether the operation code is one of the 26 conditionals.
bool IsConditionalOp(uint32_t op);

// Carries out one command and gives the command to continue with (null ends the run).
ScriptCommand* ExecuteCommand(ScriptCommand* node);
// Runs or skips the block that starts at `node` (skip 1 when the test that
// opened it failed) and gives the command at which its caller continues.
// Conditionals met while running nest: each runs the rest of the script in
// its own block, as if called within this one.
ScriptCommand* SkipOrRunBlock(ScriptCommand* node, int skip);

// The creature a running script names: the party member whose square began
// it, and the talking creature whose own script runs (-1 none): the talking
// words of the script state under the names the scripts give them.
extern int32_t& ScriptTalker;
