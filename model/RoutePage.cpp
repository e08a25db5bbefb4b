// The route-quality page: one row per hop, hop lists and verdicts.
#include "base/Log.h"
#include "model/MainFrameModel.h"
#include "model/RouteVerdict.h"
#include "config/ServerSet.h"

namespace {
const char kAttrNumber[] = "textcolor=\"FF999999\" align=\"center\" float=\"true\" pos=\"0,2,42,38\" ";
const char kAttrAddress[] =
    "text=\"%s\" textcolor=\"FF000000\" align=\"left\" float=\"true\" pos=\"52,9,182,25\" font=\"5\"";
const char kAttrDelay[] =
    "textcolor=\"FF000000\" align=\"center\" float=\"true\" pos=\"162,9,262,25\" font=\"5\"";
const char kAttrBarFormat[] =
    "max=\"50\" min=\"0\" foreimage=\"file='img\\progress_fore_%s.png'\" "
    "bkimage=\"file='img\\progress_back.png'\" isstretchfore=\"FALSE\" float=\"true\" pos=\"275,9,425,24\" ";
}  // namespace

void MainFrameModel::StartRouteTrace() {
  view_->SetText("TraceTestProces", "<f 4>路由质量分析诊断测试进行中...</f>");
  view_->SetEnabled("ButtonTrace", false);
  view_->SetBkImage("listTrace", "");
  traceTimer_ = view_->StartTimer(TIMER_TRACE_DOTS, 1000);
  traceTicks_ = 0;
  view_->RemoveAllTraceRows();
  traceRows_ = 0;
  traceDots_.Empty();
  mediumHops_.Empty();
  slowHops_.Empty();
  engines_->ProbePhaseChanged(vt::ProbePhase::Other);
  vt::LogFormat("page route: start, to %s\r\n", vt::Servers().platformServer.c_str());
  results_.RouteStarted(vt::Servers().platformServer.c_str());
  engines_->StartRouteTrace(vt::Servers().platformServer.c_str());
}

TraceRowSpec MainFrameModel::MakeTraceRow(const char* address, int delay) const {
  TraceRowSpec row;
  CUIString text;
  text.Format("第%d跳", traceRows_ + 1);
  row.numberText = text.GetData();
  row.numberAttributes = kAttrNumber;
  text.Format(kAttrAddress, address);  // the address goes in as it came
  row.addressAttributes = text.GetData();
  row.delayAttributes = kAttrDelay;
  if (delay >= 0) text.Format("%d毫秒", delay);
  else text = "测试超时";
  row.delayText = text.GetData();
  text.Format(kAttrBarFormat, delay < 15 ? "good" : (delay < 30 ? "nogood" : "bad"));
  row.barAttributes = text.GetData();
  row.barValue = delay;
  row.rowBkColor = (traceRows_ % 2 == 0) ? 0xFFFFFFFFu : 0xFFF0F0F0u;
  return row;
}

void MainFrameModel::OnTraceHop(const char* address, int delay) {
  if (!address) address = "";
  vt::LogFormat("page route: hop %d %s %d ms\r\n", traceRows_ + 1, address, delay);
  view_->AddTraceRow(MakeTraceRow(address, delay));
  ++traceRows_;
  results_.RouteHop(address, delay);
  vt::NoteTraceHop(slowHops_, mediumHops_, address, delay);
  ShowTraceVerdict(false);
}

void MainFrameModel::OnTraceDone() {
  TestEnded();
  vt::LogFormat("page route: end, %d hops, slow hops: %s, medium hops: %s\r\n", traceRows_,
                slowHops_.IsEmpty() ? "none" : slowHops_.GetData(), mediumHops_.IsEmpty() ? "none" : mediumHops_.GetData());
  view_->SetEnabled("ButtonTrace", true);
  view_->StopTimer(TIMER_TRACE_DOTS);
  ShowTraceVerdict(true);
  results_.RouteDone(vt::TraceVerdictText(slowHops_, mediumHops_, true));
}

// tracert could not be started: the test ends with a failure text instead
// of a verdict; hops already listed stay.
void MainFrameModel::OnTraceFailed() {
  vt::LogFormat("page route: end, tracert could not be started, %d hops listed\r\n", traceRows_);
  TestEnded();
  view_->SetEnabled("ButtonTrace", true);
  view_->StopTimer(TIMER_TRACE_DOTS);
  view_->SetText("TraceTestStatus", "<f 4>无法启动tracert命令，路由测试未完成</f>");
}

void MainFrameModel::OnTraceDotsTick() {
  traceDots_ += ".";
  CUIString text;
  text.Format("<f 4>正在进行路由质量分析诊断测试.<n>%s</f>", traceDots_.GetData());
  view_->SetText("TraceTestProces", text);
  if (traceTicks_ <= 20) {
    ++traceTicks_;
  } else {
    traceTicks_ = 0;
    view_->StopTimer(traceTimer_);
  }
}

void MainFrameModel::ShowTraceVerdict(bool final) {
  view_->SetText("TraceTestStatus", vt::TraceVerdictText(slowHops_, mediumHops_, final));
}
