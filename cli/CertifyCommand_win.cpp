// veltrane-cli certify: a whole certification without a window, in the
// order a person works through the window: version check, test number,
// bandwidth (download, ping, upload), application test, route trace,
// diagnosis, then the report submitted to both paths and the 90 % rule.
// Every figure comes from the window's own logic (MainFrameModel through
// ConsoleFrame) and the report body from the same builder the window uses.
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/Messages.h"
#include "model/BandwidthFigures.h"
#include "model/ReportForm.h"
#include "model/OwnFileVersion_win.h"
#include "model/ResultStore_win.h"
#include "cli/CertifyVerdicts.h"
#include "cli/CliCommand.h"
#include "cli/ConsoleFrame_win.h"
#include "cli/EngineThread_win.h"
#include "cli/JsonLine.h"
#include "cli/JsonOutput_win.h"
#include "cli/LineQualityJson.h"
#include "cli/LineProbe_win.h"
#include "cli/PlainText.h"
#include "base/Log.h"
#include "net/http/HttpLog.h"
#include "config/ServerSet.h"
#include "net/platform/PlatformReplies.h"
#include "net/platform/PlatformThreads_win.h"

namespace {

// Bounds of the phases (only a broken engine or a dead server reaches them).
const DWORD kVersionWaitMs = 5000;       // as at start-up
const DWORD kExchangeLimitMs = 60000;    // the test-number request
const DWORD kBandwidthLimitMs = 180000;  // two phases and the ping
const DWORD kAppsLimitMs = 150000;       // seven sites, three fetches each
const DWORD kTraceLimitMs = 330000;      // tracert -w 800, up to 30 hops
const DWORD kDiagnosisLimitMs = 150000;  // the public address and a 20-hop trace
const unsigned kIdleLeadMs = 3000;        // the line at rest before the first test

struct CertifyArgs {
  const char* user = nullptr;
  const char* pass = nullptr;
  int mode = 0;
  int level = 0;
  const char* bandwidth = nullptr;
  const char* userInfo = "";
  const char* reportDir = nullptr;  // where the result record and its page go
  bool json = false;
  bool verbose = false;
  bool prober = true;
};

// One line per phase; on a terminal the line is rewritten as its figure
// moves, otherwise each change is a line of its own.
class Progress {
 public:
  Progress() : tty_(_isatty(_fileno(stderr)) != 0) {}
  void Update(const char* phase, const std::string& figure) {
    if (figure == last_) return;
    last_ = figure;
    if (tty_) fprintf(stderr, "\r%-12s %-60.60s", phase, figure.c_str());
    else fprintf(stderr, "%-12s %s\n", phase, figure.c_str());
    fflush(stderr);
  }
  void Done() {
    if (tty_ && !last_.empty()) fprintf(stderr, "\n");
    last_.clear();
  }

