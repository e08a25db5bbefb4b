#include "app/mainframe/UIFrame_win.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <ctime>

#include "app/dialogs/AppMessageBox_win.h"
#include "base/Log.h"
#include "model/ResultStore_win.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/DialUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/ProgressUI.h"
#include "ui/layouts/HorizontalLayoutUI.h"
#include "ui/layouts/TabLayoutUI.h"

namespace {

const char kLanTool[] = "D:\\Program Files (x86)\\ColasoftSimple\\csnax.exe";
// The LAN analysis tool's vendor page, opened when the tool is not installed.
const char kLanToolPage[] = "http://www.colasoft.com.cn/download/capsa.php";

UIFrame::SettingsRunner g_settingsRunner = nullptr;
UIFrame::UserInfoRunner g_userInfoRunner = nullptr;
std::wstring* g_reportFolder = nullptr;  // set by tests only

}  // namespace

UIFrame::OpenDocumentHook UIFrame::g_openDocument = nullptr;

void UIFrame::SetDialogRunners(SettingsRunner settings, UserInfoRunner userInfo) {
  g_settingsRunner = settings;
  g_userInfoRunner = userInfo;
}

bool UIFrame::RunUserInfo(std::string* userInfo, std::string* lineBandwidth) {
  return g_userInfoRunner && g_userInfoRunner(GetHandle(), userInfo, lineBandwidth);
}

void UIFrame::SetOpenDocumentHook(OpenDocumentHook hook) { g_openDocument = hook; }

void UIFrame::SetReportFolder(const std::wstring& folder) {
  if (!g_reportFolder) g_reportFolder = new std::wstring;
  *g_reportFolder = folder;
}

UIFrame::UIFrame() : engines_(new FrameEngines), model_(this, engines_) {}

UIFrame::~UIFrame() { PostQuitMessage(0); }

void UIFrame::OnWindowDestroyed() {
  WindowImplBase::OnWindowDestroyed();
  delete this;
}

CControlUI* UIFrame::Find(const char* name) { return manager_.FindControlByName(name); }

CListUI* UIFrame::TraceList() {
  CControlUI* c = Find("listTrace");
  return c ? static_cast<CListUI*>(c->GetInterface("List")) : nullptr;
}

void UIFrame::OnWindowReady() {
  engines_->SetWindow(GetHandle());
  if (CListUI* list = TraceList()) list->SetTextCallback(this);
  srand(static_cast<unsigned>(time(nullptr)));  // the application page draws from it
  SettingsChoice choice = g_settingsRunner ? g_settingsRunner(GetHandle()) : SettingsChoice();
  model_.OnWindowReady(LineChoice{choice.bandwidthLevel, choice.serverMode}, choice.testNumber.c_str());
  model_.results().SetStartedAt(vt::LocalTimeText());
  savedRevision_ = model_.results().revision();
}

std::string UIFrame::SaveLocalReport(const char* because) {
  std::wstring folder =
      g_reportFolder && !g_reportFolder->empty() ? *g_reportFolder : vt::DefaultReportFolder();
  vt::SavedResult saved = vt::SaveResult(model_.results(), model_.report(), because, folder);
  savedRevision_ = model_.results().revision();
  if (!saved.ok) {
    // Said in the window, with the details in the log; the export to the
    // platform goes on regardless.
    vt::LogFormat("local report not saved: %s\r\n", saved.problem.c_str());
    return "<n><f 5><c #D33A35>本机测试记录未能保存</c></f>";
  }
  localPage_ = saved.pagePath;
  return "<n><f 5><a localreport>查看本机保存的测试记录</a></f>";
}

void UIFrame::SaveUnsavedResults() {
  const vt::ResultCollector& results = model_.results();
  if (results.HasResults() && results.revision() != savedRevision_) SaveLocalReport("close");
}

