#include <gtest/gtest.h>

#include <string>

#include "base/CodePage.h"
#include "base/UIString.h"

namespace {

TEST(UIString, GrowsBeyondInlineBufferAndKeepsContent) {
  CUIString s;
  std::string expected;
  for (int i = 0; i < 200; ++i) {
    s.AppendFormat("%d,", i);
    expected += std::to_string(i) + ",";
  }
  EXPECT_EQ(std::string(s.GetData()), expected);
  EXPECT_EQ(s.GetLength(), expected.size());
  CUIString copy(s);
  CUIString moved(static_cast<CUIString&&>(copy));
  EXPECT_TRUE(moved == s);
  EXPECT_TRUE(copy.IsEmpty());
  s.Empty();
  EXPECT_STREQ(s.GetData(), "");
}

TEST(UIString, FormatReplacesAndAppendFormatAdds) {
  CUIString s("old");
  EXPECT_EQ(s.Format("%.2fMbps", 165.5), 10u);
  EXPECT_STREQ(s, "165.50Mbps");
  s.AppendFormat(" %s:%d", "ms", -1);
  EXPECT_STREQ(s, "165.50Mbps ms:-1");
  s.Format("%s", "");
  EXPECT_TRUE(s.IsEmpty());
}

TEST(UIString, AppendingPartOfItselfSurvivesReallocation) {
  CUIString s("0123456789012345678901234567890123456789012345678901234567890");  // 61 bytes: inline
  s.Append(s.GetData() + 10);   // grows to the heap while reading its own bytes
  s.Append(s.GetData(), s.GetLength());
  std::string half = std::string("0123456789012345678901234567890123456789012345678901234567890") +
                     "012345678901234567890123456789012345678901234567890";
  EXPECT_EQ(std::string(s.GetData()), half + half);
  s = s.GetData() + 5;
  EXPECT_EQ(std::string(s.GetData()), (half + half).substr(5));
}

// "\xB1\x5C" is one GBK character whose trail byte is '\'; "\xD6\xD0" is 中.
struct FindCase {
  const char* text;
  char ch;
  size_t expected;
};

TEST(UIString, FindStepsOverDoubleByteCharacters) {
  const FindCase cases[] = {
      {"\xB1\x5C\\", '\\', 2},          // the trail byte is not a backslash
      {"\xB1\x5C", '\\', CUIString::npos},
      {"a\xD6\xD0{b}", '{', 3},
      {"\xB1\x7B\xB1\x7D{", '{', 4},     // trail bytes '{' and '}'
      {"abc", 'c', 2},
      {"\xB1", '\xB1', 0},               // a lone lead byte at the end is one byte
  };
  for (const FindCase& c : cases) {
    CUIString s(c.text);
    EXPECT_EQ(s.Find(c.ch), c.expected) << c.text;
  }
  CUIString path("\xB1\x5C\\dir\\\xB1\x5C");
  EXPECT_EQ(path.Find("\\"), 2u);
  EXPECT_EQ(path.Find("\\", 3), 6u);
  EXPECT_EQ(path.Find("dir"), 3u);
}

TEST(UIString, ReplaceAndCaseFoldLeaveTrailBytesAlone) {
  CUIString s("\xB1\x5C\\a\\");
  EXPECT_EQ(s.Replace("\\", "/"), 2u);
  EXPECT_STREQ(s, "\xB1\x5C/a/");
  CUIString letters("\xB1\x61" "abc");  // trail byte 'a' stays lower case
  letters.MakeUpper();
  EXPECT_STREQ(letters, "\xB1\x61" "ABC");
  EXPECT_EQ(CUIString("ButtonUI").CompareNoCase("buttonui"), 0);
  EXPECT_NE(CUIString("ButtonUI").CompareNoCase("button"), 0);
}

TEST(UIString, SubstringsClampToLength) {
  CUIString s("abcdef");
  EXPECT_STREQ(s.Left(2), "ab");
  EXPECT_STREQ(s.Left(99), "abcdef");
  EXPECT_STREQ(s.Mid(4), "ef");
  EXPECT_STREQ(s.Mid(4, 99), "ef");
  EXPECT_STREQ(s.Mid(99), "");
  EXPECT_STREQ(s.Right(3), "def");
  EXPECT_STREQ(s.Right(99), "abcdef");
}

TEST(UIString, LimitCutsAtWholeCharacter) {
  // One byte short of the limit, then a double-byte character: it does not fit
  // whole, so nothing of it is kept.
  std::string filler(CUIString::kMaxLength - 1, 'x');
  CUIString s(filler.c_str(), filler.size());
  s.Append("\xD6\xD0");
  EXPECT_EQ(s.GetLength(), CUIString::kMaxLength - 1);
  s.Append("y");
  EXPECT_EQ(s.GetLength(), CUIString::kMaxLength);
  s.Append("z");
  EXPECT_EQ(s.GetLength(), CUIString::kMaxLength);
  EXPECT_EQ(s.GetAt(CUIString::kMaxLength - 1), 'y');

  CUIString formatted;
  formatted.Format("%s%s", filler.c_str(), "\xD6\xD0");
  EXPECT_EQ(formatted.GetLength(), CUIString::kMaxLength - 1);
}

TEST(CodePage, CharBoundaryNeverSplitsACharacter) {
  const char text[] = "a\xD6\xD0\xCE\xC4z";  // a 中 文 z
  const size_t len = sizeof(text) - 1;
  const size_t expected[] = {0, 1, 1, 3, 3, 5, 6, 6};
  for (size_t limit = 0; limit < sizeof(expected) / sizeof(expected[0]); ++limit) {
    EXPECT_EQ(vt::CharBoundaryAtOrBelow(text, len, limit), expected[limit]) << limit;
    // The same text cut after 'limit' bytes keeps the same whole characters.
    if (limit <= len) {
      EXPECT_EQ(vt::WholeCharsOfCutText(text, limit), expected[limit]) << limit;
    }
  }
}

}  // namespace
