// The route-quality page: one row per hop, hop lists and verdicts.
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
  view_->AddTraceRow(MakeTraceRow(address, delay));
  ++traceRows_;
  vt::NoteTraceHop(slowHops_, mediumHops_, address, delay);
  ShowTraceVerdict(false);
}

void MainFrameModel::OnTraceDone() {
  TestEnded();
  view_->SetEnabled("ButtonTrace", true);
  view_->StopTimer(TIMER_TRACE_DOTS);
  ShowTraceVerdict(true);
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
