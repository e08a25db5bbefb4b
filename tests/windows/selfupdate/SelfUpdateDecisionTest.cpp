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
    settings.updatePublicKey = "";  // the signed path has tests of its own
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

std::string ReadData(const char* name) {
  FILE* f = fopen((std::string(VT_TEST_DATA_DIR) + "/update-signature/" + name).c_str(), "rb");
  std::string bytes;
  if (!f) return bytes;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  fclose(f);
  return bytes;
}

const char kRefusedBox[] = "升级提示|发布的升级程序未能通过签名验证，不会安装。\n软件将继续使用当前版本。";

// With a key configured, the update and its ".sig" are fetched and only a
// signature by that key over exactly these bytes installs it.
TEST_F(SelfUpdate, WithAKeyOnlyAValidSignatureInstalls) {
  const std::string exe = ReadData("update.bin");
  const std::string good = ReadData("good.sig");
  std::string key = ReadData("key.hex");
  ASSERT_FALSE(exe.empty());
  ASSERT_EQ(good.size(), 64u);
  ASSERT_FALSE(key.empty());
  std::string tampered = exe;
  tampered[100] ^= 1;
  std::string notFound = "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nConnection: close\r\n\r\nnot found";
  struct Case {
    const char* name;
    std::string served;
    std::string sigReply;
    bool installed;
  } cases[] = {
      {"valid signature", exe, Reply(good, 64), true},
      {"no signature published", exe, notFound, false},
      {"signature over other bytes", exe, Reply(ReadData("other-bytes.sig"), 64), false},
      {"signature by another key", exe, Reply(ReadData("other-key.sig"), 64), false},
      {"truncated signature", exe, Reply(good.substr(0, 40), 40), false},
      {"signature cut short of its length", exe, Reply(good.substr(0, 40), 64), false},
      {"oversized signature", exe, Reply(good + std::string(5000, 'x'), 5064), false},
      {"tampered executable", tampered, Reply(good, 64), false},
  };
  settings.updatePublicKey = key.c_str();
  for (const Case& c : cases) {
    DeleteFileA(TempFile().c_str());
    std::string served = Reply(c.served, static_cast<long>(c.served.size())), sigReply = c.sigReply;
    LoopbackServer server([served, sigReply](LoopbackConnection& conn) {
      std::string header;
      if (!conn.ReadHeader(&header)) return;
      conn.Send(header.find(".sig HTTP/") != std::string::npos ? sigReply : served);
    });
    ASSERT_TRUE(server.ok());
    g_url = server.Url("/download/" + Name());
    g_replaced.clear();
    g_boxes.clear();
    CheckForUpdate(settings);
    EXPECT_EQ(server.ConnectionCount(), 2u) << c.name << ": the update and its signature";
    if (c.installed) {
      EXPECT_EQ(g_boxes, std::vector<std::string>{kUpdateBox}) << c.name;
      EXPECT_EQ(g_replaced, std::vector<std::string>{Name()}) << c.name;
    } else {
      EXPECT_EQ(g_boxes, (std::vector<std::string>{kUpdateBox, kRefusedBox})) << c.name;
      EXPECT_TRUE(g_replaced.empty()) << c.name;
    }
  }
  DeleteFileA(TempFile().c_str());
}

// Without a key nothing changes: no signature is asked for, the whole
// executable installs. A key that is set but malformed installs nothing.
TEST_F(SelfUpdate, KeyAbsentOrMalformed) {
  const std::string exe = ReadData("update.bin");
  const std::string notHex(128, 'g');
  struct Case {
    const char* name;
    const char* key;
    size_t connections;
    bool installed;
  } cases[] = {
      {"no key", "", 1, true},
      {"key too short", "abcdef", 2, false},
      {"key not hexadecimal", notHex.c_str(), 2, false},
  };
  for (const Case& c : cases) {
    DeleteFileA(TempFile().c_str());
    std::string served = Reply(exe, static_cast<long>(exe.size()));
    std::string sig = Reply(ReadData("good.sig"), 64);
    LoopbackServer server([served, sig](LoopbackConnection& conn) {
      std::string header;
      if (conn.ReadHeader(&header)) conn.Send(header.find(".sig HTTP/") != std::string::npos ? sig : served);
    });
    ASSERT_TRUE(server.ok());
    g_url = server.Url("/download/" + Name());
    g_replaced.clear();
    g_boxes.clear();
    settings.updatePublicKey = c.key;
    CheckForUpdate(settings);
    EXPECT_EQ(server.ConnectionCount(), c.connections) << c.name;
    EXPECT_EQ(g_replaced.size(), c.installed ? 1u : 0u) << c.name;
    EXPECT_EQ(g_boxes.size(), c.installed ? 1u : 2u) << c.name;
  }
  DeleteFileA(TempFile().c_str());
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
  EXPECT_EQ(std::string(command.parameters),
            "/c copy /Y " + std::string(command.source) + " " + shortModule + " >nul & " + shortModule);
  EXPECT_EQ(std::string(command.source).find(' '), std::string::npos);
  EXPECT_EQ(std::string(command.target).find(' '), std::string::npos);

  SetEnvironmentVariableA("COMSPEC", nullptr);
  BuildReplacementCommand("v.exe", &command);
  EXPECT_STREQ(command.interpreter, "");
}

}  // namespace
