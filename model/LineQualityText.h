// The line quality figures as the pages show them (markup, system code page).
#pragma once

#include <string>

#include "engines/quality/LineQuality.h"

namespace vt {

// The bandwidth page's two result lines ("TextResult", below the log, in
// the smaller font 3 so that each stays on one line of the 360-pixel
// column): idle delay and jitter (or that they come from the pauses between
// tests), then the delay during the download and the upload phase with its
// difference from idle.
std::string BandwidthQualityLines(const LineQuality& q);
// The diagnosis page's loss line, to follow the verdict inside its <f 4>:
// a gap and one line in font 3 with ratio, probe count and longest run.
std::string LossLine(const LineQuality& q);

}  // namespace vt
