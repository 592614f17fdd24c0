// Least version of the combat events' playback over the creatures, standing
// until the playback of the events is drawn: nothing is shown.
#include "screens/game/event_playback.h"

float ResizeStartScale[2] = {0, 0};

void PlayEventOverFigure(int, int, int, int, int, float, float) {}
void PlayEventOverLabels(int) {}
