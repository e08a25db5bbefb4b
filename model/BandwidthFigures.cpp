#include "model/BandwidthFigures.h"

#include <cstdio>

namespace vt {

double MessageSpeedMbps(uint64_t wParam) {
  return static_cast<double>(static_cast<uint32_t>(wParam)) * kMbitPerByte * kSpeedCalibration;
}

double CapSpeed(double mbps) { return mbps > kSpeedCap ? kCappedSpeed : mbps; }

std::string SpeedText(double value, double formatValue) {
  char text[64];
  snprintf(text, sizeof text, formatValue > 100 ? "%.1fMbps" : "%.2fMbps", value);
  return text;
}

}  // namespace vt
