#include "app/mainframe/BandwidthFigures.h"

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

double BandwidthFigures::OnDownloadSample(uint64_t wParam) {
  double speed = CapSpeed(MessageSpeedMbps(wParam));
  if (speed > peakDownloadMbps_) peakDownloadMbps_ = speed;
  return speed;
}

double BandwidthFigures::OnDownloadDone(uint64_t wParam, int32_t previousPingAvgDelay,
                                        BandwidthReportFields& report) {
  downloadMbps_ = CapSpeed(MessageSpeedMbps(wParam));
  report.speed_speed = downloadMbps_;
  report.speed_rtt = previousPingAvgDelay;
  report.speed_upload = peakDownloadMbps_ * kProvisionalUploadShare;
  return downloadMbps_;
}

int32_t BandwidthFigures::OnPingDone(uint64_t wParam, BandwidthReportFields& report) {
  report.speed_rtt = static_cast<int32_t>(static_cast<uint32_t>(wParam));
  return report.speed_rtt;
}

double BandwidthFigures::OnUploadSample(uint64_t wParam) const { return CapSpeed(MessageSpeedMbps(wParam)); }

double BandwidthFigures::OnUploadDone(uint64_t wParam, BandwidthReportFields& report) {
  double speed = MessageSpeedMbps(wParam);
  report.speed_upload = CapSpeed(speed);
  return speed;
}

}  // namespace vt
