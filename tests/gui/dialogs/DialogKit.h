// Helpers of the dialog tests: the product skin, clicks on named controls,
// recorded message boxes and a child run of this test executable for the
// paths that end the process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/Core/WindowImplBase.h"

namespace dialogtest {

// Instance and skin path as the entry point sets them.
void SetUpToolkit();

CControlUI* Find(WindowImplBase& window, const char* name);
std::string Text(WindowImplBase& window, const char* name);
// A click in the middle of the named control, through the window's input.
void ClickControl(WindowImplBase& window, const char* name);

// RunModal, but a window still open after limitMs is closed with result
// kOverdue, so a failing test ends instead of waiting for ever.
constexpr UINT kOverdue = 99;
UINT RunModalBounded(CWindowWnd& window, DWORD limitMs = 10000);
// The same guard for a modal loop the test does not run itself; KillTimer(nullptr, id) ends it.
UINT_PTR StartOverdueGuard(DWORD limitMs = 10000);

struct RecordedBox {
  HWND owner;
  std::string text;
  std::string caption;
  UINT flags;
};
// Installs a message box hook that records each box and answers IDOK; also
// prints "BOX <caption>|<text>" on standard output for a parent process.
void RecordBoxes();
const std::vector<RecordedBox>& Boxes();

struct ChildRun {
  bool started = false;
  bool ended = false;
  DWORD exitCode = 0;
  std::string output;
};
// Runs this executable again with only `test` selected and VT_DIALOG_CHILD
// set to scenario; waits at most timeoutMs.
ChildRun RunChild(const char* test, const char* scenario, DWORD timeoutMs = 60000);
// The scenario this process runs as a child, or "" in the parent.
std::string ChildScenario();

}  // namespace dialogtest
