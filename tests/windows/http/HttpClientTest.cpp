// FetchText, FetchToFile and PostForm against an in-process
// loopback server: exact request bytes, every reply chunking, the mended
// header/body rules, the result codes and the log lines.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "net/http/HttpClient_win.h"
#include "net/http/ReplyReader.h"
#include "tests/support/CommandDouble.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/StdoutCapture.h"

namespace {

const std::string kUa = "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n";
const std::string kHeader = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n";

std::string ExpectedGet(const std::string& path, const std::string& host = "127.0.0.1") {
  return "GET " + path + " HTTP/1.1\r\nHost: " + host + "\r\n" + kUa + "Connection: close\r\n\r\n";
}

// A server that reads the request header and answers with `pieces`, each
// its own send, pauseMs apart, then closes.
LoopbackServer::Handler Answer(std::vector<std::string> pieces, DWORD pauseMs = 60) {
  return [pieces, pauseMs](LoopbackConnection& c) {
    if (c.ReadHeader()) c.SendPieces(pieces, pauseMs);
  };
}

std::string ReadFile(const std::string& path) {
  std::string text;
  return ReadWholeFile(path, &text) ? text : "<missing>";
}

std::string TempFolder() {
  char dir[MAX_PATH];
  GetTempPathA(sizeof dir, dir);
  std::string folder = std::string(dir) + "vt_fetch_" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

TEST(FetchText, SendsTheGetRequestAndKeepsTheBody) {
  std::string reply = kHeader + "203.0.113.7";
  LoopbackServer server(Answer({reply}));
  ASSERT_TRUE(server.ok());
  StdoutCapture log;
  vt::TransferJob job(server.Url("/getip.php"));
  EXPECT_EQ(vt::FetchText(&job), vt::Ok);
  EXPECT_EQ(job.body, "203.0.113.7");
  EXPECT_EQ(job.Received(), reply.size());
  ASSERT_TRUE(server.WaitForHandlers(5000));
  ASSERT_EQ(server.ConnectionCount(), 1u);
  EXPECT_EQ(server.Record(0).received, ExpectedGet("/getip.php"));
  EXPECT_EQ(log.Text(), "Ret 0\n");
}

struct SplitCase {
  const char* name;
  std::vector<std::string> pieces;
  std::string body;
};

TEST(FetchText, HeaderEndSplitAcrossReceivesKeepsEveryBodyByte) {
  const std::string body = "<?xml version=\"1.0\"?>\r\n\r\n<ver ver=\"2.21\"/>\r\n\r\ntail";
  const std::string reply = kHeader + body;
  const size_t h = kHeader.size();
  const SplitCase cases[] = {
      {"separator split 3+1", {reply.substr(0, h - 1), reply.substr(h - 1)}, body},
      {"separator split 2+2", {reply.substr(0, h - 2), reply.substr(h - 2)}, body},
      {"separator split 1+3", {reply.substr(0, h - 3), reply.substr(h - 3)}, body},
      {"separator in four pieces",
       {reply.substr(0, h - 3), reply.substr(h - 3, 1), reply.substr(h - 2, 1), reply.substr(h - 1)},
       body},
      {"header ends at a chunk's end", {reply.substr(0, h), reply.substr(h)}, body},
      {"body in pieces split inside its blank lines",
       {reply.substr(0, h + 20), reply.substr(h + 20, 4), reply.substr(h + 24)},
       body},
  };
  for (const SplitCase& c : cases) {
    LoopbackServer server(Answer(c.pieces));
    vt::TransferJob job(server.Url("/version.xml"));
    EXPECT_EQ(vt::FetchText(&job), vt::Ok) << c.name;
    EXPECT_EQ(job.body, c.body) << c.name;
    EXPECT_EQ(job.Received(), reply.size()) << c.name;
  }
}

TEST(FetchText, ErrorPagesAreBodiesLikeAnyOther) {
  std::string page = "<html><body>404 Not Found</body></html>";
  LoopbackServer server(Answer({"HTTP/1.1 404 Not Found\r\nConnection: close\r\n\r\n" + page}));
  vt::TransferJob job(server.Url("/nope"));
  EXPECT_EQ(vt::FetchText(&job), vt::Ok);
  EXPECT_EQ(job.body, page);
}

TEST(FetchText, NoHeaderEndMeansAnEmptyBody) {
  LoopbackServer server(Answer({std::string(3000, '\r') + "\n\n garbage"}));
  vt::TransferJob job(server.Url("/"));
  EXPECT_EQ(vt::FetchText(&job), vt::Ok);
  EXPECT_EQ(job.body, "");
  EXPECT_EQ(job.Received(), 3010u);
}

TEST(FetchText, AHugeBodyIsCutAtTheLimit) {
  std::string huge(3 << 20, 'a');
  LoopbackServer server([&huge](LoopbackConnection& c) {
    if (c.ReadHeader()) c.Send(kHeader + huge);
  });
  vt::TransferJob job(server.Url("/big"));
  EXPECT_EQ(vt::FetchText(&job), vt::Ok);
  EXPECT_EQ(job.body.size(), vt::TextBodyCollector::kDefaultLimit);
  EXPECT_EQ(job.body, std::string(job.body.size(), 'a'));
}

TEST(FetchText, ConnectRefused) {
  StdoutCapture log;
  vt::TransferJob job(LoopbackServer::RefusedUrl("/getip.php"));
  EXPECT_EQ(vt::FetchText(&job), vt::ConnectFailed);
  EXPECT_EQ(job.body, "");
  EXPECT_EQ(job.Received(), 0u);
  EXPECT_EQ(log.Text(), "connnect failed\n");
}

TEST(FetchText, HostNotFound) {
  StdoutCapture log;
  // A ':' in the path of a URL without a port: host "127.0.0.1/a", port "b".
  vt::TransferJob job("http://127.0.0.1/a:b");
  EXPECT_EQ(vt::FetchText(&job), vt::HostNotFound);
  EXPECT_EQ(job.body, "");
  EXPECT_EQ(log.Text(), "");
}

TEST(FetchText, AResetAfterPartOfTheReplyStillYieldsOk) {
  LoopbackServer server([](LoopbackConnection& c) {
    if (!c.ReadHeader()) return;
    c.Send(kHeader + "partial");
    Sleep(100);
    c.Abort();
  });
  StdoutCapture log;
  vt::TransferJob job(server.Url("/"));
  EXPECT_EQ(vt::FetchText(&job), vt::Ok);
  EXPECT_EQ(job.body, "partial");
  std::string text = log.Text();
  EXPECT_TRUE(text == "recv err\n" || text == "Ret 0\n") << text;
}

TEST(FetchToFile, WritesEveryBodyByteWhateverTheChunking) {
  std::string body;
  for (int i = 0; i < 200000; ++i) body += static_cast<char>(i * 7);
  body += "\r\n\r\n";
  const std::string reply = kHeader + body;
  const size_t h = kHeader.size();
  const std::vector<std::vector<std::string>> chunkings = {
      {reply},
      {reply.substr(0, h - 2), reply.substr(h - 2)},
      {reply.substr(0, h), reply.substr(h)},
      {reply.substr(0, h - 1), reply.substr(h - 1, 1), reply.substr(h)},
  };
  std::string folder = TempFolder();
  for (size_t i = 0; i < chunkings.size(); ++i) {
    LoopbackServer server(Answer(chunkings[i]));
    std::string name = "veltrane_" + std::to_string(i) + ".exe";
    EXPECT_EQ(vt::FetchToFile(server.Url("/download/" + name).c_str(), folder.c_str()), vt::Ok);
    EXPECT_TRUE(ReadFile(folder + name) == body) << "chunking " << i;
    ASSERT_TRUE(server.WaitForHandlers(5000));
    EXPECT_EQ(server.Record(0).received, ExpectedGet("/download/" + name));
    DeleteFileA((folder + name).c_str());
  }
  RemoveDirectoryA(folder.c_str());
}

TEST(FetchToFile, NoFileNameFailsWithSix) {
  LoopbackServer server(Answer({kHeader + "x"}));
  std::string folder = TempFolder();
  // The path is the folder itself: creating it fails. The request was sent.
  EXPECT_EQ(vt::FetchToFile(server.Url("/dir/").c_str(), folder.c_str()), vt::FileOpenFailed);
  RemoveDirectoryA(folder.c_str());
}

TEST(FetchToFile, GarbageWithoutHeaderEndGivesAnEmptyFile) {
  LoopbackServer server(Answer({"\x00\x1b not http at all"}));
  std::string folder = TempFolder();
  EXPECT_EQ(vt::FetchToFile(server.Url("/g.bin").c_str(), folder.c_str()), vt::Ok);
  EXPECT_EQ(ReadFile(folder + "g.bin"), "");
  DeleteFileA((folder + "g.bin").c_str());
  RemoveDirectoryA(folder.c_str());
}

TEST(FetchToFile, ConnectRefused) {
  EXPECT_EQ(vt::FetchToFile(LoopbackServer::RefusedUrl("/f.exe").c_str(), "C:\\"), vt::ConnectFailed);
}

TEST(PostForm, DeclaresTheBodyLengthLessTwoAndSendsEveryByte) {
  const std::string body = "seq=20240601&mod=2&testlevel=16&speed_rtt=3&userinfo=\xB2\xE2\xCA\xD4\r\n\r\n";
  LoopbackServer server([&body](LoopbackConnection& c) {
    std::string header;
    if (!c.ReadHeader(&header)) return;
    c.ReadUntilTotal(header.size() + body.size());
    c.Send("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nOK");
  });
  StdoutCapture log;
  vt::UrlParts url = vt::ParseUrl(server.Url("/sp/index.php?c=savereport&a=save"));
  EXPECT_EQ(vt::PostForm(url, body), vt::Ok);
  ASSERT_TRUE(server.WaitForHandlers(5000));
  std::string expected = "POST /sp/index.php?c=savereport&a=save HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                         "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                         std::to_string(body.size() - 2) + "\r\nAccept-Language: zh-cn\r\n" + kUa +
                         "Connection: close\r\n\r\n" + body;
  EXPECT_EQ(server.Record(0).received, expected);
  EXPECT_EQ(log.Text(), "");
}

TEST(PostForm, TenByteBodyDeclaresEight) {
  LoopbackServer server([](LoopbackConnection& c) {
    std::string header;
    if (c.ReadHeader(&header)) c.ReadUntilTotal(header.size() + 10);
    c.Send("HTTP/1.1 200 OK\r\n\r\n");
  });
  EXPECT_EQ(vt::PostForm(vt::ParseUrl(server.Url("/report/query.php")), "0123456789"), vt::Ok);
  ASSERT_TRUE(server.WaitForHandlers(5000));
  std::string got = server.Record(0).received;
  EXPECT_NE(got.find("Content-Length: 8\r\n"), std::string::npos);
  EXPECT_EQ(got.substr(got.size() - 14), "\r\n\r\n0123456789");
}

TEST(PostForm, ConnectRefused) {
  EXPECT_EQ(vt::PostForm(vt::ParseUrl(LoopbackServer::RefusedUrl("/report/query.php")), "a=b\r\n\r\n"),
            vt::ConnectFailed);
}

}  // namespace
