// Runs the game headless for tests and playscript: SDL's dummy drivers, a
// manual clock (frames are stepped without waiting for the frame pace),
// injected keys and mouse, and the picture read back from the device.
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace harness {

// Starts the game in the current folder (the game's working folder). Returns
// false when start-up failed (its message has been printed). Called again
// while the game runs it does nothing; after StopGame (or RunGameMain) it
// starts the game again from ResetToProcessStart. Unless the caller named a
// settings file (SettingsFileName, see OwnSettingsFile) the run keeps one of
// its own, removed by StopGame; a file the caller named is the caller's.
bool StartGame();
// Puts back the words a process starts the game with: the game's state
// (ResetGameState), the settings' defaults (the settings file is read at
// start-up), the game speeds, the fading screens' fade, start-up pending
// with no settings read and no mouse speed kept, no message waiting, no
// input queued or held and nothing queued for dialogue boxes; back in the
// built game's folder if the folder the game ran in was removed. Other words
// of modules outside it (sound, music, screens' own) keep their values from
// the earlier run. StartGame calls it when the game ran earlier in the
// process; a test that runs shutdown itself without a start calls it first.
void ResetToProcessStart();
// The game's process entry (GameMain) in the current folder, headless, as a
// process of its own runs it (after ResetToProcessStart when the game ran
// earlier in this process); returns its status. Meant for a start-up that
// fails (one that succeeds runs the loop until it ends). StopGame ends the
// run as any other; the next StartGame starts afresh.
int RunGameMain();
// The built game's folder: the working folder the process started in.
const std::filesystem::path& GameFolder();
// A settings file of the test's own in the current folder while the object
// lives: SettingsFileName names "Config.<tag><process id>.dat", removed at
// first and at the end, when the name goes back to the game's own.
class OwnSettingsFile {
 public:
  explicit OwnSettingsFile(const char* tag);
  ~OwnSettingsFile();
  OwnSettingsFile(const OwnSettingsFile&) = delete;
  OwnSettingsFile& operator=(const OwnSettingsFile&) = delete;
};
// Before StartGame: SDL's own video and sound drivers instead of the dummy
// ones (a real window, under Xvfb for the measurements); the clock stays
// manual.
void UseRealWindow();
bool GameRunning();
// True once the game's loop has ended (quit, or a frame asked to end).
bool GameEnded();
// Runs every waiting message and then one frame, the clock moved on by 16 ms
// first (further when the frame is not yet due: accelerated combat in a
// window that shows its pictures keeps to the display's refresh); N times.
// Returns false when the game ended meanwhile.
bool StepFrames(int n);
// Handles every waiting message (injected input included) without running a
// frame. Returns false when the quit message came.
bool PumpMessages();
// Runs shutdown as the exit handler would; a later shutdown (the exit
// handler GameMain registers) writes no settings file again.
void StopGame();

// Leaves the game alone for the seconds given in its own loop (passes and
// waits) on the real clock, then gives the clock back to the harness: the
// share of a core the whole process cost, that of the loop's own thread
// (sound and music are mixed on threads of their own), frames run and
// pictures drawn a second. With GREVENHOLT_PROBE_WINDOW=1 in the environment
// the game runs in a real window (as after UseRealWindow).
struct IdleCost {
  double coreShare = 0, loopShare = 0, framesPerSecond = 0, drawsPerSecond = 0;
};
IdleCost LeaveAlone(double seconds);

void SeedRandom(uint32_t seed);

// A game folder of one's own in /tmp: the files of the built game's folder
// (the one the process started in) linked in, its saved-game folders made
// afresh with their files linked, so that saved games stay apart from other
// tests. Changes into it; false when it could not be made.
bool MakeOwnGameFolder(std::filesystem::path* made);
// Back in the built game's folder, that folder of one's own removed.
void RemoveOwnGameFolder(const std::filesystem::path& made);
// A process id no process has: a child's, once it is gone (for what a
// process killed midway left behind).
int GoneProcessId();

// Keys by name ("F2", "Return", "Escape", "A", "Keypad 8", "Left Alt"...);
// false for an unknown name.
bool KeyDown(const std::string& name);
bool KeyUp(const std::string& name);
// Press, one frame, release.
bool PressKey(const std::string& name);
// Mouse in logical 320x240 coordinates.
void MoveMouse(int x, int y);
// Move, button down, one frame, button up. Button 0 left, 1 right.
void Click(int x, int y, int button = 0);
// Presses (down) or lets go of a button where the mouse is; the next frame reads it.
void MouseButton(int button, bool down);
// Drags with the left button from (x, y) to (toX, toY): a frame over the
// start, the press and a frame, the move and a frame, the release and a frame.
void Drag(int x, int y, int toX, int toY);
void Wheel(int clicks);
// Posts a window-menu command (1000-1002, 2000, 2001).
void ChooseMenu(int id);
// Asks the window to close, as its close button does.
void RequestClose();

// A dialogue box runs a loop of its own inside the frame that opened it. Its
// input is queued here beforehand and played one step per pass of that loop
// (the clock moved on by 16 ms a pass): a key is pressed in one pass and let
// go in the next; a click moves the mouse in one pass (as a player points
// first), presses the left button in the next and lets go in the one after.
// Steps left when a box closes are played by
// the next box, or let go before the next frame. A box that waits 2,000
// passes with nothing queued asks the window to close, so that a test that
// gave no answer ends instead of hanging.
bool QueueBoxKey(const std::string& name);
void QueueBoxClick(int x, int y);
void QueueBoxClose();
// The passes of dialogue-box loops since the game started.
int BoxPasses();
// Called by a box's pass that finds nothing queued, before it counts as
// idle: a play script reads its next lines there (its answers to the box).
void SetBoxIdleHandler(std::function<void()> handler);
// Saves the picture of the dialogue box open now as the next pass that draws
// it leaves it (with that pass's input: the key of an answer already
// pressed, the pointer over it), as the PNG file PATH: the box runs no pass
// of its own for the picture, so that the play goes on as without it (an
// extra pass stepped the weather's clock, and every later storm roll fell
// otherwise). A box that ends before a pass draws it leaves no picture.
void SaveBoxPictureWhenDrawn(const std::string& path);
// Drops what is queued for boxes.
void ClearBoxInput();

// From now on the game's window shows its pictures headless too and, as
// under a desktop without a window manager, keeps its size when it asks for
// full screen.
void LeaveWindowWithoutManager();
// From now on the game's window shows its pictures headless too and the
// desktop keeps it at a drawing area of width by height whatever size it
// asks for, as a window manager that tiles it does (0 by 0: the size asked).
void KeepWindowInTile(int width, int height);
// Moves the mouse onto a back-buffer point as the player does: to the window
// point where the window shows it (the picture's place in the window, not
// the game's own reading of the pointer).
void MoveMouseOverShown(float backX, float backY);
// Whether the window shows the whole device picture, scaled to fit the
// drawing area it has (bars beside it allowed): "" or the fault.
std::string WindowShowsWholePicture();

// The device picture, 0xFFRRGGBB per pixel.
std::vector<uint32_t> DevicePicture(int* width, int* height);
// The logical 320x240 picture: one device pixel per logical pixel.
std::vector<uint32_t> LogicalPicture();
bool SaveScreenshot(const std::string& path);
// A picture kept for a look: with GREVENHOLT_SHOTS naming a folder, the
// device picture is written there as NAME; else nothing is written. False
// only when there is no picture, or the one asked for could not be written.
bool SaveShot(const std::string& name);

// Compares the logical picture with the stored expectation NAME.png in the
// folder `pictures/` beside TEST_FILE (pass __FILE__). With the environment
// variable GREVENHOLT_UPDATE_PICTURES set it writes the picture there instead
// (look at it before it is committed). Returns the number of differing
// pixels, or -1 when the stored picture is missing or not 320x240; when they
// differ the device picture is kept in the game folder as NAME_device.png for
// a look (a comparison that passes removes it).
int CompareStoredPicture(const std::string& testFile, const std::string& name);

}  // namespace harness
