// The main window as the engine kit and the game see it: its handle, the
// error message box, and the window keys that the game shell implements.
#pragma once
#include <cstdint>

#include "platform/window.h"

// The game's one window (0 before start-up has made it).
extern platform::WindowHandle MainWindowHandle;

// Shows a message box ("Fatal Error" or "Error"); a fatal error closes the
// main window first and asks the loop to end. Returns 1.
int ShowError(int fatal, const char* format, ...) __attribute__((format(printf, 2, 3)));
// Whether a fatal error has been shown since the program started (the
// program then ends as a failure), and its forgetting for a run started anew.
bool FatalErrorShown();
void ForgetFatalError();

// Implemented by the game shell's display modes: F2 (next window size) and
// F3 (cursor free or bound), windowed and out of debug mode only; 1, or 0
// when the switch failed.
int HandleWindowKeys();
// Implemented by the game shell's display modes: switches between full
// screen and the window as Alt+Enter does (the options screen's "Windowed
// Mode"); 1, or 0 when the switch failed.
int SwitchDisplayMode();
