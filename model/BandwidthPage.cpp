// The bandwidth page: download samples walk the needle, the final figures
// chain download -> ping -> upload and land in the report.
#include "base/Log.h"
#include "model/BandwidthFigures.h"
#include "model/DialFigures.h"
#include "model/LineQualityText.h"
#include "model/MainFrameModel.h"
#include "config/ServerSet.h"

using vt::CapSpeed;
using vt::MessageSpeedMbps;
using vt::SpeedText;

void MainFrameModel::StartBandwidthTest() {
  peakDownloadMbps_ = 0.0;
  bandwidthDone_ = false;
  view_->SetText("TextStatus", "<f 4>连接至服务器.....</f>");
  bandwidthLog_ = "已连接至服务器.....<n>开始测速....<n>";
  for (double& s : dialSamples_) s = 0.0;
  sampleCount_ = 0;
  results_.BandwidthStarted();
  view_->SetDialValue(0);
  view_->SetText("TextAvgDelay", "");
  view_->SetText("TextDownloadSpeed", "");
  view_->SetText("TextMaxSpeed", "");
  view_->SetText("TextResult", "");
  engines_->ProbePhaseChanged(vt::ProbePhase::Download);
  vt::LogFormat("page bandwidth: start, mode %d, level %d\r\n", line_.serverMode, line_.bandwidthLevel);
  engines_->StartDownload(line_);
  needleTimer_ = view_->StartTimer(TIMER_NEEDLE, 100);
  view_->SetEnabled("ButtonBandwidth", false);
}

void MainFrameModel::ShowBandwidthLog() {
  CUIString status;
  status.Format("<f 4>%s</f>", bandwidthLog_.GetData());
  view_->SetText("TextStatus", status);
}

// The log above fills "TextStatus"; the line quality goes into the result
// control below it, which the page leaves empty otherwise.
void MainFrameModel::ShowLineQuality() {
  vt::LineQuality quality;
  if (!engines_->LineQualityFigures(&quality)) return;
  results_.LineQualityFigures(quality);
  if (bandwidthDone_) view_->SetText("TextResult", vt::BandwidthQualityLines(quality).c_str());
}

void MainFrameModel::TestEnded() {
  engines_->ProbePhaseChanged(vt::ProbePhase::Idle);
  ShowLineQuality();
}

void MainFrameModel::OnDownloadSample(uint32_t bytes) {
  double speed = CapSpeed(MessageSpeedMbps(bytes));
  // The phase sends at most sixteen samples; further ones still move the
  // needle but are not kept beyond the table.
  if (sampleCount_ < 100) {
    dialSamples_[sampleCount_++] = speed;
  } else {
    dialSamples_[99] = speed;
  }
  double b = dialSamples_[sampleCount_ - 1];
  double a = sampleCount_ >= 2 ? dialSamples_[sampleCount_ - 2] : 0.0;
  vt::BuildNeedleSteps(a, b, needleSteps_);
  needleStep_ = 0;
  results_.DownloadSample(speed);
  view_->SetText("TextDownloadSpeed", SpeedText(speed).c_str());
  if (speed > peakDownloadMbps_) peakDownloadMbps_ = speed;
  bandwidthLog_ += ".";
  ShowBandwidthLog();
}

void MainFrameModel::OnNeedleTick() {
  if (sampleCount_ == 0 || needleStep_ >= 10) return;
  double speed = needleSteps_[needleStep_++];
  view_->SetDialValue(vt::DialValueOf(vt::DialPosition(line_.bandwidthLevel, speed)));
  view_->SetText("TextDownloadSpeed", SpeedText(speed).c_str());
}

void MainFrameModel::OnDownloadDone(uint32_t bytesPerInterval) {
  downloadMbps_ = CapSpeed(MessageSpeedMbps(bytesPerInterval));
  view_->StopTimer(needleTimer_);
  view_->SetText("TextDownloadSpeed", SpeedText(downloadMbps_).c_str());
  view_->SetDialValue(vt::DialValueOf(vt::DialPosition(line_.bandwidthLevel, downloadMbps_)));
  bandwidthLog_ += "<n>平均下载速率";
  bandwidthLog_ += SpeedText(downloadMbps_).c_str();
  ShowBandwidthLog();
  report_.speed_speed = downloadMbps_;
  results_.DownloadDone(downloadMbps_);
  report_.speed_rtt = lastPingMs_;
  report_.speed_upload = peakDownloadMbps_ * vt::kProvisionalUploadShare;  // until the upload phase ends
  engines_->ProbePhaseChanged(vt::ProbePhase::Other);
  vt::LogFormat("page bandwidth: download %.2f Mbps (highest sample %.2f Mbps, %d samples)\r\n", downloadMbps_,
                peakDownloadMbps_, sampleCount_);
  engines_->StartPing(vt::Servers().platformServer.c_str());
}

void MainFrameModel::OnPingReply(uint32_t ms) {
  if (ms == 0) return;
  CUIString text;
  text.Format("%ums", ms);
  view_->SetText("TextAvgDelay", text);
}

void MainFrameModel::OnPingDone(uint32_t ms) {
  OnPingReply(ms);
  report_.speed_rtt = static_cast<int32_t>(ms);
  lastPingMs_ = static_cast<int32_t>(ms);
  vt::LogFormat("page bandwidth: rtt %u ms%s\r\n", ms, ms == 0 ? " (no reply carried a time)" : "");
  results_.PingDone(static_cast<int32_t>(ms));
  bandwidthLog_ += "<n>平均往返时延";
  // A mean of 0 means no reply carried a time: stored as 0 (the platform
  // reads it so), but "0 毫秒" would tell the user of a perfect line.
  if (ms == 0) bandwidthLog_ += "：未收到应答";
  else bandwidthLog_.AppendFormat("%d 毫秒", static_cast<int32_t>(ms));
  ShowBandwidthLog();
  engines_->ProbePhaseChanged(vt::ProbePhase::Upload);
  engines_->StartUpload(line_);
}

// ping could not be started: the test ends here. The download figure it
// measured stays shown and stored; the upload is not run.
void MainFrameModel::OnPingFailed() {
  vt::LogFormat("page bandwidth: end, ping could not be started; download %.2f Mbps, no upload\r\n",
                report_.speed_speed);
  bandwidthLog_ += "<n>无法启动ping命令，测速未完成";
  ShowBandwidthLog();
  TestEnded();
  view_->SetEnabled("ButtonBandwidth", true);
}

void MainFrameModel::OnUploadSample(uint32_t bytesPerSecond) {
  double speed = CapSpeed(MessageSpeedMbps(bytesPerSecond));
  results_.UploadSample(speed);
  view_->SetText("TextMaxSpeed", SpeedText(speed).c_str());
}

void MainFrameModel::OnUploadDone(uint32_t bytesPerSecond) {
  double raw = MessageSpeedMbps(bytesPerSecond);
  report_.speed_upload = CapSpeed(raw);
  results_.UploadDone(report_.speed_upload);
  // The format follows the uncapped value, the figure the capped one.
  vt::LogFormat("page bandwidth: end, download %.2f Mbps, rtt %d ms, upload %.2f Mbps\r\n", report_.speed_speed,
                report_.speed_rtt, report_.speed_upload);
  bandwidthLog_ += "<n>平均上传速率";
  bandwidthLog_ += SpeedText(report_.speed_upload, raw).c_str();
  ShowBandwidthLog();
  bandwidthDone_ = true;
  TestEnded();
  view_->SetEnabled("ButtonBandwidth", true);
}
