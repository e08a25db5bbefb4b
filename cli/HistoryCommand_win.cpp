// veltrane-cli history [--report-dir DIR] [--limit N]: the result records
// kept in a folder (by default the window's, under the user's local
// application data), newest first. Standard output gets one JSON object per
// record, as every command's output is JSON lines; standard error a table
// for people: when, the test number, mode and dial, download and upload,
// the verdict and the record's file. A file that is no readable record is
// listed with the reason, never skipped silently.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/CodePageDecode_win.h"
#include "cli/CliCommand.h"
#include "cli/JsonLine.h"
#include "cli/JsonOutput_win.h"
#include "model/ResultStore_win.h"

namespace {

// "2026-12-11T08:24:40+08:00" as "2026-12-11 08:24:40".
std::string Shown(const std::string& iso) {
  if (iso.size() >= 19 && iso[10] == 'T') return iso.substr(0, 10) + " " + iso.substr(11, 8);
  return iso.empty() ? std::string("-") : iso;
}

std::string Speed(bool has, double mbps) {
  if (!has) return "-";
  char text[32];
  snprintf(text, sizeof text, "%.2f", mbps);
  return text;
}

// One record as a JSON line; texts of the record are UTF-8, and the
// console's lines are in the code page.
std::string RecordLine(const vt::ListedResult& item, const std::string& path) {
  const vt::ResultSummary& s = item.summary;
  vt::JsonObject line;
  line.Add("record", path.c_str());
  if (!item.ok) return line.Add("error", item.problem.c_str()).Str();
  line.Add("saved_at", vt::Utf8ToAnsi(s.savedAt).c_str())
      .Add("started_at", vt::Utf8ToAnsi(s.startedAt).c_str())
      .Add("test_number", vt::Utf8ToAnsi(s.testNumber).c_str())
      .Add("mode", static_cast<int64_t>(s.mode))
      .Add("level", static_cast<int64_t>(s.level))
      .Add("verdict", vt::Utf8ToAnsi(s.verdict).c_str());
  if (s.hasDownload) line.Add("download_mbps", s.downloadMbps, 2);
  if (s.hasUpload) line.Add("upload_mbps", s.uploadMbps, 2);
  std::string page = path.size() > 5 ? path.substr(0, path.size() - 5) + ".html" : path;
  return line.Add("report_page", page.c_str()).Str();
}

int RunHistory(int argc, char** argv) {
  const char* dir = nullptr;
  long limit = 50;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--report-dir") == 0 && i + 1 < argc && argv[i + 1][0]) {
      dir = argv[++i];
    } else if (strcmp(argv[i], "--limit") == 0 && i + 1 < argc) {
      char* end = nullptr;
      limit = strtol(argv[++i], &end, 10);
      if (!end || *end || limit < 1 || limit > 100000) return CliUsage(argv[i]);
    } else {
      return CliUsage(argv[i]);
    }
  }
  std::wstring folder = dir ? vt::WidePath(dir) : vt::DefaultReportFolder();
  std::vector<vt::ListedResult> list = vt::ListResults(folder, static_cast<size_t>(limit));
  if (list.empty()) {
    fprintf(stderr, "no saved results in %s\n", vt::AnsiPath(folder).c_str());
  } else {
    fprintf(stderr, "%-19s  %-16s  %4s  %5s  %9s  %9s  %-16s  %s\n", "saved", "test number", "mode", "level",
            "download", "upload", "verdict", "record");
  }
  for (const vt::ListedResult& item : list) {
    std::string path = vt::AnsiPath(item.recordPath);
    vt::PrintJsonLine(RecordLine(item, path));
    const vt::ResultSummary& s = item.summary;
    if (!item.ok) {
      fprintf(stderr, "%-19s  %s: %s\n", "(not a record)", path.c_str(), item.problem.c_str());
      continue;
    }
    std::string number = vt::Utf8ToAnsi(s.testNumber);
    fprintf(stderr, "%-19s  %-16s  %4d  %5d  %9s  %9s  %-16s  %s\n", Shown(vt::Utf8ToAnsi(s.savedAt)).c_str(),
            number.empty() ? "-" : number.c_str(), s.mode, s.level,
            Speed(s.hasDownload, s.downloadMbps).c_str(), Speed(s.hasUpload, s.uploadMbps).c_str(),
            vt::Utf8ToAnsi(s.verdict).c_str(), path.c_str());
  }
  fflush(stdout);
  fflush(stderr);
  return kCliOk;
}

const CliCommand kHistory = {"history", "[--report-dir DIR] [--limit N]", RunHistory};
CliCommandRegistrar g_register(kHistory);

}  // namespace
