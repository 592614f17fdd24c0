#include "engine/click_sound.h"

namespace {
int g_requests = 0;
}  // namespace

void PlayClickSound() {
  ++g_requests;
  // The sound channels are not there yet: the click is silent.
}

int ClickSoundRequests() { return g_requests; }
