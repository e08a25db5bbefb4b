// Texts of the route-quality and diagnosis pages that follow from the
// figures alone, shared by the main window and veltrane-cli. Texts are GBK
// and use the page's inline markup.
#pragma once

#include <cstdint>

#include "base/UIString.h"

namespace vt {

// Notes one hop for the route verdict: 16 to 29 ms joins mediumHops, 30 ms
// or more slowHops ("address," each); faster hops and hops without a time
// join neither.
void NoteTraceHop(CUIString& slowHops, CUIString& mediumHops, const char* address, int32_t delay);

// "%s路由延时大于30毫秒，严重影响网速" with slowHops, empty when there are none.
CUIString SlowHopsLine(const CUIString& slowHops);
// "%s路由延时大于15毫秒，可能会影响网速" with mediumHops, empty when there are none.
CUIString MediumHopsLine(const CUIString& mediumHops);
// The text of "TraceTestStatus": both lines, or on the final call with no
// slow or medium hop "<f 4>网络质量很好，各路由延时均很小</f>".
CUIString TraceVerdictText(const CUIString& slowHops, const CUIString& mediumHops, bool final);

// Running lines of the diagnosis page, as the figures arrive.
const char* WanDelayLine(int32_t delayWAN);   // above 10 ms: too large
const char* LanDelayLine(int32_t delayLAN);   // above 5 ms: too large, else empty
const char* LanAdviceLine(int32_t hoopsLAN);  // above 3 hops: too many, else empty (the report's lancomment)

}  // namespace vt
