// What the main window's logic needs from the window: controls addressed by
// name, the dial, the route list, timers, and the engines it starts. The
// window implements both interfaces with real controls and threads; the
// console front end and the tests implement them without a window, so all
// three compute the same figures and texts with the same code.
#pragma once

#include <string>

#include "engines/quality/LineQuality.h"

// One row of the route list: four controls in a horizontal layout inside a
// list element of height 40.
struct TraceRowSpec {
  std::string numberText;  // "第%d跳"
  std::string numberAttributes;
  std::string addressAttributes;
  std::string delayAttributes;
  std::string delayText;
  std::string barAttributes;
  int barValue = 0;
  unsigned rowBkColor = 0;  // AARRGGBB
};

class IMainFrameView {
 public:
  virtual ~IMainFrameView() = default;
  virtual void SetText(const char* control, const char* text) = 0;
  virtual void SetVisible(const char* control, bool visible) = 0;
  virtual void SetEnabled(const char* control, bool enabled) = 0;
  virtual void SetBkImage(const char* control, const char* image) = 0;
  virtual void SetNormalImage(const char* control, const char* image) = 0;
  virtual void SelectPage(int index) = 0;
  virtual void SetDialValue(int value) = 0;
  virtual void AddTraceRow(const TraceRowSpec& row) = 0;
  virtual void RemoveAllTraceRows() = 0;
  // Native timers of the window; StartTimer returns the id to stop it with.
  virtual unsigned StartTimer(unsigned id, unsigned periodMs) = 0;
  virtual void StopTimer(unsigned id) = 0;
};

// Test modes and levels as chosen in the settings window.
struct LineChoice {
  int bandwidthLevel = 8;  // 4, 8, 12 or 16
  int serverMode = 1;      // 2: metropolitan network, else Internet
};

class IMainFrameEngines {
 public:
  virtual ~IMainFrameEngines() = default;
  virtual void StartDownload(const LineChoice& line) = 0;
  virtual void StartUpload(const LineChoice& line) = 0;
  virtual void StartPing(const char* host) = 0;
  virtual void StartAppTest() = 0;
  virtual void StartRouteTrace(const char* target) = 0;
  virtual void StartPublicIp() = 0;
  virtual void StartTroubleTrace(const char* publicIp, const char* target) = 0;
  // The hop lists the diagnosis trace filled ("addr|…", "ms|…").
  virtual void DiagnosisTraceLists(std::string* hoops, std::string* delays) = 0;
  // The LAN analysis tool; false when it could not be started.
  virtual bool LaunchLanTool() = 0;
  // The tool is missing: tell the user and open the vendor's page.
  virtual void OfferLanToolInstall() = 0;
  // The part of the certification now running, for the background prober:
  // set before a test's engine starts and back to Idle when its page ends.
  virtual void ProbePhaseChanged(vt::ProbePhase /*phase*/) {}
  // The background prober's figures so far; false when it has not run.
  virtual bool LineQualityFigures(vt::LineQuality* /*q*/) { return false; }
};
