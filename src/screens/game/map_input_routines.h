// Small routines the map view's mouse and keys share: the scene's quiet
// flags, the explored squares, walks that end beside a square, a walk sent
// elsewhere while under way, and the world map's travel by mouse.
#pragma once

// Neither the enemies' alert nor the square scripts hold the scene.
bool SceneFlagsClear();
// The square of the current map has been seen.
bool SquareExplored(int x, int y);
// The creature walks to a square beside (x, y) (stairs, a campfire, a
// door): a search that may end on the blocked square, stopped one square
// short of it. False when no path was found.
bool WalkBesideSquare(int creature, int x, int y, int costFlag, int moveCostOption);
// The selected member's walk goes on from its next square toward the
// square under the cursor.
void RedirectWalk();
// The world map view (screen mode 9): travel and entering locations.
void WorldMapMouse();
// The world map's ambient sound ends once the screen mode is no longer 9.
void StopWorldAmbientOffTheMap();
