// The application test's figure on the wire.
#pragma once

#include <cstdint>

namespace vt {
// Mbit/s x 1000, truncated toward zero, as a 32-bit value (negative or
// non-finite speeds give 0; speeds beyond the 32-bit range saturate).
uint32_t AppSpeedThousandths(double mbps);
}  // namespace vt
