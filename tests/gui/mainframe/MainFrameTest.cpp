// The main window with its real layout, driven by input messages posted to
// it, against the lab on the lab profile's addresses (scripts/test starts
// it for this layer) and the tracert stand-in of the Wine prefix. The
// dialogs are replaced by recorders; a screenshot of each page is kept in
// build/win64/artefacts.
#include <windows.h>
#include <winsock2.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/dialogs/AppMessageBox_win.h"
#include "model/DialFigures.h"
#include "app/mainframe/UIFrame_win.h"
#include "base/Messages.h"
#include "config/ServerSet.h"
#include "model/ReportForm.h"
#include "model/ResultStore_win.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/SkinTestKit.h"
#include "ui/controls/TextUI.h"
#include "ui/layouts/TabLayoutUI.h"

namespace {

using skintest::Pump;

void SaveScreenshot(HWND hwnd, const char* name) {
  CreateDirectoryA(VT_ARTEFACT_DIR, nullptr);
  skintest::SaveWindowBitmap(hwnd, std::string(VT_ARTEFACT_DIR) + "/mainframe-" + name + ".bmp");
}

std::vector<std::string> g_boxes;
std::vector<std::string> g_opened;

SettingsChoice Settings(HWND) {
  SettingsChoice c;
  c.bandwidthLevel = 4;
  c.serverMode = 2;
  c.testNumber = "12345";
  return c;
}
bool UserInfo(HWND, std::string* info, std::string* bandwidth) {
  *info = "某公司 A&B";
  *bandwidth = "100";
  return true;
}
int Box(HWND, const char* text, const char*, UINT) {
  g_boxes.push_back(text);
  return IDOK;
}
void Open(const char* address) { g_opened.push_back(address); }

// A folder of this run for the window's result records, emptied first.
std::wstring ReportFolder() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"vt-mainframe-reports";
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    while (FindNextFileW(h, &found));
    FindClose(h);
  }
  return folder;
}

// The files of a folder matching a pattern ("*.json").
std::vector<std::wstring> Files(const std::wstring& folder, const wchar_t* pattern) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW((folder + L"\\" + pattern).c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.push_back(folder + L"\\" + found.cFileName);
  while (FindNextFileW(h, &found));
  FindClose(h);
  return names;
}

std::string ReadAll(const std::wstring& path) {
  std::string bytes;
  if (FILE* f = _wfopen(path.c_str(), L"rb")) {
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
    fclose(f);
  }
  return bytes;
}

bool LabListening() {
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a = {};
  a.sin_family = AF_INET;
  a.sin_port = htons(80);
  a.sin_addr.s_addr = inet_addr("127.0.80.1");
  bool ok = connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  closesocket(s);
  return ok;
}



class MainFrame : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CUIManager::SetInstance(GetModuleHandleA(nullptr));
    CUIManager::SetSkinPath(CUIManager::ModuleDirectory());
    UIFrame::SetDialogRunners(Settings, UserInfo);
    vt::SetMessageBoxHook(Box);
    UIFrame::SetOpenDocumentHook(Open);
    UIFrame::SetReportFolder(ReportFolder());
  }

  void SetUp() override {
    if (!LabListening()) GTEST_SKIP() << "no lab on 127.0.80.1:80 (scripts/test starts one for this layer)";
    frame_ = new UIFrame;  // deletes itself when its window is destroyed
    ASSERT_NE(frame_->CreateWnd(nullptr, "Veltrane", WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0,
                                900, 550),
              nullptr);
    frame_->CenterOnOwner();
    ShowWindow(frame_->GetHandle(), SW_SHOW);
    UpdateWindow(frame_->GetHandle());  // the first paint places the controls
    Pump(300);
  }
  void TearDown() override {
    if (frame_ && IsWindow(frame_->GetHandle())) DestroyWindow(frame_->GetHandle());
    Pump(100);
  }

  CControlUI* Control(const char* name) { return frame_->GetManager().FindControlByName(name); }
  std::string Text(const char* name) {
    CControlUI* c = Control(name);
    return c ? c->GetText().GetData() : std::string("<missing>");
  }
  // A real click: button press and release posted at the control's centre.
  void Click(const char* name) {
    CControlUI* c = Control(name);
    ASSERT_NE(c, nullptr) << name;
    RECT r = c->GetPos();
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ASSERT_LT(r.left, r.right) << name << " has no place on the window";
    HWND hwnd = frame_->GetHandle();
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, at);
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, at);
    SendMessageA(hwnd, WM_LBUTTONUP, 0, at);
    Pump(200);
  }
  // Waits until the start button is enabled again (the test's end message).
  bool WaitEnabled(const char* button, DWORD ms) {
    DWORD until = GetTickCount() + ms;
    while (static_cast<int>(until - GetTickCount()) > 0) {
      Pump(100);
      CControlUI* c = Control(button);
      if (c && c->IsEnabled()) return true;
    }
    return false;
  }
  int Page() {
    CControlUI* c = Control("switch");
    auto* tabs = c ? static_cast<CTabLayoutUI*>(c->GetInterface("TabLayout")) : nullptr;
    return tabs ? tabs->GetCurSel() : -1;
  }

  UIFrame* frame_ = nullptr;
  const std::wstring reportFolder_ = ReportFolder();
};

