// veltrane-cli apps [--download-mbps X]: the application page's test. The
// seven sites are probed one after the other; the web and mail averages,
// comments and the multi-thread download figure come from the main
// window's own logic. The download box needs the bandwidth test's result:
// X Mbit/s stands for it (0 when not given, as before any bandwidth test).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/Messages.h"
#include "cli/CliCommand.h"
#include "cli/ConsoleFrame_win.h"
#include "cli/JsonLine.h"
#include "cli/JsonOutput_win.h"

namespace {

// Seven sites, three fetches of at most 5.1 s each, and slack.
const DWORD kRunLimitMs = 150000;

int RunApps(int argc, char** argv) {
  double download = 0.0;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--download-mbps") == 0 && i + 1 < argc) {
      char* end = nullptr;
      download = strtod(argv[++i], &end);
      if (!end || *end || !(download >= 0.0)) return CliUsage(argv[i]);
    } else {
      return CliUsage(argv[i]);
    }
  }
  auto* frame = new vt::ConsoleFrame();  // the test thread reports to it until the process ends
  frame->model().OnWindowReady(LineChoice{}, "");
  frame->model().report().speed_speed = download;
  frame->model().OnClick("ButtonWeb");
  bool ended = frame->Run([](const vt::EngineMessage& m) { return m.message == vt::MSG_APP_TEST_DONE; },
                          kRunLimitMs, true,
                          [&](const vt::EngineMessage& m) {
                            if (m.message == vt::MSG_APP_ITEM_RESULT)
                              fprintf(stderr, "veltrane-cli: site %d: %.3f Mbit/s\n",
                                      static_cast<int>(m.lParam), m.wParam * 0.001);
                            return false;
                          });
  if (!ended) return kCliFailed;
  const ReportRecord& r = frame->model().report();
  vt::JsonObject out;
  out.Add("app_t1", r.app_t1, 2).Add("app_t2", r.app_t2, 2).Add("app_t3", r.app_t3, 2);
  out.Add("WebTestResult", frame->Text("WebTestResult").c_str())
      .Add("WebTestComment", frame->Text("WebTestComment").c_str())
      .Add("SMTPTestResult", frame->Text("SMTPTestResult").c_str())
      .Add("SMTPTestComment", frame->Text("SMTPTestComment").c_str())
      .Add("FTPTestResult", frame->Text("FTPTestResult").c_str())
      .Add("FTPTestComment", frame->Text("FTPTestComment").c_str());
  vt::PrintJsonLine(out.Str());
  return kCliOk;
}

const CliCommand kApps = {"apps", "[--download-mbps X]", RunApps};
CliCommandRegistrar g_register(kApps);

}  // namespace
