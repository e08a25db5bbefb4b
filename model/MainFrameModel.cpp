#include "model/MainFrameModel.h"

#include <cstdlib>
#include <cstring>

#include "base/Log.h"
#include "base/Messages.h"
#include "base/Version.h"
#include "model/DialFigures.h"

MainFrameModel::MainFrameModel(IMainFrameView* view, IMainFrameEngines* engines, std::function<int()> random)
    : view_(view), engines_(engines), random_(std::move(random)) {}

int MainFrameModel::Random() { return random_ ? random_() : rand(); }

void MainFrameModel::OnWindowReady(const LineChoice& line, const char* testNumber) {
  view_->SetText("TextVer", "{c #FFFFFF}版本：" VELTRANE_VERSION_SHOWN "{/c}");
  view_->SetText("TextStatus", "<f 4>请点击<开始测试>进行带宽评估</f>");
  view_->SetText("TextResult", "");
  ResetAppPage(false);
  view_->SetText("WebTestingStatus", "<f 4>请点击<开始测试>进行应用测速</f>");
  line_ = line;
  testNumber_ = testNumber ? testNumber : "";
  report_.testlevel = line.bandwidthLevel;
  report_.mod = line.serverMode;
  report_.seq = testNumber_;
  vt::LogFormat("page: window ready, test number %s, mode %d, level %d\r\n", report_.seq.c_str(), line.serverMode,
                line.bandwidthLevel);
  results_.Begin(testNumber_.c_str(), line.serverMode, line.bandwidthLevel);
  ApplyDialScale();
  ResetTroublePage();
  view_->SetText("TraceTestProces", "<f 4>请点击<开始测试>进行路由质量分析诊断</f>");
  view_->SetText("TraceTestStatus", "<f 4> </f>");
  CUIString tips;
  tips.Format("<f 4>测试报告编号%s<n>请点击<导出报告></f>", report_.seq.c_str());
  view_->SetText("ReportTips", tips);
}

void MainFrameModel::ApplyDialScale() {
  const char* const* labels = vt::DialScaleLabels(line_.bandwidthLevel);
  if (!labels) return;
  static const char* const kNames[6] = {"K1", "K2", "K3", "K4", "K5", "K6"};
  for (int i = 0; i < 6; ++i) view_->SetText(kNames[i], labels[i]);
}

bool MainFrameModel::OnClick(const char* name) {
  static const char* const kPages[5] = {"bandwidth", "ping", "app", "trouble", "report"};
  for (int i = 0; i < 5; ++i) {
    if (strcmp(name, kPages[i]) == 0) {
      view_->SelectPage(i);
      return true;
    }
  }
  if (strcmp(name, "ButtonBandwidth") == 0) {
    StartBandwidthTest();
  } else if (strcmp(name, "ButtonWeb") == 0) {
    StartAppTest();
  } else if (strcmp(name, "ButtonTrace") == 0) {
    StartRouteTrace();
  } else if (strcmp(name, "ButtonTroubles") == 0) {
    ClickTroubles();
  } else {
    return false;  // "ButtonReport" and the window buttons belong to the window
  }
  return true;
}

bool MainFrameModel::HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  const uint32_t w = static_cast<uint32_t>(wParam);
  switch (message) {
    case vt::MSG_DOWNLOAD_SAMPLE: OnDownloadSample(w); return true;
    case vt::MSG_DOWNLOAD_DONE: OnDownloadDone(w); return true;
    case vt::MSG_UPLOAD_SAMPLE: OnUploadSample(w); return true;
    case vt::MSG_UPLOAD_DONE: OnUploadDone(w); return true;
    case vt::MSG_PING_REPLY:
      if (w != 0) results_.PingReply(static_cast<int32_t>(w));
      OnPingReply(w);
      return true;
    case vt::MSG_PING_DONE: OnPingDone(w); return true;
    case vt::MSG_PING_FAILED: OnPingFailed(); return true;
    case vt::MSG_APP_ITEM_RESULT: OnAppItemResult(w, static_cast<int>(lParam)); return true;
    case vt::MSG_APP_TEST_DONE:
      results_.AppsDone();
      view_->SetEnabled("ButtonWeb", true);
      TestEnded();
      view_->StopTimer(needleTimer_);
      return true;
    case vt::MSG_TRACE_HOP:
      OnTraceHop(reinterpret_cast<const char*>(wParam), static_cast<int>(lParam));
      return true;
    case vt::MSG_TRACE_DONE: OnTraceDone(); return true;
    case vt::MSG_TRACE_FAILED: OnTraceFailed(); return true;
    case vt::MSG_TROUBLE_RESULT: OnDiagnosisResult(w, lParam); return true;
    case 0x0113:  // WM_TIMER
      if (w == TIMER_NEEDLE) OnNeedleTick();
      else if (w == TIMER_TRACE_DOTS) OnTraceDotsTick();
      else if (w == TIMER_TROUBLE_DOTS) OnDiagnosisDotsTick();
      else return false;
      return true;
    default: return false;
  }
}
