// The console's lines for the platform steps of a certification.
#include <gtest/gtest.h>

#include "cli/CertifyVerdicts.h"
#include "net/platform/PlatformReplies.h"

namespace {

TEST(CertifyVerdicts, VersionCheck) {
  EXPECT_EQ(vt::VersionCheckLine(false, false, false, ""), "no answer within 5 s");
  EXPECT_EQ(vt::VersionCheckLine(false, true, true, "9.9"), "no answer within 5 s");
  EXPECT_EQ(vt::VersionCheckLine(true, false, false, ""), "no version document");  // refused, empty, malformed
  EXPECT_EQ(vt::VersionCheckLine(true, true, false, "2.21"), "up to date");
  EXPECT_EQ(vt::VersionCheckLine(true, true, true, "2.22"), "update 2.22 available (not installed)");
}

TEST(CertifyVerdicts, TestNumber) {
  struct Case {
    bool answered;
    unsigned kind;
    const char* number;
    bool granted;
    const char* line;
  } cases[] = {
      {false, 2, "", false, "the platform does not answer"},
      {false, 2, "20261209", false, "the platform does not answer"},  // too late
      {true, 2, "", false, "the platform does not answer"},           // empty reply
      {true, 0, "", false, "refused: this version must be updated"},
      {true, 1, "", false, "refused: access denied"},
      {true, 2, "20261209", true, "20261209"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(vt::TestNumberGranted(c.answered, c.kind, c.number), c.granted) << c.line;
    EXPECT_EQ(vt::TestNumberLine(c.answered, c.kind, c.number), c.line);
  }
}

TEST(CertifyVerdicts, Report) {
  const std::string address = "http://127.0.80.1:80/report/7.docx";
  EXPECT_EQ(vt::ReportLine(4, true, "98.50", address), "could not be delivered to the platform");
  EXPECT_EQ(vt::ReportLine(kReportNotAccepted, true, "98.50", address),
            "not accepted: the platform's reply to the save was no 2xx or 3xx status");
  EXPECT_EQ(vt::ReportLine(0, false, "50.00", address),
            "submitted; download 50.00 is not above 90 % of the line bandwidth: no report document");
  EXPECT_EQ(vt::ReportLine(0, true, "98.50", address), "submitted: " + address);
}

}  // namespace
