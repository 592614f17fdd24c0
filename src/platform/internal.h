// Shared between the layer's own sources only; never included above platform/.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/render.h"

struct SDL_Window;
union SDL_Event;

namespace platform {

using WindowHandle = uint32_t;

SDL_Window* NativeWindow(WindowHandle w);
WindowHandle HandleForNativeId(uint32_t sdlWindowId);
WindowHandle MainAppWindow();  // the first live window, 0 when none

// presentation.cpp: shows a back buffer's pixels in the window unless it
// shows that picture (a number that changes with the pixels) already; a
// window that shows the picture before sees only the pixels changed since
// sent again. What shows it in a window is dropped when the back buffer is
// made anew.
struct ShownPicture {
  const uint32_t* pixels;
  int width, height;
  uint64_t picture;                       // this picture's number
  uint64_t before;                        // the number of the picture presented before (0: none)
  const std::vector<PixelArea>* changed;  // where this one differs from that one
};
bool ShowPicture(WindowHandle w, const ShownPicture& shown);
void DropPresenter(WindowHandle w);
// presentation.cpp: the window's back buffer was made anew at this size;
// until its first picture is shown, the pointer is read where that picture
// will show.
void ExpectPicture(WindowHandle w, int width, int height);
// presentation.cpp: forget what was attached to a window that goes away.
void OnWindowDestroyed(WindowHandle w);
// presentation.cpp: the window lost (part of) its picture and must be shown again.
void OnWindowExposed(WindowHandle w);
// presentation.cpp: what the window shows turned black, as a desktop leaves
// a window whose picture it threw away.
void BlankWindowPicture(WindowHandle w);
// presentation.cpp: map window pixels to back-buffer pixels and back,
// through exactly the placement the window shows its picture in (scaled
// into a drawing area of another size, or 1:1 in the part of a larger one
// that is drawn); identity while nothing is shown.
void WindowToBackBuffer(WindowHandle w, int* x, int* y);
void BackBufferToWindow(WindowHandle w, int* x, int* y);
// presentation.cpp: a number that changes whenever a window's picture is
// placed elsewhere in it (a back buffer made anew, a drawing area of
// another size).
uint64_t PlacementSerial();
// presentation.cpp: whether pictures are shown headless too (tests of what a
// window shows); such runs switch the window to full screen as a display does.
bool ShowsPicturesHeadless();

// window.cpp: a window the desktop has kept larger than the media library
// takes it to be, past the time it had to answer the size asked, is given
// that size (see the definition).
void FollowDesktopSize(WindowHandle w);

// native_size.cpp: the size the windowing system has given the window's
// drawing area, asked of it directly (X11); false where it cannot be asked.
bool NativeDrawableSize(SDL_Window* window, int* width, int* height);

// input.cpp: feeds an event of the media library into the raw input state.
void TrackInputEvent(const SDL_Event& e);
// input.cpp: PC scan code of a scancode of the media library (0 unknown).
int PcCodeForScancode(int sdlScancode);
// input.cpp: the tracked cursor, in back-buffer pixels of the main window:
// the back-buffer pixel under the window point the desktop last reported,
// read again through the window's placement when that has changed since
// (a pointer at rest over a picture shown anew at another place or scale).
void TrackedCursor(int* x, int* y);
// Puts the tracked cursor on back-buffer pixel (x, y) of the window.
void SetTrackedCursor(WindowHandle w, int x, int y);

}  // namespace platform
