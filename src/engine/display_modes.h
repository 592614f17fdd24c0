// Switching between full screen and the window sizes.
#pragma once
#include <cstdint>

// Set while the "960x720 (b)" window draws its wider view at scale 2.
extern uint8_t WideViewDrawSwitch;

int SetFullScreenMode();
int SetWindowedMode();
int UpdateMenuChecks();
int CentreWindow();
