// The fault-diagnosis page: public address, WAN/LAN split, rescaling of the
// trace delays against the ping, verdict and the LAN-analysis tool offer.
#include "base/Log.h"
#include "base/Messages.h"
#include "model/LineQualityText.h"
#include "model/MainFrameModel.h"
#include "model/RouteVerdict.h"
#include "model/DiagnosisFigures.h"
#include "config/ServerSet.h"

namespace {
const char* const kDiagnosisTips[] = {"tipsWANIP", "tipsT2", "tipsT3", "tipsT4", "tipsT5"};
}

void MainFrameModel::HideDiagnosisTips() {
  for (const char* name : kDiagnosisTips) view_->SetVisible(name, false);
}

void MainFrameModel::ResetTroublePage() {
  view_->SetText("TroubleWAN", "<f 6>外网分析:<n>未开始分析</f>");
  view_->SetText("TroubleLAN", "<f 6>内网分析:<n>未开始分析</f>");
  view_->SetText("TroubleshootingProces", "<f 4>请点击<开始测试>进行内外网故障诊断</f>");
  view_->SetText("TroubleshootingStatus", "<f 4> </f>");
  HideDiagnosisTips();
  troubleTicks_ = 0;
  lanToolMode_ = false;
  troubleDots_.Empty();
  wanLine_.Empty();
  lanDelayLine_.Empty();
  lanAdviceLine_.Empty();
}

void MainFrameModel::StartTroublePage() {
  view_->SetText("TroubleWAN", "<f 6>外网分析:<n>测试进行中...</f>");
  view_->SetText("TroubleLAN", "<f 6>内网分析:<n>测试进行中...</f>");
  view_->SetText("TroubleshootingProces", "<f 4>....</f>");
  view_->SetText("TroubleshootingStatus", "<f 4> </f>");
  HideDiagnosisTips();
  troubleTicks_ = 0;
  troubleTimer_ = view_->StartTimer(TIMER_TROUBLE_DOTS, 1000);
  troubleDots_.Empty();
  wanLine_.Empty();
  lanDelayLine_.Empty();
  lanAdviceLine_.Empty();
}

void MainFrameModel::ClickTroubles() {
  if (lanToolMode_) {
    lanToolMode_ = false;
    view_->SetNormalImage("ButtonTroubles", "img\\funbtn_start.png");
    if (!engines_->LaunchLanTool()) engines_->OfferLanToolInstall();
    return;
  }
  StartTroublePage();
  engines_->ProbePhaseChanged(vt::ProbePhase::Other);
  vt::LogLine("page diagnosis: start");
  results_.DiagnosisStarted();
  engines_->StartPublicIp();
  view_->SetEnabled("ButtonTroubles", false);
}

void MainFrameModel::ShowTroubleProgress() {
  CUIString text;
  text.Format("<f 4>%s<n>%s<n>%s</f>", wanLine_.GetData(), lanDelayLine_.GetData(), lanAdviceLine_.GetData());
  view_->SetText("TroubleshootingStatus", text);
}

void MainFrameModel::ShowWanLanTexts() {
  wanText_.Format("<f 6>外网分析:<n>公网IP:%s<n>公网时延:%d毫秒<n>路由跳数:%d<n>...</f>", publicIp_.c_str(),
                  report_.delayWAN, report_.hoopsWAN);
  view_->SetText("TroubleWAN", wanText_);
  lanText_.Format("<f 6>内网分析:<n>内网时延:%d毫秒<n>路由跳数:%d<n>...</f>", report_.delayLAN,
                  report_.hoopsLAN);
  view_->SetText("TroubleLAN", lanText_);
}

