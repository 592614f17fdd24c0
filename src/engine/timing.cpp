#include "engine/timing.h"

#include "platform/system.h"

cGameTiming GameTiming;

int cGameTiming::Start() {
  frameCounter = 0;
  startTick = lastTick = platform::TickCount();
  counterFrequency = platform::PerformanceFrequency();
  startCounter = platform::PerformanceCounter();
  lastCounter = startCounter;
  return 1;
}

void cGameTiming::UpdateElapsedTime() {
  const uint32_t ticks = platform::TickCount() - lastTick;  // unsigned: a wrap stays positive
  elapsedSeconds = static_cast<float>(ticks) / 1000.0f;
  lastTick = platform::TickCount();
  inverseElapsed = 1.0f / elapsedSeconds;
  currentCounter = platform::PerformanceCounter();
  elapsedMicroseconds =
      static_cast<double>(currentCounter - lastCounter) / static_cast<double>(counterFrequency) * 1000000.0;
  lastCounter = platform::PerformanceCounter();
  counterRateElapsed = 1000000.0 / elapsedMicroseconds;
}

void cGameTiming::UpdateFrameRate() {
  const uint32_t ticks = platform::TickCount() - lastTick;
  elapsedSeconds = static_cast<float>(ticks) / 1000.0f;
  inverseFrameRate = 1.0f / elapsedSeconds;
  currentCounter = platform::PerformanceCounter();
  elapsedMicroseconds =
      static_cast<double>(currentCounter - lastCounter) / static_cast<double>(counterFrequency) * 1000000.0;
  counterRateFrame = 1000000.0 / elapsedMicroseconds;
  if (++frameCounter > 99) {
    frameCounter = 0;
    snapshotInverseElapsed = inverseElapsed;
    snapshotInverseFrameRate = inverseFrameRate;
    snapshotCounterRateElapsed = counterRateElapsed;
    snapshotCounterRateFrame = counterRateFrame;
  }
}
