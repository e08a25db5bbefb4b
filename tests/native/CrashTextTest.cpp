#include "base/CrashText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(CrashText, NamesCodes) {
  struct Case {
    uint32_t code;
    const char* name;
  } cases[] = {
      {0xC0000005u, "EXCEPTION_ACCESS_VIOLATION"},  {0xC0000094u, "EXCEPTION_INT_DIVIDE_BY_ZERO"},
      {0xC00000FDu, "EXCEPTION_STACK_OVERFLOW"},    {0xC000001Du, "EXCEPTION_ILLEGAL_INSTRUCTION"},
      {vt::kCrashTerminate, "std::terminate"},      {vt::kCrashInvalidParameter, "invalid parameter"},
      {vt::kCrashPureCall, "pure virtual call"},    {0xE06D7363u, "unknown exception"},
      {0u, "unknown exception"},
  };
  for (const auto& c : cases) EXPECT_STREQ(vt::CrashCodeName(c.code), c.name) << std::hex << c.code;
}

vt::CrashFacts Facts() {
  vt::CrashFacts f;
  f.code = 0xC0000005u;
  f.address = 0x140012345ull;
  f.module = "veltrane.exe";
  f.moduleOffset = 0x12345;
  f.accessKind = 1;
  f.accessAddress = 0;
  f.version = "2.21.2.718";
  f.platform = "x64";
  f.time = {2026, 12, 11, 0, 33, 7, 42};
  f.processId = 1234;
  f.threadId = 56;
  f.dumpName = "crash-20261211-003307-1234.dmp";
  f.logName = "veltrane-20261211.log";
  return f;
}

TEST(CrashText, WritesTheShortReport) {
  char text[1024];
  vt::FormatCrashText(Facts(), text, sizeof text);
  EXPECT_STREQ(text,
               "Veltrane crash report\r\n"
               "version: 2.21.2.718 (x64)\r\n"
               "time: 2026-12-11 00:33:07.042\r\n"
               "process: 1234, thread: 56\r\n"
               "exception: EXCEPTION_ACCESS_VIOLATION (0xC0000005), writing address 0x0\r\n"
               "address: 0x140012345 (veltrane.exe+0x12345)\r\n"
               "minidump: crash-20261211-003307-1234.dmp\r\n"
               "log: veltrane-20261211.log\r\n");
}

TEST(CrashText, SaysWhatIsMissing) {
  vt::CrashFacts f = Facts();
  f.code = vt::kCrashTerminate;
  f.accessKind = -1;
  f.detail = "std::bad_alloc";
  f.module = nullptr;
  f.dumpProblem = "dbghelp.dll could not be loaded";
  f.logName = nullptr;
  char text[1024];
  vt::FormatCrashText(f, text, sizeof text);
  std::string s = text;
  EXPECT_NE(s.find("exception: std::terminate (0xE5540001)\r\ndetail: std::bad_alloc\r\n"), std::string::npos) << s;
  EXPECT_NE(s.find("address: 0x140012345 (in no module)\r\n"), std::string::npos) << s;
  EXPECT_NE(s.find("minidump: not written: dbghelp.dll could not be loaded\r\n"), std::string::npos) << s;
  EXPECT_EQ(s.find("log:"), std::string::npos) << s;
}

TEST(CrashText, CutsAtTheBufferEnd) {
  for (size_t size : {1u, 2u, 17u, 100u}) {
    char text[128];
    memset(text, 'X', sizeof text);
    vt::FormatCrashText(Facts(), text, size);
    EXPECT_EQ(strlen(text), size - 1) << size;
    EXPECT_EQ(text[size], 'X') << size;  // nothing written past the bound
  }
}

TEST(CrashText, NamesTheReportAndTellsTheUser) {
  char base[64];
  vt::FormatCrashBaseName({2026, 1, 2, 3, 4, 5, 6}, 99, base, sizeof base);
  EXPECT_STREQ(base, "crash-20260102-030405-99");
  char box[1024];
  vt::FormatCrashBoxText("C:\\Users\\u\\AppData\\Local\\Veltrane\\logs", base, "veltrane-20260102.log", box,
                         sizeof box);
  std::string s = box;
  EXPECT_NE(s.find("C:\\Users\\u\\AppData\\Local\\Veltrane\\logs"), std::string::npos);
  EXPECT_NE(s.find("crash-20260102-030405-99.txt"), std::string::npos);
  EXPECT_NE(s.find("crash-20260102-030405-99.dmp"), std::string::npos);
  EXPECT_NE(s.find("veltrane-20260102.log"), std::string::npos);
  // Without a log file the box does not promise one.
  vt::FormatCrashBoxText("C:\\x", base, nullptr, box, sizeof box);
  EXPECT_EQ(std::string(box).find(".log"), std::string::npos);
}

}  // namespace
