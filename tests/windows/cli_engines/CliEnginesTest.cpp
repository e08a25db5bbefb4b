// veltrane-cli ping, trace and diagnose end to end: the real console program
// started with a replay double in its current folder; its JSON lines are
// compared with figures worked out by hand from the fixtures.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "base/CodePage.h"
#include "base/CodePageDecode_win.h"
#include "tests/support/CommandDouble.h"

namespace {

// The console writes its JSON lines in UTF-8; this file's literals are in
// the code page.
std::string Utf8(const std::string& text) { return vt::CodePageToUtf8(text, vt::DecodeGbkPair); }


// Runs veltrane-cli with these arguments, its standard output and error
// going to files (all: what it wrote to standard error), and returns its exit code (-1 if it did not end within a
// minute). A file rather than a pipe: when veltrane-cli is the first program
// of the session to make a window, Wine starts its desktop process from it,
// and that process keeps the handles it inherited open for as long as it runs.
int RunCli(const std::string& arguments, std::vector<std::string>& json, std::string* all = nullptr) {
  const std::string file = CommandDouble::TempName("cli-output"), errorFile = CommandDouble::TempName("cli-errors");
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  HANDLE out = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr);
  HANDLE err = CreateFileA(errorFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = out;
  si.hStdError = err;
  std::string line = "\"" + TestExeFolder() + "..\\veltrane-cli.exe\" " + arguments;
  PROCESS_INFORMATION pi = {};
  BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  CloseHandle(out);
  CloseHandle(err);
  if (!started) return -1;
  DWORD exitCode = static_cast<DWORD>(-1);
  if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &exitCode);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  auto slurp = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    DeleteFileA(path.c_str());
    return text;
  };
  std::string output = slurp(file);
  std::string errors = slurp(errorFile);
  if (all) *all = errors;
  json.clear();
  std::istringstream lines(output);
  for (std::string l; std::getline(lines, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    if (!l.empty() && l[0] == '{') json.push_back(l);
  }
  return static_cast<int>(exitCode);
}

TEST(CliEngines, PingPrintsEveryReplyAndTheMean) {
  CommandDouble ping("ping", TestDataPath("ping/en_mixed.txt"));
  ASSERT_TRUE(ping.ready());
  std::vector<std::string> lines;
  EXPECT_EQ(RunCli("ping 198.51.100.10", lines), 0);
  std::vector<std::string> expected;
  for (int reply : {10, 11, 13, 1, 12, 9})
    expected.push_back("{\"msg\":\"MSG_PING_REPLY\",\"wParam\":" + std::to_string(reply) + ",\"lParam\":0}");
  expected.push_back("{\"msg\":\"MSG_PING_DONE\",\"wParam\":9,\"lParam\":0}");
  expected.push_back("{\"speed_rtt\":9}");
  EXPECT_EQ(lines, expected);
}

TEST(CliEngines, TracePrintsHopsAndTheRouteVerdict) {
  CommandDouble tracert("tracert", TestDataPath("tracert/zh_ten_hops.txt"));
  ASSERT_TRUE(tracert.ready());
  std::vector<std::string> lines;
  EXPECT_EQ(RunCli("trace 198.51.100.10", lines), 0);
  ASSERT_EQ(lines.size(), 12u);  // ten hops, the end, the summary
  EXPECT_NE(lines[2].find(Utf8("\"lParam\":-1,\"text\":\"请求超时\"")), std::string::npos) << lines[2];
  EXPECT_NE(lines[10].find("\"msg\":\"MSG_TRACE_DONE\""), std::string::npos);
  // 16..29 ms: hops 6, 7, 8; 30 ms and more: hops 9, 10.
  EXPECT_EQ(lines[11], Utf8("{\"hops\":[{\"address\":\"192.168.1.1\",\"delay\":1},{\"address\":\"10.10.0.1\",\"delay\":1},"
            "{\"address\":\"请求超时\",\"delay\":-1},{\"address\":\"172.20.3.4\",\"delay\":6},"
            "{\"address\":\"172.32.0.1\",\"delay\":8},{\"address\":\"198.51.100.6\",\"delay\":17},"
            "{\"address\":\"198.51.100.7\",\"delay\":20},{\"address\":\"198.51.100.8\",\"delay\":29},"
            "{\"address\":\"198.51.100.9\",\"delay\":36},{\"address\":\"198.51.100.10\",\"delay\":31}],"
            "\"slowHops\":\"198.51.100.9,198.51.100.10,\","
            "\"mediumHops\":\"198.51.100.6,198.51.100.7,198.51.100.8,\","
            "\"line1\":\"198.51.100.9,198.51.100.10,路由延时大于30毫秒，严重影响网速\","
            "\"line2\":\"198.51.100.6,198.51.100.7,198.51.100.8,路由延时大于15毫秒，可能会影响网速\","
            "\"TraceTestStatus\":\"<f 4>198.51.100.9,198.51.100.10,路由延时大于30毫秒，严重影响网速<n>"
            "198.51.100.6,198.51.100.7,198.51.100.8,路由延时大于15毫秒，可能会影响网速</f>\"}"));
}

