#include "adventure/script_faults.h"

#include <cstdarg>
#include <cstdio>

#include "engine/frame.h"
#include "engine/message_log.h"

char LastScriptDebugLine[kScriptDebugLineSize] = {};
int ScriptDebugLineCount = 0;

void ScriptDebugLine(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vsnprintf(LastScriptDebugLine, sizeof LastScriptDebugLine, format, args);
  va_end(args);
  ++ScriptDebugLineCount;
  if (DebugMode == 1) LogMessage("DEBUG - Script: %s.\r", LastScriptDebugLine);
}

bool ScriptIndexFits(int value, int count, const char* command, const char* what) {
  if (value >= 0 && value < count) return true;
  ScriptDebugLine("%s: %s %i is not one of the %i", command, what, value, count);
  return false;
}

void ResetScriptFaults() {
  LastScriptDebugLine[0] = '\0';
  ScriptDebugLineCount = 0;
}
