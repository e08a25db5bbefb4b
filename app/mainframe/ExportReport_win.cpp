// The report page's button: the user's information and contracted
// bandwidth, the report form posted to the platform, the 90 % rule and the
// report document opened in the browser.
#include <windows.h>
#include <shellapi.h>

#include "engines/quality/LineProber_win.h"
#include "app/dialogs/AppMessageBox_win.h"
#include "base/Log.h"
#include "model/ReportForm.h"
#include "app/mainframe/UIFrame_win.h"
#include "config/ServerSet.h"
#include "net/platform/PlatformReplies.h"
#include "net/platform/PlatformThreads_win.h"

namespace {

// Opens the address with the shell's default handler without waiting for
// the viewer: the window stays responsive while the document is open.
void OpenDocument(const char* address) {
  SHELLEXECUTEINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpVerb = "open";
  info.lpFile = address;
  info.lpParameters = "";
  info.nShow = SW_SHOW;
  if (ShellExecuteExA(&info) && info.hProcess) CloseHandle(info.hProcess);
}

}  // namespace

void UIFrame::ExportReport() {
  std::string userInfo, lineBandwidth;
  if (!RunUserInfo(&userInfo, &lineBandwidth)) return;  // cancelled: nothing sent
  ReportRecord& report = model_.report();
  report.bandwidth = vt::ParseLineBandwidth(lineBandwidth.c_str());
  std::string body = vt::BuildReportBody(report, userInfo.c_str(), lineBandwidth.c_str());
  int32_t submitted = SubmitReport(body);
  const bool meets = vt::ReportMeetsBandwidth(report);
  std::string address;
  if (submitted == 0 && meets)
    address = vt::ReportDocumentAddress(vt::Servers().platformServer.c_str(), report.seq.c_str());
  // The local record keeps what was sent and what became of it; saving it
  // never stops the export (a folder that cannot be written is said in the
  // tips' second line).
  vt::ExportState state = submitted == 0                    ? vt::ExportState::kAccepted
                          : submitted == kReportNotAccepted ? vt::ExportState::kRefused
                                                            : vt::ExportState::kUnreachable;
  model_.results().RecordExport(report, userInfo.c_str(), lineBandwidth.c_str(), state, submitted, address);
  std::string local = SaveLocalReport("export");
  CUIString tips;
  vt::LogFormat("page report: test number %s, contracted bandwidth %d, %s, 90 %% rule %s\r\n", report.seq.c_str(),
                report.bandwidth, submitted == 0 ? "the platform took it" : "the platform did not take it",
                meets ? "met" : "not met");
  if (submitted != 0) {
    // The save request never reached the platform, or its reply was no 2xx
    // or 3xx (an error page, garbage, a cut status line, silence): the
    // platform did not take the report. Say so and open nothing; the user
    // may post it again.
    tips.Format("<f 4>测试报告%s导出失败，请检查网络后重试%s</f>", report.seq.c_str(), local.c_str());
    SetText("ReportTips", tips);
    return;
  }
  // The certification ends with its report: so does the line's probing.
  vt::LineProber::Instance().Stop();
  tips.Format("<f 4>测试报告%s已导出%s</f>", report.seq.c_str(), local.c_str());
  SetText("ReportTips", tips);
  if (!meets) {
    vt::ShowMessageBox(GetHandle(), "测速结果无法达到带宽标准（低于带宽的90%），\n不能导出报告，请重新测速",
                       "提示", MB_OK);
    return;
  }
  if (g_openDocument) g_openDocument(address.c_str());
  else OpenDocument(address.c_str());
}
