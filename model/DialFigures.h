// The speedometer: where a speed sits on the dial's scale for a bandwidth
// level, and the needle's steps between two samples.
#pragma once

namespace vt {

// The six ascending speeds of the dial's scale for a bandwidth level (any
// level other than 4, 12 and 16 uses the row of 8).
const double* DialScaleRow(int bandwidthLevel);
// Dial position 0..1000 for a speed: six equal segments between the row's marks.
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
