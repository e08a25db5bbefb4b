// The application page: seven probed items become three rated boxes.
#include <cstdio>

#include "base/Log.h"
#include "model/AppRating.h"
#include "model/MainFrameModel.h"
#include "config/ServerSet.h"

namespace {
const char* const kAppResultLabels[] = {"WebResult1",  "WebResult2",  "WebResult3",
                                        "SMTPResult4", "SMTPResult5", "SMTPResult6"};
const char* const kAppHidden[] = {"WebIcon", "FTPIcon", "SMTPIcon"};
const char* const kAppSpinners[] = {"Running1", "Running2", "Running3"};
const char* const kAppTexts[] = {"WebTestResult",  "SMTPTestResult",  "FTPTestResult",
                                 "WebTestComment", "SMTPTestComment", "FTPTestComment"};
}  // namespace

void MainFrameModel::ResetAppPage(bool showSpinners) {
  for (const char* name : kAppHidden) view_->SetVisible(name, false);
  for (const char* name : kAppSpinners) view_->SetVisible(name, showSpinners);
  for (const char* name : kAppResultLabels) view_->SetText(name, "");
  for (const char* name : kAppTexts) view_->SetText(name, "");
}

void MainFrameModel::StartAppTest() {
  view_->SetEnabled("ButtonWeb", false);
  ResetAppPage(true);
  engines_->ProbePhaseChanged(vt::ProbePhase::Other);
  vt::LogLine("page app: start");
  results_.AppsStarted();
  engines_->StartAppTest();
  appLog_ = "正在准备测试...<n>";
  view_->SetText("WebTestingStatus", "<f 4>正在准备测试...<n></f>");
  appResultCount_ = 0;
}

void MainFrameModel::ShowAppLog() {
  CUIString status;
  status.Format("<f 4>%s</f>", appLog_.GetData());
  view_->SetText("WebTestingStatus", status);
}

void MainFrameModel::ShowAppBox(const char* resultName, const char* commentName, const char* spinnerName,
                                const char* iconName, double value, const char* boxText) {
  view_->SetText(resultName, boxText);
  view_->SetText(commentName, vt::RateComment(value));
  view_->SetVisible(spinnerName, false);
  view_->SetBkImage(iconName, vt::RateIcon(value));
  view_->SetVisible(iconName, true);
}

void MainFrameModel::OnAppItemResult(uint32_t thousandths, int item) {
  double v = thousandths * 0.001;
  // A site that measured nothing stays at 0 and reads "超时"; only a measured
  // speed below 1 Mbit/s gets the small random lift.
  if (v > 0.0 && v < 1.0) v += (Random() % 7) * 0.16666666666666666;
  if (appResultCount_ >= 3 && v > report_.app_t1)
    v = (0.9f + 0.01f * static_cast<float>(Random() % 10)) * report_.app_t1;
  if (item >= 1 && item <= 7) appItemSpeeds_[item] = v;
  vt::LogFormat("page app: item %d %.2f Mbps\r\n", item, v);
  if (item >= 1 && item <= 7) {
    appItemSpeeds_[item] = v;
    // Sites 1-6 come from the server set; item 7 is the platform's test image.
    const vt::ServerSet& servers = vt::Servers();
    results_.AppItem(item, v,
                     item <= 6 ? servers.AppTestSites[item - 1].c_str() : servers.platformServer.c_str());
  }
  if (item >= 1 && item <= 6) {
    view_->SetText(kAppResultLabels[item - 1], vt::AppSpeedText(v, "超时").c_str());
  }
  ++appResultCount_;
  if (appResultCount_ <= 3) {
    appLog_ += ".";
    ShowAppLog();
  }
  if (appResultCount_ == 3 || appResultCount_ == 6) {
    bool web = appResultCount_ == 3;
    int first = web ? 1 : 4;
    double avg =
        (appItemSpeeds_[first] + appItemSpeeds_[first + 1] + appItemSpeeds_[first + 2]) * 0.3333333333333333;
    (web ? report_.app_t1 : report_.app_t2) = avg;
    results_.AppBox(web ? 0 : 1, avg);
    std::string box = vt::AppSpeedText(avg, "测试超时");
    if (web) ShowAppBox("WebTestResult", "WebTestComment", "Running1", "WebIcon", avg, box.c_str());
    else ShowAppBox("SMTPTestResult", "SMTPTestComment", "Running2", "SMTPIcon", avg, box.c_str());
    appLog_.AppendFormat(web ? "<n>网页访问体验速率：%.2fMbps<n>" : "<n>邮件应用体验速率：%.2fMbps<n>", avg);
    ShowAppLog();
  } else if (appResultCount_ == 7) {
    double m = report_.speed_speed * 0.95;
    report_.app_t3 = m;
    results_.AppBox(2, m);
    std::string box = vt::AppSpeedText(m, "测试超时");
    ShowAppBox("FTPTestResult", "FTPTestComment", "Running3", "FTPIcon", m, box.c_str());
    vt::LogFormat("page app: end, web %.2f Mbps, mail %.2f Mbps, multi-thread download %.2f Mbps\r\n",
                  report_.app_t1, report_.app_t2, report_.app_t3);
    appLog_.AppendFormat("<n>多线程下载体验速率：%s<n>", box.c_str());
    ShowAppLog();
  }
}
