// The harness the engine tests rely on: messages posted and sent from worker
// threads reach the collector on the test thread, in order, and texts that
// live only during a sent message are copied while it is handled.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "base/Messages.h"
#include "tests/support/MessageCollector.h"

TEST(MessageCollector, CollectsPostedAndSentMessagesFromAWorker) {
  MessageCollector collector({vt::MSG_TRACE_HOP});
  HWND target = collector.hwnd();
  ASSERT_NE(target, nullptr);
  std::thread worker([target] {
    PostMessageA(target, vt::MSG_DOWNLOAD_SAMPLE, 1000, 0);
    char hop[16];
    strcpy(hop, "10.0.0.1");
    SendMessageA(target, vt::MSG_TRACE_HOP, reinterpret_cast<WPARAM>(hop), 7);
    strcpy(hop, "overwritten");
    PostMessageA(target, vt::MSG_DOWNLOAD_DONE, 900, 0);
  });
  ASSERT_TRUE(collector.WaitForMessage(vt::MSG_DOWNLOAD_DONE, 5000));
  worker.join();
  // A sent message is handled as soon as the test pumps, ahead of messages
  // posted before it; posted messages keep their order among themselves.
  std::vector<CollectedMessage> posted, sent;
  for (const CollectedMessage& m : collector.messages())
    (m.message == vt::MSG_TRACE_HOP ? sent : posted).push_back(m);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].text, "10.0.0.1");
  EXPECT_EQ(sent[0].lParam, 7);
  ASSERT_EQ(posted.size(), 2u);
  EXPECT_EQ(posted[0].message, static_cast<UINT>(vt::MSG_DOWNLOAD_SAMPLE));
  EXPECT_EQ(posted[0].wParam, 1000u);
  EXPECT_EQ(posted[1].wParam, 900u);
  EXPECT_STREQ(vt::AppMessageName(posted[1].message), "MSG_DOWNLOAD_DONE");
}

TEST(MessageCollector, WaitGivesUpAfterItsBound) {
  MessageCollector collector;
  DWORD start = GetTickCount();
  EXPECT_FALSE(collector.WaitForMessage(vt::MSG_PING_DONE, 200));
  DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 190u);
  EXPECT_LT(elapsed, 2000u);
}
