#include "cli/SupportBundle.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Names(const std::vector<vt::BundleFile>& files) {
  std::vector<std::string> out;
  for (const auto& f : files) out.push_back(f.folder + "/" + f.name);
  return out;
}

TEST(SupportBundle, TakesAWeekOfLogsEveryCrashAndRecentReports) {
  std::vector<vt::BundleFile> files = {
      {"logs", "veltrane-20261204.log", 10, 20261204},  // 7 days before: out
      {"logs", "veltrane-20261205.log", 10, 20261205},
      {"logs", "veltrane-20261211.log", 10, 20261211},
      {"logs", "crash-20260301-101010-7.txt", 1, 20260301},  // old, still kept
      {"logs", "crash-20260301-101010-7.dmp", 1, 20260301},
      {"logs", "desktop.ini", 1, 20261211},
      {"reports", "20261210-1.json", 5, 20261210},
      {"reports", "20261201-1.json", 5, 20261201},
  };
  vt::BundleChoice choice = vt::ChooseBundleFiles(files, 20261211);
  std::vector<std::string> taken = {"logs/veltrane-20261211.log", "reports/20261210-1.json",
                                    "logs/veltrane-20261205.log", "logs/crash-20260301-101010-7.dmp",
                                    "logs/crash-20260301-101010-7.txt"};
  EXPECT_EQ(Names(choice.taken), taken);
  ASSERT_EQ(choice.left.size(), 3u);
  EXPECT_EQ(choice.left[0].first.name, "veltrane-20261204.log");
  EXPECT_EQ(choice.left[0].second, "older than 7 days");
  EXPECT_EQ(choice.left[1].second, "not a log file");
  EXPECT_EQ(choice.left[2].first.name, "20261201-1.json");
}

TEST(SupportBundle, LeavesTheOldestOutAtTheSizeLimit) {
  const uint64_t mb = 1024 * 1024;
  std::vector<vt::BundleFile> files = {
      {"logs", "veltrane-20261209.log", 100 * mb, 20261209},
      {"logs", "veltrane-20261210.log", 100 * mb, 20261210},
      {"logs", "veltrane-20261211.log", 100 * mb, 20261211},
  };
  vt::BundleChoice choice = vt::ChooseBundleFiles(files, 20261211);
  EXPECT_EQ(Names(choice.taken), (std::vector<std::string>{"logs/veltrane-20261211.log", "logs/veltrane-20261210.log"}));
  ASSERT_EQ(choice.left.size(), 1u);
  EXPECT_EQ(choice.left[0].second, "the bundle's size limit");
  std::string note = vt::BundleNote(choice, "veltrane-cli 2.21.2.718", "C:\\x\\Veltrane");
  EXPECT_NE(note.find("from: C:\\x\\Veltrane\r\n"), std::string::npos) << note;
  EXPECT_NE(note.find("  logs/veltrane-20261211.log (104857600 bytes)\r\n"), std::string::npos) << note;
  EXPECT_NE(note.find("left out:\r\n  logs/veltrane-20261209.log: the bundle's size limit\r\n"), std::string::npos)
      << note;
}

TEST(SupportBundle, SaysWhenThereIsNothing) {
  vt::BundleChoice choice = vt::ChooseBundleFiles({}, 20261211);
  EXPECT_TRUE(choice.taken.empty());
  EXPECT_NE(vt::BundleNote(choice, "m", "s").find("(no log, crash report or result record found)"),
            std::string::npos);
}

}  // namespace
