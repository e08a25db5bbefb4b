// The local report page and its charts: what they draw for a record, how
// they treat outside text, and that the page names nothing to fetch.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "model/ReportCharts.h"
#include "model/ReportPage.h"
#include "GbkDecoder.h"

namespace {

std::string U(const char8_t* text) { return reinterpret_cast<const char*>(text); }

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + what.size())) ++n;
  return n;
}

vt::ResultRecord Certified() {
  vt::ResultRecord r;
  r.testNumber = "20261211001";
  r.startedAt = "2026-12-11T08:15:02+08:00";
  r.mode = 2;
  r.level = 12;
  r.lineBandwidthText = "100";
  r.lineBandwidth = 100;
  r.userInfo = "某公司";
  r.bandwidth.ran = r.bandwidth.complete = r.bandwidth.downloadDone = r.bandwidth.uploadDone = true;
  r.bandwidth.pingDone = true;
  for (int i = 0; i < 16; ++i) r.bandwidth.downloadSamples.push_back(90 + i * 0.5);
  for (int i = 0; i < 15; ++i) r.bandwidth.uploadMeans.push_back(40 + i * 0.1);
  r.bandwidth.downloadMbps = 95.31;
  r.bandwidth.uploadMbps = 41.4;
  r.route.ran = r.route.complete = true;
  r.route.hops = {{"10.0.0.1", 2}, {"10.0.1.1", 16}, {"*", -1}, {"203.0.113.9", 35}};
  r.apps.ran = r.apps.complete = r.apps.webDone = r.apps.mailDone = r.apps.downloadDone = true;
  r.apps.webMbps = 4.2, r.apps.mailMbps = 0.04, r.apps.downloadMbps = 90.54;
  r.report.speed_speed = 95.31;
  r.report.bandwidth = 100;
  r.exportState = vt::ExportState::kAccepted;
  return r;
}

// Every byte of the page is well-formed UTF-8 and no character had to be
// replaced: our own texts are UTF-8 literals, the record's were converted.
bool CleanUtf8(const std::string& page) {
  for (size_t pos = 0; pos < page.size();) {
    size_t n;
    if (vt::ReadUtf8(page.data(), page.size(), pos, &n) == 0xFFFD) return false;
    pos += n;
  }
  return true;
}

}  // namespace

TEST(ReportPage, ChartsHaveAPointPerSecondABarPerHopAndPerBox) {
  vt::ResultRecord r = Certified();
  std::string page = vt::ReportPageHtml(r, DecodeGbkForTest, "veltrane-x.json");
  EXPECT_EQ(Count(page, "class=\"pt-down\""), 16u);
  EXPECT_EQ(Count(page, "class=\"pt-up\""), 15u);
  EXPECT_EQ(Count(page, "class=\"hop\""), 4u);
  EXPECT_EQ(Count(page, "class=\"app\""), 3u);
  EXPECT_EQ(Count(page, "<svg"), 3u);
  EXPECT_TRUE(CleanUtf8(page));
  // Bars take the route verdict's colours: good, medium, timeout, slow.
  std::string svg = vt::HopDelayChartSvg(r.route.hops, {"a", "b", "c", "d"});
  std::smatch m;
  std::vector<std::string> fills;
  std::regex bar("class=\"hop\"[^>]*fill=\"(#[0-9a-f]{6})\"");
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), bar); it != std::sregex_iterator(); ++it)
    fills.push_back((*it)[1]);
  EXPECT_EQ(fills, (std::vector<std::string>{"#2e9d57", "#e08a12", "#9aa1a9", "#d33a35"}));
  EXPECT_NE(page.find(U(u8">签约 100</text>")), std::string::npos);
  EXPECT_NE(page.find(">90% 90</text>"), std::string::npos);
}

TEST(ReportPage, VerdictAtTheTopFollowsTheExport) {
  const struct {
    vt::ExportState state;
    double download;
    const char8_t* badge;
    const char* verdict;
  } cases[] = {{vt::ExportState::kAccepted, 95.31, u8"达标", "certified"},
               {vt::ExportState::kAccepted, 90.0, u8"未达标", "below-90-percent"},
               {vt::ExportState::kUnreachable, 95.31, u8"未提交", "not-submitted"},
               {vt::ExportState::kNotExported, 95.31, u8"未导出", "not-exported"}};
  for (const auto& c : cases) {
    vt::ResultRecord r = Certified();
    r.exportState = c.state;
    r.report.speed_speed = c.download;
    std::string page = vt::ReportPageHtml(r, DecodeGbkForTest, "");
    size_t verdict = page.find(std::string("data-verdict=\"") + c.verdict + "\"");
    EXPECT_NE(verdict, std::string::npos) << c.verdict;
    EXPECT_LT(verdict, page.find("<h2>")) << "the verdict comes before the sections";
    EXPECT_NE(page.find("<div class=\"badge\">" + U(c.badge) + "</div>"), std::string::npos) << c.verdict;
  }
  vt::ResultRecord r = Certified();
  r.report.speed_speed = 90.0;
  EXPECT_EQ(vt::VerdictSentence(r), U(u8"下载速率 90.00 Mbps，低于签约带宽 100 Mbps 的 90%（90.00 Mbps），"
                                      u8"不能导出报告，请重新测速。"));
}

