#include "frontend/front_screens.h"

#include "engine/page_placeholder.h"

int SaveLoadScreen(int) {
  DrawPagePlaceholder("SaveLoadScreen");
  return 0;  // the frame ends the scene
}
