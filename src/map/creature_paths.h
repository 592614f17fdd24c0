// Stopping a creature's walk on the game screen.
#pragma once

// Clears the fighter slot's path, sets the path index and the creature's
// destination to -1 and snaps it to the nearer of its square and its next
// square (pixel position = square x 24).
void ResetCreaturePath(int creature);
