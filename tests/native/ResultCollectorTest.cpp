// The result record gathered by the main window's logic: every figure as
// the page showed it, a test run again replacing its own part, an export
// that later figures make stale.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "base/Messages.h"
#include "config/ServerSet.h"
#include "model/MainFrameModel.h"
#include "model/ResultCollector.h"

namespace {

struct TextView : IMainFrameView {
  std::map<std::string, std::string> texts;
  void SetText(const char* c, const char* t) override { texts[c] = t; }
  void SetVisible(const char*, bool) override {}
  void SetEnabled(const char*, bool) override {}
  void SetBkImage(const char*, const char*) override {}
  void SetNormalImage(const char*, const char*) override {}
  void SelectPage(int) override {}
  void SetDialValue(int) override {}
  void AddTraceRow(const TraceRowSpec&) override {}
  void RemoveAllTraceRows() override {}
  unsigned StartTimer(unsigned id, unsigned) override { return id; }
  void StopTimer(unsigned) override {}
};

struct QuietEngines : IMainFrameEngines {
  void StartDownload(const LineChoice&) override {}
  void StartUpload(const LineChoice&) override {}
  void StartPing(const char*) override {}
  void StartAppTest() override {}
  void StartRouteTrace(const char*) override {}
  void StartPublicIp() override {}
  void StartTroubleTrace(const char*, const char*) override {}
  void DiagnosisTraceLists(std::string* h, std::string* d) override {
    *h = "192.168.1.1|10.0.0.1|127.0.80.1|";
    *d = "1|3|12|";
  }
  bool LaunchLanTool() override { return false; }
  void OfferLanToolInstall() override {}
};

struct Collecting : ::testing::Test {
  TextView view;
  QuietEngines engines;
  MainFrameModel model{&view, &engines, [] { return 0; }};
  const vt::ResultRecord& rec() { return model.results().record(); }
  void Send(uint32_t msg, uintptr_t w, intptr_t l = 0) { ASSERT_TRUE(model.HandleMessage(msg, w, l)); }
  void Bandwidth() {
    model.OnClick("ButtonBandwidth");
    Send(vt::MSG_DOWNLOAD_SAMPLE, 1000000);
    Send(vt::MSG_DOWNLOAD_SAMPLE, 200000000);  // above the cap: kept as shown, 999.99
    Send(vt::MSG_DOWNLOAD_DONE, 1000000);
    Send(vt::MSG_PING_REPLY, 3);
    Send(vt::MSG_PING_REPLY, 0);  // a reply without time is no reply
    Send(vt::MSG_PING_REPLY, 5);
    Send(vt::MSG_PING_DONE, 4);
    Send(vt::MSG_UPLOAD_SAMPLE, 500000);
    Send(vt::MSG_UPLOAD_DONE, 600000);
  }
};

}  // namespace

TEST_F(Collecting, BandwidthFiguresAreTheOnesShown) {
  model.OnWindowReady(LineChoice{12, 2}, "20261211001");
  EXPECT_FALSE(model.results().HasResults());
  Bandwidth();
  const vt::BandwidthResult& b = rec().bandwidth;
  EXPECT_TRUE(b.complete);
  ASSERT_EQ(b.downloadSamples.size(), 2u);
  EXPECT_DOUBLE_EQ(b.downloadSamples[1], 999.99);
  EXPECT_DOUBLE_EQ(b.downloadMbps, model.report().speed_speed);
  EXPECT_EQ(b.pingReplies, (std::vector<int32_t>{3, 5}));
  EXPECT_EQ(b.pingMeanMs, model.report().speed_rtt);
  ASSERT_EQ(b.uploadMeans.size(), 1u);
  EXPECT_EQ(view.texts["TextMaxSpeed"], "4.14Mbps");
  EXPECT_NEAR(b.uploadMeans[0], 4.14, 0.005);
  EXPECT_DOUBLE_EQ(b.uploadMbps, model.report().speed_upload);
  EXPECT_EQ(rec().testNumber, "20261211001");
  EXPECT_EQ(rec().mode, 2);
  EXPECT_EQ(rec().level, 12);
  EXPECT_TRUE(model.results().HasResults());

  // A second test replaces the first one's figures, not the others'.
  Send(vt::MSG_TRACE_HOP, reinterpret_cast<uintptr_t>("10.0.0.1"), 20);
  model.OnClick("ButtonBandwidth");
  EXPECT_TRUE(rec().bandwidth.downloadSamples.empty());
  EXPECT_EQ(rec().route.hops.size(), 1u);
}

