// The help text page: a framed page of linked text in small cells, the help
// navigation bar, the pointer and the caption of what lies under it.
#include <cstring>

#include "engine/help_pages.h"
#include "engine/linked_text.h"
#include "engine/page_history.h"
#include "engine/page_placeholder.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "screens/character/character_screens.h"
#include "engine/help_lookup.h"

void DrawTextPageScreen(int helpId) {
  LastScreenDrawn = "DrawTextPageScreen";
  std::memset(HoverCaption, 0, 100);
  CursorShape = 29;
  DrawFramedBox(0, 0, 2);
  const int index = FindHelpPage(static_cast<uint32_t>(helpId));
  if (index >= 0) DrawLinkedText(HelpPages[index].text, 4, 2, 2, 60, 33, BackgroundScroll, 1, 0, 1);
  DrawHelpNavBar(1, -1);
  PollPointerButtons();
  DrawMouseCursor();
  if (HoverCaption[0]) DrawWrappedText(-1, HoverCaption, 0, -1, 0, 0);
}
