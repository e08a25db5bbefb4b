// The server set read at start-up with Windows' own profile API: the
// committed files, broken files each stopped with the one message, the
// file beside the executable and its absence, and the window program's
// start-up step, whose message box is answered here.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/dialogs/AppMessageBox_win.h"
#include "app/startup/StartUp_win.h"
#include "base/Log.h"
#include "config/ServerSet.h"
#include "config/ServerSetFile_win.h"

namespace {

std::string ConfigPath(const char* name) { return std::string(VT_CONFIG_DIR) + "/" + name; }

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  if (at == std::string::npos) {
    ADD_FAILURE() << "no \"" << from << "\" in the file";
    return text;
  }
  return text.replace(at, from.size(), to);
}

std::string FullPath(const std::string& path) {
  char full[MAX_PATH];
  DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  return n > 0 && n < MAX_PATH ? full : path;
}

std::string ModuleFolder() {
  char module[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, module, MAX_PATH);
  std::string p(module, n);
  return p.substr(0, p.find_last_of("\\/") + 1);
}

bool SameSet(const vt::ServerSet& a, const vt::ServerSet& b) {
  bool same = a.platformServer == b.platformServer && a.updatePublicKey == b.updatePublicKey;
  for (size_t i = 0; i < std::size(a.MetroDownloadTable); ++i)
    same = same && a.MetroDownloadTable[i] == b.MetroDownloadTable[i];
  for (size_t i = 0; i < std::size(a.InternetDownloadTable); ++i)
    same = same && a.InternetDownloadTable[i] == b.InternetDownloadTable[i];
  for (size_t i = 0; i < std::size(a.MetroUploadTable); ++i)
    same = same && a.MetroUploadTable[i] == b.MetroUploadTable[i];
  for (size_t i = 0; i < std::size(a.InternetUploadTable); ++i)
    same = same && a.InternetUploadTable[i] == b.InternetUploadTable[i];
  for (size_t i = 0; i < std::size(a.AppTestSites); ++i)
    same = same && a.AppTestSites[i] == b.AppTestSites[i];
  return same;
}

std::vector<std::string> g_boxes;
int RecordBox(HWND, const char* text, const char* caption, UINT flags) {
  g_boxes.push_back(std::string(caption) + "|" + text + ((flags & MB_ICONERROR) ? "|error" : ""));
  return IDOK;
}

// A folder of its own under the temporary folder, the set in use and the
// log restored after each test.
class ServerSetFile : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = vt::Servers();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    dir_ = std::string(temp) + "vt-serverset-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(dir_.c_str(), nullptr);
    lab_ = ReadText(ConfigPath("lab.ini"));
    ASSERT_FALSE(lab_.empty());
    log_ = tmpfile();
    ASSERT_NE(log_, nullptr);
    vt::SetLogStream(log_);
    g_boxes.clear();
    vt::SetMessageBoxHook(RecordBox);
  }
  void TearDown() override {
    vt::SetMessageBoxHook(nullptr);
    vt::SetLogStream(nullptr);
    fclose(log_);
    vt::UseServers(saved_);
    for (const char* name : {"a.ini", "b.ini", "sub\\c.ini"}) DeleteFileA((dir_ + name).c_str());
    RemoveDirectoryA((dir_ + "sub").c_str());
    RemoveDirectoryA(dir_.c_str());
  }
  std::string Log() {
    fflush(log_);
    rewind(log_);
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, log_)) > 0) text.append(buffer, n);
    return text;
  }
  std::string Write(const char* name, const std::string& text) {
    WriteText(dir_ + name, text);
    return dir_ + name;
  }

  vt::ServerSet saved_;
  std::string dir_;
  std::string lab_;
  FILE* log_ = nullptr;
};

TEST_F(ServerSetFile, CommittedFilesThroughTheProfileApi) {
  vt::ServerSet set;
  std::string problem;
  ASSERT_TRUE(vt::ReadServerSetFile(ConfigPath("production.ini").c_str(), &set, &problem)) << problem;
  EXPECT_TRUE(SameSet(set, vt::ProductionServers()));
  EXPECT_EQ(set.origin, FullPath(ConfigPath("production.ini")));
  ASSERT_TRUE(vt::ReadServerSetFile(ConfigPath("netlab.ini").c_str(), &set, &problem)) << problem;
  EXPECT_EQ(set.platformServer, "198.19.80.1");
  EXPECT_EQ(set.InternetUploadTable[0], "http://198.19.80.18/recv_upload.php");
  ASSERT_TRUE(vt::ReadServerSetFile(ConfigPath("lab.ini").c_str(), &set, &problem)) << problem;
  EXPECT_EQ(set.platformServer, "127.0.80.1");
  EXPECT_EQ(set.AppTestSites[5], "http://127.0.82.6/");
  // The executable's own set is the lab's (tests/support/labservers).
  EXPECT_TRUE(SameSet(saved_, set));
}

