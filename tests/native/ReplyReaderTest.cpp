// The header/body rules of FetchText and FetchToFile, fed in every chunking:
// the header end is found once, across chunk boundaries, and every byte
// after it is kept, a blank line inside the body included.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/http/ReplyReader.h"

namespace {

const std::string kHeader = "HTTP/1.1 200 OK\r\nContent-Length: 29\r\nConnection: close\r\n\r\n";
// A body that itself holds a blank line and a lone "\r\n\r".
const std::string kBody = "line one\r\n\r\nline two\r\n\r\rend";

std::string Collect(const std::string& reply, const std::vector<size_t>& cuts, size_t limit = 1 << 20) {
  std::string body;
  vt::TextBodyCollector c(body, limit);
  size_t at = 0;
  for (size_t cut : cuts) {
    c.Feed(reply.data() + at, cut - at);
    at = cut;
  }
  c.Feed(reply.data() + at, reply.size() - at);
  return body;
}

TEST(ReplyReader, EveryCutPointKeepsTheWholeBody) {
  const std::string reply = kHeader + kBody;
  for (size_t cut = 0; cut <= reply.size(); ++cut) EXPECT_EQ(Collect(reply, {cut}), kBody) << "cut at " << cut;
}

TEST(ReplyReader, EveryPairOfCutsKeepsTheWholeBody) {
  const std::string reply = kHeader + kBody;
  for (size_t a = 0; a <= reply.size(); ++a)
    for (size_t b = a; b <= reply.size(); ++b) ASSERT_EQ(Collect(reply, {a, b}), kBody) << a << "," << b;
}

TEST(ReplyReader, ByteByByte) {
  const std::string reply = kHeader + kBody;
  std::vector<size_t> cuts;
  for (size_t i = 1; i < reply.size(); ++i) cuts.push_back(i);
  EXPECT_EQ(Collect(reply, cuts), kBody);
}

TEST(ReplyReader, HeaderEndingExactlyAtAChunkEnd) {
  vt::HeaderEndFinder f;
  EXPECT_EQ(f.Feed(kHeader.data(), kHeader.size()), kHeader.size());
  EXPECT_TRUE(f.HeaderDone());
  EXPECT_EQ(f.HeaderBytes(), kHeader.size());
  EXPECT_EQ(f.Feed(kBody.data(), kBody.size()), 0u);  // the next chunk is all body
}

TEST(ReplyReader, SeparatorSplitInEveryWay) {
  // "\r\n\r" + "\n", "\r\n" + "\r\n", "\r" + "\n\r\n", and "\r" "\n" "\r" "\n".
  for (const std::vector<size_t>& cuts : std::vector<std::vector<size_t>>{{3}, {2}, {1}, {1, 2, 3}}) {
    std::string reply = "\r\n\r\nBODY";
    EXPECT_EQ(Collect(reply, cuts), "BODY");
  }
}

TEST(ReplyReader, AlmostSeparators) {
  // Near misses: "\r\n\r\r\n\r\n" has its separator starting at byte 3.
  EXPECT_EQ(Collect("H\r\n\r\r\n\r\nB", {4}), "B");
  EXPECT_EQ(Collect("H\n\r\n\r\nB", {2}), "B");
  EXPECT_EQ(Collect("H\r\r\n\r\nB", {1}), "B");
  EXPECT_EQ(Collect("H\r\n\n\r\nB", {}), "");  // no "\r\n\r\n" at all
}

TEST(ReplyReader, NoHeaderEndMeansNoBody) {
  std::string garbage(5000, '\r');
  EXPECT_EQ(Collect(garbage + "\n\n\n", {100, 4000}), "");
  EXPECT_EQ(Collect("", {}), "");
}

TEST(ReplyReader, BinaryBodyKeptWhole) {
  std::string body;
  for (int i = 0; i < 256; ++i) body += static_cast<char>(i);
  body += std::string("\0\r\n\r\n\0", 6);
  EXPECT_EQ(Collect(kHeader + body, {kHeader.size() - 2, kHeader.size() + 13}), body);
}

TEST(ReplyReader, BodyLimitCutsAndEndsTheExchange) {
  std::string body;
  vt::TextBodyCollector c(body, 10);
  std::string header = "H\r\n\r\n";
  EXPECT_TRUE(c.Feed(header.data(), header.size()));
  EXPECT_TRUE(c.Feed("0123456", 7));
  EXPECT_FALSE(c.Feed("789abc", 6));  // only "789" fits
  EXPECT_EQ(body, "0123456789");
  EXPECT_TRUE(c.Truncated());
}

TEST(ReplyReader, LargeBodyAcrossManyChunks) {
  std::string big;
  for (int i = 0; i < 100000; ++i) big += static_cast<char>('a' + i % 26);
  std::string reply = kHeader + big;
  std::vector<size_t> cuts;
  for (size_t at = 8192; at < reply.size(); at += 8192) cuts.push_back(at);
  EXPECT_EQ(Collect(reply, cuts), big);
}

}  // namespace

namespace {

// Property: for any reply and any chunking, the body is exactly what follows
// the first "\r\n\r\n" of the whole reply (empty when there is none).
TEST(ReplyReader, RandomRepliesInRandomChunkings) {
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return seed >> 16;
  };
  const char alphabet[] = {'\r', '\n', 'a', '\r', '\n'};
  for (int round = 0; round < 3000; ++round) {
    std::string reply;
    size_t len = next() % 40;
    for (size_t i = 0; i < len; ++i) reply += alphabet[next() % sizeof alphabet];
    size_t sep = reply.find("\r\n\r\n");
    std::string expected = sep == std::string::npos ? "" : reply.substr(sep + 4);
    std::vector<size_t> cuts;
    for (size_t at = 0; at < reply.size(); at += 1 + next() % 5) cuts.push_back(at);
    ASSERT_EQ(Collect(reply, cuts), expected) << "round " << round;
  }
}

}  // namespace
