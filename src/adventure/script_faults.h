// What a script asked for that could not be done: an index out of its table,
// a damaged script file, a text cut to its buffer. The script goes on (or,
// for a damaged file, nothing runs); the line goes to the message log while
// the debug switch is on, and the last one is kept for tests.
#pragma once

constexpr int kScriptDebugLineSize = 160;
extern char LastScriptDebugLine[kScriptDebugLineSize];
extern int ScriptDebugLineCount;

void ScriptDebugLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Whether an index a command takes is one of 0 to count - 1; leaves a debug
// line ("command: what value is not one of the count") when it is not.
bool ScriptIndexFits(int value, int count, const char* command, const char* what);

// Forgets the kept line and the count (a new game, and tests).
void ResetScriptFaults();
