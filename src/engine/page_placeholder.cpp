#include "engine/page_placeholder.h"

#include "engine/frame.h"
#include "engine/page_history_access.h"
#include "engine/text.h"
#include "engine/widgets.h"

const char* LastScreenDrawn = "";

int DrawPagePlaceholder(const char* screen) {
  LastScreenDrawn = screen;
  if (ScreenMode != kModePageView) return 1;  // screens of other modes draw nothing yet
  CursorShape = 29;  // the plain pointer
  DrawScreenBackdrop();
  DrawTextF(6, 2, 2, "%s", TopPageCaption());
  DrawHelpNavBar(1, 0);
  DrawMouseCursor();
  return 1;
}
