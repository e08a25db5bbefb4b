// The self-update's text and rules: the copy command, the downloaded file's
// path and which downloads may replace the executable.
#include <gtest/gtest.h>

#include <string>

#include "model/SelfUpdate.h"

namespace {

TEST(SelfUpdate, CopyCommandCopiesThenStartsTheTarget) {
  EXPECT_EQ(vt::CopyCommandParameters("C:\\Users\\ABCDEF~1\\AppData\\Local\\Temp\\v_2.22.exe",
                                      "C:\\PROGRA~1\\VELTRA~1\\VELTRANE.EXE"),
            "/c copy /Y C:\\Users\\ABCDEF~1\\AppData\\Local\\Temp\\v_2.22.exe C:\\PROGRA~1\\VELTRA~1\\VELTRANE.EXE "
            ">nul & C:\\PROGRA~1\\VELTRA~1\\VELTRANE.EXE");
  // A missing path leaves its word empty; the command still restarts the target.
  EXPECT_EQ(vt::CopyCommandParameters(nullptr, "T.EXE"), "/c copy /Y  T.EXE >nul & T.EXE");
}

TEST(SelfUpdate, LongPathsWithBlanksOrOperatorsGoInQuotes) {
  // Volumes without 8.3 names hand back the long path: each path must stay
  // one word, or the copy and the restart break (and "C:\Program.exe" would
  // be what starts).
  struct Case {
    const char* path;
    const char* word;
  } cases[] = {
      {"C:\\Program Files\\Veltrane\\veltrane.exe", "\"C:\\Program Files\\Veltrane\\veltrane.exe\""},
      {"C:\\Users\\R&D\\AppData\\Local\\Temp\\v.exe", "\"C:\\Users\\R&D\\AppData\\Local\\Temp\\v.exe\""},
      {"D:\\x(86)\\a^b|c\\v.exe", "\"D:\\x(86)\\a^b|c\\v.exe\""},
      {"C:\\测试\\VELTRA~1.EXE", "C:\\测试\\VELTRA~1.EXE"},  // double-byte names need no quotes
  };
  for (const Case& c : cases) {
    std::string w = c.word;
    EXPECT_EQ(vt::CopyCommandParameters(c.path, c.path), "/c copy /Y " + w + " " + w + " >nul & " + w) << c.path;
  }
  EXPECT_EQ(vt::CopyCommandParameters("C:\\T\\v.exe", "C:\\A B\\V.EXE"),
            "/c copy /Y C:\\T\\v.exe \"C:\\A B\\V.EXE\" >nul & \"C:\\A B\\V.EXE\"");
}

TEST(SelfUpdate, SourcePathIsFolderAndNameCutAt259) {
  EXPECT_EQ(vt::UpdateSourcePath("C:\\TEMP\\", "v.exe"), "C:\\TEMP\\v.exe");
  EXPECT_EQ(vt::UpdateSourcePath("C:\\TEMP\\", ""), "C:\\TEMP\\");
  std::string folder = "C:\\" + std::string(250, 'f') + "\\";
  std::string path = vt::UpdateSourcePath(folder.c_str(), "veltrane_2.22.exe");
  EXPECT_EQ(path.size(), 259u);
  EXPECT_EQ(path, (folder + "veltrane_2.22.exe").substr(0, 259));
  // A folder of double-byte characters is never cut inside one ("临" is two GBK bytes).
  std::string wide = "C:\\";
  while (wide.size() < 258) wide += "临";
  std::string cut = vt::UpdateSourcePath(wide.c_str(), "x.exe");
  EXPECT_LE(cut.size(), 259u);
  EXPECT_EQ((cut.size() - 3) % 2, 0u) << cut.size();
}

TEST(SelfUpdate, OnlyAWholeExecutableIsInstalled) {
  struct Case {
    bool complete;
    std::string head;
    bool installable;
  } cases[] = {
      {true, "MZ", true},   {false, "MZ", false}, {true, "<h", false},
      {true, "M", false},   {true, "", false},    {true, "ZM", false},
      {true, "mz", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(vt::UpdateInstallable(c.complete, c.head.data(), c.head.size()), c.installable)
        << c.complete << " '" << c.head << "'";
  EXPECT_FALSE(vt::UpdateInstallable(true, nullptr, 2));
}

}  // namespace
