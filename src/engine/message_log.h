// The message log: the one scrolling text into which the game writes what it
// tells the player (combat results, rolls, saves, script messages, traces).
//
// Marks inside the text, read by the linked-text renderer:
//   @KEYWORD@          a link to the help page of that keyword ('_' shows as a space)
//   \xA3name\xA3        a highlighted term or creature name (not a link)
//   @15|07@            a rolled number (15) linking to the breakdown of roll 07;
//                      the '|' and the two-digit index are not shown; 99 links nowhere
// Lines end with a carriage return (13); a paragraph ends with two.
#pragma once
#include <cstdint>

constexpr int kMessageLogSize = 10000;   // bytes of text, NUL included
constexpr int kMessageLogTrim = 3000;    // bytes dropped from the front when full
constexpr int kMessageLineSize = 1000;   // one formatted line, NUL included
constexpr int kMessageHeadScan = 50;     // characters cleaned after a trim

// The log: its text, the changed flag (1 after every append; the log view
// clears it when it has laid the text out again) and the log view's scroll
// value (0 after a trim).
struct MessageLog {
  char text[kMessageLogSize];
  uint8_t changed;
  int32_t scroll;
};
extern MessageLog GameLog;
// The three fields of the one log under their own names.
extern char (&MessageLogText)[kMessageLogSize];
extern uint8_t& MessageLogChanged;
extern int32_t& MessageLogScroll;

// When set, every formatted text is also handed to it whole as it is
// appended (a headless run keeps a battle's whole log this way, past the
// trims of the log's head). Null by default.
extern void (*MessageLogTap)(const char* text, int length);

// Formats and appends one text. Returns the length appended, or -1 when the
// format string itself is longer than 999 characters (nothing is appended).
// A formatted text longer than 999 characters is cut at 999.
int LogMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Drops the first 3,000 bytes and blanks a mark cut in half at the new head
// (used by LogMessage when the text would not fit).
void TrimMessageLogHead();

// Empties the log (a new game, and tests).
void ClearMessageLog();
