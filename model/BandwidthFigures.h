// How the main window turns the bandwidth engine's byte counts into the
// speeds it shows and stores: the conversion, the cap and the speed text.
// The window's logic (MainFrameModel) and veltrane-cli both use it.
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

}  // namespace vt
