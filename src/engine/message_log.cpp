#include "engine/message_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

char MessageLogText[kMessageLogSize];
uint8_t MessageLogChanged = 0;

int LogMessage(const char* format, ...) {
  if (std::strlen(format) > 999) return -1;
  char line[1000] = {};
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  const size_t add = std::strlen(line);
  size_t length = std::strlen(MessageLogText);
  if (length + add + 1 > static_cast<size_t>(kMessageLogSize) && length > 2999) {
    std::memmove(MessageLogText, MessageLogText + 3000, length - 3000 + 1);
    length -= 3000;
  }
  if (length + add + 1 <= static_cast<size_t>(kMessageLogSize)) {
    std::memcpy(MessageLogText + length, line, add + 1);
  }
  MessageLogChanged = 1;
  return static_cast<int>(add);
}
