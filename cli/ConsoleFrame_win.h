// The main window's logic run from the console: MainFrameModel with a view
// that keeps control texts in memory and the window's own EngineLauncher,
// whose threads report to an EngineRun message window. So
// every figure, text and report field the console prints is the one the
// window would show and store.
//
// The request records live inside the frame and worker threads point into
// them; a frame is therefore made with new and never deleted. Like the
// window, which runs test after test with the same records, a frame may run
// another certification once every engine of the last one has ended: Renew
// gives it a fresh model (a new window's state) and keeps the records.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "model/EngineLauncher_win.h"
#include "model/MainFrameModel.h"
#include "cli/EngineRun_win.h"

namespace vt {

class ConsoleFrame : public IMainFrameView {
 public:
  ConsoleFrame();
  MainFrameModel& model() { return *model_; }
  // A fresh model and empty control texts; the engines' records and the
  // message window stay. Only for a frame whose engines have all ended.
  void Renew();
  // Frames made in this process (for tests: certifications that reuse one).
  static int Made();
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

 private:
  EngineRun run_;
  EngineLauncher* launcher_;  // never deleted: engine threads point into its records
  std::unique_ptr<MainFrameModel> model_;
  std::map<std::string, std::string> texts_;
  std::vector<TraceRowSpec> rows_;
  int dialValue_ = 0;
};

}  // namespace vt
