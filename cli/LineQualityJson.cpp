#include "cli/LineQualityJson.h"

#include <cstdio>

#include "cli/JsonLine.h"

namespace vt {

std::string LineQualityJson(const LineQuality& q, double seconds) {
  JsonObject o;
  o.Add("probes", static_cast<int64_t>(q.sent));
  if (seconds > 0) o.Add("probes_per_second", q.sent / seconds, 1);
  o.Add("lost", static_cast<int64_t>(q.lost))
      .Add("loss_percent", q.lossPercent, 3)
      .Add("loss", LossText(q).c_str())
      .Add("longest_loss_run", static_cast<int64_t>(q.longestLossRun))
      .Add("idle_probes", static_cast<int64_t>(q.idle.count))
      .Add("idle_median_ms", q.idle.medianMs, 2)
      .Add("idle_p90_ms", q.idle.p90Ms, 2)
      .Add("idle_jitter_ms", q.idleJitterMs, 2)
      .Add("download_probes", static_cast<int64_t>(q.download.count))
      .Add("download_median_ms", q.download.medianMs, 2)
      .Add("download_p90_ms", q.download.p90Ms, 2)
      .Add("download_added_ms", q.downloadAddedMs, 2)
      .Add("upload_probes", static_cast<int64_t>(q.upload.count))
      .Add("upload_median_ms", q.upload.medianMs, 2)
      .Add("upload_p90_ms", q.upload.p90Ms, 2)
      .Add("upload_added_ms", q.uploadAddedMs, 2);
  return o.Str();
}

namespace {

std::string Added(double ms) {
  char text[32];
  snprintf(text, sizeof text, "%+.1fms", ms);
  return text;
}

}  // namespace

std::string LineQualityLine(const LineQuality& q) {
  std::string line = "idle " + DelayText(q.idle.medianMs) + " (p90 " + DelayText(q.idle.p90Ms) + "), jitter " +
                     DelayText(q.idleJitterMs);
  if (q.download.count) line += ", download " + Added(q.downloadAddedMs);
  if (q.upload.count) line += ", upload " + Added(q.uploadAddedMs);
  return line + ", loss " + LossText(q);
}

}  // namespace vt
