#include "base/ProgramStart.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgramStart, NamesWindowsByItsNumbers) {
  struct Case {
    uint32_t major, minor, build;
    bool server;
    const char* name;
  } cases[] = {
      {6, 1, 7601, false, "Windows 7"},        {6, 1, 7601, true, "Windows Server 2008 R2"},
      {6, 3, 9600, false, "Windows 8.1"},      {10, 0, 19045, false, "Windows 10"},
      {10, 0, 22000, false, "Windows 11"},     {10, 0, 26100, false, "Windows 11"},
      {10, 0, 14393, true, "Windows Server 2016"}, {10, 0, 20348, true, "Windows Server 2022"},
      {11, 0, 30000, false, "Windows NT 11.0"}, {0, 0, 0, false, "Windows NT 0.0"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(vt::WindowsName(c.major, c.minor, c.build, c.server), c.name) << c.major << "." << c.build;
}

TEST(ProgramStart, WritesTheStartLine) {
  vt::ProgramFacts f;
  f.program = "veltrane";
  f.version = "2.21.2.718";
  f.platform = "x86";
  f.major = 6;
  f.minor = 1;
  f.build = 7601;
  f.wow64 = true;
  f.codePage = 936;
  f.processId = 4321;
  f.path = "C:\\Program Files\\Veltrane\\veltrane.exe";
  EXPECT_EQ(vt::ProgramStartText(f),
            "veltrane 2.21.2.718 (x86) started: Windows 7 (6.1.7601, 64-bit), code page 936, process 4321, "
            "C:\\Program Files\\Veltrane\\veltrane.exe");
}

}  // namespace
