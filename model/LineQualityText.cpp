#include "model/LineQualityText.h"

#include <cstdio>

namespace vt {
namespace {

// ", " between the two loaded parts; "(+40.8)" against idle when there is one.
std::string LoadedPart(const char* name, const DelayFigures& f, double added, bool haveIdle) {
  if (!f.count) return "";
  char text[96];
  if (haveIdle) snprintf(text, sizeof text, "%s时延%.1f毫秒(%+.1f)", name, f.medianMs, added);
  else snprintf(text, sizeof text, "%s时延%.1f毫秒", name, f.medianMs);
  return text;
}

}  // namespace

std::string BandwidthQualityLines(const LineQuality& q) {
  char idle[128];
  bool haveIdle = q.idle.count > 0;
  if (haveIdle)
    snprintf(idle, sizeof idle, "空闲时延%.1f毫秒(90%%不超过%.1f)，抖动%.1f毫秒", q.idle.medianMs,
             q.idle.p90Ms, q.idleJitterMs);
  else snprintf(idle, sizeof idle, "空闲时延在测试间隙测量");
  std::string down = LoadedPart("下载", q.download, q.downloadAddedMs, haveIdle);
  std::string up = LoadedPart("上传", q.upload, q.uploadAddedMs, haveIdle);
  std::string loaded = down + (!down.empty() && !up.empty() ? "，" : "") + up;
  return "<f 3>" + std::string(idle) + (loaded.empty() ? "" : "<n>" + loaded) + "</f>";
}

std::string LossLine(const LineQuality& q) {
  char text[200];
  snprintf(text, sizeof text, "<f 3><n><n>丢包率%.2f%%(共%s个探测包)，最长连续丢包%u个</f>", q.lossPercent,
           GroupedCount(q.sent).c_str(), q.longestLossRun);
  return text;
}

}  // namespace vt
