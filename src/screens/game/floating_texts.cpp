#include "screens/game/floating_texts.h"

#include <cstring>

#include "engine/game_speeds.h"

FloatingTextEntry FloatingTexts[kFloatingTextCreatures];
int32_t& FloatingTextDuration = FloatingTextFrames;
int32_t& FloatingTextFadeStart = EventAnimationFrames;

namespace {

void ClearEntry(FloatingTextEntry& f) {
  f.framesLeft = -1;
  std::memset(f.text, 0, sizeof f.text);
  f.x = f.y = -1;
}

}  // namespace

bool ShowFloatingText(const char* text, int creature) {
  if (text == nullptr || creature < 0 || creature >= kFloatingTextCreatures) return false;
  const size_t length = std::strlen(text);
  if (length > kFloatingTextLength) return false;
  FloatingTextEntry& f = FloatingTexts[creature];
  ClearEntry(f);
  std::memcpy(f.text, text, length + 1);
  f.framesLeft = FloatingTextDuration;
  return true;
}

bool ShowFloatingText(int creature, const char* text) { return ShowFloatingText(text, creature); }

void ResetFloatingTexts() {
  for (FloatingTextEntry& f : FloatingTexts) f = FloatingTextEntry{};
}
