// The options screen (page type 106): three volume sliders and the option
// rows over the option words, each change taking effect at once.
#pragma once
#include <cstdint>

// Which slider the held left button drags: 0 none, 1 sound effects, 2 music,
// 3 ambient sounds.
extern int32_t SliderDrag;

// The option rows in their order on the screen.
constexpr int kOptionRowCount = 21;
enum class OptionRowKind { kToggle, kWindowed, kCycleHitPoints, kCycleAbilityScores };
struct OptionRow {
  const char* label;
  int32_t word;  // the option word, -1 for the windowed mode
  OptionRowKind kind;
};
extern const OptionRow OptionRows[kOptionRowCount];

// A slider's value from the pointer's x: 5 per 4-pixel unit from x = 184,
// one more when the pointer is 2 or 3 pixels into its unit, 0 to 100.
int32_t SliderValueAt(int x);
// Acts on row i as a click does: toggles or cycles its word and applies it
// (the windowed row switches the display). False when the display switch failed.
bool ActOnOptionRow(int row);
