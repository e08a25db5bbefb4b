#include "engines/apptest/AppSpeed.h"

namespace vt {

uint32_t AppSpeedThousandths(double mbps) {
  double scaled = mbps * 1000.0;
  if (!(scaled > 0.0)) return 0;  // also NaN
  if (scaled >= 4294967295.0) return 4294967295u;
  return static_cast<uint32_t>(scaled);
}

}  // namespace vt
