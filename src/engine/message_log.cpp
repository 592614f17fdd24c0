#include "engine/message_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

MessageLog GameLog = {};
char (&MessageLogText)[kMessageLogSize] = GameLog.text;
uint8_t& MessageLogChanged = GameLog.changed;
int32_t& MessageLogScroll = GameLog.scroll;
void (*MessageLogTap)(const char* text, int length) = nullptr;

namespace {

constexpr char kReturn = '\r';
constexpr char kHighlight = '\xA3';

bool OpensMark(char c) { return c == '@' || c == kHighlight; }

bool EndsWord(char c) {
  return c == ':' || c == ' ' || c == '.' || c == ',' || c == ';' || c == '%' || c == ')' ||
         c == kReturn;
}

// After a trim the head may hold the tail of a mark whose opening was cut
// off. Scans the first characters: a clean opening ends the scan; a closing
// mark followed by the end of a word blanks everything up to it.
void CleanHead(char* text) {
  for (int i = 0; i < kMessageHeadScan && text[i] != '\0'; ++i) {
    const char c = text[i], n = text[i + 1];
    if ((c == kReturn || c == ' ' || c == '(') && OpensMark(n)) return;
    if (OpensMark(c) && EndsWord(n)) {
      std::memset(text, ' ', static_cast<size_t>(i) + 1);
      return;
    }
  }
}

}  // namespace

void TrimMessageLogHead() {
  const size_t length = std::strlen(MessageLogText);
  if (length < kMessageLogTrim) return;
  std::memmove(MessageLogText, MessageLogText + kMessageLogTrim, length - kMessageLogTrim + 1);
  MessageLogScroll = 0;
  CleanHead(MessageLogText);
}

int LogMessage(const char* format, ...) {
  if (format == nullptr || std::strlen(format) > kMessageLineSize - 1) return -1;
  char line[kMessageLineSize] = {};
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  const size_t added = std::strlen(line);
  if (MessageLogTap != nullptr) MessageLogTap(line, static_cast<int>(added));

  size_t length = std::strlen(MessageLogText);
  if (length + added + 1 > kMessageLogSize && length > kMessageLogTrim - 1) {
    TrimMessageLogHead();
    length = std::strlen(MessageLogText);
  }
  // The trim always leaves room for a whole line; this only guards the copy.
  const size_t room = kMessageLogSize - 1 - length;
  const size_t copied = added < room ? added : room;
  std::memcpy(MessageLogText + length, line, copied);
  MessageLogText[length + copied] = '\0';
  MessageLogChanged = 1;
  return static_cast<int>(added);
}

void ClearMessageLog() {
  std::memset(MessageLogText, 0, sizeof MessageLogText);
  MessageLogChanged = 1;
  MessageLogScroll = 0;
}
