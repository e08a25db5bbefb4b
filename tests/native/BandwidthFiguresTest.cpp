// The main window's conversion of the bandwidth messages, shared with
// veltrane-cli.
#include <gtest/gtest.h>

#include "model/BandwidthFigures.h"

namespace {

TEST(BandwidthFigures, ConversionAndSpeedText) {
  EXPECT_NEAR(vt::MessageSpeedMbps(1000000), 8.2756, 1e-4);
  EXPECT_EQ(vt::SpeedText(vt::MessageSpeedMbps(1000000)), "8.28Mbps");
  EXPECT_EQ(vt::SpeedText(vt::MessageSpeedMbps(20000000)), "165.5Mbps");
  EXPECT_DOUBLE_EQ(vt::MessageSpeedMbps(131072), 1.0847);  // 1 Mbit (2^20 bits) × 1.0847
  EXPECT_EQ(vt::SpeedText(100.0), "100.00Mbps");
  EXPECT_EQ(vt::SpeedText(100.01), "100.0Mbps");
  // wParam is taken as unsigned 32-bit.
  EXPECT_DOUBLE_EQ(vt::MessageSpeedMbps(0x100000000ull + 131072), 1.0847);
}

TEST(BandwidthFigures, Cap) {
  EXPECT_DOUBLE_EQ(vt::CapSpeed(1000.0), 1000.0);
  EXPECT_DOUBLE_EQ(vt::CapSpeed(1000.01), 999.99);
  EXPECT_DOUBLE_EQ(vt::CapSpeed(3000.0), 999.99);
  EXPECT_EQ(vt::SpeedText(999.99, 1500.0), "1000.0Mbps");  // format from the uncapped value
}

}  // namespace
