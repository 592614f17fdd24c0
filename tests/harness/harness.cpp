#include "harness/harness.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <functional>
#include <iterator>

#include "adventure/dialogue.h"
#include "frontend/fade_screens.h"
#include "frontend/game_reset.h"
#include "harness/process_figures.h"
#include "shell/application.h"
#include "shell/frame.h"
#include "shell/startup.h"
#include "engine/frame.h"
#include "engine/game_speeds.h"
#include "engine/graphics.h"
#include "engine/main_window.h"
#include "engine/random.h"
#include "engine/settings.h"
#include "engine/widgets.h"
#include "platform/image.h"
#include "platform/input.h"
#include "platform/render.h"
#include "platform/system.h"
#include "platform/window.h"

namespace harness {
namespace {

bool g_started = false;
bool g_running = false;
bool g_ended = false;
bool g_stopped = false;
bool g_ownSettingsFile = false;
bool g_realWindow = false;

// The input queued for dialogue boxes: each step is played in one pass of a
// box's loop; a step that lets go of a key or button may also be played
// before the next frame.
struct BoxStep {
  std::function<void()> play;
  bool release;
};
std::deque<BoxStep> g_boxSteps;
int g_boxPasses = 0;
int g_idleBoxPasses = 0;
std::function<void()> g_boxIdleHandler;
constexpr int kIdleBoxPassLimit = 2000;
// The box picture asked for (SaveBoxPictureWhenDrawn) and the pictures the
// device had presented when it was asked.
std::string g_boxPicture;
int g_boxPicturePresents = 0;

// Saves the box picture asked for once a pass has drawn the box since; with
// `last` (the box is over) a picture that was never drawn is given up.
void TakeBoxPicture(bool last) {
  if (g_boxPicture.empty()) return;
  if (Graphics.device && Graphics.device->PresentCount() != g_boxPicturePresents) {
    SaveScreenshot(g_boxPicture);
    g_boxPicture.clear();
  }
  if (last) g_boxPicture.clear();
}

void PlayBoxPass() {
  platform::AdvanceManualClock(16);
  ++g_boxPasses;
  TakeBoxPicture(false);
  if (g_boxSteps.empty() && g_boxIdleHandler) g_boxIdleHandler();
  if (!g_boxSteps.empty()) {
    g_idleBoxPasses = 0;
    const BoxStep step = g_boxSteps.front();
    g_boxSteps.pop_front();
    step.play();
    return;
  }
  if (++g_idleBoxPasses < kIdleBoxPassLimit) return;
  std::fprintf(stderr, "harness: a dialogue box waited %d passes for an answer nobody queued; closing\n",
               kIdleBoxPassLimit);
  g_idleBoxPasses = 0;
  platform::InjectCloseRequest();
}

// Lets go of what a box's last step left pressed.
void ReleaseAfterBox() {
  while (!g_boxSteps.empty() && g_boxSteps.front().release) {
    g_boxSteps.front().play();
    g_boxSteps.pop_front();
  }
}

// The built game's folder: the working folder the process started in. A test
// that ran in a folder of its own and removed it leaves the next one here.
const std::filesystem::path g_gameFolder = [] {
  std::error_code ec;
  return std::filesystem::current_path(ec);
}();

// The game speeds as the program starts (their values are constants, set
// before any code runs): the options set only some of them, a battle set-up
// all of them.
struct GameSpeeds {
  int32_t floatingText = FloatingTextFrames, eventAnimation = EventAnimationFrames, combatStep = CombatStepFrames;
  int32_t walkSmall = WalkStepSmall, walkLarge = WalkStepLarge;
  std::vector<int32_t> animationSteps{std::begin(AnimationStepWords), std::end(AnimationStepWords)};
  std::vector<int32_t> motionSteps{std::begin(MotionStepValues), std::end(MotionStepValues)};
  void Restore() const {
    FloatingTextFrames = floatingText, EventAnimationFrames = eventAnimation, CombatStepFrames = combatStep;
    WalkStepSmall = walkSmall, WalkStepLarge = walkLarge;
    std::copy(animationSteps.begin(), animationSteps.end(), AnimationStepWords);
    std::copy(motionSteps.begin(), motionSteps.end(), MotionStepValues);
  }
};
const GameSpeeds g_speedsAtStart;

void ReturnToGameFolderIfGone() {
  std::error_code ec;
  if (std::filesystem::current_path(ec).empty() || ec) std::filesystem::current_path(GameFolder(), ec);
}

void EnsureHeadless() {
  if (const char* w = std::getenv("GREVENHOLT_PROBE_WINDOW"); w && std::strcmp(w, "1") == 0) g_realWindow = true;
  if (g_realWindow) {
    unsetenv("GREVENHOLT_HEADLESS");
    if (const char* driver = std::getenv("SDL_VIDEODRIVER"); driver && std::strcmp(driver, "dummy") == 0)
      unsetenv("SDL_VIDEODRIVER");
    if (!platform::ManualClockActive()) platform::UseManualClock(true, 1000);
    return;
  }
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  setenv("GREVENHOLT_HEADLESS", "1", 1);
  if (!platform::ManualClockActive()) platform::UseManualClock(true, 1000);
}

}  // namespace

void UseRealWindow() { g_realWindow = true; }

namespace {

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

}  // namespace

IdleCost LeaveAlone(double seconds) {
  using Clock = std::chrono::steady_clock;
  IdleCost cost;
  if (!GameRunning()) return cost;
  platform::UseManualClock(false);
  ResetFramePacing();
  const uint64_t frames = App.FramesCalled();
  const int draws = Graphics.device ? Graphics.device->DrawCount() : 0;
  const double process = figures::ProcessCpuSeconds(), loop = ThreadCpuSeconds();
  const auto start = Clock::now();
  while (std::chrono::duration<double>(Clock::now() - start).count() < seconds) {
    if (!App.RunPass()) {
      g_ended = true;
      break;
    }
    App.WaitForNextPass();
  }
  const double wall = std::chrono::duration<double>(Clock::now() - start).count();
  cost.coreShare = (figures::ProcessCpuSeconds() - process) / wall;
  cost.loopShare = (ThreadCpuSeconds() - loop) / wall;
  cost.framesPerSecond = static_cast<double>(App.FramesCalled() - frames) / wall;
  cost.drawsPerSecond = Graphics.device ? (Graphics.device->DrawCount() - draws) / wall : 0;
  platform::UseManualClock(true, platform::TickCount());
  return cost;
}

const std::filesystem::path& GameFolder() { return g_gameFolder; }

void ResetToProcessStart() {
  ReturnToGameFolderIfGone();
  ResetGameState();
  ResetSettingsToDefaults();
  g_speedsAtStart.Restore();
  ResetFadeState();
  ResetEngineFrameWords();
  CursorShape = 0;  // the pointer as the program starts (a page leaves none drawn)
  ResetFramePacing();  // the first frame only starts the pace clock, as at start-up
  ForgetFatalError();
  StartupPending = 1;
  SettingsLoaded = 0;
  MouseSpeedKept = 0;
  // Messages left waiting (the quit a fatal start-up error posts among them)
  // are dropped before the keys and buttons they may have pressed.
  for (platform::Message msg; platform::PeekAppMessage(&msg);) {
  }
  platform::ResetInputState();
  g_boxSteps.clear();
  g_boxPasses = g_idleBoxPasses = 0;
  g_boxIdleHandler = nullptr;
  g_boxPicture.clear();
}

int RunGameMain() {
  if (g_started) ResetToProcessStart();
  g_started = g_ended = true;
  g_stopped = g_running = false;
  EnsureHeadless();
  return GameMain();
}

bool StartGame() {
  if (g_started && !g_stopped) return g_running;
  // The game ran earlier in this process (a test's end shut it down): it
  // starts again as in a process of its own.
  if (g_stopped) ResetToProcessStart();
  g_stopped = g_ended = g_running = false;
  g_started = true;
  EnsureHeadless();
  // Runs beside each other share the game folder: unless the caller chose a
  // settings file, each process keeps its own and removes it at the end.
  if (std::strcmp(SettingsFileName, "Config.dat") == 0) {
    std::snprintf(SettingsFileName, sizeof SettingsFileName, "Config.run%d.dat", static_cast<int>(getpid()));
    std::remove(SettingsFileName);
    g_ownSettingsFile = true;
  }
  DialoguePassHook = PlayBoxPass;
  g_running = App.Start();
  if (!g_running) g_ended = true;
  return g_running;
}

bool GameRunning() { return g_running && !g_ended; }
bool GameEnded() { return g_ended; }

bool StepFrames(int n) {
  for (int i = 0; i < n; ++i) {
    if (!GameRunning()) return false;
    platform::AdvanceManualClock(16);
    // A frame the display's pace still holds back is waited for, as the
    // game's loop does.
    if (const uint32_t idle = App.IdleMilliseconds()) platform::AdvanceManualClock(idle);
    ReleaseAfterBox();
    TakeBoxPicture(true);
    const uint64_t before = App.FramesCalled();
    while (App.FramesCalled() == before) {
      if (!App.RunPass()) {
        g_ended = true;
        return false;
      }
    }
  }
  return true;
}

bool PumpMessages() {
  platform::Message msg;
  while (platform::PeekAppMessage(&msg)) {
    if (msg.id == platform::kMsgQuit) {
      g_ended = true;
      return false;
    }
    platform::TranslateAppMessage(msg);
    platform::DispatchAppMessage(msg);
  }
  return true;
}

void StopGame() {
  if (g_stopped || !g_started) return;
  g_stopped = true;
  AtExitCleanup();
  // Its window goes with it, as with the process's end: the next game's
  // window is then the only one the desktop's events go to.
  if (platform::IsAppWindow(MainWindowHandle)) platform::DestroyAppWindow(MainWindowHandle);
  // Shut down: the exit handler a GameMain run left for the process's end
  // writes no settings file again.
  SettingsLoaded = 0;
  // The harness's own settings file goes, and its name with it: the next
  // start takes a name the test chose, or makes its own again.
  if (g_ownSettingsFile) {
    std::remove(SettingsFileName);
    std::snprintf(SettingsFileName, sizeof SettingsFileName, "Config.dat");
    g_ownSettingsFile = false;
  }
}

OwnSettingsFile::OwnSettingsFile(const char* tag) {
  std::snprintf(SettingsFileName, sizeof SettingsFileName, "Config.%s%d.dat", tag, static_cast<int>(getpid()));
  std::remove(SettingsFileName);
}

OwnSettingsFile::~OwnSettingsFile() {
  std::remove(SettingsFileName);
  std::snprintf(SettingsFileName, sizeof SettingsFileName, "Config.dat");
}

void SeedRandom(uint32_t seed) { SeedRandomForTests(seed); }

bool KeyDown(const std::string& name) {
  const int code = platform::ScanCodeForKeyName(name.c_str());
  if (!code) return false;
  platform::InjectKey(code, true);
  return true;
}

bool KeyUp(const std::string& name) {
  const int code = platform::ScanCodeForKeyName(name.c_str());
  if (!code) return false;
  platform::InjectKey(code, false);
  return true;
}

bool PressKey(const std::string& name) {
  if (!KeyDown(name)) return false;
  StepFrames(1);
  return KeyUp(name);
}

void MoveMouse(int x, int y) {
  const int s = GetDisplayScale();
  platform::InjectMouseMove(x * s, y * s);
}

void Click(int x, int y, int button) {
  MoveMouse(x, y);
  platform::InjectMouseButton(button, true);
  StepFrames(1);
  platform::InjectMouseButton(button, false);
}

void MouseButton(int button, bool down) { platform::InjectMouseButton(button, down); }

bool QueueBoxKey(const std::string& name) {
  const int code = platform::ScanCodeForKeyName(name.c_str());
  if (!code) return false;
  g_boxSteps.push_back({[code] { platform::InjectKey(code, true); }, false});
  g_boxSteps.push_back({[code] { platform::InjectKey(code, false); }, true});
  return true;
}

void QueueBoxClick(int x, int y) {
  g_boxSteps.push_back({[x, y] { MoveMouse(x, y); }, false});
  g_boxSteps.push_back({[] { platform::InjectMouseButton(0, true); }, false});
  g_boxSteps.push_back({[] { platform::InjectMouseButton(0, false); }, true});
}

void QueueBoxClose() { g_boxSteps.push_back({[] { platform::InjectCloseRequest(); }, false}); }

int BoxPasses() { return g_boxPasses; }

void SetBoxIdleHandler(std::function<void()> handler) { g_boxIdleHandler = std::move(handler); }

void SaveBoxPictureWhenDrawn(const std::string& path) {
  g_boxPicture = path;
  g_boxPicturePresents = Graphics.device ? Graphics.device->PresentCount() : 0;
}

void ClearBoxInput() { g_boxSteps.clear(); }

void Drag(int x, int y, int toX, int toY) {
  MoveMouse(x, y);
  StepFrames(1);
  MouseButton(0, true);
  StepFrames(1);
  MoveMouse(toX, toY);
  StepFrames(1);
  MouseButton(0, false);
  StepFrames(1);
}

void Wheel(int clicks) { platform::InjectWheel(clicks); }

void ChooseMenu(int id) { platform::ChooseMenuItem(MainWindowHandle, static_cast<uint32_t>(id)); }

void RequestClose() { platform::InjectCloseRequest(); }

std::vector<uint32_t> DevicePicture(int* width, int* height) {
  if (!Graphics.device) {
    if (width) *width = 0;
    if (height) *height = 0;
    return {};
  }
  const int w = Graphics.device->Width(), h = Graphics.device->Height();
  if (width) *width = w;
  if (height) *height = h;
  const uint32_t* p = Graphics.device->Pixels();
  std::vector<uint32_t> out(p, p + static_cast<size_t>(w) * h);
  for (uint32_t& px : out) px |= 0xFF000000u;
  return out;
}

void LeaveWindowWithoutManager() {
  platform::PresentWhileHeadless(true);
  platform::KeepSizeOnFullScreen(true);
}

void KeepWindowInTile(int width, int height) {
  platform::PresentWhileHeadless(true);
  platform::GiveDrawingArea(MainWindowHandle, width, height);
}

void MoveMouseOverShown(float backX, float backY) {
  const int w = Graphics.device ? Graphics.device->Width() : 1, h = Graphics.device ? Graphics.device->Height() : 1;
  int x = 0, y = 0, shownW = w, shownH = h;
  platform::ShownPicturePlace(MainWindowHandle, &x, &y, &shownW, &shownH);  // else the window is the back buffer
  platform::InjectWindowMouseMove(x + static_cast<int>(backX * static_cast<float>(shownW) / static_cast<float>(w)),
                                  y + static_cast<int>(backY * static_cast<float>(shownH) / static_cast<float>(h)));
}

std::string WindowShowsWholePicture() {
  int w = 0, h = 0, aw = 0, ah = 0;
  const std::vector<uint32_t> device = DevicePicture(&w, &h);
  std::vector<uint32_t> shown;
  if (device.empty() || !platform::WindowPicture(MainWindowHandle, &shown, &aw, &ah) || aw <= 0 || ah <= 0)
    return "the window shows no picture";
  // The letterbox: as large as fits, centred. Each device pixel must show at
  // the middle of its place (or its neighbour's, as scaling rounds).
  const float scale = std::min(static_cast<float>(aw) / w, static_cast<float>(ah) / h);
  const int left = (aw - static_cast<int>(w * scale + 0.5f)) / 2, top = (ah - static_cast<int>(h * scale + 0.5f)) / 2;
  int wrong = 0;
  std::string first;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int wx = left + static_cast<int>((x + 0.5f) * scale), wy = top + static_cast<int>((y + 0.5f) * scale);
      const uint32_t there = wx < aw && wy < ah ? shown[static_cast<size_t>(wy) * aw + wx] : 0;
      bool found = false;
      for (int dy = -1; dy <= 1 && !found; ++dy)
        for (int dx = -1; dx <= 1 && !found; ++dx) {
          const int sx = std::clamp(x + dx, 0, w - 1), sy = std::clamp(y + dy, 0, h - 1);
          found = there == device[static_cast<size_t>(sy) * w + sx];
        }
      if (found) continue;
      if (wrong++ == 0)
        first = "pixel " + std::to_string(x) + "," + std::to_string(y) + " of the " + std::to_string(w) + "x" +
                std::to_string(h) + " picture is not where a " + std::to_string(aw) + "x" + std::to_string(ah) +
                " window shows it";
    }
  return wrong == 0 ? "" : first + " (" + std::to_string(wrong) + " pixels wrong)";
}

