// The speed arithmetic of TimedDownload, portable.
#pragma once

#include <cstdint>

namespace vt {

// Mbit/s per (byte / millisecond): 8 × 1000 / 1,048,576 = 1000 / 131072.
constexpr double kMbpsPerBytePerMs = 0.00762939453125;
// The timed window of one probe attempt.
constexpr uint32_t kTimedWindowMs = 5000;

struct TimedResult {
  bool stored = false;       // false: bytesReceived and speedMbps stay 0
  uint32_t bytesReceived = 0;
  double speedMbps = 0.0;
};

// A transfer's result as TimedDownload stores it: only when the receive loop
// ran, the end tick (GetTickCount) is greater than the start tick (taken
// right after the request was sent) and the difference is below 5000 ms.
TimedResult TimedDownloadResult(bool loopRan, uint32_t total, uint32_t startTick, uint32_t endTick);

}  // namespace vt