TEST_F(MainFrame, ReadyNavigationAndEveryPageEndToEnd) {
  EXPECT_EQ(Text("K6"), "4M");  // level 4 from the settings
  EXPECT_EQ(Text("ReportTips"), "<f 4>测试报告编号12345<n>请点击<导出报告></f>");
  const char* nav[] = {"ping", "app", "trouble", "report", "bandwidth"};
  const int pages[] = {1, 2, 3, 4, 0};
  for (int i = 0; i < 5; ++i) {
    Click(nav[i]);
    EXPECT_EQ(Page(), pages[i]) << nav[i];
  }

  // Bandwidth: download, ping, upload; loopback is capped at 999.99.
  Click("ButtonBandwidth");
  EXPECT_FALSE(Control("ButtonBandwidth")->IsEnabled());
  ASSERT_TRUE(WaitEnabled("ButtonBandwidth", 150000));
  const ReportRecord& r = frame_->model().report();
  EXPECT_GT(r.speed_speed, 0.0);
  EXPECT_EQ(frame_->lastDialValue(), vt::DialValueOf(vt::DialPosition(4, r.speed_speed)));
  EXPECT_NE(Text("TextAvgDelay"), "");
  EXPECT_NE(Text("TextStatus").find("平均上传速率"), std::string::npos);
  SaveScreenshot(frame_->GetHandle(), "bandwidth");

  // Route quality through the tracert stand-in: one hop on loopback.
  Click("ping");
  Click("ButtonTrace");
  ASSERT_TRUE(WaitEnabled("ButtonTrace", 120000));
  auto* list = static_cast<CListUI*>(Control("listTrace")->GetInterface("List"));
  EXPECT_GE(list->GetCount(), 1);
  EXPECT_EQ(Text("TraceTestStatus"), "<f 4>网络质量很好，各路由延时均很小</f>");
  RECT status = Control("TraceTestStatus")->GetPos();
  // 360 layout pixels, at the window's scale (tests/dpi/run runs this at 144 DPI).
  EXPECT_EQ(status.right - status.left, frame_->GetManager().Scale(360)) << status.left << "," << status.top << "," << status.right << ","
                                             << status.bottom;
  SaveScreenshot(frame_->GetHandle(), "route");

  // Application experience: seven sites, three boxes.
  Click("app");
  Click("ButtonWeb");
  ASSERT_TRUE(WaitEnabled("ButtonWeb", 150000));
  EXPECT_NE(Text("WebTestComment"), "");
  char download[32];
  snprintf(download, sizeof download, "%.2fMbps", r.speed_speed * 0.95);
  EXPECT_EQ(Text("FTPTestResult"), download);
  SaveScreenshot(frame_->GetHandle(), "app");

  // Diagnosis: the public address as the lab sees it, then the trace.
  Click("trouble");
  Click("ButtonTroubles");
  ASSERT_TRUE(WaitEnabled("ButtonTroubles", 120000));
  EXPECT_NE(Text("TroubleWAN").find("公网IP:127.0.0.1"), std::string::npos) << Text("TroubleWAN");
  EXPECT_NE(Text("TroubleshootingStatus").find("状况良好"), std::string::npos);
  SaveScreenshot(frame_->GetHandle(), "trouble");

  // Report: submitted, the document opened (999.99 is above 90 % of 100),
  // and the record and its page saved with a link to the page.
  g_opened.clear();
  Click("report");
  Click("ButtonReport");
  EXPECT_EQ(Text("ReportTips"), "<f 4>测试报告12345已导出<n><f 5><a localreport>查看本机保存的测试记录</a></f></f>");
  ASSERT_EQ(g_opened.size(), 1u);
  EXPECT_EQ(g_opened[0], "http://127.0.80.1:80/report/12345.docx");
  EXPECT_TRUE(g_boxes.empty());
  std::vector<std::wstring> records = Files(reportFolder_, L"veltrane-*-12345.json");
  ASSERT_EQ(records.size(), 1u);
  std::wstring page = records[0].substr(0, records[0].size() - 5) + L".html";
  EXPECT_EQ(frame_->localReportPage(), page);
  std::string json = ReadAll(records[0]);
  char sent[64];
  snprintf(sent, sizeof sent, "\"speed_speed\": %.2f,", r.speed_speed);
  EXPECT_NE(json.find(sent), std::string::npos) << json;
  EXPECT_NE(json.find("\"state\": \"accepted\""), std::string::npos);
  EXPECT_NE(json.find("\"saved_because\": \"export\""), std::string::npos);
  EXPECT_NE(ReadAll(page).find("data-verdict=\"certified\""), std::string::npos);
  SaveScreenshot(frame_->GetHandle(), "report");

  // The link opens the local page.
  auto* tips = static_cast<CTextUI*>(Control("ReportTips")->GetInterface("Text"));
  ASSERT_EQ(tips->GetLinkCount(), 1);
  RECT link = tips->GetLinkRect(0);
  LPARAM at = MAKELPARAM((link.left + link.right) / 2, (link.top + link.bottom) / 2);
  SendMessageA(frame_->GetHandle(), WM_MOUSEMOVE, 0, at);
  SendMessageA(frame_->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(frame_->GetHandle(), WM_LBUTTONUP, 0, at);
  Pump(200);
  ASSERT_EQ(g_opened.size(), 2u);
  EXPECT_EQ(g_opened[1], vt::AnsiPath(page));
}

TEST_F(MainFrame, ClosingKeepsResultsNotYetSaved) {
  std::vector<std::wstring> before = Files(reportFolder_, L"*.json");
  // A download sample as the engine posts it: a figure was measured.
  PostMessageA(frame_->GetHandle(), vt::MSG_DOWNLOAD_SAMPLE, 1000000, 0);
  Pump(100);
  PostMessageA(frame_->GetHandle(), WM_CLOSE, 0, 0);
  Pump(300);
  frame_ = nullptr;  // gone with its window
  std::vector<std::wstring> after = Files(reportFolder_, L"*.json");
  ASSERT_EQ(after.size(), before.size() + 1);
  std::string json;
  for (const std::wstring& f : after)
    if (std::find(before.begin(), before.end(), f) == before.end()) json = ReadAll(f);
  EXPECT_NE(json.find("\"saved_because\": \"close\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"verdict\": \"not-exported\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"download_samples_mbps\": [8.28]"), std::string::npos) << json;
}

TEST_F(MainFrame, AFolderThatCannotBeWrittenNeverStopsTheExport) {
  // A folder below a file cannot be made.
  std::wstring blocked = reportFolder_ + L"\\blocker.txt";
  if (FILE* f = _wfopen(blocked.c_str(), L"wb")) fclose(f);
  UIFrame::SetReportFolder(blocked + L"\\reports");
  g_opened.clear();
  g_boxes.clear();
  Click("report");
  Click("ButtonReport");  // nothing measured: submitted, then refused by the 90 % rule
  UIFrame::SetReportFolder(reportFolder_);
  EXPECT_EQ(Text("ReportTips"), "<f 4>测试报告12345已导出<n><f 5><c #D33A35>本机测试记录未能保存</c></f></f>");
  EXPECT_EQ(g_boxes.size(), 1u);
  EXPECT_TRUE(frame_->localReportPage().empty());
  DeleteFileW(blocked.c_str());
}

// A platform that answers every request, read whole (header and declared
// body), with one status line and closes.
LoopbackServer::Handler AnswerWithStatus(int status) {
  return [status](LoopbackConnection& c) {
    std::string header;
    if (!c.ReadHeader(&header)) return;
    size_t at = header.find("Content-Length:");
    uint64_t body = at == std::string::npos ? 0 : strtoull(header.c_str() + at + 15, nullptr, 10);
    c.ReadUntilTotal(header.size() + body);
    c.Send("HTTP/1.1 " + std::to_string(status) +
           " Status\r\nLocation: /report/list.php\r\nContent-Length: 2\r\nConnection: close\r\n\r\nOK");
    c.Close();
  };
}

// "host:port" of a URL made by LoopbackServer.
std::string HostOf(const std::string& url) { return url.substr(7); }

// The report button against save replies of each kind: a 2xx or a redirect
// is a filed report (the document opens); an error status or a refused
// connection is a failed export, which opens nothing and says so.
TEST_F(MainFrame, ReportExportSaysWhetherThePlatformTookIt) {
  const vt::ServerSet saved = vt::Servers();
  const struct {
    int status;  // 0: connection refused
    bool filed;
  } cases[] = {{200, true}, {302, true}, {404, false}, {500, false}, {0, false}};
  for (const auto& c : cases) {
    LoopbackServer platform(AnswerWithStatus(c.status));
    std::string host = HostOf(c.status ? platform.Url("") : LoopbackServer::RefusedUrl(""));
    vt::ServerSet set = saved;
    set.platformServer = host;
    vt::UseServers(set);
    g_opened.clear();
    g_boxes.clear();
    frame_->model().report().speed_speed = 95.0;  // above 90 % of the 100 typed
    frame_->ExportReport();
    // Filed or not, the local record is kept and linked.
    const std::string link = "<n><f 5><a localreport>查看本机保存的测试记录</a></f>";
    if (c.filed) {
      EXPECT_EQ(Text("ReportTips"), "<f 4>测试报告12345已导出" + link + "</f>") << c.status;
      ASSERT_EQ(g_opened.size(), 1u) << c.status;
      EXPECT_EQ(g_opened[0], vt::ReportDocumentAddress(host.c_str(), "12345"));
    } else {
      EXPECT_EQ(Text("ReportTips"), "<f 4>测试报告12345导出失败，请检查网络后重试" + link + "</f>") << c.status;
      EXPECT_TRUE(g_opened.empty()) << c.status;
    }
    EXPECT_TRUE(g_boxes.empty()) << c.status;
  }
  vt::UseServers(saved);
  Click("report");
  SaveScreenshot(frame_->GetHandle(), "report-failed");
}

}  // namespace