TEST_F(ServerSetFile, WhatTheProfileApiHandsOverIsReadAsWritten) {
  const std::string kKey = std::string(64, '0') + std::string(64, 'e');
  // Line feeds only, blanks around "=", names in capitals, comments in
  // every place, an update key.
  std::string text = lab_;
  for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  text = Replaced(text, "platform=127.0.80.1",
                  "  PLATFORM =  10.9.8.7  \n# hash comment\nupdate_public_key=" + kKey);
  text = Replaced(text, "[metro_upload]", "[Metro_Upload]\n; inside\n\n");
  vt::ServerSet set;
  std::string problem;
  ASSERT_TRUE(vt::ReadServerSetFile(Write("a.ini", text).c_str(), &set, &problem)) << problem;
  EXPECT_EQ(set.platformServer, "10.9.8.7");
  EXPECT_EQ(set.updatePublicKey, kKey);
  EXPECT_EQ(set.MetroUploadTable[7], "http://127.0.80.17:8000/recv_upload.php");
}

TEST_F(ServerSetFile, BrokenFilesGiveOneMessageNamingFileKeyAndProblem) {
  struct Case {
    const char* name;
    std::string text;
    std::string message;  // after "<full path>: "
  } cases[] = {
      {"unknown section", lab_ + "[proxy]\r\nhost=1.2.3.4\r\n", "[proxy]: unknown section"},
      {"unknown key", Replaced(lab_, "platform=127.0.80.1", "platform=127.0.80.1\r\nplatfrom=1.2.3.4"),
       "[servers] platfrom: unknown key"},
      {"missing entry", Replaced(lab_, "3=http://127.0.80.1/data.iso\r\n", ""),
       "[metro_download] 3: missing"},
      {"malformed entry", Replaced(lab_, "5=http://127.0.82.5/webmail/", "5=127.0.82.5/webmail/"),
       "[app_sites] 5: not an http:// URL"},
      {"host with a port", Replaced(lab_, "platform=127.0.80.1", "platform=127.0.80.1:80"),
       "[servers] platform: not a plain host name or dotted IPv4 address: \"127.0.80.1:80\""},
      {"over-long value",
       Replaced(lab_, "9=http://127.0.81.9/", "9=http://127.0.81.9/" + std::string(600, 'x') + "/"),
       "[internet_download] 9: longer than 512 characters"},
      {"missing section", Replaced(lab_, "[internet_upload]", "[internet_uplaod]"),
       "[internet_uplaod]: unknown section"},
      {"empty file", "", "[servers]: missing section"},
      {"key before the first section", "platform=10.0.0.1\r\n" + lab_, "platform: outside any section"},
      {"section twice", lab_ + "[servers]\r\nplatform=10.0.0.1\r\n", "[servers]: section given twice"},
      {"quoted value", Replaced(lab_, "platform=127.0.80.1", "platform=\"127.0.80.1\""),
       "[servers] platform: not a plain host name or dotted IPv4 address: \"\"127.0.80.1\"\""},
      {"a value without key", Replaced(lab_, "[app_sites]\r\n", "[app_sites]\r\nhttp://127.0.82.9/\r\n"),
       "[app_sites] http://127.0.82.9/: not a key=value line"},
  };
  for (const Case& c : cases) {
    vt::ServerSet set = vt::ProductionServers();
    std::string problem;
    std::string path = Write("b.ini", c.text);
    EXPECT_FALSE(vt::ReadServerSetFile(path.c_str(), &set, &problem)) << c.name;
    EXPECT_EQ(problem, FullPath(path) + ": " + c.message) << c.name;
    EXPECT_TRUE(SameSet(set, vt::ProductionServers())) << c.name;  // nothing half applied
  }
}

TEST_F(ServerSetFile, FilesThatCannotBeReadAreNamed) {
  vt::ServerSet set;
  std::string problem;
  EXPECT_FALSE(vt::ReadServerSetFile((dir_ + "none.ini").c_str(), &set, &problem));
  EXPECT_EQ(problem.rfind(dir_ + "none.ini: cannot be read: ", 0), 0u) << problem;
  CreateDirectoryA((dir_ + "sub").c_str(), nullptr);
  EXPECT_FALSE(vt::ReadServerSetFile((dir_ + "sub").c_str(), &set, &problem));
  EXPECT_EQ(problem, dir_ + "sub: is a folder, not a file");
  EXPECT_FALSE(vt::ReadServerSetFile(Write("a.ini", std::string(70 * 1024, ';')).c_str(), &set, &problem));
  EXPECT_EQ(problem, dir_ + "a.ini: larger than 64 KB");
  // A relative name is the current folder's, not the Windows folder's (where
  // the profile API would look for a bare name).
  Write("b.ini", lab_);
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  SetCurrentDirectoryA(dir_.c_str());
  bool read = vt::ReadServerSetFile("b.ini", &set, &problem);
  SetCurrentDirectoryA(current);
  ASSERT_TRUE(read) << problem;
  EXPECT_EQ(set.origin, dir_ + "b.ini");
}

