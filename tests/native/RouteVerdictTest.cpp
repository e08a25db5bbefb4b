#include <gtest/gtest.h>

#include "model/RouteVerdict.h"

namespace {

TEST(RouteVerdict, HopsJoinTheirBand) {
  CUIString slow, medium;
  const struct {
    const char* address;
    int delay;
  } hops[] = {{"a", 5}, {"b", 15}, {"c", 16}, {"d", 29}, {"e", 30}, {"f", -1}, {"g", 200}};
  for (const auto& h : hops) vt::NoteTraceHop(slow, medium, h.address, h.delay);
  EXPECT_STREQ(medium.GetData(), "c,d,");
  EXPECT_STREQ(slow.GetData(), "e,g,");
  EXPECT_STREQ(vt::SlowHopsLine(slow).GetData(), "e,g,路由延时大于30毫秒，严重影响网速");
  EXPECT_STREQ(vt::MediumHopsLine(medium).GetData(), "c,d,路由延时大于15毫秒，可能会影响网速");
  EXPECT_STREQ(vt::TraceVerdictText(slow, medium, true).GetData(),
               "<f 4>e,g,路由延时大于30毫秒，严重影响网速<n>c,d,路由延时大于15毫秒，可能会影响网速</f>");
}

TEST(RouteVerdict, QuietRouteIsPraisedOnlyAtTheEnd) {
  CUIString slow, medium;
  vt::NoteTraceHop(slow, medium, "a", 3);
  EXPECT_STREQ(vt::TraceVerdictText(slow, medium, false).GetData(), "<f 4><n></f>");
  EXPECT_STREQ(vt::TraceVerdictText(slow, medium, true).GetData(), "<f 4>网络质量很好，各路由延时均很小</f>");
  EXPECT_TRUE(vt::SlowHopsLine(slow).IsEmpty());
}

TEST(RouteVerdict, DiagnosisRunningLines) {
  EXPECT_STREQ(vt::WanDelayLine(11), "外网时延偏大，会影响您的上网速率");
  EXPECT_STREQ(vt::WanDelayLine(10), "外网时延情况比较理想，不影响上网速率");
  EXPECT_STREQ(vt::LanDelayLine(6), "内网时延偏大，会影响您的上网速率");
  EXPECT_STREQ(vt::LanDelayLine(5), "");
  EXPECT_STREQ(vt::LanAdviceLine(4), "内网层次过于复杂，会影响您的带宽");
  EXPECT_STREQ(vt::LanAdviceLine(3), "");
}

}  // namespace
