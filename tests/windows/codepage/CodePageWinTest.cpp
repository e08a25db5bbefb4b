// Checks that only Windows can answer: the process runs in code page 936 and
// our GBK literals and GBK stepping agree with the system's own tables.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/CodePage.h"
#include "base/UIString.h"

TEST(CodePageWin, ProcessRunsInCodePage936) { EXPECT_EQ(GetACP(), 936u); }

TEST(CodePageWin, GbkLiteralRoundTripsThroughTheSystem) {
  const char* gbk = "测试平台无应答";  // compiled to GBK bytes
  EXPECT_EQ(static_cast<unsigned char>(gbk[0]), 0xB2);
  EXPECT_EQ(static_cast<unsigned char>(gbk[1]), 0xE2);
  wchar_t wide[32] = {};
  int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, gbk, -1, wide, 32);
  ASSERT_EQ(n, 8);
  EXPECT_STREQ(wide, L"\u6d4b\u8bd5\u5e73\u53f0\u65e0\u5e94\u7b54");
  char back[32] = {};
  ASSERT_GT(WideCharToMultiByte(CP_ACP, 0, wide, -1, back, sizeof(back), nullptr, nullptr), 0);
  EXPECT_STREQ(back, gbk);
}

TEST(CodePageWin, LeadBytesMatchTheSystemTable) {
  for (int c = 0; c < 256; ++c)
    EXPECT_EQ(vt::IsLeadByte(static_cast<unsigned char>(c)), IsDBCSLeadByte(static_cast<BYTE>(c)) != 0) << c;
}

TEST(CodePageWin, CharacterSteppingMatchesCharNext) {
  CUIString text;
  text.Format("%s\\%s{|}%s", "路径", "\xB1\x5C", "中文");
  const char* p = text.GetData();
  size_t pos = 0;
  while (pos < text.GetLength()) {
    const char* next = CharNextA(p + pos);
    EXPECT_EQ(static_cast<size_t>(next - (p + pos)), vt::CharSize(p, text.GetLength(), pos)) << pos;
    pos = static_cast<size_t>(next - p);
  }
}
