// The HTTP client's probe line for the diagnostic log (base/Log.h).
#pragma once

#include <cstdint>
#include <string>

#include "base/Log.h"

namespace vt {

// "http download OK:<url> Recv:<bytes> Speed:<speed>", the speed in the
// stream's default floating-point form (%g: up to six significant digits).
std::string ProbeLogLine(const std::string& url, uint32_t bytesReceived, double speedMbps);

// A platform exchange for the log file: "platform: GET status 200, 15 body
// bytes, whole: <url>" ("result N (name)" instead of the status when the
// exchange failed; "cut" when the reply did not arrive whole). The URL
// comes last: the test number's ends in the typed password, which the log
// masks to the end of the line.
std::string ExchangeLogLine(const char* method, const std::string& url, int32_t result, int status,
                            uint64_t bodyBytes, bool whole);

}  // namespace vt
