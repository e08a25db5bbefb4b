// The HTTP client's probe line for the diagnostic log (base/Log.h).
#pragma once

#include <cstdint>
#include <string>

#include "base/Log.h"

namespace vt {

// "http download OK:<url> Recv:<bytes> Speed:<speed>", the speed in the
// stream's default floating-point form (%g: up to six significant digits).
std::string ProbeLogLine(const std::string& url, uint32_t bytesReceived, double speedMbps);

}  // namespace vt
