#include "frontend/options_screen.h"

#include <algorithm>
#include <cstdio>

#include "combat/turns/turn_routines.h"
#include "engine/click_sound.h"
#include "engine/frame.h"
#include "engine/last_screen.h"
#include "engine/main_window.h"
#include "engine/music.h"
#include "engine/page_history.h"
#include "engine/settings.h"
#include "engine/sheet_table.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "frontend/fade_screens.h"
#include "frontend/front_screens.h"
#include "frontend/menu_pages.h"
#include "platform/audio.h"

int32_t SliderDrag = 0;

const OptionRow OptionRows[kOptionRowCount] = {
    {"Battle Music", kOptionBattleMusic, OptionRowKind::kToggle},
    {"Low-resolution text", kOptionLowResolutionText, OptionRowKind::kToggle},
    {"Windowed Mode", -1, OptionRowKind::kWindowed},
    {"Accelerated combat", kOptionAcceleratedCombat, OptionRowKind::kToggle},
    {"Double walk speed", kOptionDoubleWalkSpeed, OptionRowKind::kToggle},
    {"Display Threat Areas", kOptionDisplayThreatAreas, OptionRowKind::kToggle},
    {"Display Coloured Arrows", kOptionDisplayColouredArrows, OptionRowKind::kToggle},
    {"Display Expanded Tooltip", kOptionDisplayExpandedTooltip, OptionRowKind::kToggle},
    {"Auto-recast Cure spells", kOptionAutoRecastCure, OptionRowKind::kToggle},
    {"Auto-recast Mage Armor", kOptionAutoRecastMageArmor, OptionRowKind::kToggle},
    {"Auto-recast Light", kOptionAutoRecastLight, OptionRowKind::kToggle},
    {"Confirm Personal Spells", kOptionConfirmPersonalSpells, OptionRowKind::kToggle},
    {"Pathfind avoids Entangle", kOptionPathfindAvoidsEntangle, OptionRowKind::kToggle},
    {"Skip turn after left-click attack", kOptionSkipTurnAfterLeftClickAttack, OptionRowKind::kToggle},
    {"Automatic End of Turn", kOptionAutomaticEndOfTurn, OptionRowKind::kToggle},
    {"Multiply Strength bonus on criticals", kOptionMultiplyStrengthOnCriticals, OptionRowKind::kToggle},
    {"Maximum Hit Points on Level Up", kOptionMaxHitPointsOnLevelUp, OptionRowKind::kCycleHitPoints},
    {"Maximum ability scores", kOptionMaxAbilityScores, OptionRowKind::kCycleAbilityScores},
    {"Disable monster spawning", kOptionDisableMonsterSpawning, OptionRowKind::kToggle},
    {"Disable world map encounters", kOptionDisableWorldMapEncounters, OptionRowKind::kToggle},
    {"Running away can fail", kOptionRunningAwayCanFail, OptionRowKind::kToggle},
};

