#include "platform/system.h"

#include <SDL.h>
#include <malloc.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <thread>

#include <sys/mman.h>
#include <unistd.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {
namespace {

bool g_initialised = false;
bool g_headless = false;
bool g_manualClock = false;
uint32_t g_manualTicks = 0;
uint64_t g_manualMicros = 0;
std::string g_boxTitle, g_boxText;
int g_boxCount = 0;
int g_beepCount = 0;
int g_mouseSpeed = 10;

bool EnvIsSet(const char* name, const char* value) {
  const char* v = std::getenv(name);
  return v && (value == nullptr ? *v != '\0' : std::strcmp(v, value) == 0);
}

}  // namespace

bool InitPlatform() {
  if (g_initialised) return true;
  // Every thread allocates from the one arena: the synthesiser's and the
  // sound's threads would each keep an arena of their own, with its own
  // unused space (some 2 MB in a battle), for no speed the game needs.
  mallopt(M_ARENA_MAX, 1);
  g_headless = EnvIsSet("GREVENHOLT_HEADLESS", "1") || EnvIsSet("SDL_VIDEODRIVER", "dummy");
  if (g_headless) {
    // Tests run without a display or a sound card.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
  }
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");  // point filtering when presenting
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
    std::fprintf(stderr, "Could not start the display: %s\n", SDL_GetError());
    return false;
  }
  // Controllers are optional: a machine without them still plays.
  SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
  g_initialised = true;
  return true;
}

void SetDesktopClass(const char* name) {
  if (!name || !*name) return;
  // The video subsystem reads these once, when it starts.
  setenv("SDL_VIDEO_X11_WMCLASS", name, 1);
  setenv("SDL_VIDEO_WAYLAND_WMCLASS", name, 1);
}

void QuitPlatform() {
  if (!g_initialised) return;
  SDL_Quit();
  g_initialised = false;
}

bool IsHeadless() {
  if (!g_initialised)
    return EnvIsSet("GREVENHOLT_HEADLESS", "1") || EnvIsSet("SDL_VIDEODRIVER", "dummy");
  return g_headless;
}

namespace {

// The tick counter's own clock: milliseconds of the monotonic clock from its
// first reading, so that the moment each millisecond turns is known.
int64_t MonotonicNanoseconds() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

int64_t TickOrigin() {
  static const int64_t origin = MonotonicNanoseconds();
  return origin;
}

}  // namespace

uint32_t TickCount() {
  if (g_manualClock) return g_manualTicks;
  return static_cast<uint32_t>((MonotonicNanoseconds() - TickOrigin()) / 1000000);
}

int64_t PerformanceCounter() {
  if (g_manualClock) return static_cast<int64_t>(g_manualMicros);
  return static_cast<int64_t>(SDL_GetPerformanceCounter());
}

int64_t PerformanceFrequency() {
  if (g_manualClock) return 1000000;
  return static_cast<int64_t>(SDL_GetPerformanceFrequency());
}

void SleepMs(uint32_t ms) {
  if (g_manualClock) {
    AdvanceManualClock(ms);
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SleepUntilTick(uint32_t tick) {
  if (g_manualClock) return;
  const int64_t origin = TickOrigin();
  const int64_t now = (MonotonicNanoseconds() - origin) / 1000000;
  const int32_t ahead = static_cast<int32_t>(tick - static_cast<uint32_t>(now));
  if (ahead <= 0) return;
  // One sleep to the very nanosecond the counter turns (woken early by a
  // signal, the rest is slept again).
  const int64_t due = origin + (now + ahead) * 1000000;
  const timespec until{static_cast<time_t>(due / 1000000000), static_cast<long>(due % 1000000000)};
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
  }
}

void UseManualClock(bool on, uint32_t startTicks) {
  g_manualClock = on;
  g_manualTicks = startTicks;
  g_manualMicros = static_cast<uint64_t>(startTicks) * 1000u;
}

void AdvanceManualClock(uint32_t ms) {
  g_manualTicks += ms;  // wraps like the real counter
  g_manualMicros += static_cast<uint64_t>(ms) * 1000u;
}

bool ManualClockActive() { return g_manualClock; }

int64_t CalendarTime() { return static_cast<int64_t>(std::time(nullptr)); }

namespace {
bool g_localTimeFixed = false;
LocalTime g_fixedLocalTime;
}  // namespace

LocalTime CurrentLocalTime() {
  if (g_localTimeFixed) return g_fixedLocalTime;
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm parts{};
  localtime_r(&seconds, &parts);
  LocalTime t;
  t.day = parts.tm_mday;
  t.month = parts.tm_mon + 1;
  t.hour = parts.tm_hour;
  t.minute = parts.tm_min;
  t.stamp = std::chrono::duration_cast<std::chrono::nanoseconds>(now.time_since_epoch()).count() / 100;
  return t;
}

void FixLocalTime(const LocalTime* time) {
  g_localTimeFixed = time != nullptr;
  if (time) g_fixedLocalTime = *time;
}

uint32_t ProcessorClock() { return static_cast<uint32_t>(std::clock()); }

int64_t ThreadProcessorMicroseconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<int64_t>(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}

void ShowMessageBox(const char* title, const char* text) {
  g_boxTitle = title ? title : "";
  g_boxText = text ? text : "";
  ++g_boxCount;
  std::fprintf(stderr, "%s: %s\n", g_boxTitle.c_str(), g_boxText.c_str());
  if (!IsHeadless() && g_initialised)
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, g_boxTitle.c_str(), g_boxText.c_str(), nullptr);
}

