#include "cli/ConsoleFrame_win.h"

#include "app/Messages.h"
#include "engines/apptest/AppTestThread_win.h"
#include "engines/ping/PingThread_win.h"
#include "engines/trace/RouteTraceThread_win.h"
#include "engines/trouble/TroubleTraceThread_win.h"
#include "net/platform/PlatformThreads_win.h"

namespace vt {

namespace {
// Where a message carries a text: the hop address in wParam, the public
// address in lParam.
int TextOfMessage(UINT message, WPARAM wParam) {
  if (message == MSG_TRACE_HOP) return 1;
  if (message == MSG_TROUBLE_RESULT && wParam == TR_PUBLIC_IP) return 2;
  return 0;
}
}  // namespace

ConsoleFrame::ConsoleFrame() : model_(this, this) {}

void ConsoleFrame::Start(unsigned(__stdcall* proc)(void*), void* arg) {
  if (!EngineRun::StartThread(proc, arg)) threadFailed_ = true;
}

bool ConsoleFrame::Run(const EngineRun::Handler& isEnd, DWORD timeoutMs, bool printJson,
                       const EngineRun::Handler& onMessage) {
  EngineRun::Handler handler = [&](const EngineMessage& m) {
    model_.HandleMessage(m.message, m.wParam, m.lParam);
    if (onMessage) onMessage(m);
    return isEnd(m);
  };
  return run_.Pump(handler, timeoutMs, printJson, TextOfMessage);
}

void ConsoleFrame::StartDownload(const LineChoice& line) {
  speedRequest_.bandwidthLevel = line.bandwidthLevel;
  speedRequest_.sampleBudget = 15;
  speedRequest_.window = run_.window();
  Start(DownloadTestFor(line.serverMode), &speedRequest_);
}

void ConsoleFrame::StartUpload(const LineChoice& line) {
  speedRequest_.bandwidthLevel = line.bandwidthLevel;
  speedRequest_.sampleBudget = 15;
  speedRequest_.window = run_.window();
  Start(UploadTestFor(line.serverMode), &speedRequest_);
}

void ConsoleFrame::StartPing(const char* host) {
  pingRequest_.window = run_.window();
  pingRequest_.host = host;
  Start(PingThread, &pingRequest_);
}

void ConsoleFrame::StartAppTest() { Start(AppTestThread, run_.window()); }

void ConsoleFrame::StartRouteTrace(const char* target) {
  traceRequest_.window = run_.window();
  traceRequest_.target = target;
  Start(RouteTraceThread, &traceRequest_);
}

void ConsoleFrame::StartPublicIp() { Start(PublicIpThread, run_.window()); }

void ConsoleFrame::StartTroubleTrace(const char* publicIp, const char* target) {
  troubleRequest_.hoopsLAN = troubleRequest_.hoopsWAN = 0;
  troubleRequest_.delayLAN = troubleRequest_.delayWAN = 0;
  troubleRequest_.window = run_.window();
  troubleRequest_.publicIp = publicIp;
  troubleRequest_.target = target;
  Start(TroubleTraceThread, &troubleRequest_);
}

void ConsoleFrame::TroubleTraceLists(std::string* hoops, std::string* delays) {
  *hoops = troubleRequest_.traceHoops.GetData();
  *delays = troubleRequest_.traceDelay.GetData();
}

}  // namespace vt
