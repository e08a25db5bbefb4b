// Whether a file download arrived whole: the body against the declared
// Content-Length, fed in every chunking, and the header's length field read
// strictly (a length the client cannot trust never counts as complete).
#include <gtest/gtest.h>

#include <string>

#include "net/http/DownloadTally.h"

namespace {

std::string Header(const std::string& fields) { return "HTTP/1.1 200 OK\r\n" + fields + "Connection: close\r\n\r\n"; }

struct TallyCase {
  const char* name;
  std::string reply;
  bool orderlyClose;
  bool complete;
  uint64_t body;
};

TEST(DownloadTally, CompleteOnlyWhenTheBodyIsWhole) {
  const std::string body("MZ\x90\0\r\n\r\nrest of the file", 24);  // a blank line inside the body, and a zero byte
  const std::string declared = "Content-Length: " + std::to_string(body.size()) + "\r\n";
  const TallyCase cases[] = {
      {"declared and whole", Header(declared) + body, true, true, body.size()},
      {"declared and whole, reset after", Header(declared) + body, false, true, body.size()},
      {"declared, cut short", Header(declared) + body.substr(0, 5), true, false, 5},
      {"declared, nothing came", Header(declared), true, false, 0},
      {"more than declared", Header(declared) + body + "x", true, false, body.size() + 1},
      {"no length, orderly close", Header("") + body, true, true, body.size()},
      {"no length, receive error", Header("") + body, false, false, body.size()},
      {"header never ended", "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n", true, false, 0},
      {"declared zero, empty body", Header("Content-Length: 0\r\n"), true, true, 0},
  };
  for (const TallyCase& c : cases) {
    for (size_t cut = 0; cut <= c.reply.size(); cut += 7) {  // one cut anywhere, the separator included
      vt::DownloadTally tally;
      size_t got = 0;
      size_t first = tally.Feed(c.reply.data(), cut);
      got += cut - first;
      size_t second = tally.Feed(c.reply.data() + cut, c.reply.size() - cut);
      got += c.reply.size() - cut - second;
      if (c.orderlyClose) tally.NoteOrderlyClose();
      EXPECT_EQ(tally.Complete(), c.complete) << c.name << ", cut at " << cut;
      EXPECT_EQ(tally.BodyBytes(), c.body) << c.name << ", cut at " << cut;
      EXPECT_EQ(got, c.body) << c.name << ", cut at " << cut;
    }
  }
}

TEST(DownloadTally, StatusCodeOfTheFirstLine) {
  const struct {
    const char* header;
    int status;
  } cases[] = {
      {"HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n", 200},
      {"HTTP/1.0 404 Not Found\r\n\r\n", 404},
      {"HTTP/1.1 204\r\n\r\n", 204},
      {"HTTP/1.1 2000 OK\r\n\r\n", 0},
      {"HTTP/1.1 20 OK\r\n\r\n", 0},
      {"HTTP/1.1\r\nX: 1 200 OK\r\n\r\n", 0},  // no blank on the first line
      {"ICY 200 OK\r\n\r\n", 0},
      {"garbage\r\n\r\n", 0},
      {"", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(vt::ReadStatusCode(c.header), c.status) << c.header;
  // Read once the header has ended, however the reply was cut.
  const std::string reply = "HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\n\r\npage";
  for (size_t cut = 0; cut <= reply.size(); ++cut) {
    vt::DownloadTally tally;
    tally.Feed(reply.data(), cut);
    tally.Feed(reply.data() + cut, reply.size() - cut);
    EXPECT_EQ(tally.Status(), 404) << cut;
    EXPECT_TRUE(tally.Complete()) << cut;  // whole, though an error page
  }
}

TEST(DownloadTally, FailedWriteIsNeverComplete) {
  vt::DownloadTally tally;
  const std::string reply = Header("Content-Length: 2\r\n") + "MZ";
  tally.Feed(reply.data(), reply.size());
  tally.NoteOrderlyClose();
  ASSERT_TRUE(tally.Complete());
  tally.NoteWriteFailed();
  EXPECT_FALSE(tally.Complete());
}

TEST(DownloadTally, ContentLengthIsReadStrictly) {
  struct Case {
    const char* fields;
    int64_t length;
  } cases[] = {
      {"Content-Length: 4096\r\n", 4096},
      {"content-length:4096\r\n", 4096},
      {"CONTENT-LENGTH:   12  \r\n", 12},
      {"", -1},
      {"X-Content-Length: 5\r\n", -1},
      {"Content-Length: 12abc\r\n", -2},
      {"Content-Length: -3\r\n", -2},
      {"Content-Length: \r\n", -2},
      {"Content-Length: 7\r\nContent-Length: 7\r\n", 7},
      {"Content-Length: 7\r\nContent-Length: 8\r\n", -2},
      {"Content-Length: 99999999999999999999\r\n", -2},
  };
  for (const Case& c : cases) EXPECT_EQ(vt::ReadContentLength(Header(c.fields)), c.length) << c.fields;
  // The status line is not a field, even when it looks like one.
  EXPECT_EQ(vt::ReadContentLength("Content-Length: 5\r\n\r\n"), -1);
}

TEST(DownloadTally, UntrustworthyLengthIsIncomplete) {
  for (const char* fields : {"Content-Length: 2x\r\n", "Content-Length: 2\r\nContent-Length: 3\r\n"}) {
    vt::DownloadTally tally;
    const std::string reply = Header(fields) + "MZ";
    tally.Feed(reply.data(), reply.size());
    tally.NoteOrderlyClose();
    EXPECT_EQ(tally.DeclaredLength(), -2) << fields;
    EXPECT_FALSE(tally.Complete()) << fields;
  }
}

TEST(DownloadTally, OverlongHeaderLosesItsLength) {
  std::string fields = "Content-Length: 2\r\nX-Pad: " + std::string(vt::DownloadTally::kHeaderLimit, 'a') + "\r\n";
  vt::DownloadTally tally;
  const std::string reply = Header(fields) + "MZ";
  tally.Feed(reply.data(), reply.size());
  tally.NoteOrderlyClose();
  EXPECT_EQ(tally.BodyBytes(), 2u);
  EXPECT_FALSE(tally.Complete());
}

}  // namespace