 private:
  bool tty_;
  std::string last_;
};

bool ParseArgs(int argc, char** argv, CertifyArgs* a, const char** bad) {
  for (int i = 1; i < argc; ++i) {
    const char* opt = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (strcmp(opt, "--json") == 0) {
      a->json = true;
      continue;
    }
    if (strcmp(opt, "--verbose") == 0) {
      a->verbose = true;
      continue;
    }
    if (!value) {
      *bad = opt;
      return false;
    }
    ++i;
    int proberOption = vt::ParseProberOption(opt, value, &a->prober);
    if (proberOption == 0) {
      *bad = value;
      return false;
    }
    if (proberOption > 0) continue;
    if (strcmp(opt, "--user") == 0) a->user = value;
    else if (strcmp(opt, "--pass") == 0) a->pass = value;
    else if (strcmp(opt, "--userinfo") == 0) a->userInfo = value;
    else if (strcmp(opt, "--report-dir") == 0) {
      if (!*value) {
        *bad = opt;
        return false;
      }
      a->reportDir = value;
    } else if (strcmp(opt, "--bandwidth") == 0) {
      if (!vt::AcceptLineBandwidth(value)) {
        *bad = value;
        return false;
      }
      a->bandwidth = value;
    } else {
      int parsed = ParseLineOption(opt, value, &a->mode, &a->level);
      if (parsed <= 0) {
        *bad = parsed < 0 ? opt : value;
        return false;
      }
    }
  }
  if (!a->user) *bad = "--user";
  else if (!a->pass) *bad = "--pass";
  else if (!a->mode) *bad = "--mode";
  else if (!a->level) *bad = "--level";
  else if (!a->bandwidth) *bad = "--bandwidth";
  return *bad == nullptr;
}

// Runs one page's test from its start button to its end message (isEnd).
bool RunPage(vt::ConsoleFrame& frame, Progress& progress, const char* button, const char* phase,
             const vt::EngineRun::Handler& isEnd, DWORD limitMs, const char* figureControl, bool json) {
  frame.model().OnClick(button);
  progress.Update(phase, "started");
  bool ended = frame.Run(isEnd, limitMs, json, [&](const vt::EngineMessage&) {
    std::string figure = vt::PlainText(frame.Text(figureControl).c_str());
    if (!figure.empty()) progress.Update(phase, figure);
    return false;
  });
  progress.Update(phase, ended ? vt::PlainText(frame.Text(figureControl).c_str()) + " (done)"
                               : std::string("no end within its bound"));
  progress.Done();
  return ended;
}

void AddReport(vt::JsonObject& out, const ReportRecord& r, const CertifyArgs& a) {
  out.Add("seq", r.seq.c_str())
      .Add("mod", static_cast<int64_t>(r.mod))
      .Add("testlevel", static_cast<int64_t>(r.testlevel))
      .Add("speed_rtt", static_cast<int64_t>(r.speed_rtt))
      .Add("speed_speed", r.speed_speed, 2)
      .Add("speed_upload", r.speed_upload, 2)
      .Add("app_t1", r.app_t1, 2)
      .Add("app_t2", r.app_t2, 2)
      .Add("app_t3", r.app_t3, 2)
      .Add("hoopsWAN", static_cast<int64_t>(r.hoopsWAN))
      .Add("hoopsLAN", static_cast<int64_t>(r.hoopsLAN))
      .Add("delayWAN", static_cast<int64_t>(r.delayWAN))
      .Add("delayLAN", static_cast<int64_t>(r.delayLAN))
      .Add("lancomment", r.lancomment.c_str())
      .Add("traceHoops", r.traceHoops.c_str())
      .Add("traceDelay", r.traceDelay.c_str())
      .Add("userinfo", a.userInfo)
      .Add("bandwidth", a.bandwidth);
}

// Where the engines' diagnostic lines go without --verbose: one stream for
// the process, opened at the first certification and kept (a driver that
// certifies again and again in one process must not leave a handle behind
// per run).
FILE* DiscardStream() {
  static FILE* none = fopen("NUL", "w");
  return none;
}

// A certification's frame and test-number request. Engine threads point
// into them (and may still write them just after their last message), so
// neither is ever freed; a later certification in the same process takes
// the pair of the last one that ended with every engine done (with a fresh
// model), as the window runs test after test with the same records. A pair
// left with an engine still running is set aside for good.
struct CertifyRecords {
  vt::ConsoleFrame* frame = nullptr;
  TestNumberRequest* request = nullptr;
};
CertifyRecords g_idle;

CertifyRecords TakeRecords() {
  CertifyRecords r = g_idle;
  g_idle = CertifyRecords{};
  if (r.frame) {
    r.frame->Renew();
    return r;
  }
  return CertifyRecords{new vt::ConsoleFrame(), new TestNumberRequest};
}

// Every engine the certification started has ended: the records may serve
// the next one.
void ReleaseRecords(const CertifyRecords& r) { g_idle = r; }

// With --report-dir: the result record and its page, saved as the window
// saves them. A folder that cannot be written is said (on standard error and
// in the summary) and changes neither the exit code nor what was sent.
void SaveRecord(vt::JsonObject& out, Progress& progress, vt::ConsoleFrame& frame, const CertifyArgs& a) {
  if (!a.reportDir) return;
  MainFrameModel& model = frame.model();
  vt::SavedResult saved =
      vt::SaveResult(model.results(), model.report(), "console", vt::WidePath(a.reportDir));
  if (saved.ok) {
    std::string page = vt::AnsiPath(saved.pagePath);
    out.Add("record", vt::AnsiPath(saved.recordPath).c_str()).Add("report_page", page.c_str());
    progress.Update("local record", page);
  } else {
    out.Add("report_error", saved.problem.c_str());
    progress.Update("local record", "not saved: " + saved.problem);
  }
  progress.Done();
}

int Finish(const vt::JsonObject& out, int code) {
  vt::PrintJsonLine(out.Str());
  return code;
}

int RunCertify(int argc, char** argv) {
  CertifyArgs a;
  const char* bad = nullptr;
  if (!ParseArgs(argc, argv, &a, &bad)) return CliUsage(bad);
  Progress progress;
  vt::JsonObject out;
  // The engines' diagnostic lines would break the progress display; they
  // are kept with --verbose.
  if (!a.verbose) {
    if (FILE* none = DiscardStream()) {
      vt::SetLogStream(none);
    }
  }

  // 1. Version check: reported, never installed from the console.
  unsigned read = 0;
  bool versionEnded = vt::EngineRun::RunThreadAndWait(VersionCheckThread, nullptr, kVersionWaitMs, &read);
  bool updateDue = versionEnded && read == 1 && IsNewerVersion(OwnFileVersion(), LatestVersion.GetData());
  progress.Update("version",
                  vt::VersionCheckLine(versionEnded, read == 1, updateDue, LatestVersion.GetData()));
  progress.Done();
  out.AddRaw("update_available", updateDue ? "true" : "false");

  // 2. Test number.
  CertifyRecords records = TakeRecords();
  vt::ConsoleFrame* frame = records.frame;
  TestNumberRequest* request = records.request;
  request->window = frame->run().window();
  request->query.Format("&User=%s&Pass=%s", a.user, a.pass);
  WPARAM kind = 0;
  bool granted = vt::RunEngineThread(
                     frame->run(), TestNumberThread, request,
                     [&](const vt::EngineMessage& m) {
                       if (m.message != vt::MSG_TEST_NUMBER) return false;
                       kind = m.wParam;
                       return true;
                     },
                     kExchangeLimitMs, a.json)
                     .over;
  std::string seq = TestNumberReply.GetData();
  if (!vt::TestNumberGranted(granted, static_cast<unsigned>(kind), seq.c_str())) {
    // The thread's one message was its last act: the records are free again.
    if (granted) ReleaseRecords(records);
    progress.Update("test number", vt::TestNumberLine(granted, static_cast<unsigned>(kind), seq.c_str()));
    progress.Done();
    bool unanswered = !granted || kind == 2;
    out.Add("verdict", unanswered ? "unreachable" : kind == 0 ? "need-update" : "refused");
    return Finish(out, unanswered ? kCliUnreachable : kind == 0 ? kCliNeedUpdate : kCliRefused);
  }
  progress.Update("test number", seq);
  progress.Done();

  // 3. The four tests, one after the other.
  MainFrameModel& model = frame->model();
  model.OnWindowReady(LineChoice{a.level, a.mode}, seq.c_str());
  model.results().SetStartedAt(vt::LocalTimeText());
  // The background prober runs from here to the end of the certification.
  vt::LineProbe probe;
  probe.Begin(a.prober, vt::Servers().platformServer.c_str(), kIdleLeadMs);
  auto addQuality = [&]() {
    std::string quality = probe.End();
    if (quality.empty()) return;
    out.AddRaw("line_quality", quality);
    model.results().LineQualityFigures(probe.figures());  // the run's final figures, for the record
    progress.Update("quality", vt::LineQualityLine(probe.figures()));
    progress.Done();
  };
  auto endsOn = [](UINT message) {
    return [message](const vt::EngineMessage& m) { return m.message == message; };
  };
  // The diagnosis ends with its results, or as failed when the trace gave
  // no route to analyse.
  auto diagnosisEnd = [](const vt::EngineMessage& m) {
    return m.message == vt::MSG_TROUBLE_RESULT && (m.wParam == vt::TR_DONE || m.wParam == vt::TR_FAILED);
  };
  // ping or tracert could not be started: the page ends there, and so does
  // the run (its figures are incomplete).
  bool commandFailed = false;
  auto endsOrFails = [&commandFailed](UINT message, UINT failure) {
    return [message, failure, &commandFailed](const vt::EngineMessage& m) {
      if (m.message == failure) commandFailed = true;
      return m.message == message || m.message == failure;
    };
  };
  bool ok = RunPage(*frame, progress, "ButtonBandwidth", "bandwidth", endsOrFails(vt::MSG_UPLOAD_DONE, vt::MSG_PING_FAILED),
                    kBandwidthLimitMs, "TextDownloadSpeed", a.json) && !commandFailed &&
            RunPage(*frame, progress, "ButtonWeb", "application", endsOn(vt::MSG_APP_TEST_DONE), kAppsLimitMs,
                    "WebTestingStatus", a.json) &&
            RunPage(*frame, progress, "ButtonTrace", "route", endsOrFails(vt::MSG_TRACE_DONE, vt::MSG_TRACE_FAILED),
                    kTraceLimitMs, "TraceTestStatus", a.json) &&
            !commandFailed &&
            RunPage(*frame, progress, "ButtonTroubles", "diagnosis", diagnosisEnd, kDiagnosisLimitMs,
                    "TroubleshootingStatus", a.json);
  if (!ok) {  // an engine may still run: these records are not used again
    addQuality();
    out.Add("verdict", commandFailed ? "command could not be started" : "test did not end");
    SaveRecord(out, progress, *frame, a);  // what was measured so far
    return Finish(out, kCliFailed);
  }
  ReleaseRecords(records);

  // 4. The report, built as the window builds it, sent to both paths.
  ReportRecord& report = model.report();
  report.bandwidth = vt::ParseLineBandwidth(a.bandwidth);
  std::string body = vt::BuildReportBody(report, a.userInfo, a.bandwidth);
  int32_t saved = SubmitReport(body);
  AddReport(out, report, a);
  out.Add("test_number", seq.c_str());
  bool meets = vt::ReportMeetsBandwidth(report);
  std::string address = vt::ReportDocumentAddress(vt::Servers().platformServer.c_str(), seq.c_str());
  progress.Update("report", vt::ReportLine(saved, meets, vt::SpeedText(report.speed_speed), address));
  progress.Done();
  addQuality();
  vt::ExportState state = saved == 0                    ? vt::ExportState::kAccepted
                          : saved == kReportNotAccepted ? vt::ExportState::kRefused
                                                        : vt::ExportState::kUnreachable;
  model.results().RecordExport(report, a.userInfo, a.bandwidth, state, saved,
                               saved == 0 && meets ? address : std::string());
  SaveRecord(out, progress, *frame, a);
  if (saved != 0) {
    out.Add("verdict", "not-submitted");
    return Finish(out, kCliUnreachable);
  }

  // 5. The 90 % rule.
  if (!meets) {
    out.Add("verdict", "below-90-percent");
    return Finish(out, kCliBelowBandwidth);
  }
  out.Add("document", address.c_str()).Add("verdict", "certified");
  return Finish(out, kCliOk);
}

const CliCommand kCertify = {
    "certify",
    "--user U --pass P --mode 1|2 --level 4|8|12|16 --bandwidth N [--userinfo TEXT] [--report-dir DIR] [--json] "
    "[--verbose] [--prober on|off]",
    RunCertify};
CliCommandRegistrar g_register(kCertify);

}  // namespace
