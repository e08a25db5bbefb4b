#include "net/http/DownloadSpeed.h"

namespace vt {

TimedResult TimedDownloadResult(bool loopRan, uint32_t total, uint32_t startTick, uint32_t endTick) {
  TimedResult r;
  if (!loopRan || endTick <= startTick) return r;
  uint32_t elapsed = endTick - startTick;
  if (elapsed >= kTimedWindowMs) return r;
  r.stored = true;
  r.bytesReceived = total;
  r.speedMbps = total * kMbpsPerBytePerMs / elapsed;
  return r;
}

}  // namespace vt
