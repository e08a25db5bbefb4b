#include "model/EngineLauncher_win.h"

#include <process.h>

#include "engines/apptest/AppTestThread_win.h"
#include "engines/ping/PingThread_win.h"
#include "engines/quality/LineProber_win.h"
#include "engines/trace/RouteTraceThread_win.h"
#include "engines/trouble/TroubleTraceThread_win.h"
#include "config/ServerSet.h"
#include "net/platform/PlatformThreads_win.h"

void EngineLauncher::Start(unsigned(__stdcall* proc)(void*), void* arg) {
  // The thread runs on its own; the window is told of its end by message.
  uintptr_t handle = _beginthreadex(nullptr, 0, proc, arg, 0, nullptr);
  if (!handle) {
    threadFailed_ = true;
    return;
  }
  CloseHandle(reinterpret_cast<HANDLE>(handle));
}

void EngineLauncher::StartDownload(const LineChoice& line) {
  speedRequest_.bandwidthLevel = line.bandwidthLevel;
  speedRequest_.sampleBudget = 15;
  speedRequest_.window = window_;
  Start(vt::DownloadTestFor(line.serverMode), &speedRequest_);
}

void EngineLauncher::StartUpload(const LineChoice& line) {
  speedRequest_.bandwidthLevel = line.bandwidthLevel;
  speedRequest_.sampleBudget = 15;
  speedRequest_.window = window_;
  Start(vt::UploadTestFor(line.serverMode), &speedRequest_);
}

void EngineLauncher::StartPing(const char* host) {
  pingRequest_.window = window_;
  pingRequest_.host = host;
  Start(vt::PingThread, &pingRequest_);
}

void EngineLauncher::StartAppTest() { Start(AppTestThread, window_); }

void EngineLauncher::StartRouteTrace(const char* target) {
  traceRequest_.window = window_;
  traceRequest_.target = target;
  Start(vt::RouteTraceThread, &traceRequest_);
}

void EngineLauncher::StartPublicIp() { Start(PublicIpThread, window_); }

void EngineLauncher::StartTroubleTrace(const char* publicIp, const char* target) {
  troubleRequest_.hoopsLAN = troubleRequest_.hoopsWAN = 0;
  troubleRequest_.delayLAN = troubleRequest_.delayWAN = 0;
  troubleRequest_.window = window_;
  troubleRequest_.publicIp = publicIp;
  troubleRequest_.target = target;
  Start(vt::TroubleTraceThread, &troubleRequest_);
}

void EngineLauncher::DiagnosisTraceLists(std::string* hoops, std::string* delays) {
  *hoops = troubleRequest_.traceHoops.GetData();
  *delays = troubleRequest_.traceDelay.GetData();
}

void EngineLauncher::ProbePhaseChanged(vt::ProbePhase phase) {
  vt::LineProber& prober = vt::LineProber::Instance();
  // A test starting with the prober stopped (the first, or the first after
  // an export) begins a new run; it probes from before the engine starts.
  if (phase != vt::ProbePhase::Idle && !prober.running()) {
    prober.SetPhase(phase);
    prober.Start(vt::Servers().platformServer.c_str());
  }
  prober.SetPhase(phase);
}

bool EngineLauncher::LineQualityFigures(vt::LineQuality* q) {
  *q = vt::LineProber::Instance().Figures();
  return q->sent > 0;
}