namespace {

constexpr int kBarLeft = 184;
constexpr int kBarWidth = 80;
constexpr int kBarHeight = 7;
constexpr int kMinusX = 176;
constexpr int kPlusX = 264;
constexpr int kUnitPixels = 4;
constexpr int kFrameBarUnit = 945;
constexpr int kFrameMinus = 946;
constexpr int kFramePlus = 947;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kBarLit = 0xFF969696u;
constexpr uint32_t kButtonLit = 0xFF7D7D7Du;
constexpr uint32_t kRowLit = 0xFFB4B4B4u;
constexpr uint32_t kNoRed = 0xFFFF0000u;
constexpr int kRowsTop = 75;
constexpr int kRowPitch = 7;
constexpr int kRowLabelX = 50;
constexpr int kRowValueColumn = 52;
constexpr int kRowNoRight = 265;

struct Slider {
  int32_t number;  // SliderDrag's value for it
  int32_t word;
  int y;
};
constexpr Slider kSliders[3] = {{1, kOptionSoundVolume, 48}, {2, kOptionMusicVolume, 56}, {3, kOptionAmbientVolume, 64}};

// The test sound of a slider: the click at the sound-effects volume.
void PlayTestSound() { PlayClickSound(); }

bool MusicPlaying() { return CurrentMusicTrack != 0 && platform::MidiIsPlaying(); }

// The engine values that follow a slider's word.
void ApplySlider(const Slider& s, bool dragStep) {
  const int32_t value = OptionWords[s.word];
  if (s.word == kOptionMusicVolume) {
    SetMusicVolume(value);
    if (dragStep && value > 0 && !MusicPlaying() && CurrentMusicTrack != kTitleMusicTrack)
      PlayPageMusic(kTitleMusicTrack, 1);
  } else if (s.word == kOptionAmbientVolume) {
    ApplyAmbientVolumes();
  }
}

void DrawSlider(const Slider& s) {
  const int32_t value = OptionWords[s.word];
  const bool overBar = MouseInRect(s.y, kBarLeft, kBarWidth, kBarHeight);
  const bool dragging = SliderDrag == s.number;
  const bool overMinus = MouseInRect(s.y, kMinusX, 8, 8);
  const bool overPlus = MouseInRect(s.y, kPlusX, 8, 8);
  DrawSheetFrame(kSheetInterface, kFrameMinus, kMinusX, s.y, overMinus ? kButtonLit : kWhite);
  const uint32_t bar = overBar || dragging ? kBarLit : kWhite;
  for (int unit = 0; unit < std::clamp(value, 0, 100) / 5; ++unit)
    DrawSheetFrame(kSheetInterface, kFrameBarUnit, kBarLeft + kUnitPixels * unit, s.y, bar);
  DrawSheetFrame(kSheetInterface, kFramePlus, kPlusX, s.y, overPlus ? kButtonLit : kWhite);
}

// Dragging the bar, or a click on minus or plus.
void HandleSlider(const Slider& s) {
  int32_t& value = OptionWords[s.word];
  const bool pressed = ButtonPressed(0);
  const bool begins = SliderDrag == 0 && pressed && MouseInRect(s.y, kBarLeft, kBarWidth, kBarHeight);
  if (begins || (SliderDrag == s.number && pressed)) {
    CursorShape = 101;
    value = SliderValueAt(PointerX());
    SliderDrag = s.number;
    if (begins) PlayTestSound();
    ApplySlider(s, true);
    return;
  }
  if (SliderDrag != 0 || !pressed) return;
  const bool minus = MouseInRect(s.y, kMinusX, 8, 8), plus = MouseInRect(s.y, kPlusX, 8, 8);
  if (!minus && !plus) return;
  LatchButton(0);
  value = minus ? std::max(value - 5, 0) : std::min(value + 5, 100);
  PlayTestSound();
  ApplySlider(s, false);
}

void DrawSmall(const char* text, uint32_t colour, int style, int x, int y) {
  DrawTextAt(colour, kSmallColumns, x, text, style, 0, 0, 0, y, 1, 0);
}

void DrawRowValue(const OptionRow& row, int y, bool hovered) {
  const int32_t value = row.word < 0 ? WindowedFlag : OptionWords[row.word];
  const uint32_t lit = hovered ? kRowLit : kWhite;
  const int x = kRowValueColumn * 5;
  if (row.kind == OptionRowKind::kCycleAbilityScores) {
    char digit[12];
    std::snprintf(digit, sizeof digit, "%i", value);
    DrawSmall(digit, lit, kStyleAvailable, x, y);
  } else if (value == 1) {
    DrawSmall("Yes", lit, kStyleTitle, x, y);
  } else if (value == 2 && row.kind == OptionRowKind::kCycleHitPoints) {
    DrawSmall("50%", lit, kStyleTitle, x, y);
  } else {
    // "No" right-aligned on x = 265, glyph by glyph.
    const char* no = "No";
    for (int i = 1; i >= 0; --i)
      DrawGlyph(hovered ? kRowLit : kNoRed, static_cast<unsigned char>(no[i]), kRowNoRight - 5 * (2 - i), y,
                hovered ? 7 : 3, 0, 0, 0);
  }
}

}  // namespace

