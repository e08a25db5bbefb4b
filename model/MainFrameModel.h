// The main window's logic without the window: what every click and every
// engine message does to the pages' texts, the dial, the route list and the
// report record. UIFrame owns one and applies it to real controls through
// IMainFrameView; veltrane-cli drives the same model from its own loop.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "model/MainFrameView.h"
#include "model/ReportRecord.h"
#include "model/ResultCollector.h"
#include "base/UIString.h"

constexpr unsigned TIMER_NEEDLE = 256;
constexpr unsigned TIMER_TROUBLE_DOTS = 258;
constexpr unsigned TIMER_TRACE_DOTS = 259;

class MainFrameModel {
 public:
  // random: the C library's rand() in the product; tests pass their own.
  MainFrameModel(IMainFrameView* view, IMainFrameEngines* engines, std::function<int()> random = nullptr);

  // The window is ready and the settings window has chosen.
  void OnWindowReady(const LineChoice& line, const char* testNumber);
  // Click notifications by sender name; false when the name is not ours.
  bool OnClick(const char* senderName);
  // Engine messages and timer ticks; false when the message is not ours.
  bool HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);

  // Clicks.
  void StartBandwidthTest();
  void StartAppTest();
  void StartRouteTrace();
  void ClickTroubles();

  ReportRecord& report() { return report_; }
  // The result record gathered while the pages ran (model/ResultCollector.h).
  vt::ResultCollector& results() { return results_; }
  const vt::ResultCollector& results() const { return results_; }
  const ReportRecord& report() const { return report_; }
  const LineChoice& line() const { return line_; }
  bool lanToolMode() const { return lanToolMode_; }
  const CUIString& bandwidthLog() const { return bandwidthLog_; }
  const CUIString& appLog() const { return appLog_; }
  const CUIString& slowHops() const { return slowHops_; }
  const CUIString& mediumHops() const { return mediumHops_; }
  double appItemSpeed(int item) const { return item >= 1 && item <= 7 ? appItemSpeeds_[item] : 0.0; }
  int sampleCount() const { return sampleCount_; }
  const double* needleSteps() const { return needleSteps_; }

 private:
  // Bandwidth page.
  void OnDownloadSample(uint32_t bytes);
  void OnNeedleTick();
  void OnDownloadDone(uint32_t bytesPerInterval);
  void OnPingReply(uint32_t ms);
  void OnPingDone(uint32_t ms);
  void OnPingFailed();
  void OnUploadSample(uint32_t bytesPerSecond);
  void OnUploadDone(uint32_t bytesPerSecond);
  void ShowBandwidthLog();
  void ShowLineQuality();
  // A test has ended: its probes go back to idle, and the bandwidth page's
  // quality lines take in the figures so far.
  void TestEnded();
  void ApplyDialScale();

  // Application page.
  void ResetAppPage(bool showSpinners);
  void OnAppItemResult(uint32_t thousandths, int item);
  void ShowAppBox(const char* resultName, const char* commentName, const char* spinnerName,
                  const char* iconName, double value, const char* boxText);
  void ShowAppLog();

  // Route page.
  void OnTraceHop(const char* address, int delay);
  void OnTraceDone();
  void OnTraceFailed();
  void OnTraceDotsTick();
  void ShowTraceVerdict(bool final);
  TraceRowSpec MakeTraceRow(const char* address, int delay) const;

  // Diagnosis page.
  void ResetTroublePage();
  void StartTroublePage();
  void OnDiagnosisResult(uint32_t code, intptr_t value);
  void OnDiagnosisDone();
  void OnDiagnosisFailed();
  void OnDiagnosisDotsTick();
  void ShowTroubleProgress();
  CUIString ShowTroubleVerdict();
  void ShowWanLanTexts();
  void HideDiagnosisTips();

  int Random();

  IMainFrameView* view_;
  IMainFrameEngines* engines_;
  std::function<int()> random_;
  ReportRecord report_;
  vt::ResultCollector results_;
  LineChoice line_;
  std::string testNumber_;

  // Bandwidth page.
  CUIString bandwidthLog_;
  // The upload phase has ended: the page shows the line quality lines below
  // the log, refreshed at the end of every later test (the pauses between
  // tests give the idle probes).
  bool bandwidthDone_ = false;
  double peakDownloadMbps_ = 0.0;
  double downloadMbps_ = 0.0;
  double dialSamples_[100] = {};
  int sampleCount_ = 0;
  double needleSteps_[10] = {};
  int needleStep_ = 10;
  unsigned needleTimer_ = 0;
  int32_t lastPingMs_ = 0;  // pingRequest.avgDelay: the previous ping's result

  // Application page.
  CUIString appLog_;
  double appItemSpeeds_[8] = {};
  int appResultCount_ = 0;

  // Route page.
  int traceRows_ = 0;
  CUIString traceDots_;
  CUIString slowHops_;
  CUIString mediumHops_;
  unsigned traceTimer_ = 0;
  int traceTicks_ = 0;

  // Diagnosis page.
  std::string publicIp_;
  int32_t wanDelayMs_ = 0, lanDelayMs_ = 0, wanHops_ = 0, lanHops_ = 0;
  CUIString wanLine_, lanDelayLine_, lanAdviceLine_;
  CUIString wanText_, lanText_;
  CUIString troubleDots_;
  unsigned troubleTimer_ = 0;
  int troubleTicks_ = 0;
  bool lanToolMode_ = false;
};