void MainFrameModel::OnDiagnosisResult(uint32_t code, intptr_t value) {
  const int32_t v = static_cast<int32_t>(value);
  switch (code) {
    case vt::TR_PUBLIC_IP: {
      const char* address = reinterpret_cast<const char*>(value);
      vt::LogFormat("page diagnosis: public address %s\r\n", address ? address : "(none)");
      if (!address) return;  // no address, no diagnosis
      view_->SetText("tipsWANIP", address);
      publicIp_ = address;
      results_.PublicIp(address);
      wanText_.Format("<f 6>外网分析:<n>公网IP:%s<n>...</f>", address);
      view_->SetText("TroubleWAN", wanText_);
      engines_->StartTroubleTrace(publicIp_.c_str(), vt::Servers().platformServer.c_str());
      return;
    }
    case vt::TR_WAN_DELAY:
      wanDelayMs_ = report_.delayWAN = v;
      wanLine_ = vt::WanDelayLine(v);
      ShowTroubleProgress();
      return;
    case vt::TR_LAN_DELAY:
      lanDelayMs_ = report_.delayLAN = v;
      lanDelayLine_ = vt::LanDelayLine(v);
      ShowTroubleProgress();
      return;
    case vt::TR_WAN_HOPS:
      wanHops_ = v;
      wanText_.Format("<f 6>外网分析:<n>公网IP:%s<n>公网时延:%d毫秒<n>路由跳数:%d<n>...</f>",
                      publicIp_.c_str(), wanDelayMs_, v);
      view_->SetText("TroubleWAN", wanText_);
      ShowTroubleProgress();
      report_.delayWAN = wanDelayMs_;
      report_.hoopsWAN = wanHops_;
      return;
    case vt::TR_LAN_HOPS:
      lanHops_ = v;
      lanText_.Format("<f 6>内网分析:<n>内网时延:%d毫秒<n>路由跳数:%d<n>...</f>", lanDelayMs_, v);
      view_->SetText("TroubleLAN", lanText_);
      lanAdviceLine_ = vt::LanAdviceLine(v);
      ShowTroubleProgress();
      report_.hoopsLAN = lanHops_;
      report_.delayLAN = lanDelayMs_;
      report_.lancomment = lanAdviceLine_.GetData();
      return;
    case vt::TR_DONE: OnDiagnosisDone(); return;
    case vt::TR_FAILED: OnDiagnosisFailed(); return;
    default: return;
  }
}

void MainFrameModel::OnDiagnosisDone() {
  TestEnded();
  view_->SetEnabled("ButtonTroubles", true);
  engines_->DiagnosisTraceLists(&report_.traceHoops, &report_.traceDelay);
  vt::RescaleAgainstPing(report_.speed_rtt, &report_.delayWAN, &report_.delayLAN);
  ShowWanLanTexts();
  CUIString verdict = ShowTroubleVerdict();
  results_.DiagnosisDone(report_.traceHoops, report_.traceDelay, verdict);
  vt::LogFormat("page diagnosis: end, WAN %d hops %d ms, LAN %d hops %d ms, %s\r\n", report_.hoopsWAN,
                report_.delayWAN, report_.hoopsLAN, report_.delayLAN,
                lanAdviceLine_.IsEmpty() ? "LAN in good order" : "LAN analysis advised");
  if (!lanAdviceLine_.IsEmpty()) {
    lanToolMode_ = true;
    view_->SetNormalImage("ButtonTroubles", "img\\funbtn_lananalys.png");
  }
}

// The trace gave nothing to analyse: say so and let the user try again; the
// report keeps the figures it had.
void MainFrameModel::OnDiagnosisFailed() {
  TestEnded();
  vt::LogLine("page diagnosis: end, the trace gave nothing to analyse");
  view_->StopTimer(troubleTimer_);
  view_->SetEnabled("ButtonTroubles", true);
  results_.DiagnosisFailed();
  view_->SetText("TroubleWAN", "<f 6>外网分析:<n>未取得路由信息</f>");
  view_->SetText("TroubleLAN", "<f 6>内网分析:<n>未取得路由信息</f>");
  view_->SetText("TroubleshootingProces", "<f 4>诊断未完成</f>");
  view_->SetText("TroubleshootingStatus", "<f 4>路由跟踪没有结果，请检查网络后重新诊断</f>");
}

CUIString MainFrameModel::ShowTroubleVerdict() {
  wanLine_ =
      report_.delayWAN > 10 ? "外网<c #FF0000>时延偏大</c>，建议报告给运营商" : "外网<c #00FF00>状况良好</c>";
  if (report_.delayLAN > 5 || report_.hoopsLAN > 2) {
    lanDelayLine_.Empty();
    if (report_.hoopsLAN > 2) lanDelayLine_ += "内网<c #FF0000>层次过多</c>，";
    if (report_.delayLAN > 5) lanDelayLine_ += "内网<c #FF0000>时延较大</c>，";
    lanAdviceLine_ = "请使用<c #0000FF>内网分析工具</c>进行深入分析";
  } else {
    lanDelayLine_ = "内网<c #00FF00>状况良好</c>";
    lanAdviceLine_.Empty();
  }
  CUIString text;
  text.Format("<f 4>%s<n><n>%s%s", wanLine_.GetData(), lanDelayLine_.GetData(), lanAdviceLine_.GetData());
  vt::LineQuality quality;
  if (engines_->LineQualityFigures(&quality)) text += vt::LossLine(quality).c_str();
  text += "</f>";
  view_->SetText("TroubleshootingStatus", text);
  return text;
}

void MainFrameModel::OnDiagnosisDotsTick() {
  troubleDots_ += ".";
  CUIString text;
  text.Format("<f 4>正在进行内网外网故障诊断...<n>%s</f>", troubleDots_.GetData());
  view_->SetText("TroubleshootingProces", text);
  if (troubleTicks_ <= 20) {
    ++troubleTicks_;
  } else {
    troubleTicks_ = 0;
    view_->StopTimer(troubleTimer_);
  }
}
