#include "model/ResultCollector.h"

#include <cstdlib>
#include <cstring>

#include "base/CodePage.h"

namespace vt {

namespace {

// A tag of the inline markup: "<x…>" or "{x…}" whose first character is a
// letter or '/'; "<n>" and "<p…>" break the line.
bool StartsTag(const char* text, size_t len, size_t pos) {
  if (pos + 1 >= len || (text[pos] != '<' && text[pos] != '{')) return false;
  char c = text[pos + 1];
  return c == '/' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

template <typename T>
bool PushBounded(std::vector<T>& list, const T& value, size_t limit, uint32_t* dropped) {
  if (list.size() >= limit) {
    if (dropped) ++*dropped;
    return false;
  }
  list.push_back(value);
  return true;
}

}  // namespace

std::vector<std::string> MarkupLines(const char* markup) {
  std::vector<std::string> lines;
  if (!markup) return lines;
  const size_t len = strlen(markup);
  std::string line;
  auto endLine = [&] {
    size_t first = line.find_first_not_of(' ');
    if (first != std::string::npos) lines.push_back(line.substr(first));
    line.clear();
  };
  size_t pos = 0;
  while (pos < len) {
    if (StartsTag(markup, len, pos)) {
      char close = markup[pos] == '<' ? '>' : '}';
      size_t end = FindAsciiCharFromBoundary(markup, len, close, pos + 1);
      if (end < len) {
        char letter = markup[pos + 1];
        if (letter == 'n' || letter == 'p' || (letter == '/' && pos + 2 < end && markup[pos + 2] == 'p'))
          endLine();
        pos = end + 1;
        continue;
      }
    }
    if (markup[pos] == '\n') {
      endLine();
      ++pos;
      continue;
    }
    size_t step = CharSize(markup, len, pos);
    line.append(markup + pos, step);
    pos += step;
  }
  endLine();
  return lines;
}

std::string BoundedText(const char* text) {
  if (!text) return std::string();
  size_t len = strlen(text);
  return std::string(text, CharBoundaryAtOrBelow(text, len, kResultMaxText));
}

std::vector<ResultHop> SplitHopLists(const std::string& hoops, const std::string& delays) {
  std::vector<ResultHop> hops;
  size_t a = 0, d = 0;
  while (a < hoops.size() && hops.size() < kResultMaxHops) {
    size_t bar = FindAsciiCharFromBoundary(hoops.data(), hoops.size(), '|', a);
    ResultHop hop;
    hop.address = BoundedText(hoops.substr(a, bar - a).c_str());
    a = bar + 1;
    if (d < delays.size()) {
      size_t dbar = delays.find('|', d);
      if (dbar == std::string::npos) dbar = delays.size();
      std::string field = delays.substr(d, dbar - d);
      char* end = nullptr;
      long v = strtol(field.c_str(), &end, 10);
      if (!field.empty() && end && *end == '\0' && v >= -1 && v <= 1000000)
        hop.delayMs = static_cast<int32_t>(v);
      d = dbar + 1;
    }
    hops.push_back(hop);
  }
  return hops;
}

void ResultCollector::Changed() {
  ++revision_;
  if (record_.exportState != ExportState::kNotExported) {
    record_.exportState = ExportState::kNotExported;
    record_.exportCode = 0;
    record_.documentAddress.clear();
  }
}

void ResultCollector::SetStartedAt(const std::string& isoTime) {
  record_.startedAt = BoundedText(isoTime.c_str());
}

void ResultCollector::RecordExport(const ReportRecord& report, const char* userInfo,
                                   const char* lineBandwidth, ExportState state, int32_t code,
                                   const std::string& documentAddress) {
  record_.report = report;
  record_.userInfo = BoundedText(userInfo);
  record_.lineBandwidthText = BoundedText(lineBandwidth);
  record_.lineBandwidth = report.bandwidth;
  record_.exportState = state;
  record_.exportCode = code;
  record_.documentAddress = BoundedText(documentAddress.c_str());
  ++revision_;
}

void ResultCollector::TakeReportFigures(const ReportRecord& report) {
  if (record_.exportState == ExportState::kNotExported) record_.report = report;
}

void ResultCollector::Begin(const char* testNumber, int32_t mode, int32_t level) {
  record_ = ResultRecord();
  record_.testNumber = BoundedText(testNumber);
  record_.mode = mode;
  record_.level = level;
  Changed();
}

void ResultCollector::BandwidthStarted() {
  record_.bandwidth = BandwidthResult();
  record_.bandwidth.ran = true;
  Changed();
}

void ResultCollector::DownloadSample(double mbps) {
  record_.bandwidth.ran = true;
  PushBounded(record_.bandwidth.downloadSamples, mbps, kResultMaxSamples, &record_.bandwidth.dropped);
  Changed();
}

void ResultCollector::DownloadDone(double mbps) {
  record_.bandwidth.ran = true;
  record_.bandwidth.downloadMbps = mbps;
  record_.bandwidth.downloadDone = true;
  Changed();
}

void ResultCollector::PingReply(int32_t ms) {
  record_.bandwidth.ran = true;
  PushBounded(record_.bandwidth.pingReplies, ms, kResultMaxPings, &record_.bandwidth.dropped);
  Changed();
}

void ResultCollector::PingDone(int32_t ms) {
  record_.bandwidth.ran = true;
  record_.bandwidth.pingMeanMs = ms;
  record_.bandwidth.pingDone = true;
  Changed();
}

void ResultCollector::UploadSample(double mbps) {
  record_.bandwidth.ran = true;
  PushBounded(record_.bandwidth.uploadMeans, mbps, kResultMaxSamples, &record_.bandwidth.dropped);
  Changed();
}

void ResultCollector::UploadDone(double mbps) {
  record_.bandwidth.ran = true;
  record_.bandwidth.uploadMbps = mbps;
  record_.bandwidth.uploadDone = true;
  record_.bandwidth.complete = true;
  Changed();
}

void ResultCollector::AppsStarted() {
  record_.apps = AppResult();
  record_.apps.ran = true;
  Changed();
}

void ResultCollector::AppItem(int item, double mbps, const char* site) {
  record_.apps.ran = true;
  if (item < 1 || item > 7) return;
  record_.apps.itemMbps[item] = mbps;
  record_.apps.itemHas[item] = true;
  record_.apps.itemSite[item] = BoundedText(site);
  Changed();
}

void ResultCollector::AppBox(int box, double mbps) {
  record_.apps.ran = true;
  AppResult& a = record_.apps;
  if (box == 0) a.webMbps = mbps, a.webDone = true;
  else if (box == 1) a.mailMbps = mbps, a.mailDone = true;
  else if (box == 2) a.downloadMbps = mbps, a.downloadDone = true;
  else return;
  Changed();
}

void ResultCollector::AppsDone() {
  record_.apps.ran = true;
  record_.apps.complete = true;
  Changed();
}

void ResultCollector::RouteStarted(const char* target) {
  record_.route = RouteResult();
  record_.route.ran = true;
  record_.route.target = BoundedText(target);
  Changed();
}

void ResultCollector::RouteHop(const char* address, int32_t delayMs) {
  record_.route.ran = true;
  ResultHop hop;
  hop.address = BoundedText(address);
  hop.delayMs = delayMs < 0 ? -1 : delayMs;
  PushBounded(record_.route.hops, hop, kResultMaxHops, &record_.route.dropped);
  Changed();
}

void ResultCollector::RouteDone(const char* verdictMarkup) {
  record_.route.ran = true;
  record_.route.verdict = MarkupLines(verdictMarkup);
  record_.route.complete = true;
  Changed();
}

void ResultCollector::DiagnosisStarted() {
  record_.diagnosis = DiagnosisResult();
  record_.diagnosis.ran = true;
  Changed();
}

void ResultCollector::PublicIp(const char* address) {
  record_.diagnosis.ran = true;
  record_.diagnosis.publicIp = BoundedText(address);
  Changed();
}

void ResultCollector::DiagnosisDone(const std::string& traceHoops, const std::string& traceDelay,
                                    const char* verdictMarkup) {
  record_.diagnosis.ran = true;
  record_.diagnosis.hops = SplitHopLists(traceHoops, traceDelay);
  record_.diagnosis.verdict = MarkupLines(verdictMarkup);
  record_.diagnosis.complete = true;
  record_.diagnosis.failed = false;
  Changed();
}

void ResultCollector::DiagnosisFailed() {
  record_.diagnosis.ran = true;
  record_.diagnosis.failed = true;
  record_.diagnosis.complete = false;
  Changed();
}

void ResultCollector::LineQualityFigures(const LineQuality& q) {
  record_.haveLineQuality = true;
  record_.lineQuality = q;
  Changed();
}

bool ResultCollector::HasResults() const {
  const ResultRecord& r = record_;
  bool apps = false;
  for (bool has : r.apps.itemHas) apps = apps || has;
  return !r.bandwidth.downloadSamples.empty() || r.bandwidth.downloadDone || r.bandwidth.pingDone || apps ||
         !r.route.hops.empty() || r.route.complete || r.diagnosis.complete || !r.diagnosis.publicIp.empty();
}

}  // namespace vt
