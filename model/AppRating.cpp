#include "model/AppRating.h"

#include <cstdio>

namespace vt {

const char* RateComment(double mbps) {
  if (mbps > 8.0) return "很快";
  if (mbps > 1.0) return "一般";
  return "很慢";
}

const char* RateIcon(double mbps) {
  if (mbps > 8.0) return "file='img\\bt_speed_L1.png'";
  if (mbps > 1.0) return "file='img\\bt_speed_L2.png'";
  return "file='img\\bt_speed_L3.png'";
}

std::string AppSpeedText(double mbps, const char* nothing) {
  if (!(mbps > 0.0)) return nothing;
  char text[64];  // figures come from 32-bit thousandths: at most 14 characters
  snprintf(text, sizeof text, "%.2fMbps", mbps);
  return text;
}

}  // namespace vt
