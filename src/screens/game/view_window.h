// The view window of the map view: its size, its limits on the current map,
// the automatic movement that brings a creature or a square into view, the
// manual scrolling by keys and wheel, and the system cursor's centring. The
// scroll requests themselves (StrictScrollTo, ScrollTo, ScrollToCreature)
// are declared with the camera's words in state/camera.h.
#pragma once
#include <cstdint>

#include "engine/settings.h"  // IsWideView, ViewWidth, ViewHeight
#include "state/camera.h"

// The pixels from one letter of a text drawn over the map view to the next
// (the cells of DrawString): 8, 12 in the wide view.
inline int GlyphStep() { return IsWideView() ? 12 : 8; }

// Clamps ViewOrigin into CameraBounds (the minimum first, then the maximum).
void ClampCamera();
// One step of the automatic movement toward the followed creature or point.
void CameraFollowActor();
// The point the view's origin takes to centre the creature's footprint, or
// the square (x, y).
void CreatureCentringPoint(int creature, int32_t* x, int32_t* y);
void SquareCentringPoint(int x, int y, int32_t* outX, int32_t* outY);
// The same as StrictScrollTo, under the name the casting steps use.
bool ScrollToCreatureAt(int creature, int x, int y);
// Manual scrolling by the arrow keys and the wheel while the view is idle;
// true always. StepViewByKeys: the same, the wheel only when allowed; true
// when the view moved.
bool ScrollViewByKeys();
bool StepViewByKeys(bool wheelAllowed);
// Puts the system cursor at the centre of the picture; true.
bool CentreMouseCursor();
