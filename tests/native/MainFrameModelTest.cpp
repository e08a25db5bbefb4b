// The main window's logic driven by the messages the engines send, with a
// recording view in place of the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "base/Messages.h"
#include "model/BandwidthFigures.h"
#include "model/DialFigures.h"
#include "model/LineQualityText.h"
#include "model/MainFrameModel.h"
#include "model/ReportForm.h"
#include "config/ServerSet.h"

namespace {

struct RecordingView : IMainFrameView {
  std::map<std::string, std::string> texts, bkImages, normalImages;
  std::map<std::string, bool> visible, enabled;
  std::vector<int> dial;
  std::vector<TraceRowSpec> rows;
  std::vector<unsigned> started, stopped;
  int page = -1;
  void SetText(const char* c, const char* t) override { texts[c] = t; }
  void SetVisible(const char* c, bool v) override { visible[c] = v; }
  void SetEnabled(const char* c, bool e) override { enabled[c] = e; }
  void SetBkImage(const char* c, const char* i) override { bkImages[c] = i; }
  void SetNormalImage(const char* c, const char* i) override { normalImages[c] = i; }
  void SelectPage(int i) override { page = i; }
  void SetDialValue(int v) override { dial.push_back(v); }
  void AddTraceRow(const TraceRowSpec& r) override { rows.push_back(r); }
  void RemoveAllTraceRows() override { rows.clear(); }
  unsigned StartTimer(unsigned id, unsigned) override {
    started.push_back(id);
    return id;
  }
  void StopTimer(unsigned id) override { stopped.push_back(id); }
};

struct RecordingEngines : IMainFrameEngines {
  std::vector<std::string> calls;
  std::string hoops = "10.0.0.1|1.2.3.4|", delays = "1|12|";
  bool toolInstalled = false;
  void StartDownload(const LineChoice& l) override {
    calls.push_back("download:" + std::to_string(l.serverMode));
  }
  void StartUpload(const LineChoice& l) override {
    calls.push_back("upload:" + std::to_string(l.serverMode));
  }
  void StartPing(const char* host) override { calls.push_back(std::string("ping:") + host); }
  void StartAppTest() override { calls.push_back("apps"); }
  void StartRouteTrace(const char* t) override { calls.push_back(std::string("trace:") + t); }
  void StartPublicIp() override { calls.push_back("publicip"); }
  void StartTroubleTrace(const char* ip, const char* t) override {
    calls.push_back(std::string("trouble:") + ip + ":" + t);
  }
  void DiagnosisTraceLists(std::string* h, std::string* d) override {
    *h = hoops;
    *d = delays;
  }
  bool LaunchLanTool() override {
    calls.push_back("lantool");
    return toolInstalled;
  }
  void OfferLanToolInstall() override { calls.push_back("install-prompt"); }
  std::vector<vt::ProbePhase> phases;
  bool haveQuality = false;
  vt::LineQuality quality;
  void ProbePhaseChanged(vt::ProbePhase p) override { phases.push_back(p); }
  bool LineQualityFigures(vt::LineQuality* q) override {
    *q = quality;
    return haveQuality;
  }
};

struct Fixture : ::testing::Test {
  RecordingView view;
  RecordingEngines engines;
  std::vector<int> draws;  // values the random seam returns, in order
  size_t drawn = 0;
  MainFrameModel model{&view, &engines, [this] { return drawn < draws.size() ? draws[drawn++] : 0; }};

