// Switching between full screen and the three window sizes: the window menu,
// Alt+Enter, the F2 and F3 keys, and a device that needs a reset.
#pragma once
#include <cstdint>

// Set while the "960x720 (b)" window draws its wider view at scale 2.
extern uint8_t WideViewDrawSwitch;
// The user's system mouse speed, read at start-up and given back on leaving full screen.
extern int32_t KeptMouseSpeed;

int SetFullScreenMode();
int SetWindowedMode();
// The part of SetWindowedMode that leaves full screen: a new window and input devices.
int RecreateDisplayWindow(int width, int height);
// Alt+Enter (or force non-zero) switches between full screen and the window;
// 0 when the switch failed.
int HandleDisplayToggleKeys(int force);
// F2 (next window size) and F3 (cursor free or bound), windowed and out of
// debug mode only; 1, or 0 when the switch failed.
int HandleWindowKeys();
int UpdateMenuChecks();
int CentreWindow();
