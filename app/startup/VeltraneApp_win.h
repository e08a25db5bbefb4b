// The client's whole run: the servers (veltrane.ini or --config FILE; a
// file that cannot be used ends the run with one message box and exit code
// 2), the version check (and, when a newer version is published and
// downloaded whole, the self-update, which ends the process), then the
// toolkit, the main window at screen size (its ready step runs the
// settings window), and the message loop until the main window's teardown
// posts the quit message. veltrane.exe's entry point is this call alone.
#pragma once

#include <windows.h>

int RunVeltrane(HINSTANCE instance);