TEST_F(Collecting, RouteApplicationsAndDiagnosis) {
  model.OnWindowReady(LineChoice{8, 1}, "7");
  Bandwidth();
  model.OnClick("ButtonTrace");
  EXPECT_EQ(rec().route.target, vt::Servers().platformServer);
  Send(vt::MSG_TRACE_HOP, reinterpret_cast<uintptr_t>("192.168.1.1"), 1);
  Send(vt::MSG_TRACE_HOP, reinterpret_cast<uintptr_t>("*"), -1);
  Send(vt::MSG_TRACE_HOP, reinterpret_cast<uintptr_t>("202.97.33.14"), 34);
  Send(vt::MSG_TRACE_DONE, 0);
  const vt::RouteResult& r = rec().route;
  ASSERT_EQ(r.hops.size(), 3u);
  EXPECT_EQ(r.hops[1].delayMs, -1);
  EXPECT_EQ(r.hops[2].address, "202.97.33.14");
  EXPECT_EQ(r.verdict, (std::vector<std::string>{"202.97.33.14,路由延时大于30毫秒，严重影响网速"}));
  EXPECT_TRUE(r.complete);

  model.OnClick("ButtonWeb");
  for (int item = 1; item <= 7; ++item) Send(vt::MSG_APP_ITEM_RESULT, item <= 3 ? 4000 : 40, item);
  Send(vt::MSG_APP_TEST_DONE, 0);
  const vt::AppResult& a = rec().apps;
  EXPECT_TRUE(a.complete);
  EXPECT_DOUBLE_EQ(a.webMbps, model.report().app_t1);
  EXPECT_DOUBLE_EQ(a.mailMbps, model.report().app_t2);
  EXPECT_DOUBLE_EQ(a.downloadMbps, model.report().app_t3);
  EXPECT_EQ(view.texts["WebTestResult"], "4.00Mbps");
  EXPECT_EQ(a.itemSite[1], vt::Servers().AppTestSites[0]);
  EXPECT_EQ(a.itemSite[7], vt::Servers().platformServer);

  model.OnClick("ButtonTroubles");
  Send(vt::MSG_TROUBLE_RESULT, vt::TR_PUBLIC_IP, reinterpret_cast<intptr_t>("127.0.0.1"));
  Send(vt::MSG_TROUBLE_RESULT, vt::TR_WAN_DELAY, 12);
  Send(vt::MSG_TROUBLE_RESULT, vt::TR_LAN_DELAY, 3);
  Send(vt::MSG_TROUBLE_RESULT, vt::TR_WAN_HOPS, 1);
  Send(vt::MSG_TROUBLE_RESULT, vt::TR_LAN_HOPS, 2);
  Send(vt::MSG_TROUBLE_RESULT, vt::TR_DONE, 0);
  const vt::DiagnosisResult& d = rec().diagnosis;
  EXPECT_TRUE(d.complete);
  EXPECT_EQ(d.publicIp, "127.0.0.1");
  ASSERT_EQ(d.hops.size(), 3u);
  EXPECT_EQ(d.hops[2].address, "127.0.80.1");
  EXPECT_EQ(d.hops[2].delayMs, 12);
  // WAN, then LAN: the page's two lines without their colours (the WAN
  // delay rescaled against the 4 ms ping is small).
  EXPECT_EQ(d.verdict, (std::vector<std::string>{"外网状况良好", "内网状况良好"}));
}

TEST_F(Collecting, AnExportGoesStaleWhenAFigureChanges) {
  model.OnWindowReady(LineChoice{12, 2}, "1");
  Bandwidth();
  uint64_t before = model.results().revision();
  model.report().bandwidth = 100;
  model.results().RecordExport(model.report(), "info", "100M", vt::ExportState::kAccepted, 0,
                               "http://x/1.docx");
  EXPECT_GT(model.results().revision(), before);
  EXPECT_EQ(rec().exportState, vt::ExportState::kAccepted);
  EXPECT_EQ(rec().lineBandwidthText, "100M");
  EXPECT_EQ(rec().lineBandwidth, 100);
  Send(vt::MSG_PING_REPLY, 9);
  EXPECT_EQ(rec().exportState, vt::ExportState::kNotExported);
  EXPECT_TRUE(rec().documentAddress.empty());
  EXPECT_EQ(rec().userInfo, "info");  // what the user typed still applies
}

TEST(ResultCollector, MarkupLinesAndHopLists) {
  EXPECT_EQ(vt::MarkupLines("<f 4>a<n>b<n><n>{c #FF0000}c{/c}</f>"),
            (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(vt::MarkupLines("<f 4> </f>"), std::vector<std::string>{});
  EXPECT_EQ(vt::MarkupLines("请点击<开始测试>"), (std::vector<std::string>{"请点击<开始测试>"}));
  // A double-byte character whose trail byte is '{' is no tag.
  EXPECT_EQ(vt::MarkupLines("\x81\x7bn}x"), (std::vector<std::string>{"\x81\x7bn}x"}));
  std::vector<vt::ResultHop> hops = vt::SplitHopLists("a|b|c|", "1|x|");
  ASSERT_EQ(hops.size(), 3u);
  EXPECT_EQ(hops[0].delayMs, 1);
  EXPECT_EQ(hops[1].delayMs, -1);  // unreadable
  EXPECT_EQ(hops[2].delayMs, -1);  // missing
  std::string many;
  for (int i = 0; i < 100; ++i) many += "h|";
  EXPECT_EQ(vt::SplitHopLists(many, "").size(), vt::kResultMaxHops);
  std::string longText(2000, 'a');
  EXPECT_EQ(vt::BoundedText(longText.c_str()).size(), vt::kResultMaxText);
}
