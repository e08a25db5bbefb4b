// The diagnosis figures after the trace: WAN and LAN delays scaled so their
// sum stays in proportion to the measured ping.
#pragma once

#include <cstdint>

namespace vt {
// When 0 < rtt < wan + lan, each delay becomes rtt * delay * 1.3 / (wan + lan),
// truncated, and at least 1. Otherwise nothing changes.
void RescaleAgainstPing(int32_t rtt, int32_t* delayWAN, int32_t* delayLAN);
}  // namespace vt
