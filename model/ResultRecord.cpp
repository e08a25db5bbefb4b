#include "model/ResultRecord.h"

#include "model/ReportForm.h"

namespace vt {

HopGrade GradeHopDelay(int32_t delayMs) {
  // The thresholds of the route verdict (NoteTraceHop): 16 to 29 ms may slow
  // the line, 30 ms or more does.
  if (delayMs < 0) return HopGrade::kTimeout;
  if (delayMs >= 30) return HopGrade::kSlow;
  if (delayMs >= 16) return HopGrade::kMedium;
  return HopGrade::kGood;
}

const char* ExportStateName(ExportState state) {
  switch (state) {
    case ExportState::kAccepted: return "accepted";
    case ExportState::kRefused: return "refused";
    case ExportState::kUnreachable: return "unreachable";
    case ExportState::kNotExported: break;
  }
  return "not-exported";
}

bool ResultMeetsBandwidth(const ResultRecord& record) {
  return record.exportState != ExportState::kNotExported && ReportMeetsBandwidth(record.report);
}

const char* ResultVerdict(const ResultRecord& record) {
  switch (record.exportState) {
    case ExportState::kNotExported: return "not-exported";
    case ExportState::kRefused:
    case ExportState::kUnreachable: return "not-submitted";
    case ExportState::kAccepted: break;
  }
  return ResultMeetsBandwidth(record) ? "certified" : "below-90-percent";
}

}  // namespace vt
