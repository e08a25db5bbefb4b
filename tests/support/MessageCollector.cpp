#include "tests/support/MessageCollector.h"

#include <algorithm>

namespace {
const char kClass[] = "VeltraneTestCollector";
}

MessageCollector::MessageCollector(std::vector<UINT> textMessages) : textMessages_(std::move(textMessages)) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kClass;
  RegisterClassA(&wc);  // a second registration fails harmlessly
  hwnd_ = CreateWindowExA(0, kClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

MessageCollector::~MessageCollector() {
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT CALLBACK MessageCollector::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<MessageCollector*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self && msg >= WM_USER) {
    CollectedMessage m{msg, wp, lp, {}};
    if (std::find(self->textMessages_.begin(), self->textMessages_.end(), msg) != self->textMessages_.end() && wp)
      m.text = reinterpret_cast<const char*>(wp);
    self->messages_.push_back(m);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

size_t MessageCollector::Count(UINT message) const {
  return static_cast<size_t>(std::count_if(messages_.begin(), messages_.end(),
                                           [message](const CollectedMessage& m) { return m.message == message; }));
}

bool MessageCollector::WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (!done()) {
    DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) return done();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(timeoutMs - elapsed, 50), QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  return true;
}

bool MessageCollector::WaitForMessage(UINT message, DWORD timeoutMs, size_t count) {
  return WaitFor([&] { return Count(message) >= count; }, timeoutMs);
}
