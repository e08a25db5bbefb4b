#include <gtest/gtest.h>

#include "model/ReportForm.h"
#include "base/CodePage.h"

TEST(ReportForm, BodyCarriesEveryFieldUnescaped) {
  ReportRecord r;
  r.seq = "12345";
  r.mod = 2;
  r.testlevel = 16;
  r.speed_rtt = 12;
  r.speed_speed = 95.456;
  r.speed_upload = 40;
  r.app_t1 = 4.7333;
  r.app_t2 = 2;
  r.app_t3 = 90.68;
  r.hoopsWAN = 6;
  r.hoopsLAN = 3;
  r.delayWAN = 9;
  r.delayLAN = 3;
  r.lancomment = "";
  r.traceHoops = "10.0.0.1|1.2.3.4|";
  r.traceDelay = "1|12|";
  EXPECT_EQ(vt::BuildReportBody(r, "某公司 A&B", "100M"),
            "seq=12345&mod=2&testlevel=16&speed_rtt=12&speed_speed=95.46&speed_upload=40.00&app_t1=4.73"
            "&app_t2=2.00&app_t3=90.68&hoopsWAN=6&hoopsLAN=3&delayWAN=9&delayLAN=3&lancomment="
            "&traceHoops=10.0.0.1|1.2.3.4|&traceDelay=1|12|&userinfo=某公司 A&B&bandwidth=100M\r\n\r\n");
}

TEST(ReportForm, LongTextsAreCutToFitAndKeepTheEnding) {
  ReportRecord r;
  r.seq = "20261209";
  std::string info;
  for (int i = 0; i < 3000; ++i) info += "中";  // 6000 bytes of GBK
  std::string body = vt::BuildReportBody(r, info.c_str(), "100");
  EXPECT_LE(body.size(), vt::kReportBodyLimit - 1);
  EXPECT_EQ(body.substr(body.size() - 18), "&bandwidth=100\r\n\r\n");
  size_t start = body.find("userinfo=") + 9;
  size_t end = body.find("&bandwidth=");
  std::string kept = body.substr(start, end - start);
  EXPECT_EQ(kept.size() % 2, 0u);  // whole double-byte characters only
  EXPECT_GT(kept.size(), 3000u);
  EXPECT_EQ(body.find("seq=20261209&"), 0u);
}

TEST(ReportForm, NinetyPercentRule) {
  const struct {
    int bandwidth;
    double download;
    bool opens;
  } cases[] = {{100, 95, true}, {100, 90, false}, {100, 90.01, true}, {0, 0, false}, {0, 0.01, true}};
  for (const auto& c : cases) {
    ReportRecord r;
    r.bandwidth = c.bandwidth;
    r.speed_speed = c.download;
    EXPECT_EQ(vt::ReportMeetsBandwidth(r), c.opens) << c.bandwidth << " " << c.download;
  }
  const char* accepted[] = {"100", "100M", " 20", "0.5"};
  for (const char* text : accepted) EXPECT_TRUE(vt::AcceptLineBandwidth(text)) << text;
  const char* refused[] = {"abc", "0", "-5", ""};
  for (const char* text : refused) EXPECT_FALSE(vt::AcceptLineBandwidth(text)) << text;
  EXPECT_EQ(vt::ParseLineBandwidth("100M"), 100);
  EXPECT_EQ(vt::ParseLineBandwidth("0.5"), 0);
  EXPECT_EQ(vt::ParseLineBandwidth(""), 0);
}

TEST(ReportForm, DocumentAddressFitsItsBuffer) {
  EXPECT_EQ(vt::ReportDocumentAddress("127.0.80.1", "12345"), "http://127.0.80.1:80/report/12345.docx");
  std::string seq;
  for (int i = 0; i < 100; ++i) seq += "号";
  std::string address = vt::ReportDocumentAddress("127.0.80.1", seq.c_str());
  EXPECT_LE(address.size(), vt::kReportAddressLimit - 1);
  EXPECT_EQ(address.substr(address.size() - 5), ".docx");
  std::string number = address.substr(28, address.size() - 28 - 5);
  EXPECT_EQ(number.size() % 2, 0u);
}
