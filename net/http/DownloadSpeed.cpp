#include "net/http/DownloadSpeed.h"

namespace vt {

TimedResult TimedDownloadResult(bool loopRan, uint32_t total, double elapsed) {
  TimedResult r;
  if (!loopRan || !(elapsed > 0.0) || elapsed >= kTimedWindowMs) return r;
  r.stored = true;
  r.bytesReceived = total;
  r.speedMbps = total * kMbpsPerBytePerMs / elapsed;
  return r;
}

}  // namespace vt
