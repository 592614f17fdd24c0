// The frame timer: time between frames by the tick count and by the fine counter.
#pragma once
#include <cstdint>

class cGameTiming {
 public:
  virtual ~cGameTiming() = default;
  virtual int Start();
  virtual void UpdateElapsedTime();
  virtual void UpdateFrameRate();

  uint32_t startTick = 0;
  uint32_t lastTick = 0;
  float elapsedSeconds = 0;
  float inverseElapsed = 0;     // as measured by UpdateElapsedTime
  float inverseFrameRate = 0;   // as measured by UpdateFrameRate
  uint32_t frameCounter = 0;    // 0 to 99
  float snapshotInverseElapsed = 0;
  float snapshotInverseFrameRate = 0;
  double snapshotCounterRateElapsed = 0;
  double snapshotCounterRateFrame = 0;
  int64_t counterFrequency = 0;
  int64_t startCounter = 0;
  int64_t lastCounter = 0;
  int64_t currentCounter = 0;
  double elapsedMicroseconds = 0;
  double counterRateElapsed = 0;
  double counterRateFrame = 0;
};

extern cGameTiming GameTiming;
