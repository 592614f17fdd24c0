// The screen drawn last: each screen writes its own name here as it draws,
// so that tests, play scripts and the load probe can tell which one is up.
#pragma once

// The name of the last screen drawn ("" before the first).
extern const char* LastScreenDrawn;