const std::string& LastMessageBoxTitle() { return g_boxTitle; }
const std::string& LastMessageBoxText() { return g_boxText; }
int MessageBoxCount() { return g_boxCount; }

void Beep() { ++g_beepCount; }
int BeepCount() { return g_beepCount; }

int GetSystemMouseSpeed() { return g_mouseSpeed; }
void SetSystemMouseSpeed(int speed) { g_mouseSpeed = speed; }

namespace {

// The whole pages of the program's own zero-filled tables: the loader maps
// them private and anonymous (only the page the file's data ends in is
// backed by the file).
extern "C" char __bss_start[], _end[];
bool InZeroFilledTables(uintptr_t first, uintptr_t last, uintptr_t page) {
  const uintptr_t from = (reinterpret_cast<uintptr_t>(__bss_start) + page - 1) / page * page;
  return first >= from && last <= reinterpret_cast<uintptr_t>(_end);
}

// Whether [first, last) lies in private anonymous mappings (the program's
// zero-filled tables, the heap): there a page handed back reads as zeros.
// A page backed by a file would read back the file instead.
bool PrivateAnonymous(uintptr_t first, uintptr_t last) {
  std::ifstream maps("/proc/self/maps");
  uintptr_t covered = first;
  for (std::string line; covered < last && std::getline(maps, line);) {
    unsigned long long from = 0, to = 0, offset = 0, inode = 0;
    char perms[8] = {}, device[16] = {};
    if (std::sscanf(line.c_str(), "%llx-%llx %7s %llx %15s %llu", &from, &to, perms, &offset, device, &inode) != 6)
      return false;
    if (to <= covered) continue;
    if (from > covered) return false;  // a hole
    if (inode != 0 || perms[0] != 'r' || perms[1] != 'w' || perms[3] != 'p' ||
        line.find("[stack") != std::string::npos)
      return false;
    covered = static_cast<uintptr_t>(to);
  }
  return covered >= last;
}

}  // namespace

void ZeroBytes(void* bytes, size_t n) {
  constexpr size_t kLargeTable = 1 << 20;  // smaller ones are simply written
  const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const uintptr_t begin = reinterpret_cast<uintptr_t>(bytes), end = begin + n;
  const uintptr_t first = (begin + page - 1) / page * page, last = end / page * page;
  if (n < kLargeTable || last <= first || !(InZeroFilledTables(first, last, page) || PrivateAnonymous(first, last)) ||
      madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED) != 0) {
    std::memset(bytes, 0, n);
    return;
  }
  std::memset(bytes, 0, first - begin);
  std::memset(reinterpret_cast<void*>(last), 0, end - last);
}

void* LargePageRoom(size_t bytes) {
  // From the heap (so that leak checks still see what is kept in it), on a
  // large page's boundary.
  constexpr size_t kLargePage = 2 << 20;
  const size_t whole = (bytes + kLargePage - 1) / kLargePage * kLargePage;
  void* room = std::aligned_alloc(kLargePage, whole);
  if (room) madvise(room, whole, MADV_HUGEPAGE);  // only advice: small pages do as well
  return room;
}

void StreamBytes(void* to, const void* from, size_t n) {
  auto* out = static_cast<uint8_t*>(to);
  const auto* in = static_cast<const uint8_t*>(from);
#if defined(__SSE2__)
  constexpr size_t kLine = 64;
  const size_t head = std::min(n, (kLine - reinterpret_cast<uintptr_t>(out) % kLine) % kLine);
  std::memcpy(out, in, head);
  size_t done = head;
  for (; done + kLine <= n; done += kLine) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + done));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + done + 16));
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + done + 32));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + done + 48));
    _mm_stream_si128(reinterpret_cast<__m128i*>(out + done), a);
    _mm_stream_si128(reinterpret_cast<__m128i*>(out + done + 16), b);
    _mm_stream_si128(reinterpret_cast<__m128i*>(out + done + 32), c);
    _mm_stream_si128(reinterpret_cast<__m128i*>(out + done + 48), d);
  }
  _mm_sfence();
  std::memcpy(out + done, in + done, n - done);
#else
  std::memcpy(out, in, n);
#endif
}

}  // namespace platform
