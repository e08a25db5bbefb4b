// The line quality figures as the pages show them (markup, system code page).
#pragma once

#include <string>

#include "engines/quality/LineQuality.h"

namespace vt {

// The bandwidth page's lines after the upload figure: idle delay and jitter
// (or that they come from the pauses between tests), and the delay during
// the download and the upload phase with its difference from idle.
std::string BandwidthQualityLines(const LineQuality& q);
// The diagnosis page's loss line: ratio, probe count and longest run.
std::string LossLine(const LineQuality& q);

}  // namespace vt