TEST_F(ServerSetFile, StartUpUsesTheNamedFileAndLogsOneLine) {
  vt::UseServers(vt::ProductionServers());
  std::string path = Write("a.ini", lab_);
  std::string problem;
  ASSERT_TRUE(vt::UseServersAtStartUp(path.c_str(), &problem)) << problem;
  EXPECT_EQ(vt::Servers().platformServer, "127.0.80.1");
  EXPECT_EQ(Log(), "servers: platform 127.0.80.1, update key none, from " + path + "\n");
}

TEST_F(ServerSetFile, StartUpWithoutAFileUsesTheCompiledInSet) {
  // Nothing beside this executable: the production set, said so in the log.
  ASSERT_EQ(GetFileAttributesA((ModuleFolder() + "veltrane.ini").c_str()), INVALID_FILE_ATTRIBUTES);
  std::string problem;
  ASSERT_TRUE(vt::UseServersAtStartUp(nullptr, &problem)) << problem;
  EXPECT_TRUE(SameSet(vt::Servers(), vt::ProductionServers()));
  EXPECT_EQ(Log(), "servers: platform platform.veltrane.example, update key none, compiled-in\n");
}

TEST_F(ServerSetFile, StartUpReadsTheFileBesideTheExecutable) {
  std::string beside = ModuleFolder() + "veltrane.ini";
  struct Removed {
    std::string path;
    ~Removed() { DeleteFileA(path.c_str()); }
  } removed{beside};
  WriteText(beside, Replaced(lab_, "platform=127.0.80.1", "platform=127.0.80.99"));
  std::string problem;
  ASSERT_TRUE(vt::UseServersAtStartUp(nullptr, &problem)) << problem;
  EXPECT_EQ(vt::Servers().platformServer, "127.0.80.99");
  EXPECT_EQ(vt::Servers().origin, beside);
  // A broken one beside it stops the start as a named one does.
  WriteText(beside, Replaced(lab_, "1=http://127.0.80.11:8000/data.iso", "1="));
  vt::UseServers(vt::ProductionServers());
  EXPECT_FALSE(vt::UseServersAtStartUp(nullptr, &problem));
  EXPECT_EQ(problem, beside + ": [metro_download] 1: empty");
  EXPECT_TRUE(SameSet(vt::Servers(), vt::ProductionServers()));
}

TEST_F(ServerSetFile, WindowProgramShowsOneBoxAndStops) {
  std::string bad = Write("b.ini", Replaced(lab_, "platform=127.0.80.1", "platform=127.0.80.1 & calc"));
  const std::string box = "Veltrane 配置错误|服务器配置文件无法使用，程序将退出。\r\n\r\n";
  struct Case {
    std::vector<std::string> args;
    bool starts;
    std::string detail;  // the box's last line
  } cases[] = {
      {{"veltrane.exe", "--config", bad},
       false,
       bad + ": [servers] platform: not a plain host name or dotted IPv4 address: \"127.0.80.1 & calc\""},
      {{"veltrane.exe", "--config", dir_ + "none.ini"}, false, dir_ + "none.ini: cannot be read: "},
      {{"veltrane.exe", "--config"}, false, "--config: no file named after it"},
      {{"veltrane.exe", "--config", bad, "--config", bad}, false, "--config: given twice"},
      {{"veltrane.exe", "--config", Write("a.ini", lab_)}, true, ""},
      {{"veltrane.exe", "/other", "--config", dir_ + "a.ini"}, true, ""},
      {{"veltrane.exe"}, true, ""},
  };
  for (const Case& c : cases) {
    g_boxes.clear();
    vt::UseServers(vt::ProductionServers());
    std::vector<char*> argv;
    for (const std::string& a : c.args) argv.push_back(const_cast<char*>(a.c_str()));
    EXPECT_EQ(UseServersOrExplain(static_cast<int>(argv.size()), argv.data()), c.starts) << c.args.size();
    if (c.starts) {
      EXPECT_TRUE(g_boxes.empty()) << g_boxes[0];
      continue;
    }
    ASSERT_EQ(g_boxes.size(), 1u) << c.detail;
    EXPECT_EQ(g_boxes[0].rfind(box + c.detail, 0), 0u) << g_boxes[0];
    EXPECT_EQ(g_boxes[0].substr(g_boxes[0].size() - 6), "|error");
    EXPECT_TRUE(SameSet(vt::Servers(), vt::ProductionServers()));
  }
  EXPECT_EQ(vt::Servers().origin, "compiled-in");
}

}  // namespace
