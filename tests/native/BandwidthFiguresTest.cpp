// The main window's conversion of the bandwidth messages, shared
// with veltrane-cli.
#include <gtest/gtest.h>

#include "app/mainframe/BandwidthFigures.h"

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

TEST(BandwidthFigures, ReportFieldsThroughOneTest) {
  vt::BandwidthFigures f;
  vt::BandwidthReportFields report;
  f.StartTest();
  f.OnDownloadSample(1000000);
  f.OnDownloadSample(3000000);
  f.OnDownloadSample(2000000);
  EXPECT_NEAR(f.peakDownloadMbps(), vt::MessageSpeedMbps(3000000), 1e-12);
  f.OnDownloadDone(2000000, 17, report);
  EXPECT_DOUBLE_EQ(report.speed_speed, vt::MessageSpeedMbps(2000000));
  EXPECT_EQ(report.speed_rtt, 17);  // the previous ping's result until the ping ends
  EXPECT_DOUBLE_EQ(report.speed_upload, vt::MessageSpeedMbps(3000000) * 0.4166666666666667);
  EXPECT_EQ(f.OnPingDone(23, report), 23);
  EXPECT_EQ(report.speed_rtt, 23);
  EXPECT_DOUBLE_EQ(f.OnUploadSample(500000), vt::MessageSpeedMbps(500000));
  double uncapped = f.OnUploadDone(600000, report);
  EXPECT_DOUBLE_EQ(report.speed_upload, vt::MessageSpeedMbps(600000));
  EXPECT_DOUBLE_EQ(uncapped, report.speed_upload);
}

TEST(BandwidthFigures, FastLinesAreCappedEverywhere) {
  vt::BandwidthFigures f;
  vt::BandwidthReportFields report;
  f.StartTest();
  EXPECT_DOUBLE_EQ(f.OnDownloadSample(400000000), 999.99);
  f.OnDownloadDone(400000000, 0, report);
  EXPECT_DOUBLE_EQ(report.speed_speed, 999.99);
  EXPECT_DOUBLE_EQ(report.speed_upload, 999.99 * 0.4166666666666667);
  double uncapped = f.OnUploadDone(300000000, report);
  EXPECT_DOUBLE_EQ(report.speed_upload, 999.99);
  EXPECT_GT(uncapped, 1000.0);
  f.StartTest();  // a new test: the peak starts again
  EXPECT_EQ(f.peakDownloadMbps(), 0.0);
}

}  // namespace
