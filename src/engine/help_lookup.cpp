#include "engine/help_lookup.h"

#include "engine/help_pages.h"

int FindHelpPage(uint32_t id) {
  ReadCheckedHelpFile();
  for (int i = 0; i < HelpPagesLoaded; ++i)
    if (HelpPages[i].id == id) return i;
  return -1;
}
