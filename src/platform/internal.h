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
// presentation.cpp: forget what was attached to a window that goes away.
void OnWindowDestroyed(WindowHandle w);
// presentation.cpp: the window lost (part of) its picture and must be shown again.
void OnWindowExposed(WindowHandle w);
// presentation.cpp: what the window shows turned black, as a desktop leaves
// a window whose picture it threw away.
void BlankWindowPicture(WindowHandle w);
// presentation.cpp: map window pixels to back-buffer pixels and back (full
// screen letterboxing); identity in a window of the back buffer's size.
void WindowToBackBuffer(WindowHandle w, int* x, int* y);
void BackBufferToWindow(WindowHandle w, int* x, int* y);
// presentation.cpp: whether pictures are shown headless too (tests of what a
// window shows); such runs switch the window to full screen as a display does.
bool ShowsPicturesHeadless();

// native_size.cpp: the size the windowing system has given the window's
// drawing area, asked of it directly (X11); false where it cannot be asked.
bool NativeDrawableSize(SDL_Window* window, int* width, int* height);

// input.cpp: feeds an event of the media library into the raw input state.
void TrackInputEvent(const SDL_Event& e);
// input.cpp: PC scan code of a scancode of the media library (0 unknown).
int PcCodeForScancode(int sdlScancode);
// input.cpp: the tracked cursor, in client coordinates of the main window.
void TrackedCursor(int* x, int* y);
void SetTrackedCursor(int x, int y);

}  // namespace platform
