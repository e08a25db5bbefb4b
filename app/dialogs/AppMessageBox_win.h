// The message boxes of the start-up and of the windows go through one
// function, so a test can record each box and answer it instead of a person.
#pragma once

#include <windows.h>

namespace vt {

// Shows the box and returns the button chosen, as MessageBoxA does.
using MessageBoxHook = int (*)(HWND owner, const char* text, const char* caption, UINT flags);

// Installs a replacement for MessageBoxA; null puts MessageBoxA back.
void SetMessageBoxHook(MessageBoxHook hook);

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT flags);

}  // namespace vt