std::vector<uint32_t> LogicalPicture() {
  int w = 0, h = 0;
  const std::vector<uint32_t> device = DevicePicture(&w, &h);
  std::vector<uint32_t> out(320 * 240, 0xFF000000u);
  const int s = GetDisplayScale();
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x)
      if (x * s < w && y * s < h) out[y * 320 + x] = device[static_cast<size_t>(y) * s * w + x * s];
  return out;
}

bool SaveScreenshot(const std::string& path) {
  int w = 0, h = 0;
  const std::vector<uint32_t> pixels = DevicePicture(&w, &h);
  return !pixels.empty() && platform::SavePng(path.c_str(), w, h, pixels.data());
}

bool SaveShot(const std::string& name) {
  const char* folder = std::getenv("GREVENHOLT_SHOTS");
  if (folder == nullptr || *folder == '\0') {
    int w = 0, h = 0;
    return !DevicePicture(&w, &h).empty();
  }
  return SaveScreenshot(std::string(folder) + "/" + name);
}

int CompareStoredPicture(const std::string& testFile, const std::string& name) {
  const std::vector<uint32_t> picture = LogicalPicture();
  const std::string stored = testFile.substr(0, testFile.rfind('/')) + "/pictures/" + name + ".png";
  if (std::getenv("GREVENHOLT_UPDATE_PICTURES")) {
    std::printf("wrote %s\n", stored.c_str());
    return platform::SavePng(stored.c_str(), 320, 240, picture.data()) ? 0 : -1;
  }
  int w = 0, h = 0;
  std::vector<uint32_t> expected;
  int differing = -1;
  if (platform::LoadPng(stored.c_str(), &w, &h, &expected) && w == 320 && h == 240) {
    differing = 0;
    for (size_t i = 0; i < picture.size(); ++i) differing += (picture[i] | 0xFF000000u) != (expected[i] | 0xFF000000u);
  }
  // A passing comparison also takes away the picture a failed one left.
  const std::string look = name + "_device.png";
  if (differing != 0)
    SaveScreenshot(look);
  else
    std::remove(look.c_str());
  return differing;
}

