// veltrane-cli bandwidth --mode 1|2 --level 4|8|12|16
//
// The bandwidth test as the main window runs it: the window's own logic
// (MainFrameModel, through ConsoleFrame) chains download phase ->
// (MSG_DOWNLOAD_DONE) ping -> (MSG_PING_DONE) upload phase ->
// (MSG_UPLOAD_DONE) end. Every message is printed as a JSON line on standard
// output, a human-readable progress line per message goes to standard error,
// and the last line holds the report figures the window stores
// (speed_speed, speed_rtt, speed_upload).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/Messages.h"
#include "model/BandwidthFigures.h"
#include "cli/CliCommand.h"
#include "cli/ConsoleFrame_win.h"
#include "cli/JsonLine.h"
#include "cli/JsonOutput_win.h"
#include "cli/LineProbe_win.h"
#include "config/ServerSet.h"

namespace {

// Longest a whole run may take: two phases of at most 16 + 20 intervals,
// the ping (8 echo requests), and slack. Only a broken engine reaches it.
const DWORD kRunLimitMs = 180000;
// The line at rest before the download phase: 75 probes for the idle figures.
const unsigned kIdleLeadMs = 3000;

void Progress(vt::ConsoleFrame& frame, const vt::EngineMessage& m, int* downloads, int* uploads) {
  const ReportRecord& r = frame.model().report();
  switch (m.message) {
    case vt::MSG_DOWNLOAD_SAMPLE:
      fprintf(stderr, "veltrane-cli: download sample %d: %s\n", ++*downloads,
              frame.Text("TextDownloadSpeed").c_str());
      break;
    case vt::MSG_DOWNLOAD_DONE:
      fprintf(stderr, "veltrane-cli: download %s, dial %d\n", vt::SpeedText(r.speed_speed).c_str(),
              frame.dialValue());
      break;
    case vt::MSG_PING_REPLY:
      fprintf(stderr, "veltrane-cli: ping reply %ums\n", static_cast<unsigned>(m.wParam));
      break;
    case vt::MSG_PING_DONE:
      if (r.speed_rtt == 0) fprintf(stderr, "veltrane-cli: ping mean: no timed reply\n");
      else fprintf(stderr, "veltrane-cli: ping mean %dms\n", r.speed_rtt);
      break;
    case vt::MSG_UPLOAD_SAMPLE:
      fprintf(stderr, "veltrane-cli: upload sample %d: %s\n", ++*uploads, frame.Text("TextMaxSpeed").c_str());
      break;
    case vt::MSG_UPLOAD_DONE:
      fprintf(stderr, "veltrane-cli: upload %s\n", vt::SpeedText(r.speed_upload).c_str());
      break;
    default: break;
  }
}

int RunBandwidth(int argc, char** argv) {
  int mode = 0, level = 0;
  bool prober = true;
  for (int i = 1; i < argc; ++i) {
    if (i + 1 >= argc) return CliUsage(argv[i]);
    int parsed = vt::ParseProberOption(argv[i], argv[i + 1], &prober);
    if (parsed < 0) parsed = ParseLineOption(argv[i], argv[i + 1], &mode, &level);
    if (parsed < 0) return CliUsage(argv[i]);
    if (parsed == 0) return CliUsage(argv[i + 1]);
    ++i;
  }
  if (!mode || !level) return CliUsage(nullptr);

  auto* frame = new vt::ConsoleFrame();  // engines point into it until the process ends
  frame->model().OnWindowReady(LineChoice{level, mode}, "");
  fprintf(stderr, "veltrane-cli: bandwidth test, %s mode, level %d (platform %s)\n",
          mode == 2 ? "metropolitan" : "Internet", level, vt::Servers().platformServer.c_str());
  vt::LineProbe probe;
  probe.Begin(prober, vt::Servers().platformServer.c_str(), kIdleLeadMs);
  frame->model().OnClick("ButtonBandwidth");
  if (frame->threadFailed()) {
    fprintf(stderr, "veltrane-cli: cannot start the download phase\n");
    return kCliFailed;
  }
  int downloads = 0, uploads = 0;
  bool pingFailed = false;
  bool ended = frame->Run([&pingFailed](const vt::EngineMessage& m) {
                            if (m.message == vt::MSG_PING_FAILED) pingFailed = true;
                            return m.message == vt::MSG_UPLOAD_DONE || pingFailed;
                          },
                          kRunLimitMs, true,
                          [&](const vt::EngineMessage& m) {
                            Progress(*frame, m, &downloads, &uploads);
                            return false;
                          });
  if (!ended) {
    fprintf(stderr, "veltrane-cli: the test did not end within %lu s\n",
            static_cast<unsigned long>(kRunLimitMs / 1000));
    return kCliFailed;
  }
  if (pingFailed) {  // the download figure stands; no round trip, no upload
    fprintf(stderr, "veltrane-cli: ping could not be started\n");
    vt::PrintJsonLine(vt::JsonObject()
                          .Add("speed_speed", frame->model().report().speed_speed, 2)
                          .Add("error", "ping could not be started")
                          .Str());
    return kCliFailed;
  }
  const ReportRecord& r = frame->model().report();
  vt::JsonObject summary;
  summary.Add("speed_speed", r.speed_speed, 2)
      .Add("speed_rtt", static_cast<int64_t>(r.speed_rtt))
      .Add("speed_upload", r.speed_upload, 2);
  std::string quality = probe.End();
  if (!quality.empty()) summary.AddRaw("line_quality", quality);
  vt::PrintJsonLine(summary.Str());
  return kCliOk;
}

const CliCommand kBandwidth = {"bandwidth", "--mode 1|2 --level 4|8|12|16 [--prober on|off]", RunBandwidth};
CliCommandRegistrar g_register(kBandwidth);

}  // namespace