TEST(CliEngines, DiagnosePrintsTheFiguresOfBothSides) {
  {
    CommandDouble tracert("tracert", TestDataPath("tracert/en_twenty_hops.txt"));
    ASSERT_TRUE(tracert.ready());
    std::vector<std::string> lines;
    EXPECT_EQ(RunCli("diagnose 198.51.100.20 --public-ip 203.0.113.45", lines), 0);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "{\"msg\":\"MSG_TROUBLE_RESULT\",\"wParam\":2,\"lParam\":288}");
    EXPECT_EQ(lines[4], "{\"msg\":\"MSG_TROUBLE_RESULT\",\"wParam\":16,\"lParam\":0}");
    // LAN: <1, 2 and 4 ms up to 203.0.113.1; WAN: hops 4..20 at hop + 6 ms
    // but hop 12, which timed out.
    std::string hoops, delays;
    for (int k = 4; k <= 20; ++k) {
      hoops += k == 12 ? std::string("请求超时|") : "198.51.100." + std::to_string(k) + "|";
      delays += std::to_string(k == 12 ? -1 : k + 6) + "|";
    }
    EXPECT_EQ(lines[5], Utf8("{\"hoopsWAN\":17,\"delayWAN\":288,\"hoopsLAN\":3,\"delayLAN\":7,"
                        "\"traceHoops\":\"192.168.0.1|10.0.0.1|203.0.113.1|" + hoops + "\","
                        "\"traceDelay\":\"1|2|4|" + delays + "\",\"lancomment\":\"\",\"reachedPublic\":1}"));
  }
  {
    CommandDouble tracert("tracert", TestDataPath("tracert/zh_ten_hops.txt"));
    std::vector<std::string> lines;
    EXPECT_EQ(RunCli("diagnose 198.51.100.10 --public-ip 198.51.100.77", lines), 0);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), Utf8("{\"hoopsWAN\":4,\"delayWAN\":116,\"hoopsLAN\":5,\"delayLAN\":33,"
                            "\"traceHoops\":\"192.168.1.1|10.10.0.1|请求超时|172.20.3.4|172.32.0.1|198.51.100.6|"
                            "198.51.100.7|198.51.100.8|198.51.100.9|198.51.100.10|\","
                            "\"traceDelay\":\"1|1|-1|6|8|17|20|29|36|31|\","
                            "\"lancomment\":\"内网层次过于复杂，会影响您的带宽\",\"reachedPublic\":1}"));
  }
}

TEST(CliEngines, TraceWithoutHopSectionAndBadHosts) {
  CommandDouble tracert("tracert", TestDataPath("tracert/zh_unresolved.txt"));
  std::vector<std::string> lines;
  EXPECT_EQ(RunCli("diagnose nosuch.invalid --public-ip 203.0.113.45", lines), 1);
  EXPECT_EQ(lines, (std::vector<std::string>{"{\"msg\":\"MSG_TROUBLE_RESULT\",\"wParam\":17,\"lParam\":0}",
                                             "{\"error\":\"the trace output has no hop section\"}"}));
  std::string all;
  EXPECT_EQ(RunCli("trace \"198.51.100.10 -h 200\"", lines, &all), 2);
  EXPECT_TRUE(lines.empty());
  EXPECT_NE(all.find("bad argument '198.51.100.10 -h 200'"), std::string::npos) << all;
  EXPECT_EQ(tracert.CommandLineSeen(), "tracert -d -w 800 -h 20 nosuch.invalid");
}

}  // namespace