// Mirrors the built game's saved-game folders with folders of its own and
// links to the files. Other tests running beside this one write and remove
// saved games there meanwhile: an entry that vanishes while it is looked at
// is left out rather than failing the copy.
static void LinkSavedGamesTree(const std::filesystem::path& from, const std::filesystem::path& to) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::create_directories(to, ec);
  fs::directory_iterator it(from, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::error_code kind;
    const fs::path target = to / it->path().filename();
    if (it->is_directory(kind))
      LinkSavedGamesTree(it->path(), target);
    else if (!kind)
      fs::create_symlink(it->path(), target, kind);
  }
}

void RemoveOwnGameFolder(const std::filesystem::path& made) {
  std::error_code ec;
  std::filesystem::current_path(GameFolder(), ec);
  std::filesystem::remove_all(made, ec);
}

int GoneProcessId() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

bool MakeOwnGameFolder(std::filesystem::path* made) {
  namespace fs = std::filesystem;
  ReturnToGameFolderIfGone();
  const fs::path built = GameFolder();
  char pattern[] = "/tmp/grevenholt-front-XXXXXX";
  if (!mkdtemp(pattern)) return false;
  *made = pattern;
  for (const auto& entry : fs::directory_iterator(built))
    if (entry.path().filename() != "SaveGame") fs::create_symlink(entry.path(), *made / entry.path().filename());
  LinkSavedGamesTree(built / "SaveGame", *made / "SaveGame");
  fs::current_path(*made);
  return true;
}

}  // namespace harness
