// The message log: the one scrolling text every part of the game appends to.
#pragma once
#include <cstdint>

constexpr int kMessageLogSize = 10000;

extern char MessageLogText[kMessageLogSize];
extern uint8_t MessageLogChanged;

// Formats and appends; returns the formatted length, or -1 for a format
// longer than 999 characters (nothing appended).
int LogMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
