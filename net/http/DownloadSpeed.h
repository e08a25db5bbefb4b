// The speed arithmetic of TimedDownload, portable.
#pragma once

#include <cstdint>

namespace vt {

// Mbit/s per (byte / millisecond): 8 × 1000 / 1,048,576 = 1000 / 131072.
constexpr double kMbpsPerBytePerMs = 0.00762939453125;
// The timed window of one probe attempt.
constexpr uint32_t kTimedWindowMs = 5000;

struct TimedResult {
  bool stored = false;  // false: bytesReceived and speedMbps stay 0
  uint32_t bytesReceived = 0;
  double speedMbps = 0.0;
};

// A transfer's result as TimedDownload stores it: only when the receive loop
// ran and the time from the end of the request to the end of the reply is
// above 0 and below 5000 ms. The time is measured with the performance
// counter, not the millisecond tick: a page of a few hundred kilobytes on a
// fast line arrives within one tick (15.6 ms on Windows), which the tick
// would turn into "no result" or a speed off by an order of magnitude.
TimedResult TimedDownloadResult(bool loopRan, uint32_t total, double elapsedMs);

}  // namespace vt