TEST(ReportPage, OutsideTextIsEscapedAndNothingIsFetched) {
  vt::ResultRecord r = Certified();
  r.userInfo = "某公司<script>alert(1)</script><img src=http://x/y.png>";
  r.route.hops[0].address = "\"><svg onload=alert(2)>";
  r.diagnosis.ran = true;
  r.diagnosis.publicIp = "<iframe src='//evil'>";
  r.testNumber = "</title><link rel=stylesheet href=//x>";
  r.documentAddress = "http://127.0.80.1:80/report/a.docx";
  r.serverOrigin = "C:\\veltrane\\veltrane.ini";
  std::string page = vt::ReportPageHtml(r, DecodeGbkForTest, "veltrane-x.json");
  for (const char* raw : {"<script", "<img", "<svg onload", "<iframe", "<link"})
    EXPECT_EQ(page.find(raw), std::string::npos) << raw;
  EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
  EXPECT_NE(page.find("&quot;&gt;&lt;svg onload=alert(2)&gt;"), std::string::npos);
  EXPECT_NE(page.find("<title>" + U(u8"专线测试记录 ") + "&lt;/title&gt;&lt;link"), std::string::npos);
  // Nothing to fetch: no tag names a source, link or url() (texts may say
  // anything: their brackets are escaped), the style imports nothing.
  std::regex fetches(R"(<[^>]*(\s(src|href|xlink:href|action|data|poster)\s*=|url\())", std::regex::icase);
  EXPECT_FALSE(std::regex_search(page, fetches));
  EXPECT_EQ(page.find("@import"), std::string::npos);
  EXPECT_NE(page.find("default-src 'none'"), std::string::npos);
  // Every byte is UTF-8 (the GBK of the record converted).
  EXPECT_NE(page.find(U(u8"某公司")), std::string::npos) << "converted from GBK";
}

TEST(ReportPage, AnEmptyRecordStillMakesAPage) {
  vt::ResultRecord r;
  std::string page = vt::ReportPageHtml(r, DecodeGbkForTest, "");
  EXPECT_EQ(Count(page, "<svg"), 0u);
  EXPECT_NE(page.find(U(u8"本次未进行带宽测试")), std::string::npos);
  EXPECT_NE(page.find("</html>"), std::string::npos);
  EXPECT_TRUE(CleanUtf8(page));
}

TEST(ReportCharts, NiceStepsAndScales) {
  const struct {
    double top;
    int ticks;
    double step;
  } cases[] = {{100, 5, 20}, {108, 5, 50}, {1, 5, 0.2}, {0, 5, 1}, {1080, 5, 500}, {44.8, 5, 10}, {7, 5, 2}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(vt::NiceStep(c.top, c.ticks), c.step) << c.top;
  // A contracted bandwidth above every sample still fits the chart, with
  // both lines labelled; without one there are no lines.
  std::string with = vt::BandwidthChartSvg({1, 2}, {}, 1000);
  EXPECT_NE(with.find(U(u8">签约 1000</text>")), std::string::npos);
  EXPECT_NE(with.find(">90% 900</text>"), std::string::npos);
  std::string without = vt::BandwidthChartSvg({1, 2}, {}, 0);
  EXPECT_EQ(without.find(U(u8"签约")), std::string::npos);
  // Every coordinate is a finite number within the view box.
  std::regex coord(R"((?:x|y|cx|cy|x1|x2|y1|y2)="(-?[0-9.]+)\")");
  for (const std::string& svg :
       {with, without, vt::HopDelayChartSvg({{"a", 5000}}, {"a"}),
        vt::AppGradeChartSvg({{"a", true, 0.0}, {"b", true, 5000}, {"c", false, 0}})}) {
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), coord); it != std::sregex_iterator(); ++it) {
      double v = std::stod((*it)[1]);
      EXPECT_GE(v, 0.0) << (*it)[0];
      EXPECT_LE(v, vt::kChartWidth) << (*it)[0];
    }
  }
}
