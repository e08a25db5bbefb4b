#include <gtest/gtest.h>

#include "model/VersionCompare.h"
#include "config/ServerSet.h"
#include "net/platform/PlatformReplies.h"
#include "net/platform/VersionDocument.h"

TEST(VersionCompare, AgainstOwnVersion221) {
  const VersionPair own{2, 21};
  const struct {
    const char* document;
    bool newer;
  } cases[] = {
      {"2.22", true},  {"3.0", true},        {"1.30", true}, {"2.21", false}, {"2.5", false},
      {"2.21.9.9", false}, {"3", false},     {"", false},    {"2..22", true}, {"..2...22..", true},
      {"x.y", false},  {"2.22abc", true},    {nullptr, false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsNewerVersion(own, c.document), c.newer) << (c.document ? c.document : "null");
  // An unreadable resource leaves 1.0: anything with a larger number is newer.
  EXPECT_TRUE(IsNewerVersion(VersionPair{}, "1.1"));
  EXPECT_FALSE(IsNewerVersion(VersionPair{}, "1.0"));
}

TEST(VersionCompare, SplitDottedActsLikeStrtokWithinItsBuffer) {
  EXPECT_EQ(SplitDotted("2..22"), (std::vector<std::string>{"2", "22"}));
  EXPECT_EQ(SplitDotted("...."), std::vector<std::string>{});
  EXPECT_EQ(SplitDotted(nullptr), std::vector<std::string>{});
  std::string longText(1500, '7');
  longText[1100] = '.';  // beyond the 1023 bytes that take part
  std::vector<std::string> pieces = SplitDotted(longText.c_str());
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces[0].size(), 1023u);
}

TEST(PlatformReplies, TestNumberUrlAndReplyClasses) {
  EXPECT_EQ(BuildTestNumberUrl("&User=Orvalen&Pass=580317"),
            std::string("http://") + vt::Servers().platformServer + "/getseq.php?v=1.0.10&User=Orvalen&Pass=580317");
  // Sent as typed: '&' and blanks in a user name are not escaped.
  EXPECT_EQ(BuildTestNumberUrl("&User=a b&c&Pass=x"),
            std::string("http://") + vt::Servers().platformServer + "/getseq.php?v=1.0.10&User=a b&c&Pass=x");
  EXPECT_EQ(ClassifyTestNumberReply("NEED_UPDATE"), TestNumberReplyKind::NeedUpdate);
  EXPECT_EQ(ClassifyTestNumberReply("ACCESS_DENY"), TestNumberReplyKind::AccessDenied);
  EXPECT_EQ(ClassifyTestNumberReply("NEED_UPDATE\r\n"), TestNumberReplyKind::Granted);
  EXPECT_EQ(ClassifyTestNumberReply("access_deny"), TestNumberReplyKind::Granted);
  EXPECT_EQ(ClassifyTestNumberReply("20261209001"), TestNumberReplyKind::Granted);
  EXPECT_EQ(ClassifyTestNumberReply(""), TestNumberReplyKind::Granted);
}

// The save reply's status: stored when 2xx or 3xx (a redirect after the
// form post), not when there is no readable status line or it is 1xx, 4xx
// or 5xx.
TEST(PlatformReplies, ReportSaveAcceptedByStatus) {
  const struct {
    int status;
    bool accepted;
  } cases[] = {{0, false},   {100, false}, {199, false}, {200, true},  {204, true},  {299, true},
               {301, true},  {302, true},  {303, true},  {399, true},  {400, false}, {404, false},
               {500, false}, {503, false}, {999, false}, {-1, false}};
  for (const auto& c : cases) EXPECT_EQ(ReportSaveAccepted(c.status), c.accepted) << c.status;
}

TEST(PlatformReplies, UpdateFileNamesThatCannotEscapeOrInject) {
  const char* good[] = {"veltrane_2.22.exe", "Veltrane-Setup.exe", "v2.exe"};
  for (const char* name : good) EXPECT_TRUE(IsSafeUpdateFileName(name)) << name;
  const char* bad[] = {"",          "..",          "../x.exe",      "..\\x.exe",  "a\\b.exe",    "a/b.exe",
                       "C:x.exe",   "a b.exe",     "a\"b.exe",      "x.exe&calc", "x.exe|y",     "x<y",
                       "x>y",       "x^y.exe",     "%TEMP%.exe",    ".hidden",    "a..b.exe",    "x.exe\r\n",
                       "\xD6\xD0.exe", "x;y.exe",  "x(1).exe"};
  for (const char* name : bad) EXPECT_FALSE(IsSafeUpdateFileName(name)) << name;
  EXPECT_FALSE(IsSafeUpdateFileName(std::string(101, 'a').c_str()));
  EXPECT_TRUE(IsSafeUpdateFileName(std::string(100, 'a').c_str()));
}

TEST(VersionDocument, FirstElementWhateverItsName) {
  VersionDocument doc;
  ASSERT_TRUE(ReadVersionDocument(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- published -->\n"
      "<release ver=\"2.22.0.1\" url=\"http://127.0.80.1/download/veltrane_2.22.exe\" autoupdate=\"1\"/>",
      &doc));
  EXPECT_EQ(doc.version, "2.22.0.1");
  EXPECT_EQ(doc.url, "http://127.0.80.1/download/veltrane_2.22.exe");
  EXPECT_EQ(doc.autoUpdate, "1");

  VersionDocument partial;
  ASSERT_TRUE(ReadVersionDocument("<v ver=\"3.0\"><child url=\"no\"/></v>", &partial));
  EXPECT_EQ(partial.version, "3.0");
  EXPECT_EQ(partial.url, "");  // only the first element's attributes count

  const char* unusable[] = {"", "not xml at all", "<?xml version=\"1.0\"?>", "<!-- only a comment -->"};
  for (const char* text : unusable) {
    VersionDocument untouched{"keep", "keep", "keep"};
    EXPECT_FALSE(ReadVersionDocument(text, &untouched)) << text;
    EXPECT_EQ(untouched.version, "keep");
  }
}

#include "engines/apptest/AppSpeed.h"

TEST(AppSpeed, ThousandthsTruncate) {
  EXPECT_EQ(vt::AppSpeedThousandths((2.0 + 2.5 + 0.0) / 3), 1500u);
  EXPECT_EQ(vt::AppSpeedThousandths(0.0004), 0u);
  EXPECT_EQ(vt::AppSpeedThousandths(12.3456), 12345u);
  EXPECT_EQ(vt::AppSpeedThousandths(-1.0), 0u);
  EXPECT_EQ(vt::AppSpeedThousandths(1e12), 4294967295u);
}
