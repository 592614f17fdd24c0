// Screens whose subsystems are still to come draw their page's caption and a
// Return button through this one routine; it remembers the last screen drawn.
#pragma once

extern const char* LastScreenDrawn;
// Draws the top page's caption and a Return button; returns 1.
int DrawPagePlaceholder(const char* screen);
