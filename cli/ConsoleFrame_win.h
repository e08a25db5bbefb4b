// The main window's logic run from the console: MainFrameModel with a view
// that keeps control texts in memory and engines that start the same
// threads the window starts, reporting to an EngineRun message window. So
// every figure, text and report field the console prints is the one the
// window would show and store.
//
// The request records live inside the frame and worker threads point into
// them; a frame is therefore made with new and never deleted (the process
// ends right after the command, as the window's process does).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "app/mainframe/EngineLauncher_win.h"
#include "app/mainframe/MainFrameModel.h"
#include "cli/EngineRun_win.h"

namespace vt {

class ConsoleFrame : public IMainFrameView, public IMainFrameEngines {
 public:
  ConsoleFrame();
  MainFrameModel& model() { return model_; }
  EngineRun& run() { return run_; }

  // Pumps engine messages into the model (each printed as a JSON line when
  // printJson) until isEnd says a message ends the run or timeoutMs passes;
  // onMessage, when given, sees every message after the model did.
  bool Run(const EngineRun::Handler& isEnd, DWORD timeoutMs, bool printJson,
           const EngineRun::Handler& onMessage = nullptr);

  const std::string& Text(const char* control) { return texts_[control]; }
  const std::vector<TraceRowSpec>& rows() const { return rows_; }
  int dialValue() const { return dialValue_; }
  bool threadFailed() const { return launcher_->threadFailed(); }

  // IMainFrameView
  void SetText(const char* control, const char* text) override { texts_[control] = text ? text : ""; }
  void SetVisible(const char*, bool) override {}
  void SetEnabled(const char*, bool) override {}
  void SetBkImage(const char*, const char*) override {}
  void SetNormalImage(const char*, const char*) override {}
  void SelectPage(int) override {}
  void SetDialValue(int value) override { dialValue_ = value; }
  void AddTraceRow(const TraceRowSpec& row) override { rows_.push_back(row); }
  void RemoveAllTraceRows() override { rows_.clear(); }
  // The console has no dial to animate nor dots to show: timers never tick.
  unsigned StartTimer(unsigned id, unsigned) override { return id; }
  void StopTimer(unsigned) override {}

  // IMainFrameEngines: the window's engines, reporting to the run's window.
  void StartDownload(const LineChoice& line) override { launcher_->StartDownload(line); }
  void StartUpload(const LineChoice& line) override { launcher_->StartUpload(line); }
  void StartPing(const char* host) override { launcher_->StartPing(host); }
  void StartAppTest() override { launcher_->StartAppTest(); }
  void StartRouteTrace(const char* target) override { launcher_->StartRouteTrace(target); }
  void StartPublicIp() override { launcher_->StartPublicIp(); }
  void StartTroubleTrace(const char* publicIp, const char* target) override {
    launcher_->StartTroubleTrace(publicIp, target);
  }
  void TroubleTraceLists(std::string* hoops, std::string* delays) override {
    launcher_->TroubleTraceLists(hoops, delays);
  }
  // The console offers no LAN analysis tool.
  bool LaunchLanTool() override { return false; }
  void OfferLanToolInstall() override {}

 private:
  EngineRun run_;
  MainFrameModel model_;
  EngineLauncher* launcher_;  // never deleted: engine threads point into its records
  std::map<std::string, std::string> texts_;
  std::vector<TraceRowSpec> rows_;
  int dialValue_ = 0;
};

}  // namespace vt
