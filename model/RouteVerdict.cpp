#include "model/RouteVerdict.h"

namespace vt {

void NoteTraceHop(CUIString& slowHops, CUIString& mediumHops, const char* address, int32_t delay) {
  if (delay >= 16 && delay <= 29) {
    mediumHops += address;
    mediumHops += ',';
  } else if (delay >= 30) {
    slowHops += address;
    slowHops += ',';
  }
}

CUIString SlowHopsLine(const CUIString& slowHops) {
  CUIString line;
  if (!slowHops.IsEmpty()) line.Format("%s路由延时大于30毫秒，严重影响网速", slowHops.GetData());
  return line;
}

CUIString MediumHopsLine(const CUIString& mediumHops) {
  CUIString line;
  if (!mediumHops.IsEmpty()) line.Format("%s路由延时大于15毫秒，可能会影响网速", mediumHops.GetData());
  return line;
}

CUIString TraceVerdictText(const CUIString& slowHops, const CUIString& mediumHops, bool final) {
  CUIString first = SlowHopsLine(slowHops);
  CUIString second = MediumHopsLine(mediumHops);
  CUIString text;
  if (final && first.IsEmpty() && second.IsEmpty()) text = "<f 4>网络质量很好，各路由延时均很小</f>";
  else text.Format("<f 4>%s<n>%s</f>", first.GetData(), second.GetData());
  return text;
}

const char* WanDelayLine(int32_t delayWAN) {
  return delayWAN > 10 ? "外网时延偏大，会影响您的上网速率" : "外网时延情况比较理想，不影响上网速率";
}

const char* LanDelayLine(int32_t delayLAN) { return delayLAN > 5 ? "内网时延偏大，会影响您的上网速率" : ""; }

const char* LanAdviceLine(int32_t hoopsLAN) { return hoopsLAN > 3 ? "内网层次过于复杂，会影响您的带宽" : ""; }

}  // namespace vt
