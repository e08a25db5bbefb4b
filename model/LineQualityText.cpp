#include "model/LineQualityText.h"

#include <cstdio>

namespace vt {
namespace {

std::string LoadedLine(const char* name, const DelayFigures& f, double added, bool haveIdle) {
  if (!f.count) return "";
  char text[160];
  if (haveIdle) snprintf(text, sizeof text, "<n>%s时延%.1f毫秒(较空闲%+.1f毫秒)", name, f.medianMs, added);
  else snprintf(text, sizeof text, "<n>%s时延%.1f毫秒", name, f.medianMs);
  return text;
}

}  // namespace

std::string BandwidthQualityLines(const LineQuality& q) {
  char text[160];
  bool haveIdle = q.idle.count > 0;
  if (haveIdle)
    snprintf(text, sizeof text, "<n>空闲时延%.1f毫秒(90%%不超过%.1f)，抖动%.1f毫秒", q.idle.medianMs,
             q.idle.p90Ms, q.idleJitterMs);
  else snprintf(text, sizeof text, "<n>空闲时延在测试间隙测量");
  return text + LoadedLine("下载时", q.download, q.downloadAddedMs, haveIdle) +
         LoadedLine("上传时", q.upload, q.uploadAddedMs, haveIdle);
}

std::string LossLine(const LineQuality& q) {
  char text[200];
  snprintf(text, sizeof text, "丢包率%.2f%%(共%s个探测包)，最长连续丢包%u个", q.lossPercent,
           GroupedCount(q.sent).c_str(), q.longestLossRun);
  return text;
}

}  // namespace vt
