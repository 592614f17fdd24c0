#include "screens/game/floating_texts.h"

#include <algorithm>
#include <cstring>

#include "engine/game_speeds.h"
#include "engine/text.h"
#include "rules/creature_record.h"
#include "screens/game/view_window.h"
#include "state/fighter_slots.h"

FloatingTextEntry FloatingTexts[kFloatingTextCreatures];
// Names of two speed settings (no end of their own).
int32_t& FloatingTextDuration = FloatingTextFrames;
int32_t& FloatingTextFadeStart = EventAnimationFrames;
int32_t FloatingTextStagger = 0;

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

bool FloatingTextsHeld() { return ViewScrolling != 0; }

void CountDownFloatingTexts() {
  if (FloatingTextsHeld()) return;
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    const int creature = FighterSlots[s].creature;
    if (creature < 0 || creature >= kFloatingTextCreatures) continue;
    FloatingTextEntry& f = FloatingTexts[creature];
    if (f.framesLeft <= -1) continue;
    if (--f.framesLeft == -1) ClearEntry(f);
  }
}

void PlaceFloatingText(int creature, int dx, int dy) {
  if (FloatingTextsHeld() || creature < 0 || creature >= kFloatingTextCreatures) return;
  FloatingTextEntry& f = FloatingTexts[creature];
  if (f.framesLeft < 0) return;
  const CreatureRecord& c = Creatures[creature];
  if (f.framesLeft == FloatingTextDuration - 1) {
    FloatingTextStagger = 1 - FloatingTextStagger;
    const int length = static_cast<int>(std::strlen(f.text));
    f.x = c.pixelX + dx + 11 * c.footprintWidth.current - GlyphStep() / 2 * length;
    // -1 marks a text not yet placed: one placed there stands a pixel right.
    if (f.x == -1) f.x = 0;
    f.y = c.pixelY + dy + 8 * FloatingTextStagger - 5;
  } else if (f.framesLeft % 2 == 0 && f.y != -1) {
    --f.y;
  }
}

bool FloatingTextBox(int creature, int* x, int* y, int* width, int* height) {
  if (FloatingTextsHeld() || creature < 0 || creature >= kFloatingTextCreatures) return false;
  const FloatingTextEntry& f = FloatingTexts[creature];
  if (f.framesLeft < 0 || f.x == -1) return false;
  // Over a creature at the view's edge the text keeps inside the view,
  // whole ("Unconscious" lost its first letters at the left edge, "Cure
  // Serious" its lower half at the bottom).
  *width = GlyphStep() * static_cast<int>(std::strlen(f.text));
  *height = GlyphStep();
  *x = std::clamp(f.x - 24 * FirstVisibleX - SquareOffsetX, 0, std::max(0, ViewWidth() - *width));
  *y = std::clamp(f.y - 24 * FirstVisibleY - SquareOffsetY, 0, std::max(0, ViewHeight() - *height));
  return true;
}

void DrawFloatingTextAt(int creature, int x, int y) {
  if (creature < 0 || creature >= kFloatingTextCreatures) return;
  const FloatingTextEntry& f = FloatingTexts[creature];
  if (f.framesLeft < 0) return;
  uint32_t colour = 0xFFFFFFFFu;
  if (f.framesLeft < FloatingTextFadeStart) colour = (static_cast<uint32_t>(f.framesLeft * 5) << 24) | 0x00FFFFFFu;
  DrawString(f.text, 0, x, y, colour, 0);
}

void ResetFloatingTexts() {
  for (FloatingTextEntry& f : FloatingTexts) f = FloatingTextEntry{};
  FloatingTextStagger = 0;
}
