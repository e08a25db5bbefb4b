// The start-up's update decision against an in-process server: the box, the
// download into the temporary folder, and which downloads replace the
// executable (whole "MZ" files only). The version thread is replaced by one
// that publishes the server's address; the final step records instead of
// ending the process.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/dialogs/AppMessageBox_win.h"
#include "app/startup/StartUp_win.h"
#include "net/platform/PlatformThreads_win.h"
#include "tests/support/LoopbackServer.h"

namespace {

std::string g_version;
std::string g_url;
std::vector<std::string> g_replaced;
std::vector<std::string> g_boxes;

unsigned __stdcall PublishVersion(void*) {
  LatestVersion = g_version.c_str();
  UpdateUrl = g_url.c_str();
  return 1;
}

unsigned __stdcall SlowVersion(void*) {
  Sleep(1500);
  return PublishVersion(nullptr);
}

VersionPair Own221() { return VersionPair{2, 21}; }
void RecordReplace(const char* fileName) { g_replaced.push_back(fileName); }
int RecordBox(HWND, const char* text, const char* caption, UINT) {
  g_boxes.push_back(std::string(caption) + "|" + text);
  return IDOK;
}

const char kUpdateBox[] = "升级提示|版本需要升级，软件将自动关闭并至升级后打开";

std::string Exe(size_t size) {
  std::string body = "MZ";
  body.resize(size, '\x90');
  return body;
}

std::string Reply(const std::string& body, long declared) {
  std::string h = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n";
  if (declared >= 0) h += "Content-Length: " + std::to_string(declared) + "\r\n";
  return h + "Connection: close\r\n\r\n" + body;
}

class SelfUpdate : public ::testing::Test {
 protected:
  void SetUp() override {
    LoopbackServer::StartWinsock();
    g_version = "2.22";
    g_replaced.clear();
    g_boxes.clear();
    LatestVersion = "";
    UpdateUrl = "";
    vt::SetMessageBoxHook(RecordBox);
    settings.versionThread = PublishVersion;
    settings.ownVersion = Own221;
    settings.replace = RecordReplace;
  }
  void TearDown() override { vt::SetMessageBoxHook(nullptr); }
  std::string Name() const { return "vt_update_" + std::to_string(GetCurrentProcessId()) + ".exe"; }
  std::string TempFile() const {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + Name();
  }
  UpdateCheckSettings settings;
};

TEST_F(SelfUpdate, OnlyAWholeExecutableReplacesTheProgram) {
  const std::string exe = Exe(70000);
  struct Case {
    const char* name;
    std::string reply;
    bool replaced;
  } cases[] = {
      {"whole, length declared", Reply(exe, static_cast<long>(exe.size())), true},
      {"whole, no length, closed in order", Reply(exe, -1), true},
      {"cut short of its length", Reply(exe.substr(0, 30000), static_cast<long>(exe.size())), false},
      {"not an executable", Reply("<html>404</html>", 16), false},
      {"empty body", Reply("", 0), false},
  };
  for (const Case& c : cases) {
    DeleteFileA(TempFile().c_str());
    std::string reply = c.reply;
    LoopbackServer server([reply](LoopbackConnection& conn) {
      if (conn.ReadHeader()) conn.Send(reply);
    });
    ASSERT_TRUE(server.ok());
    g_url = server.Url("/download/" + Name());
    g_replaced.clear();
    g_boxes.clear();
    CheckForUpdate(settings);
    EXPECT_EQ(g_boxes, std::vector<std::string>{kUpdateBox}) << c.name;
    EXPECT_EQ(server.ConnectionCount(), 1u) << c.name;
    if (c.replaced) EXPECT_EQ(g_replaced, std::vector<std::string>{Name()}) << c.name;
    else EXPECT_TRUE(g_replaced.empty()) << c.name;
    EXPECT_NE(GetFileAttributesA(TempFile().c_str()), INVALID_FILE_ATTRIBUTES) << c.name << ": downloaded";
  }
  DeleteFileA(TempFile().c_str());
}

TEST_F(SelfUpdate, NoPromptNoDownloadWithoutAUsableNewerVersion) {
  LoopbackServer server([](LoopbackConnection& conn) {
    if (conn.ReadHeader()) conn.Send(Reply(Exe(100), 100));
  });
  ASSERT_TRUE(server.ok());
  struct Case {
    const char* name;
    std::string version;
    std::string url;
  } cases[] = {
      {"same version", "2.21", server.Url("/download/" + Name())},
      {"older minor", "2.5", server.Url("/download/" + Name())},
      {"one piece", "3", server.Url("/download/" + Name())},
      {"URL ends in a slash", "2.22", server.Url("/download/")},
      {"name with a blank", "2.22", server.Url("/download/a b.exe")},
      {"name leaving the folder", "2.22", server.Url("/download/..")},
      {"name with a command", "2.22", server.Url("/download/x.exe&calc.exe")},
  };
  for (const Case& c : cases) {
    g_version = c.version;
    g_url = c.url;
    g_boxes.clear();
    g_replaced.clear();
    CheckForUpdate(settings);
    EXPECT_TRUE(g_boxes.empty()) << c.name;
    EXPECT_TRUE(g_replaced.empty()) << c.name;
  }
  EXPECT_EQ(server.ConnectionCount(), 0u);
}

TEST_F(SelfUpdate, WaitsThatRunOutLeaveTheRunningVersion) {
  LoopbackServer server([](LoopbackConnection& conn) {
    if (conn.ReadHeader()) conn.Hold(3000);  // never answers within the wait
  });
  ASSERT_TRUE(server.ok());
  g_url = server.Url("/download/" + Name());

  // The version thread outlives its wait: no box, nothing fetched.
  settings.versionThread = SlowVersion;
  settings.versionWaitMs = 200;
  CheckForUpdate(settings);
  EXPECT_TRUE(g_boxes.empty());
  Sleep(1600);  // let the slow thread finish before the next case uses the texts

  // The download outlives its wait: the box was shown, no replacement.
  settings.versionThread = PublishVersion;
  settings.versionWaitMs = 5000;
  settings.downloadWaitMs = 300;
  CheckForUpdate(settings);
  EXPECT_EQ(g_boxes, std::vector<std::string>{kUpdateBox});
  EXPECT_TRUE(g_replaced.empty());
  server.Stop();
}

TEST(ReplacementCommand, CopiesTheTemporaryFileOverTheShortPathAndRestarts) {
  SetEnvironmentVariableA("COMSPEC", "C:\\windows\\system32\\cmd.exe");
  ReplacementCommand command;
  BuildReplacementCommand("veltrane_2.22.exe", &command);
  EXPECT_STREQ(command.interpreter, "C:\\windows\\system32\\cmd.exe");

  char module[MAX_PATH], shortModule[MAX_PATH];
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  ASSERT_GT(GetShortPathNameA(module, shortModule, MAX_PATH), 0u);
  EXPECT_STREQ(command.target, shortModule);
  char temp[MAX_PATH], shortTemp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  ASSERT_GT(GetShortPathNameA(temp, shortTemp, MAX_PATH), 0u);
  EXPECT_EQ(std::string(command.source), std::string(shortTemp) + "veltrane_2.22.exe");
  EXPECT_EQ(std::string(command.parameters), "/c copy /Y " + std::string(command.source) + " " + shortModule +
                                                 " >nul & " + shortModule);
  EXPECT_EQ(std::string(command.source).find(' '), std::string::npos);
  EXPECT_EQ(std::string(command.target).find(' '), std::string::npos);

  SetEnvironmentVariableA("COMSPEC", nullptr);
  BuildReplacementCommand("v.exe", &command);
  EXPECT_STREQ(command.interpreter, "");
}

}  // namespace
