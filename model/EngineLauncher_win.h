// Starts the engine threads the main window's logic asks for, reporting to
// one window, with the request records they point into. Shared by the
// window (UIFrame) and the console (ConsoleFrame), so both start the same
// engines with the same records.
//
// Worker threads keep pointers into the records until they end; a launcher
// is therefore made with new and never deleted while any may run (the
// window's launcher lives until the process ends).
#pragma once

#include <windows.h>

#include <string>

#include "model/MainFrameView.h"
#include "engines/bandwidth/BandwidthTest_win.h"
#include "engines/ping/PingRequest.h"
#include "engines/trace/TraceRequest.h"

class EngineLauncher : public IMainFrameEngines {
 public:
  void SetWindow(HWND window) { window_ = window; }
  HWND window() const { return window_; }
  // True once a thread could not be started (the page then stays running).
  bool threadFailed() const { return threadFailed_; }

  void StartDownload(const LineChoice& line) override;
  void StartUpload(const LineChoice& line) override;
  void StartPing(const char* host) override;
  void StartAppTest() override;
  void StartRouteTrace(const char* target) override;
  void StartPublicIp() override;
  void StartTroubleTrace(const char* publicIp, const char* target) override;
  void DiagnosisTraceLists(std::string* hoops, std::string* delays) override;
  // No LAN analysis tool here; the window offers one.
  bool LaunchLanTool() override { return false; }
  void OfferLanToolInstall() override {}
  // Starts the background prober at the first test and stamps its probes.
  void ProbePhaseChanged(vt::ProbePhase phase) override;
  bool LineQualityFigures(vt::LineQuality* q) override;

 private:
  void Start(unsigned(__stdcall* proc)(void*), void* arg);

  HWND window_ = nullptr;
  bool threadFailed_ = false;
  vt::SpeedTestRequest speedRequest_;
  vt::PingRequest pingRequest_;
  vt::TraceRequest traceRequest_;
  vt::TraceRequest troubleRequest_;
};