void UIFrame::OpenLocalReport() {
  if (localPage_.empty()) return;
  if (g_openDocument) {
    g_openDocument(vt::AnsiPath(localPage_).c_str());
    return;
  }
  // The page opens in the user's browser; nothing waits for it.
  ShellExecuteW(nullptr, L"open", localPage_.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void UIFrame::OnNotification(UINotification& msg) {
  if (msg.type == "link" && msg.sender && msg.sender->GetName() == "ReportTips") {
    OpenLocalReport();
    return;
  }
  WindowImplBase::OnNotification(msg);
}

LRESULT UIFrame::OnClose(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
  // Nothing measured is lost: results not yet saved are kept on closing.
  SaveUnsavedResults();
  return WindowImplBase::OnClose(msg, wParam, lParam, handled);
}

void UIFrame::OnClickNotify(UINotification& msg) {
  const char* name = msg.sender ? msg.sender->GetName().GetData() : "";
  if (strcmp(name, "ButtonReport") == 0) {
    ExportReport();
    return;
  }
  if (!model_.OnClick(name)) WindowImplBase::OnClickNotify(msg);
}

LRESULT UIFrame::HandleAppMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
  model_.HandleMessage(msg, wParam, lParam);
  // The session ends with the window open: WM_CLOSE will not come.
  if (msg == WM_ENDSESSION && wParam) SaveUnsavedResults();
  // Every message also goes on to the toolkit's default processing.
  return WindowImplBase::HandleAppMessage(msg, wParam, lParam, handled);
}

// IMainFrameView: a control the layout lacks is skipped.

void UIFrame::SetText(const char* control, const char* text) {
  if (CControlUI* c = Find(control)) c->SetText(text);
}

void UIFrame::SetVisible(const char* control, bool visible) {
  if (CControlUI* c = Find(control)) c->SetVisible(visible);
}

void UIFrame::SetEnabled(const char* control, bool enabled) {
  if (CControlUI* c = Find(control)) c->SetEnabled(enabled);
}

void UIFrame::SetBkImage(const char* control, const char* image) {
  if (CControlUI* c = Find(control)) c->SetBkImage(image);
}

void UIFrame::SetNormalImage(const char* control, const char* image) {
  CControlUI* c = Find(control);
  if (auto* button = c ? static_cast<CButtonUI*>(c->GetInterface("Button")) : nullptr)
    button->SetNormalImage(image);
}

void UIFrame::SelectPage(int index) {
  CControlUI* c = Find("switch");
  if (auto* tabs = c ? static_cast<CTabLayoutUI*>(c->GetInterface("TabLayout")) : nullptr)
    tabs->SelectItem(index);
}

void UIFrame::SetDialValue(int value) {
  dialValue_ = value;
  CControlUI* c = Find("dial");
  if (auto* dial = c ? static_cast<CDialUI*>(c->GetInterface("Dial")) : nullptr) dial->SetValue(value);
}

void UIFrame::AddTraceRow(const TraceRowSpec& row) {
  CListUI* list = TraceList();
  if (!list) return;
  auto* number = new CLabelUI;
  number->SetText(row.numberText.c_str());
  number->ApplyAttributeString(row.numberAttributes.c_str());
  auto* address = new CLabelUI;
  address->ApplyAttributeString(row.addressAttributes.c_str());
  auto* delay = new CLabelUI;
  delay->ApplyAttributeString(row.delayAttributes.c_str());
  delay->SetText(row.delayText.c_str());
  auto* bar = new CProgressUI;
  bar->ApplyAttributeString(row.barAttributes.c_str());
  bar->SetValue(row.barValue);
  auto* line = new CHorizontalLayoutUI;
  line->Add(number);
  line->Add(address);
  line->Add(delay);
  line->Add(bar);
  line->SetBkColor(row.rowBkColor);
  auto* element = new CListContainerElementUI;
  // Layout pixels, applied at the window's scale when the row joins the list.
  element->SetLayoutAttribute("height", "40");
  element->SetBorderColor(0xFFEEEEEE);
  element->SetLayoutAttribute("bordersize", "0,0,0,2");
  element->Add(line);
  list->Add(element);
}

void UIFrame::RemoveAllTraceRows() {
  if (CListUI* list = TraceList()) list->RemoveAll();
}

unsigned UIFrame::StartTimer(unsigned id, unsigned periodMs) {
  return static_cast<unsigned>(::SetTimer(GetHandle(), id, periodMs, nullptr));
}

void UIFrame::StopTimer(unsigned id) { ::KillTimer(GetHandle(), id); }

bool UIFrame::FrameEngines::LaunchLanTool() { return WinExec(kLanTool, SW_SHOW) > 31; }

void UIFrame::FrameEngines::OfferLanToolInstall() {
  vt::ShowMessageBox(window(), "未安装内网分析工具，点击确定后下载科来内网分析工具", "安装提示", MB_OK);
  ShellExecuteA(nullptr, "open", kLanToolPage, "", "", SW_SHOWNORMAL);
}
