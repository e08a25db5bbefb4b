// How the main window turns the bandwidth engine's messages into figures:
// the speed conversion, the cap, the speed text, and the
// bandwidth fields of ReportRecord (speed_speed, speed_rtt, speed_upload).
// Portable; the window's handler and veltrane-cli both use it, so the
// console prints exactly what the window would store.
#pragma once

#include <cstdint>
#include <string>

namespace vt {

// 1 Mbit = 2^20 bits: 8 / 1,048,576.
constexpr double kMbitPerByte = 7.62939453125e-6;
// The window's speedCalibration, applied to every speed received.
constexpr double kSpeedCalibration = 1.0847;
// A speed above this is shown and stored as kCappedSpeed.
constexpr double kSpeedCap = 1000.0;
constexpr double kCappedSpeed = 999.99;
// The provisional upload figure stored at the end of the download phase.
constexpr double kProvisionalUploadShare = 0.4166666666666667;

// A byte count or byte rate from a message (wParam taken as unsigned 32-bit)
// in Mbit/s: value × 7.62939453125e-6 × 1.0847.
double MessageSpeedMbps(uint64_t wParam);
// Above 1000 Mbit/s: 999.99.
double CapSpeed(double mbps);
// "%.1fMbps" when formatValue is above 100, else "%.2fMbps", filled with
// value (the two differ only for the final upload figure, whose format is
// chosen from the uncapped value).
std::string SpeedText(double value, double formatValue);
inline std::string SpeedText(double value) { return SpeedText(value, value); }

// The bandwidth fields of ReportRecord.
struct BandwidthReportFields {
  int32_t speed_rtt = 0;      // ms
  double speed_speed = 0.0;   // Mbit/s
  double speed_upload = 0.0;  // Mbit/s
};

// The handler's state for one bandwidth test and what each message does to
// the report fields. The window keeps one of these; so does the console.
class BandwidthFigures {
 public:
  // "ButtonBandwidth": the peak of the new test starts at 0.
  void StartTest() { peakDownloadMbps_ = 0.0; }

  // MSG_DOWNLOAD_SAMPLE: the capped speed; it may become the new peak.
  double OnDownloadSample(uint64_t wParam);
  // MSG_DOWNLOAD_DONE: downloadMbps (capped) becomes speed_speed; speed_rtt
  // takes the previous ping's result (pingRequest.avgDelay); speed_upload
  // takes the provisional peak × 0.4166666666666667.
  double OnDownloadDone(uint64_t wParam, int32_t previousPingAvgDelay, BandwidthReportFields& report);
  // MSG_PING_DONE: speed_rtt (and pingRequest.avgDelay) ← wParam.
  int32_t OnPingDone(uint64_t wParam, BandwidthReportFields& report);
  // MSG_UPLOAD_SAMPLE: the capped speed.
  double OnUploadSample(uint64_t wParam) const;
  // MSG_UPLOAD_DONE: speed_upload ← the capped speed; returns the uncapped
  // one (which chooses the speed text's format).
  double OnUploadDone(uint64_t wParam, BandwidthReportFields& report);

  double peakDownloadMbps() const { return peakDownloadMbps_; }
  double downloadMbps() const { return downloadMbps_; }

 private:
  double peakDownloadMbps_ = 0.0;
  double downloadMbps_ = 0.0;
};

}  // namespace vt
