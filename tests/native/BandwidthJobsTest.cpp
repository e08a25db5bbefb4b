// The job lists of the bandwidth phases per mode and level, on the lab's
// addresses (config/lab.ini in use).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/ServerSet.h"
#include "engines/bandwidth/BandwidthJobs.h"
#include "tests/native/ServerSetFiles.h"

namespace {

using Urls = std::vector<std::string>;

const std::string P = "http://127.0.80.1/data.iso";
std::string Ts(int n) { return "http://127.0.80." + std::to_string(10 + n) + ":8000/data.iso"; }
const std::string PU = "http://127.0.80.1/recv_upload.php";
std::string TsU(int n) {
  return n == 8 ? "http://127.0.80.18/recv_upload.php"
                : "http://127.0.80." + std::to_string(10 + n) + ":8000/recv_upload.php";
}

class BandwidthJobs : public ::testing::Test {
 protected:
  LabServersInUse lab_;
};

TEST_F(BandwidthJobs, LabSetInUse) {
  ASSERT_TRUE(lab_.ok());
  ASSERT_EQ(vt::Servers().platformServer, "127.0.80.1");
}

TEST_F(BandwidthJobs, MetroDownloadAlternatesWithThePlatform) {
  EXPECT_EQ(vt::DownloadJobUrls(2, 4), (Urls{Ts(1), P}));
  EXPECT_EQ(vt::DownloadJobUrls(2, 8), (Urls{Ts(1), P, Ts(2), P}));
  EXPECT_EQ(vt::DownloadJobUrls(2, 12), (Urls{Ts(1), P, Ts(2), P, P, P}));
  // Level 16: test server 1, platform, test server 2, platform, platform,
  // platform, test server 3, platform.
  EXPECT_EQ(vt::DownloadJobUrls(2, 16), (Urls{Ts(1), P, Ts(2), P, P, P, Ts(3), P}));
}

TEST_F(BandwidthJobs, InternetDownloadTakesTheFirstLevelEntries) {
  for (int level : {4, 8, 12, 16}) {
    Urls urls = vt::DownloadJobUrls(1, level);
    ASSERT_EQ(urls.size(), static_cast<size_t>(level));
    for (int i = 0; i < level; ++i) EXPECT_EQ(urls[i], vt::Servers().InternetDownloadTable[i]);
  }
  EXPECT_EQ(vt::DownloadJobUrls(0, 12), vt::DownloadJobUrls(1, 12));  // any mode but 2
  EXPECT_EQ(vt::DownloadJobUrls(7, 12).size(), 12u);
}

TEST_F(BandwidthJobs, MetroUploadIsTheTableThenQuarterLevelPlatformJobs) {
  Urls table = {TsU(1), TsU(2), PU, TsU(3), TsU(4), TsU(5), TsU(6), TsU(7)};
  for (int level : {4, 8, 12, 16}) {
    Urls expected = table;
    for (int i = 0; i < level / 4; ++i) expected.push_back(PU);
    EXPECT_EQ(vt::UploadJobUrls(2, level), expected) << level;
  }
  EXPECT_EQ(vt::UploadJobUrls(2, 16).size(), 12u);
}

TEST_F(BandwidthJobs, InternetUploadIsSevenAtEveryLevel) {
  Urls expected = {TsU(8), PU, TsU(3), TsU(4), TsU(5), TsU(6), PU};
  for (int level : {4, 8, 12, 16}) EXPECT_EQ(vt::UploadJobUrls(1, level), expected);
}

TEST_F(BandwidthJobs, LevelsOutsideTheTablesNeverReadPastThem) {
  EXPECT_TRUE(vt::DownloadJobUrls(2, 0).empty());
  EXPECT_TRUE(vt::DownloadJobUrls(2, 3).empty());
  EXPECT_TRUE(vt::DownloadJobUrls(2, -8).empty());
  EXPECT_EQ(vt::DownloadJobUrls(2, 1000).size(), 8u);
  EXPECT_EQ(vt::DownloadJobUrls(1, 1000).size(), 16u);
  EXPECT_TRUE(vt::DownloadJobUrls(1, -1).empty());
  EXPECT_EQ(vt::DownloadJobUrls(1, 5).size(), 5u);
  EXPECT_EQ(vt::UploadJobUrls(2, 1000).size(), 12u);
  EXPECT_EQ(vt::UploadJobUrls(2, 0).size(), 8u);
}

}  // namespace
