// ParseUrl and the port conversion (URL parsing and its edge cases).
#include <gtest/gtest.h>

#include <string>

#include "net/http/Url.h"

namespace {

struct UrlCase {
  const char* url;
  const char* scheme;
  const char* host;
  const char* port;
  const char* path;
  const char* fileName;
};

const UrlCase kCases[] = {
    {"http://h:8000/data.iso", "http", "h", "8000", "/data.iso", "data.iso"},
    {"h:8000/data.iso", "http", "h", "8000", "/data.iso", "data.iso"},
    {"h/dir/", "http", "h", "80", "/dir/", ""},
    {"h", "http", "h", "80", "/", ""},
    {"h:8000", "http", "h", "8000", "/", ""},
    {"http://h/a.php?x=1/2", "http", "h", "80", "/a.php?x=1/2", "2"},
    // A ':' in the path of a URL without a port ends the host there.
    {"http://h/a:b", "http", "h/a", "b", "/", ""},
    {"https://secure.example/x", "https", "secure.example", "80", "/x", "x"},
    {"http://127.0.80.1/getseq.php?v=1.0.10&User=a&Pass=b", "http", "127.0.80.1", "80",
     "/getseq.php?v=1.0.10&User=a&Pass=b", "getseq.php?v=1.0.10&User=a&Pass=b"},
    {"http://127.0.80.11:8000/data.iso", "http", "127.0.80.11", "8000", "/data.iso", "data.iso"},
    {"", "http", "", "80", "/", ""},
    {"://", "", "", "80", "/", ""},
    {"ftp://", "ftp", "", "80", "/", ""},
    {"h:", "http", "h", "", "/", ""},
    {"h:/", "http", "h", "", "/", ""},
    {"/only/path", "http", "", "80", "/only/path", "path"},
    {"http://h:8000:9000/x", "http", "h", "8000:9000", "/x", "x"},
    {"a://b://c/d", "a", "b", "", "//c/d", "d"},
};

class ParseUrlTable : public ::testing::TestWithParam<UrlCase> {};

TEST_P(ParseUrlTable, Fields) {
  const UrlCase& c = GetParam();
  vt::UrlParts p = vt::ParseUrl(c.url);
  EXPECT_EQ(p.scheme, c.scheme);
  EXPECT_EQ(p.host, c.host);
  EXPECT_EQ(p.port, c.port);
  EXPECT_EQ(p.path, c.path);
  EXPECT_EQ(p.fileName, c.fileName);
}

INSTANTIATE_TEST_SUITE_P(Part21, ParseUrlTable, ::testing::ValuesIn(kCases));

TEST(ParseUrl, NullGivesTheDefaults) {
  vt::UrlParts p = vt::ParseUrl(static_cast<const char*>(nullptr));
  EXPECT_EQ(p.scheme, "http");
  EXPECT_EQ(p.host, "");
  EXPECT_EQ(p.port, "80");
  EXPECT_EQ(p.path, "/");
  EXPECT_EQ(p.fileName, "");
}

TEST(ParseUrl, AnyLengthAndAnyBytes) {
  std::string longHost(100000, 'a');
  std::string url = "http://" + longHost + ":8000/" + std::string(70000, '\xB1') + "/f";
  vt::UrlParts p = vt::ParseUrl(url);
  EXPECT_EQ(p.host, longHost);
  EXPECT_EQ(p.port, "8000");
  EXPECT_EQ(p.fileName, "f");
  EXPECT_EQ(p.path.size(), 70003u);
  std::string withNul("h/a\0b", 5);  // the text ends at the NUL, as a C string does
  EXPECT_EQ(vt::ParseUrl(withNul.c_str()).path, "/a");
}

TEST(PortNumber, AtoiThenSixteenBits) {
  EXPECT_EQ(vt::PortNumber("80"), 80);
  EXPECT_EQ(vt::PortNumber("8000"), 8000);
  EXPECT_EQ(vt::PortNumber("b"), 0);        // h/a:b: port 0, the lookup of "h/a" fails
  EXPECT_EQ(vt::PortNumber(""), 0);
  EXPECT_EQ(vt::PortNumber(" 81x"), 81);    // leading blanks, trailing junk
  EXPECT_EQ(vt::PortNumber("+82"), 82);
  EXPECT_EQ(vt::PortNumber("65536"), 0);    // htons keeps the low 16 bits
  EXPECT_EQ(vt::PortNumber("65537"), 1);
  EXPECT_EQ(vt::PortNumber("-1"), 65535);
  EXPECT_EQ(vt::PortNumber("99999999999999999999999"), 65535);  // saturates at INT_MAX
  EXPECT_EQ(vt::PortNumber("-99999999999999999999999"), 0);     // INT_MIN
  EXPECT_EQ(vt::PortNumber("8000:9000"), 8000);
}

}  // namespace