int32_t SliderValueAt(int x) {
  const int offset = x - kBarLeft;
  int units = offset / kUnitPixels;
  const int remainder = offset % kUnitPixels;
  if (remainder == 2 || remainder == 3) ++units;
  return std::clamp(units * 5, 0, 100);
}

bool ActOnOptionRow(int row) {
  if (row < 0 || row >= kOptionRowCount) return true;
  const OptionRow& r = OptionRows[row];
  switch (r.kind) {
    case OptionRowKind::kWindowed:
      PresentBackdropFrameNow();
      return SwitchDisplayMode() != 0;
    case OptionRowKind::kToggle:
      // 1 minus the word, wrapping round as the word's 32 bits do, so that no
      // stored value (the lowest one among them) can overflow it.
      OptionWords[r.word] = static_cast<int32_t>(1u - static_cast<uint32_t>(OptionWords[r.word]));
      break;
    case OptionRowKind::kCycleHitPoints: {
      const int32_t v = OptionWords[r.word];
      OptionWords[r.word] = v < 0 || v >= 2 ? 0 : v + 1;
      break;
    }
    case OptionRowKind::kCycleAbilityScores: {
      const int32_t v = OptionWords[r.word];
      OptionWords[r.word] = v < 0 || v >= 6 ? 0 : v + 1;
      break;
    }
  }
  if (r.word == kOptionAcceleratedCombat) ApplyCombatSpeedOption();
  if (r.word == kOptionDoubleWalkSpeed) ApplyWalkSpeedOption();
  return true;
}

int GameOptionsScreen() {
  LastScreenDrawn = "GameOptionsScreen";
  if (!ButtonPressed(0)) SliderDrag = 0;
  BeginMenuFrame(kCursorMenu);
  DrawScreenBackdrop();
  DrawTextF(kStyleTitle, 8, 2, "Game Options");
  DrawTextF(kStyleUnavailable, 6, 6, "Sound Effects");
  DrawTextF(kStyleUnavailable, 6, 7, "Music");
  DrawTextF(kStyleUnavailable, 6, 8, "Ambient sounds");
  for (const Slider& s : kSliders) {
    HandleSlider(s);
    DrawSlider(s);
  }

  bool displayFailed = false;
  for (int i = 0; i < kOptionRowCount; ++i) {
    const int y = kRowsTop + kRowPitch * i;
    const bool hovered = SliderDrag == 0 && MouseInTextRow(0, kRowLabelX / 5, 40, 1, 0, y);
    if (hovered) CursorShape = kCursorActive;
    DrawSmall(OptionRows[i].label, kDefaultColour, hovered ? kStyleHovered : kStyleUnavailable, kRowLabelX, y);
    DrawRowValue(OptionRows[i], y, hovered);
    if (hovered && ButtonPressed(0)) {
      LatchButton(0);
      if (!ActOnOptionRow(i)) displayFailed = true;
    }
  }

  if (SliderDrag == 0) {
    if (!MainMenuLabel(22, 28)) {
      const bool overHelp = MouseInTextRow(28, 11, 4, 1, 1, 0);
      if (overHelp) {
        SetHoverHint("Gameplay Options");
        HoverEntry(kHoverOptionsHelp);
        CursorShape = 28;
      }
      DrawTextF(overHelp ? kStyleHovered : kStyleAvailable, 11, 28, "Help");
      if (overHelp && ButtonPressed(0)) {
        TakeMenuClick();
        OpenPage("Gameplay Options", 11000);
      }
    }
  } else {
    DrawTextF(kStyleAvailable, 22, 28, "Main Menu");
    DrawTextF(kStyleAvailable, 11, 28, "Help");
  }
  SettleMenuHover();
  EndMenuFrame(SliderDrag == 0);
  return displayFailed ? 0 : 1;
}
