// The request bytes of the HTTP client and the bandwidth workers, byte for byte.
#include <gtest/gtest.h>

#include "engines/bandwidth/UploadRequest.h"
#include "net/http/HttpLog.h"
#include "net/http/HttpRequest.h"

namespace {

const char kUa[] = "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n";

TEST(HttpRequest, Get) {
  vt::UrlParts url = vt::ParseUrl("http://127.0.80.11:8000/data.iso");
  EXPECT_EQ(vt::ComposeGetRequest(url), std::string("GET /data.iso HTTP/1.1\r\n") +
                                            "Host: 127.0.80.11\r\n" + kUa + "Connection: close\r\n\r\n");
  // The host without the port; the path with its query.
  EXPECT_EQ(vt::ComposeGetRequest(vt::ParseUrl("https://h/getseq.php?v=1.0.10&User=\xB2\xE2&Pass=1")),
            std::string("GET /getseq.php?v=1.0.10&User=\xB2\xE2&Pass=1 HTTP/1.1\r\nHost: h\r\n") + kUa +
                "Connection: close\r\n\r\n");
  EXPECT_EQ(vt::ComposeGetRequest(vt::ParseUrl("h")),
            std::string("GET / HTTP/1.1\r\nHost: h\r\n") + kUa + "Connection: close\r\n\r\n");
}

TEST(HttpRequest, PostDeclaresTheBodyLengthLessTwo) {
  vt::UrlParts url = vt::ParseUrl("http://127.0.80.1/sp/index.php?c=savereport&a=save");
  std::string body = "seq=1&mod=2\r\n\r\n";  // 15 bytes
  std::string expected = std::string("POST /sp/index.php?c=savereport&a=save HTTP/1.1\r\n") +
                         "Host: 127.0.80.1\r\n" + "Content-Type: application/x-www-form-urlencoded\r\n" +
                         "Content-Length: 13\r\n" + "Accept-Language: zh-cn\r\n" + kUa + "Connection: close\r\n" +
                         "\r\n" + body;
  EXPECT_EQ(vt::ComposePostRequest(url, body), expected);
}

TEST(HttpRequest, DeclaredFormLength) {
  EXPECT_EQ(vt::DeclaredFormLength(10), 8u);  // 10 bytes declare 8
  EXPECT_EQ(vt::DeclaredFormLength(2), 0u);
  EXPECT_EQ(vt::DeclaredFormLength(1), 0u);   // never negative
  EXPECT_EQ(vt::DeclaredFormLength(0), 0u);
  std::string r = vt::ComposePostRequest(vt::ParseUrl("h/p"), "x");
  EXPECT_NE(r.find("Content-Length: 0\r\n"), std::string::npos);
  EXPECT_EQ(r.substr(r.size() - 5), "\r\n\r\nx");
}

TEST(HttpRequest, Upload) {
  vt::UrlParts url = vt::ParseUrl("http://127.0.80.14:8000/recv_upload.php");
  EXPECT_EQ(vt::ComposeUploadRequest(url), std::string("POST /recv_upload.php HTTP/1.1\r\n") +
                                               "Host: 127.0.80.14\r\n" + kUa + "Connection: keep-alive\r\n" +
                                               "Cache-Control: no-cache\r\n" + "Content-Length: 2097152000\r\n" +
                                               "\r\n");
  EXPECT_EQ(vt::kUploadDeclaredLength, 2000u * 1048576u);
}

TEST(HttpLog, ProbeLine) {
  EXPECT_EQ(vt::ProbeLogLine("http://h/", 123456, 8.27568), "http download OK:http://h/ Recv:123456 Speed:8.27568");
  EXPECT_EQ(vt::ProbeLogLine("http://h/", 0, 0.0), "http download OK:http://h/ Recv:0 Speed:0");
  EXPECT_EQ(vt::ProbeLogLine("u", 4294967295u, 1234567.891), "http download OK:u Recv:4294967295 Speed:1.23457e+06");
  EXPECT_EQ(vt::ExchangeLogLine("GET", "http://h/getip.php", 0, 200, 15, true),
            "platform: GET status 200, 15 body bytes, whole: http://h/getip.php");
  EXPECT_EQ(vt::ExchangeLogLine("GET", "http://h/v.xml", 0, 0, 3, false),
            "platform: GET status 0, 3 body bytes, cut: http://h/v.xml");
  EXPECT_EQ(vt::ExchangeLogLine("POST", "http://h/r", 4, 0, 0, false), "platform: POST result 4 (connect failed): http://h/r");
  EXPECT_EQ(vt::ExchangeLogLine("GET", "u", 1, 0, 0, false), "platform: GET result 1 (Windows Sockets failed): u");
  EXPECT_EQ(vt::ExchangeLogLine("GET", "u", 99, 0, 0, false), "platform: GET result 99 (?): u");
  std::string longUrl(5000, 'x');  // no fixed buffer
  EXPECT_EQ(vt::ProbeLogLine(longUrl, 1, 1.5).size(), 17 + 5000 + 6 + 1 + 7 + 3);
}

}  // namespace

namespace {

TEST(HttpLog, OneWholeLineToTheChosenStream) {
  FILE* f = tmpfile();
  ASSERT_NE(f, nullptr);
  vt::SetLogStream(f);
  vt::LogLine("connnect failed");
  vt::LogLine("recv err");
  vt::SetLogStream(nullptr);  // back to standard output
  rewind(f);
  char buffer[64] = {};
  size_t n = fread(buffer, 1, sizeof buffer - 1, f);
  fclose(f);
  EXPECT_EQ(std::string(buffer, n), "connnect failed\nrecv err\n");
}

}  // namespace
