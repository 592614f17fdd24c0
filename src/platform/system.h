// Process-wide services of the platform layer: start-up of the media library,
// headless mode, clocks, message boxes and beeps.
#pragma once
#include <cstdint>
#include <string>

namespace platform {

// Starts the video, audio and controller subsystems once. Headless runs (no
// display, no sound card) use the dummy drivers. Returns false on failure.
bool InitPlatform();
void QuitPlatform();
// The class the desktop knows the windows by (X11's WM_CLASS, Wayland's app
// id); it takes effect when set before the platform starts.
void SetDesktopClass(const char* name);

// True when the game runs without a display (tests, playscript, CI).
bool IsHeadless();

// Milliseconds since start-up, wrapping at 2^32 like a 32-bit tick counter.
uint32_t TickCount();
// A fine-grained counter and its frequency in counts per second.
int64_t PerformanceCounter();
int64_t PerformanceFrequency();
void SleepMs(uint32_t ms);
// Sleeps until TickCount turns to `tick` (at once when it is there or past,
// read as a signed distance); nothing under the manual clock.
void SleepUntilTick(uint32_t tick);

// Tests and the headless harness drive time by hand: while the manual clock is
// on, TickCount and PerformanceCounter only move when it is advanced.
void UseManualClock(bool on, uint32_t startTicks = 0);
void AdvanceManualClock(uint32_t ms);
bool ManualClockActive();

// Sets n bytes to zero. The whole pages of a large table in the program's
// own zero-filled memory are handed back to the system instead of written
// (they read as zeros again and cost no memory until written), so that a
// reset of a table mostly unused leaves it mostly unused.
void ZeroBytes(void* bytes, size_t n);
// Copies n bytes with stores that go to memory past the processor's caches
// (a large table filled whole and afterwards read only here and there): the
// table's old contents are not fetched first, and the caches keep what they
// held. The same bytes as std::memcpy.
void StreamBytes(void* to, const void* from, size_t n);
// Zero-filled room for large files read again and again, kept for the
// program's life (null when there is none): it starts on a large page's
// boundary (2 MiB) and asks the system for large pages, so that copies into
// it and out of it look up fewer pages.
void* LargePageRoom(size_t bytes);

// Seconds since the epoch and the processor time used by the process.
int64_t CalendarTime();
uint32_t ProcessorClock();
// The processor time the calling thread has used, in microseconds (the
// manual clock does not move it).
int64_t ThreadProcessorMicroseconds();

// The local date and time: day of the month, month 1 to 12, hour, minute,
// and the moment as 100-nanosecond units since the epoch.
struct LocalTime {
  int day = 0, month = 0, hour = 0, minute = 0;
  int64_t stamp = 0;
};
LocalTime CurrentLocalTime();
// Tests fix the local time (nullptr: the system clock again).
void FixLocalTime(const LocalTime* time);

// A modal message box; headless, the text goes to stderr.
void ShowMessageBox(const char* title, const char* text);
// The last message box shown (for tests), and how many were shown.
const std::string& LastMessageBoxTitle();
const std::string& LastMessageBoxText();
int MessageBoxCount();

// The system alert sound.
void Beep();
int BeepCount();

// The pointer speed of the desktop (1 to 20); kept so that the game can set
// its own speed in full screen and give the user's back.
int GetSystemMouseSpeed();
void SetSystemMouseSpeed(int speed);

}  // namespace platform
