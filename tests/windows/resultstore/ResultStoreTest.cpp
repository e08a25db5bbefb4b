// Result records on disk with Windows' own file and code-page functions: a
// folder whose name the code page cannot spell, snapshots that never
// overwrite each other, the list newest first with a broken file named,
// and the system's GBK table against the native test's.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/CodePageDecode_win.h"
#include "model/ResultStore_win.h"

namespace {

// Removes a folder with everything in it.
void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(folder + L"\\" + name);
      else DeleteFileW((folder + L"\\" + name).c_str());
    } while (FindNextFileW(h, &found));
    FindClose(h);
  }
  RemoveDirectoryW(folder.c_str());
}

// A fresh folder name under the temporary folder (nothing there yet).
std::wstring FreshFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + name;
  RemoveTree(folder);
  return folder;
}

std::string ReadAll(const std::wstring& path) {
  std::string bytes;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return bytes;
  char buf[4096];
  DWORD n = 0;
  while (ReadFile(f, buf, sizeof buf, &n, nullptr) && n > 0) bytes.append(buf, n);
  CloseHandle(f);
  return bytes;
}

void WriteAll(const std::wstring& path, const std::string& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  CloseHandle(f);
}

vt::ResultCollector Collected(const char* testNumber) {
  vt::ResultCollector c;
  c.Begin(testNumber, 2, 12);
  c.SetStartedAt("2026-12-11T08:15:02+08:00");
  c.BandwidthStarted();
  c.DownloadSample(95.5);
  c.DownloadDone(95.31);
  return c;
}

}  // namespace

TEST(ResultStore, SavesBothFilesInAFolderTheCodePageCannotSpell) {
  // A Hangul syllable, which code page 936 lacks, as a user name may hold
  // one; the folder is made with its parent.
  std::wstring folder = FreshFolder(L"vt-results-\uac00") + L"\\reports";
  vt::ResultCollector c = Collected("20261211001");
  ReportRecord report;
  report.seq = "20261211001";
  report.speed_speed = 95.31;
  report.bandwidth = 100;
  c.RecordExport(report, "某公司 A&B", "100M", vt::ExportState::kAccepted, 0,
                 "http://127.0.80.1:80/report/x.docx");
  vt::SavedResult saved = vt::SaveResult(c, report, "export", folder);
  ASSERT_TRUE(saved.ok) << saved.problem;
  std::string json = ReadAll(saved.recordPath);
  EXPECT_NE(json.find("\"user_info\": \"\xe6\x9f\x90\xe5\x85\xac\xe5\x8f\xb8 A&B\""), std::string::npos)
      << json;
  EXPECT_NE(json.find("\"saved_because\": \"export\""), std::string::npos);
  EXPECT_NE(json.find("\"client\": {\n    \"version\": \"2.21.2.718\""), std::string::npos) << json;
  std::string page = ReadAll(saved.pagePath);
  EXPECT_NE(page.find("data-verdict=\"certified\""), std::string::npos);
  // No half-written file is left behind.
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW((folder + L"\\*.part").c_str(), &found);
  EXPECT_EQ(h, INVALID_HANDLE_VALUE);
  if (h != INVALID_HANDLE_VALUE) FindClose(h);

  // The list reads it back; a second save a second later is a new snapshot.
  Sleep(1100);
  c.PingReply(3);  // a new figure: the record is no longer the exported one
  vt::SavedResult second = vt::SaveResult(c, report, "close", folder);
  ASSERT_TRUE(second.ok) << second.problem;
  EXPECT_NE(second.recordPath, saved.recordPath);
  WriteAll(folder + L"\\veltrane-00000000-000000-broken.json", "{\"schema\":");
  std::vector<vt::ListedResult> list = vt::ListResults(folder);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].recordPath, second.recordPath);
  EXPECT_TRUE(list[0].ok);
  EXPECT_EQ(list[0].summary.verdict, "not-exported");
  EXPECT_EQ(list[1].summary.verdict, "certified");
  EXPECT_EQ(list[1].summary.testNumber, "20261211001");
  EXPECT_FALSE(list[2].ok);
  EXPECT_NE(list[2].problem.find("not JSON"), std::string::npos) << list[2].problem;
  EXPECT_EQ(vt::ListResults(folder, 1).size(), 1u);
}

TEST(ResultStore, AFolderThatCannotBeMadeIsSaid) {
  std::wstring parent = FreshFolder(L"vt-results-blocked");
  CreateDirectoryW(parent.c_str(), nullptr);
  WriteAll(parent + L"\\file", "x");
  vt::ResultCollector c = Collected("1");
  vt::SavedResult saved = vt::SaveResult(c, ReportRecord(), "export", parent + L"\\file\\reports");
  EXPECT_FALSE(saved.ok);
  EXPECT_NE(saved.problem.find("无法创建文件夹"), std::string::npos) << saved.problem;
  vt::SavedResult none = vt::SaveResult(c, ReportRecord(), "export", L"");
  EXPECT_FALSE(none.ok);
  EXPECT_FALSE(none.problem.empty());
}

TEST(ResultStore, TimeAndDefaultFolder) {
  std::string now = vt::LocalTimeText();
  ASSERT_EQ(now.size(), 25u) << now;
  EXPECT_EQ(now[10], 'T');
  EXPECT_TRUE(now[19] == '+' || now[19] == '-') << now;
  std::wstring folder = vt::DefaultReportFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.substr(folder.size() - 17), L"\\Veltrane\\reports");
}

TEST(CodePageDecode, TheSystemsGbkTableDecodesPairs) {
  const struct {
    unsigned char lead, trail;
    bool known;
    uint32_t cp;
  } cases[] = {{0xD6, 0xD0, true, 0x4E2D},  // 中
               {0x81, 0x5C, true, 0x4E57},  // 乗: a trail byte that is '\'
               {0xA1, 0xAA, true, 0x2014},  // —
               {0x81, 0x7F, false, 0}};     // 0x7F is no trail byte
  for (const auto& c : cases) {
    uint32_t cp = 0;
    EXPECT_EQ(vt::DecodeGbkPair(c.lead, c.trail, &cp), c.known) << std::hex << int(c.lead) << int(c.trail);
    if (c.known) {
      EXPECT_EQ(cp, c.cp) << std::hex << int(c.lead) << int(c.trail);
    }
  }
  EXPECT_EQ(vt::CodePageToUtf8(std::string("中文\x81\x5c"), vt::DecodeGbkPair),
            "\xe4\xb8\xad\xe6\x96\x87\xe4\xb9\x97");
  // The console's way back, under code page 936.
  EXPECT_EQ(vt::Utf8ToAnsi("\xe4\xb8\xad x \xea\xb0\x80"), "中 x ?");
}
