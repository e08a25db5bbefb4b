// Gathers the result record while the pages run. MainFrameModel tells it
// each figure at the moment the page shows it, so the record holds what the
// window showed, not a second computation of it. A test run again replaces
// its own part of the record only; a result that arrives without its
// test's start still marks that part as run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/ResultRecord.h"

namespace vt {

class ResultCollector {
 public:
  // A new certification: the test number and the line choice.
  void Begin(const char* testNumber, int32_t mode, int32_t level);
  // Local time of the test number's grant (the front end knows the clock).
  void SetStartedAt(const std::string& isoTime);

  void BandwidthStarted();
  void DownloadSample(double mbps);
  void DownloadDone(double mbps);
  void PingReply(int32_t ms);
  void PingDone(int32_t ms);
  void UploadSample(double mbps);
  void UploadDone(double mbps);

  void AppsStarted();
  void AppItem(int item, double mbps, const char* site);
  // box: 0 web, 1 mail, 2 multi-thread download.
  void AppBox(int box, double mbps);
  void AppsDone();

  void RouteStarted(const char* target);
  void RouteHop(const char* address, int32_t delayMs);
  void RouteDone(const char* verdictMarkup);

  void DiagnosisStarted();
  void PublicIp(const char* address);
  // The report's hop lists ("addr|…", "ms|…") and the page's verdict text.
  void DiagnosisDone(const std::string& traceHoops, const std::string& traceDelay, const char* verdictMarkup);
  void DiagnosisFailed();

  // The background prober's figures so far (they replace the last ones).
  void LineQualityFigures(const LineQuality& q);

  // An export ran: the form's figures as sent, the user's texts and what
  // the platform made of it. A test that changes a figure afterwards makes
  // the record "not exported" again: the export was of the old figures.
  void RecordExport(const ReportRecord& report, const char* userInfo, const char* lineBandwidth,
                    ExportState state, int32_t code, const std::string& documentAddress);
  // The form's figures as the model holds them now (before a save of a
  // record that was never exported).
  void TakeReportFigures(const ReportRecord& report);

  // Whether any test has produced a figure since Begin.
  bool HasResults() const;
  // Grows with every change; a front end compares it with the revision it
  // last saved to know whether the record on disk is behind.
  uint64_t revision() const { return revision_; }

  const ResultRecord& record() const { return record_; }
  ResultRecord& record() { return record_; }

 private:
  void Changed();
  ResultRecord record_;
  uint64_t revision_ = 0;
};

// The lines of a page text in the inline markup: tags removed, one entry
// per line break, empty lines dropped.
std::vector<std::string> MarkupLines(const char* markup);

// An outside text kept in the record: at most kResultMaxText bytes, cut at
// a character boundary.
std::string BoundedText(const char* text);

// The report's hop lists split into hops: the n-th address with the n-th
// delay (a missing or unreadable delay is -1), at most kResultMaxHops.
std::vector<ResultHop> SplitHopLists(const std::string& hoops, const std::string& delays);

}  // namespace vt
