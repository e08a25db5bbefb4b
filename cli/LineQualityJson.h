// The line_quality object of the console's summaries.
#pragma once

#include <string>

#include "engines/quality/LineQuality.h"

namespace vt {

// Every figure of q, and the run's probe rate over seconds (the time the
// prober ran; 0 leaves the rate out).
std::string LineQualityJson(const LineQuality& q, double seconds);
// The progress line: "idle 20.1ms (p90 21.0ms), jitter 1.2ms, download
// +35.2ms, upload +3.0ms, loss 0.06% of 1,732".
std::string LineQualityLine(const LineQuality& q);

}  // namespace vt