  void Ready(int level, int mode) { model.OnWindowReady(LineChoice{level, mode}, "12345"); }
  void Send(uint32_t msg, uintptr_t w, intptr_t l = 0) { ASSERT_TRUE(model.HandleMessage(msg, w, l)); }
  void Tick(unsigned timer) { Send(0x0113, timer); }
};

TEST(DialFigures, DialPositions) {
  const struct {
    int level;
    double mbps;
    int dial;
  } cases[] = {{12, 35, 583},  {12, 100, 1000},  {12, 0.5, 20}, {12, 101, 1000},
               {4, 0.25, 166}, {16, 1000, 1000}, {16, 20, 166}, {8, 8, 666},
               {7, 8, 666},    {8, 4, 500},      {12, 0, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(vt::DialValueOf(vt::DialPosition(c.level, c.mbps)), c.dial) << c.level << " " << c.mbps;
}

TEST_F(Fixture, BandwidthChainStoresFiguresAndWalksTheNeedle) {
  Ready(12, 2);
  EXPECT_EQ(view.texts["K6"], "100M");
  EXPECT_TRUE(model.OnClick("ButtonBandwidth"));
  EXPECT_EQ(engines.calls, std::vector<std::string>{"download:2"});
  EXPECT_FALSE(view.enabled["ButtonBandwidth"]);
  ASSERT_EQ(view.started, std::vector<unsigned>{TIMER_NEEDLE});

  Send(vt::MSG_DOWNLOAD_SAMPLE, 4587520);  // 35 Mbit/s before calibration: 35 * 1.0847
  EXPECT_EQ(view.texts["TextDownloadSpeed"], "37.96Mbps");
  for (int i = 0; i < 12; ++i) Tick(TIMER_NEEDLE);  // ten steps, then the needle rests
  ASSERT_EQ(view.dial.size(), 11u);                 // the reset to 0 and ten steps
  EXPECT_EQ(view.dial[1], 0);
  EXPECT_EQ(view.dial.back(), vt::DialValueOf(vt::DialPosition(12, 0.9 * vt::MessageSpeedMbps(4587520))));

  Send(vt::MSG_DOWNLOAD_DONE, 1000000);
  EXPECT_DOUBLE_EQ(model.report().speed_speed, vt::MessageSpeedMbps(1000000));
  EXPECT_EQ(view.stopped.back(), TIMER_NEEDLE);
  EXPECT_EQ(engines.calls.back(), std::string("ping:") + vt::Servers().platformServer);
  EXPECT_NEAR(model.report().speed_upload, 37.96 * 0.4166666666666667, 0.01);  // provisional

  Send(vt::MSG_PING_REPLY, 0);  // a reply without time leaves the text alone
  EXPECT_EQ(view.texts["TextAvgDelay"], "");
  Send(vt::MSG_PING_DONE, 12);
  EXPECT_EQ(view.texts["TextAvgDelay"], "12ms");
  EXPECT_EQ(model.report().speed_rtt, 12);
  EXPECT_EQ(engines.calls.back(), "upload:2");

  Send(vt::MSG_UPLOAD_SAMPLE, 20000000);
  EXPECT_EQ(view.texts["TextMaxSpeed"], "165.5Mbps");
  Send(vt::MSG_UPLOAD_DONE, 200000000);  // far above 1000 Mbit/s
  EXPECT_DOUBLE_EQ(model.report().speed_upload, 999.99);
  EXPECT_TRUE(view.enabled["ButtonBandwidth"]);
  EXPECT_EQ(view.texts["TextStatus"],
            "<f 4>已连接至服务器.....<n>开始测速....<n>.<n>平均下载速率8.28Mbps<n>平均往返时延12 毫秒"
            "<n>平均上传速率1000.0Mbps</f>");
}

// The background prober's figures: each test stamps its probes with its
// phase, the bandwidth page adds idle and loaded delay and jitter after the
// upload figure (refreshed as later tests end), the diagnosis page adds the
// loss. Without figures (the
// prober off or not started) both pages read as before.
TEST_F(Fixture, LineQualityLinesAndPhaseStamps) {
  using P = vt::ProbePhase;
  engines.quality.sent = 1732;
  engines.quality.lost = 1;
  engines.quality.lossPercent = 100.0 / 1732;
  engines.quality.longestLossRun = 1;
  engines.quality.idle = {75, 20.44, 21.6};
  engines.quality.idleJitterMs = 1.17;
  engines.quality.download = {400, 61.25, 70.0};
  engines.quality.downloadAddedMs = 40.81;
  engines.quality.upload = {350, 19.9, 24.0};
  engines.quality.uploadAddedMs = -0.54;
  const struct {
    bool have;
    const char* result;  // the bandwidth page's "TextResult"
    const char* diagnosisTail;
  } cases[] = {
      {true,
       "<f "
       "3>空闲时延20.4毫秒(90%不超过21.6)，抖动1.2毫秒<n>下载时延61.2毫秒(+40.8)，上传时延19.9毫秒(-0.5)</f>",
       "内网分析工具</c>进行深入分析<f 3><n><n>丢包率0.06%(共1,732个探测包)，最长连续丢包1个</f></f>"},
      {false, "", "内网分析工具</c>进行深入分析</f>"},
  };
  for (const auto& c : cases) {
    engines.haveQuality = c.have;
    engines.phases.clear();
    Ready(12, 2);
    model.OnClick("ButtonBandwidth");
    EXPECT_EQ(view.texts["TextResult"], "");
    Send(vt::MSG_DOWNLOAD_DONE, 1000000);
    Send(vt::MSG_PING_DONE, 12);
    Send(vt::MSG_UPLOAD_DONE, 1000000);
    // The log itself stays as it was.
    EXPECT_EQ(view.texts["TextStatus"].substr(view.texts["TextStatus"].size() - 27),
              "<n>平均上传速率8.28Mbps</f>");
    EXPECT_EQ(view.texts["TextResult"], c.result);
    EXPECT_EQ(engines.phases, (std::vector<P>{P::Download, P::Other, P::Upload, P::Idle}));

    engines.phases.clear();
    engines.quality.idle.medianMs = 19.0;
    model.OnClick("ButtonTroubles");
    Send(vt::MSG_TROUBLE_RESULT, vt::TR_PUBLIC_IP, reinterpret_cast<intptr_t>("1.2.3.4"));
    Send(vt::MSG_TROUBLE_RESULT, vt::TR_WAN_HOPS, 6);
    Send(vt::MSG_TROUBLE_RESULT, vt::TR_LAN_HOPS, 3);
    Send(vt::MSG_TROUBLE_RESULT, vt::TR_DONE, 0);
    const std::string& verdict = view.texts["TroubleshootingStatus"];
    EXPECT_EQ(verdict.substr(verdict.size() - std::min(verdict.size(), strlen(c.diagnosisTail))),
              c.diagnosisTail);
    EXPECT_EQ(engines.phases, (std::vector<P>{P::Other, P::Idle}));
    // The pause before the diagnosis gave more idle probes: the bandwidth
    // page's lines follow.
    if (c.have) {
      EXPECT_NE(view.texts["TextResult"].find("空闲时延19.0毫秒"), std::string::npos);
    }
    engines.quality.idle.medianMs = 20.44;
    model.OnClick("ButtonTroubles");  // leaves the LAN tool mode for the next case
    model.OnClick("ButtonTroubles");
  }
}

TEST(LineQualityText, BandwidthLinesWithoutIdleProbesOrAPhase) {
  vt::LineQuality q;
  q.download = {10, 30.0, 35.0};
  EXPECT_EQ(vt::BandwidthQualityLines(q), "<f 3>空闲时延在测试间隙测量<n>下载时延30.0毫秒</f>");
  q = vt::LineQuality{};
  q.idle = {5, 1.0, 2.0};
  EXPECT_EQ(vt::BandwidthQualityLines(q), "<f 3>空闲时延1.0毫秒(90%不超过2.0)，抖动0.0毫秒</f>");
}

// No ping reply carried a time: 0 is stored and sent, the log says no reply
// came instead of a 0 ms line, the delay box stays empty, and the upload
// still follows.
TEST_F(Fixture, PingWithoutATimedReplySaysSoAndStoresZero) {
  Ready(4, 1);
  model.OnClick("ButtonBandwidth");
  Send(vt::MSG_DOWNLOAD_DONE, 1000000);
  Send(vt::MSG_PING_DONE, 0);
  EXPECT_EQ(model.report().speed_rtt, 0);
  EXPECT_EQ(view.texts["TextAvgDelay"], "");
  EXPECT_EQ(engines.calls.back().rfind("upload:", 0), 0u) << engines.calls.back();
  const std::string& log = view.texts["TextStatus"];
  EXPECT_NE(log.find("平均往返时延：未收到应答"), std::string::npos) << log;
  EXPECT_EQ(log.find("毫秒"), std::string::npos) << log;
  EXPECT_NE(vt::BuildReportBody(model.report(), "u", "4").find("speed_rtt=0&"), std::string::npos);
}

// ping could not be started: the bandwidth test ends with a failure text,
// its button enabled, the download figure kept and no upload started.
TEST_F(Fixture, PingThatCannotStartEndsTheBandwidthTest) {
  Ready(4, 1);
  model.OnClick("ButtonBandwidth");
  EXPECT_FALSE(view.enabled["ButtonBandwidth"]);
  Send(vt::MSG_DOWNLOAD_DONE, 1000000);
  std::string download = view.texts["TextDownloadSpeed"];
  size_t calls = engines.calls.size();
  Send(vt::MSG_PING_FAILED, 0);
  EXPECT_TRUE(view.enabled["ButtonBandwidth"]);
  EXPECT_EQ(engines.calls.size(), calls);  // no upload
  EXPECT_EQ(view.texts["TextDownloadSpeed"], download);
  EXPECT_DOUBLE_EQ(model.report().speed_speed, vt::MessageSpeedMbps(1000000));
  const std::string& log = view.texts["TextStatus"];
  EXPECT_NE(log.find("平均下载速率"), std::string::npos) << log;
  EXPECT_NE(log.find("无法启动ping命令，测速未完成"), std::string::npos) << log;
  EXPECT_EQ(engines.phases.back(), vt::ProbePhase::Idle);  // the prober's phase too
}

// The console prints engine messages by name: the failure ends are named.
TEST(AppMessages, CommandFailuresHaveNames) {
  EXPECT_STREQ(vt::AppMessageName(vt::MSG_PING_FAILED), "MSG_PING_FAILED");
  EXPECT_STREQ(vt::AppMessageName(vt::MSG_TRACE_FAILED), "MSG_TRACE_FAILED");
  EXPECT_EQ(vt::AppMessageName(vt::MSG_TRACE_FAILED + 100), nullptr);
}

// tracert could not be started: the route test ends with a failure text
// instead of a verdict, its button enabled, the dots stopped.
TEST_F(Fixture, TracertThatCannotStartEndsTheRouteTest) {
  Ready(4, 1);
  model.OnClick("ButtonTrace");
  EXPECT_FALSE(view.enabled["ButtonTrace"]);
  Send(vt::MSG_TRACE_FAILED, 0);
  EXPECT_TRUE(view.enabled["ButtonTrace"]);
  EXPECT_EQ(view.texts["TraceTestStatus"], "<f 4>无法启动tracert命令，路由测试未完成</f>");
  EXPECT_EQ(engines.phases, (std::vector<vt::ProbePhase>{vt::ProbePhase::Other, vt::ProbePhase::Idle}));
  EXPECT_EQ(view.stopped.back(), TIMER_TRACE_DOTS);
}

TEST_F(Fixture, CappedSamplesAndASecondTestStartAgainFromZero) {
  Ready(16, 1);
  model.OnClick("ButtonBandwidth");
  Send(vt::MSG_DOWNLOAD_SAMPLE, 0xFFFFFFFFu);
  Send(vt::MSG_DOWNLOAD_SAMPLE, 0xFFFFFFFFu);
  EXPECT_DOUBLE_EQ(model.needleSteps()[0], 999.3);
  EXPECT_NEAR(model.needleSteps()[9], 999.3 + 0.69 * 0.9, 1e-9);
  model.OnClick("ButtonBandwidth");
  EXPECT_EQ(model.sampleCount(), 0);
  Send(vt::MSG_DOWNLOAD_SAMPLE, 1000000);
  EXPECT_DOUBLE_EQ(model.needleSteps()[0], 0.0);
}

TEST_F(Fixture, ApplicationPageRatesBoxesAndNeverInventsASpeed) {
  Ready(8, 1);
  model.report().speed_speed = 100.0;
  model.OnClick("ButtonWeb");
  EXPECT_TRUE(view.visible["Running1"]);
  draws = {6, 3, /*mail item 4 above the web average:*/ 5};
  Send(vt::MSG_APP_ITEM_RESULT, 200, 1);    // 0.2 + 6/6 = 1.2
  Send(vt::MSG_APP_ITEM_RESULT, 500, 2);    // 0.5 + 3/6 = 1.0
  Send(vt::MSG_APP_ITEM_RESULT, 12000, 3);  // 12.0 unchanged
  EXPECT_EQ(view.texts["WebResult1"], "1.20Mbps");
  EXPECT_EQ(view.texts["WebResult2"], "1.00Mbps");
  EXPECT_NEAR(model.report().app_t1, (1.2 + 1.0 + 12.0) / 3, 1e-9);
  EXPECT_EQ(view.texts["WebTestResult"], "4.73Mbps");
  EXPECT_EQ(view.texts["WebTestComment"], "一般");
  EXPECT_EQ(view.bkImages["WebIcon"], "file='img\\bt_speed_L2.png'");
  EXPECT_TRUE(view.visible["WebIcon"]);
  EXPECT_FALSE(view.visible["Running1"]);

  Send(vt::MSG_APP_ITEM_RESULT, 50000, 4);  // faster than the web average: 95 % of it
  EXPECT_NEAR(model.appItemSpeed(4), (0.9f + 0.01f * 5) * model.report().app_t1, 1e-9);
  Send(vt::MSG_APP_ITEM_RESULT, 0, 5);  // measured nothing: no random lift
  EXPECT_EQ(view.texts["SMTPResult5"], "超时");
  EXPECT_EQ(model.appItemSpeed(5), 0.0);
  Send(vt::MSG_APP_ITEM_RESULT, 0, 6);
  EXPECT_EQ(view.texts["SMTPTestComment"], "一般");
  Send(vt::MSG_APP_ITEM_RESULT, 3000, 7);
  EXPECT_DOUBLE_EQ(model.report().app_t3, 95.0);
  EXPECT_EQ(view.texts["FTPTestResult"], "95.00Mbps");
  EXPECT_EQ(view.texts["FTPTestComment"], "很快");
  EXPECT_EQ(view.bkImages["FTPIcon"], "file='img\\bt_speed_L1.png'");
  Send(vt::MSG_APP_TEST_DONE, 0);
  EXPECT_TRUE(view.enabled["ButtonWeb"]);
}

TEST_F(Fixture, DownloadBoxTimesOutWithoutABandwidthResult) {
  Ready(8, 1);
  model.OnClick("ButtonWeb");
  for (int item = 1; item <= 7; ++item) Send(vt::MSG_APP_ITEM_RESULT, 0, item);
  EXPECT_EQ(view.texts["WebTestResult"], "测试超时");
  EXPECT_EQ(view.texts["FTPTestResult"], "测试超时");
  EXPECT_EQ(view.texts["FTPTestComment"], "很慢");
}

TEST_F(Fixture, RouteRowsBarsHopListsAndVerdicts) {
  Ready(8, 1);
  model.OnClick("ButtonTrace");
  EXPECT_EQ(engines.calls.back(), std::string("trace:") + vt::Servers().platformServer);
  const struct {
    const char* address;
    int delay;
    const char* bar;
    const char* delayText;
  } hops[] = {{"10.0.0.1", 5, "good", "5毫秒"},
              {"10.0.0.2", 15, "nogood", "15毫秒"},
              {"10.0.0.3", 16, "nogood", "16毫秒"},
              {"10.0.0.4", 30, "bad", "30毫秒"},
              {"请求超时", -1, "good", "测试超时"}};
  for (const auto& h : hops) Send(vt::MSG_TRACE_HOP, reinterpret_cast<uintptr_t>(h.address), h.delay);
  ASSERT_EQ(view.rows.size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_NE(view.rows[i].barAttributes.find(std::string("progress_fore_") + hops[i].bar + ".png"),
              std::string::npos)
        << i;
    EXPECT_EQ(view.rows[i].delayText, hops[i].delayText);
    EXPECT_EQ(view.rows[i].rowBkColor, i % 2 ? 0xFFF0F0F0u : 0xFFFFFFFFu);
  }
  EXPECT_EQ(view.rows[2].numberText, "第3跳");
  EXPECT_EQ(view.rows[0].addressAttributes,
            "text=\"10.0.0.1\" textcolor=\"FF000000\" align=\"left\" float=\"true\" pos=\"52,9,182,25\" "
            "font=\"5\"");
  EXPECT_EQ(view.rows[4].barValue, -1);
  EXPECT_STREQ(model.mediumHops(), "10.0.0.3,");
  EXPECT_STREQ(model.slowHops(), "10.0.0.4,");
  Send(vt::MSG_TRACE_DONE, 0);
  EXPECT_EQ(
      view.texts["TraceTestStatus"],
      "<f 4>10.0.0.4,路由延时大于30毫秒，严重影响网速<n>10.0.0.3,路由延时大于15毫秒，可能会影响网速</f>");
  EXPECT_TRUE(view.enabled["ButtonTrace"]);

  model.OnClick("ButtonTrace");  // a second trace starts from an empty list
  EXPECT_TRUE(view.rows.empty());
  Send(vt::MSG_TRACE_HOP, reinterpret_cast<uintptr_t>("10.0.0.1"), 1);
  EXPECT_EQ(view.rows[0].numberText, "第1跳");
  Send(vt::MSG_TRACE_DONE, 0);
  EXPECT_EQ(view.texts["TraceTestStatus"], "<f 4>网络质量很好，各路由延时均很小</f>");
}

TEST_F(Fixture, DotTimersRunOutAfter22Ticks) {
  Ready(8, 1);
  model.OnClick("ButtonTrace");
  for (int i = 0; i < 22; ++i) Tick(TIMER_TRACE_DOTS);
  EXPECT_EQ(view.stopped, std::vector<unsigned>{TIMER_TRACE_DOTS});
  EXPECT_EQ(view.texts["TraceTestProces"],
            "<f 4>正在进行路由质量分析诊断测试.<n>" + std::string(22, '.') + "</f>");
}

TEST_F(Fixture, DiagnosisRescalesAgainstThePingAndOffersTheLanTool) {
  Ready(8, 1);
  model.report().speed_rtt = 10;
  model.OnClick("ButtonTroubles");
  EXPECT_EQ(engines.calls.back(), "publicip");
  EXPECT_FALSE(view.enabled["ButtonTroubles"]);
  Send(vt::MSG_TROUBLE_RESULT, vt::TR_PUBLIC_IP, 0);  // no address: nothing more
  EXPECT_EQ(engines.calls.back(), "publicip");
  Send(vt::MSG_TROUBLE_RESULT, vt::TR_PUBLIC_IP, reinterpret_cast<intptr_t>("1.2.3.4"));
  EXPECT_EQ(engines.calls.back(), std::string("trouble:1.2.3.4:") + vt::Servers().platformServer);
  Send(vt::MSG_TROUBLE_RESULT, vt::TR_WAN_DELAY, 15);
  Send(vt::MSG_TROUBLE_RESULT, vt::TR_LAN_DELAY, 5);
  Send(vt::MSG_TROUBLE_RESULT, vt::TR_WAN_HOPS, 6);
  Send(vt::MSG_TROUBLE_RESULT, vt::TR_LAN_HOPS, 3);
  // Three LAN hops: no running hop-count line (more than 3 needed) ...
  EXPECT_EQ(view.texts["TroubleshootingStatus"], "<f 4>外网时延偏大，会影响您的上网速率<n><n></f>");
  Send(vt::MSG_TROUBLE_RESULT, vt::TR_DONE, 0);
  EXPECT_EQ(model.report().delayWAN, 9);
  EXPECT_EQ(model.report().delayLAN, 3);
  EXPECT_EQ(model.report().traceHoops, "10.0.0.1|1.2.3.4|");
  EXPECT_EQ(view.texts["TroubleWAN"],
            "<f 6>外网分析:<n>公网IP:1.2.3.4<n>公网时延:9毫秒<n>路由跳数:6<n>...</f>");
  EXPECT_EQ(view.texts["TroubleLAN"], "<f 6>内网分析:<n>内网时延:3毫秒<n>路由跳数:3<n>...</f>");
  // ... but the final verdict (more than 2) advises the tool.
  EXPECT_EQ(
      view.texts["TroubleshootingStatus"],
      "<f 4>外网<c #00FF00>状况良好</c><n><n>内网<c #FF0000>层次过多</c>，请使用<c #0000FF>内网分析工具</c>"
      "进行深入分析</f>");
  EXPECT_TRUE(model.lanToolMode());
  EXPECT_EQ(view.normalImages["ButtonTroubles"], "img\\funbtn_lananalys.png");

  model.OnClick("ButtonTroubles");  // the tool, not a diagnosis; it is missing here
  EXPECT_EQ(engines.calls[engines.calls.size() - 2], "lantool");
  EXPECT_EQ(engines.calls.back(), "install-prompt");
  EXPECT_FALSE(model.lanToolMode());
  EXPECT_EQ(view.normalImages["ButtonTroubles"], "img\\funbtn_start.png");
  model.OnClick("ButtonTroubles");
  EXPECT_EQ(engines.calls.back(), "publicip");
}

TEST_F(Fixture, DiagnosisWithoutARouteEndsAsFailedAndMayRunAgain) {
  Ready(8, 1);
  model.OnClick("ButtonTroubles");
  Send(vt::MSG_TROUBLE_RESULT, vt::TR_PUBLIC_IP, reinterpret_cast<intptr_t>("1.2.3.4"));
  EXPECT_FALSE(view.enabled["ButtonTroubles"]);
  Send(vt::MSG_TROUBLE_RESULT, vt::TR_FAILED, 0);
  EXPECT_TRUE(view.enabled["ButtonTroubles"]);
  ASSERT_FALSE(view.stopped.empty());
  EXPECT_EQ(view.stopped.back(), TIMER_TROUBLE_DOTS);
  EXPECT_EQ(view.texts["TroubleWAN"], "<f 6>外网分析:<n>未取得路由信息</f>");
  EXPECT_EQ(view.texts["TroubleshootingStatus"], "<f 4>路由跟踪没有结果，请检查网络后重新诊断</f>");
  EXPECT_FALSE(model.lanToolMode());
  EXPECT_EQ(model.report().hoopsWAN, 0);
  model.OnClick("ButtonTroubles");
  EXPECT_EQ(engines.calls.back(), "publicip");
}

TEST_F(Fixture, NoRescalingWithoutAPing) {
  Ready(8, 1);
  model.OnClick("ButtonTroubles");
  Send(vt::MSG_TROUBLE_RESULT, vt::TR_PUBLIC_IP, reinterpret_cast<intptr_t>("1.2.3.4"));
  Send(vt::MSG_TROUBLE_RESULT, vt::TR_WAN_DELAY, 15);
  Send(vt::MSG_TROUBLE_RESULT, vt::TR_LAN_DELAY, 5);
  Send(vt::MSG_TROUBLE_RESULT, vt::TR_DONE, 0);
  EXPECT_EQ(model.report().delayWAN, 15);
  EXPECT_EQ(model.report().delayLAN, 5);
}

TEST_F(Fixture, NavigationAndUnknownNames) {
  Ready(8, 1);
  const char* pages[] = {"bandwidth", "ping", "app", "trouble", "report"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE(model.OnClick(pages[i]));
    EXPECT_EQ(view.page, i);
  }
  EXPECT_FALSE(model.OnClick("ButtonReport"));
  EXPECT_FALSE(model.OnClick("closebtn"));
  EXPECT_FALSE(model.HandleMessage(0x0113, 257, 0));
  EXPECT_EQ(view.texts["ReportTips"], "<f 4>测试报告编号12345<n>请点击<导出报告></f>");
  EXPECT_EQ(model.report().seq, "12345");
}

}  // namespace
