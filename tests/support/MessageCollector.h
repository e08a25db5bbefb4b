// A message-only window on the test's thread that records what an engine
// posts or sends to it. Sent messages are handled while the test pumps, so a
// test must pump (WaitFor) for a sending engine to make progress.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct CollectedMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  std::string text;  // for messages whose wParam points to a text: a copy taken in the handler
};

class MessageCollector {
 public:
  // textMessages: messages whose wParam (or, for textInLParam, lParam) points
  // to a zero-ended text that is valid only during the call.
  explicit MessageCollector(std::vector<UINT> textMessages = {});
  ~MessageCollector();
  MessageCollector(const MessageCollector&) = delete;
  MessageCollector& operator=(const MessageCollector&) = delete;

  HWND hwnd() const { return hwnd_; }
  const std::vector<CollectedMessage>& messages() const { return messages_; }
  size_t Count(UINT message) const;

  // Pumps messages until done() holds or timeoutMs passes; returns done().
  bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs);
  // Pumps until a message of this kind has arrived (count times in all).
  bool WaitForMessage(UINT message, DWORD timeoutMs, size_t count = 1);
  void Clear() { messages_.clear(); }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
  std::vector<UINT> textMessages_;
  std::vector<CollectedMessage> messages_;
};
