// The small steps the tactics of a computer fighter share: debug traces,
// the walk test, the move order, the planned action of the turn-order entry
// and the percentage rolls.
#pragma once
#include <cstdint>

#include "engine/frame.h"
#include "engine/message_log.h"

// Trace lines of the tactics, written only in debug mode.
template <typename... Args>
void TacticTrace(const char* format, Args... args) {
  if (DebugMode) LogMessage(format, args...);
}
inline void TacticTrace(const char* text) {
  if (DebugMode) LogMessage("%s", text);
}

// The path finder finds a path from the fighter's square to (x, y) that it
// can walk this turn (the path is left in its fighter slot).
bool CanWalkThisTurn(int fighter, int x, int y);
// The move to the packed square, after the numbered trace "DEBUG - Send CPU
// moving #<number>" (none when number is null). kCommitted.
void MoveFighterTo(int fighter, int64_t square, const char* number);
// Writes the planned action of the fighter's turn-order entry.
void SetPlannedAction(int fighter, int32_t code, int32_t target, int32_t parameter);
// One 100-sided die at most the percentage.
bool RollPercent(int32_t percent);
// A helpless target a fighter would rather strike than shoot: Sleeping or
// Paralyzed and not protected from finishing blows.
bool IsSleepingOrParalyzedTarget(int creature);
// Asleep and not protected from finishing blows.
bool IsSleepingTarget(int creature);
