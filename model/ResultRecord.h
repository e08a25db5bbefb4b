// The result record of one certification: everything the pages measured
// and showed, and what became of the report, kept on the engineer's own
// machine (model/ResultJson.h writes it, model/ReportPage.h draws it,
// docs/result-record.md describes the file). Texts are in the system code
// page, as the pages hold them; they become UTF-8 only when written out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engines/quality/LineQuality.h"
#include "model/ReportRecord.h"

namespace vt {

// The file format's version; a reader refuses a record of a newer major
// version and ignores fields it does not know.
constexpr int kResultSchemaVersion = 1;

// Limits of what one record keeps; beyond them further entries are dropped
// (and counted in the record's "dropped" figures).
constexpr size_t kResultMaxSamples = 120;  // per phase; the engine sends 16 and 15
constexpr size_t kResultMaxPings = 64;
constexpr size_t kResultMaxHops = 64;   // tracert stops at 30 hops, the diagnosis at 20
constexpr size_t kResultMaxText = 512;  // bytes of one outside text (an address, the user's information)

// The route verdict's grading of one hop's delay (model/RouteVerdict.h).
enum class HopGrade { kTimeout, kGood, kMedium, kSlow };
HopGrade GradeHopDelay(int32_t delayMs);

struct ResultHop {
  std::string address;
  int32_t delayMs = -1;  // -1: the hop gave no time
};

struct BandwidthResult {
  bool ran = false;
  bool complete = false;                // the upload phase ended
  std::vector<double> downloadSamples;  // Mbit/s, one per second, as the dial showed them
  double downloadMbps = 0.0;            // the phase's trimmed mean (the figure shown and sent)
  bool downloadDone = false;
  std::vector<int32_t> pingReplies;  // ms, as the replies came
  int32_t pingMeanMs = 0;
  bool pingDone = false;
  std::vector<double> uploadMeans;  // Mbit/s: the running mean since the phase began, per second
  double uploadMbps = 0.0;
  bool uploadDone = false;
  uint32_t dropped = 0;  // samples beyond the limits
};

struct RouteResult {
  bool ran = false;
  bool complete = false;
  std::string target;
  std::vector<ResultHop> hops;
  std::vector<std::string> verdict;  // the page's verdict lines, markup removed
  uint32_t dropped = 0;
};

struct AppResult {
  bool ran = false;
  bool complete = false;
  // Items 1-3 the portals, 4-6 the webmail services, 7 the platform's test
  // image; speeds as the page computed them (Mbit/s), has: a result arrived.
  double itemMbps[8] = {};
  bool itemHas[8] = {};
  std::string itemSite[8];
  double webMbps = 0.0, mailMbps = 0.0, downloadMbps = 0.0;  // the three boxes
  bool webDone = false, mailDone = false, downloadDone = false;
};

struct DiagnosisResult {
  bool ran = false;
  bool complete = false;
  bool failed = false;  // the trace gave nothing to analyse
  std::string publicIp;
  std::vector<ResultHop> hops;       // the diagnosis trace, as the report's lists hold it
  std::vector<std::string> verdict;  // the page's verdict lines, markup removed
};

// What became of the report.
enum class ExportState {
  kNotExported,  // measured, never exported (kept when the window closed)
  kAccepted,     // the platform accepted the form
  kRefused,      // the form reached the platform, whose reply was no success
  kUnreachable,  // the form never reached the platform
};
const char* ExportStateName(ExportState state);

struct ResultRecord {
  std::string testNumber;
  std::string startedAt;          // local time of the test number's grant, ISO 8601 with offset
  std::string savedAt;            // local time of the save
  std::string savedBecause;       // "export", "close" or "console"
  int32_t mode = 0;               // 1 Internet, 2 metropolitan network
  int32_t level = 0;              // the dial: 4, 8, 12 or 16
  std::string lineBandwidthText;  // as typed; empty before an export
  int32_t lineBandwidth = 0;      // read as the 90 % rule reads it
  std::string userInfo;
  BandwidthResult bandwidth;
  RouteResult route;
  AppResult apps;
  DiagnosisResult diagnosis;
  ReportRecord report;  // the figures of the form, as last sent (or as held)
  ExportState exportState = ExportState::kNotExported;
  int32_t exportCode = 0;       // the save request's result code
  std::string documentAddress;  // set when the 90 % rule let the document open
  std::string clientVersion;
  std::string platformServer;
  std::string serverOrigin;  // "compiled-in" or the server file's path
  // The background prober's figures as the pages last showed them (the
  // console: at the end of its run); none while it has not run.
  bool haveLineQuality = false;
  LineQuality lineQuality;
};

// The overall verdict, as the console's certify command names it:
// "certified", "below-90-percent", "not-submitted" or "not-exported".
const char* ResultVerdict(const ResultRecord& record);
// Whether the download speed passes the 90 % rule against the contracted
// bandwidth (false while none was entered).
bool ResultMeetsBandwidth(const ResultRecord& record);

}  // namespace vt
