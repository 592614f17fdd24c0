#include "screens/game/frame_words.h"

#include "engine/frame.h"
#include "engine/reset_words.h"

uint32_t BlinkTick = 0;
uint32_t Tick100 = 0;
float PhaseAngle = 0.0f;
float SlowPhaseAngle = 0.0f;
int32_t FrameCountdown = 0;
uint32_t ArrowPulse = 0;
uint32_t IconFrame8 = 0;
uint32_t IconFrame10 = 0;
uint32_t IconFrame3A = 0;
int32_t PulseAlpha = 0;
uint32_t IconFrame3B = 0;
uint32_t AreaFrame = 900;
uint32_t FeatureFrame = 0;
uint32_t FlameTick = 0;
uint32_t FloorTick = 0;
uint32_t LayerTick10 = 0, LayerTick13 = 0, LayerTick8 = 0, LayerTick5 = 0;
uint32_t WeatherTick = 0;
uint32_t MarkerFrame = 0;
uint8_t AreaFrameStepped = 0;
char CursorHint[kCursorHintSize] = {};
int32_t HoveredCreature = -1;
int32_t HoveredFighterSlot = -1;
uint8_t PartyListHover = 0;
AmbientSourcePair AmbientSourceFlags[4] = {};
int32_t CampfireSquareX = -1, CampfireSquareY = -1;
uint8_t MapHidden = 0;
uint8_t CursorTargetValid = 0;

namespace {

constexpr float kTurn = 6.2831853f;

// The frames counted toward the next step of the counters that step every
// few frames.
struct SubCounts {
  uint32_t icon8, icon10, icon3A, pulse, pulseStep, icon3B, area, feature, marker;
};
SubCounts Sub = {};

// Adds one to a counter of n.
void StepOf(uint32_t& counter, uint32_t n) {
  if (++counter >= n) counter = 0;
}

// Counts a frame toward a step every `every` frames; true on the frame it steps.
bool Every(uint32_t& frames, uint32_t every) {
  if (++frames < every) return false;
  frames = 0;
  return true;
}

void AdvanceAngle(float& angle, float step) {
  angle += step;
  if (angle >= kTurn) angle -= kTurn;
}

// The pulsing alpha: one step of a 50-step sub-count every two frames,
// rising by 4 in its first half and falling by 4 in its second.
void StepPulseAlpha() {
  if (!Every(Sub.pulse, 2)) return;
  StepOf(Sub.pulseStep, 50);
  PulseAlpha += Sub.pulseStep < 25 ? 4 : -4;
  if (PulseAlpha < 0) PulseAlpha = 0;
  if (PulseAlpha > 100) PulseAlpha = 100;
}

}  // namespace

void AdvanceFrameCounters() {
  StepOf(BlinkTick, 20);
  StepOf(Tick100, 100);
  AdvanceAngle(PhaseAngle, kTurn / 250.0f);
  AdvanceAngle(SlowPhaseAngle, kTurn / 10000.0f);
  --FrameCountdown;
  AreaFrameStepped = 0;
  if (ScreenMode != kModeExploring && ScreenMode != kModeResting) return;

  ArrowPulse += 3;
  if (ArrowPulse > 100) ArrowPulse = 0;
  if (Every(Sub.icon8, 3)) StepOf(IconFrame8, 8);
  if (Every(Sub.icon10, 15)) StepOf(IconFrame10, 10);
  if (Every(Sub.icon3A, 4)) StepOf(IconFrame3A, 3);
  StepPulseAlpha();
  if (Every(Sub.icon3B, 8)) StepOf(IconFrame3B, 3);
  if (Every(Sub.area, 2)) {
    AreaFrame = AreaFrame >= 917 ? 900 : AreaFrame + 1;
    AreaFrameStepped = 1;
  }
  if (Every(Sub.feature, 10)) StepOf(FeatureFrame, 12);
  StepOf(FlameTick, 4);
  StepOf(FloorTick, 4);
  StepOf(LayerTick10, 10);
  StepOf(LayerTick13, 13);
  StepOf(LayerTick8, 8);
  StepOf(LayerTick5, 5);
  StepOf(WeatherTick, 5);
  if (Every(Sub.marker, 13)) StepOf(MarkerFrame, 11);
}

void ResetFrameWords() {
  BlinkTick = Tick100 = 0;
  PhaseAngle = SlowPhaseAngle = 0.0f;
  FrameCountdown = 0;
  ArrowPulse = IconFrame8 = IconFrame10 = IconFrame3A = IconFrame3B = 0;
  PulseAlpha = 0;
  AreaFrame = 900;
  FeatureFrame = FlameTick = FloorTick = 0;
  LayerTick10 = LayerTick13 = LayerTick8 = LayerTick5 = 0;
  WeatherTick = MarkerFrame = 0;
  AreaFrameStepped = 0;
  Sub = {};
  ResetWords(CursorHint);
  HoveredCreature = HoveredFighterSlot = -1;
  PartyListHover = 0;
  ResetWords(AmbientSourceFlags);
  CampfireSquareX = CampfireSquareY = -1;
  MapHidden = 0;
  CursorTargetValid = 0;
}
