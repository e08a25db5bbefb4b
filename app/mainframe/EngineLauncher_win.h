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

#include "app/mainframe/MainFrameView.h"
#include "engines/bandwidth/BandwidthTest_win.h"
#include "engines/ping/PingRequest.h"
#include "engines/trace/TraceRequest.h"

class EngineLauncher {
 public:
  void SetWindow(HWND window) { window_ = window; }
  HWND window() const { return window_; }
  // True once a thread could not be started (the page then stays running).
  bool threadFailed() const { return threadFailed_; }

  void StartDownload(const LineChoice& line);
  void StartUpload(const LineChoice& line);
  void StartPing(const char* host);
  void StartAppTest();
  void StartRouteTrace(const char* target);
  void StartPublicIp();
  void StartTroubleTrace(const char* publicIp, const char* target);
  void TroubleTraceLists(std::string* hoops, std::string* delays) const;

 private:
  void Start(unsigned(__stdcall* proc)(void*), void* arg);

  HWND window_ = nullptr;
  bool threadFailed_ = false;
  vt::SpeedTestRequest speedRequest_;
  vt::PingRequest pingRequest_;
  vt::TraceRequest traceRequest_;
  vt::TraceRequest troubleRequest_;
};
