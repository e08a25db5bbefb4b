#include "app/dialogs/AppMessageBox_win.h"

namespace vt {

namespace {
MessageBoxHook g_hook = nullptr;  // set and read on the UI thread only
}

void SetMessageBoxHook(MessageBoxHook hook) { g_hook = hook; }

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT flags) {
  if (g_hook) return g_hook(owner, text, caption, flags);
  return MessageBoxA(owner, text, caption, flags);
}

}  // namespace vt
