// Switching between full screen and the three window sizes: the window menu,
// Alt+Enter, the F2 and F3 keys, and a device that needs a reset.
#pragma once
#include <cstdint>

#include "engine/main_window.h"

// The user's system mouse speed, read at start-up and given back on leaving full screen.
extern int32_t KeptMouseSpeed;

int SetFullScreenMode();
int SetWindowedMode();
// The part of SetWindowedMode that leaves full screen: a new window and input devices.
int RecreateDisplayWindow(int width, int height);
// Alt+Enter (or force non-zero) switches between full screen and the window;
// 0 when the switch failed.
int HandleDisplayToggleKeys(int force);
// HandleWindowKeys (F2 and F3) is declared with the main window, for the game screen.
int UpdateMenuChecks();
// Centres the window's picture (its client area) on the desktop, keeping its
// size, and shows the window.
int CentreWindow();
// A window smaller than the full-screen picture (the one a game that starts
// in full screen makes first) gets its size, centred, before it asks for
// full screen: a desktop that does not make it full screen shows it so, and
// so does the window that leaves full screen when the focus goes.
void FitWindowToFullScreenPicture();
