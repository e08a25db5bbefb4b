// Speeds as the bandwidth page shows and stores them, and the dial's scale.
#pragma once

#include <cstdint>

#include "ui/Core/UIString.h"

namespace vt {

constexpr double kSpeedCalibration = 1.0847;
constexpr double kMbitPerByte = 7.62939453125e-6;  // 8 / 2^20: 1 Mbit = 2^20 bits

// Bytes (or bytes per second) from a message, taken as unsigned 32-bit, in
// Mbit/s with the calibration factor applied.
double SpeedFromBytes(uint32_t bytes, double calibration = kSpeedCalibration);
// Speeds above 1000 Mbit/s are shown and stored as 999.99.
double CapSpeed(double mbps);
// "%.1fMbps" above 100, "%.2fMbps" otherwise.
CUIString SpeedText(double mbps);

// The six ascending speeds of the dial's scale for a bandwidth level (any
// level other than 4, 12 and 16 uses the row of 8).
const double* DialScaleRow(int bandwidthLevel);
// Dial value 0..1000 for a speed: six equal segments between the row's marks.
double DialPosition(int bandwidthLevel, double mbps);
// The dial's integer value for a position, truncated toward zero. The
// one-sixth segment constant leaves a speed that equals a scale mark a hair
// below it (100 Mbit/s on the 100M scale computes 999.9999999999999); such
// rounding residue counts as the mark itself, so full scale reads 1000.
int DialValueOf(double position);

// Texts of the scale labels K1..K6 for a level; nullptr for a level that
// keeps the layout's labels.
const char* const* DialScaleLabels(int bandwidthLevel);

// The ten needle positions shown between the previous sample a and the
// newest b (a is 0 for the first sample).
void BuildNeedleSteps(double a, double b, double steps[10]);

}  // namespace vt
