#include "tests/gui/dialogs/DialogKit.h"

#include <cstdio>
#include <cstdlib>

#include "app/dialogs/AppMessageBox_win.h"
#include "tests/support/SkinTestKit.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/ControlUI.h"

namespace dialogtest {

namespace {
std::vector<RecordedBox> g_boxes;

int RecordBox(HWND owner, const char* text, const char* caption, UINT flags) {
  g_boxes.push_back({owner, text ? text : "", caption ? caption : "", flags});
  printf("BOX %s|%s\n", caption ? caption : "", text ? text : "");
  fflush(stdout);
  return IDOK;
}
}  // namespace

void SetUpToolkit() {
  CUIManager::SetInstance(GetModuleHandleA(nullptr));
  CUIManager::SetSkinPath(CUIManager::ModuleDirectory().GetData());
}

CControlUI* Find(WindowImplBase& window, const char* name) { return window.GetManager().FindControlByName(name); }

std::string Text(WindowImplBase& window, const char* name) {
  CControlUI* c = Find(window, name);
  return c ? std::string(c->GetText().GetData()) : std::string("<no control>");
}

void ClickControl(WindowImplBase& window, const char* name) {
  CControlUI* c = Find(window, name);
  if (!c) return;
  // Controls are placed by the first paint after the window appears.
  if (IsRectEmpty(&c->GetPos())) {
    RedrawWindow(window.GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  const RECT& rc = c->GetPos();
  skintest::Click(window.GetHandle(), (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

namespace {
void CALLBACK Overdue(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  printf("modal loop overdue: closing it\n");
  fflush(stdout);
  for (const char* cls : {"SettingUI", "UserInfo"})
    if (HWND w = FindWindowA(cls, nullptr)) PostMessageA(w, WM_CLOSE, kOverdue, 0);
}
}  // namespace

UINT_PTR StartOverdueGuard(DWORD limitMs) { return SetTimer(nullptr, 0, limitMs, Overdue); }

UINT RunModalBounded(CWindowWnd& window, DWORD limitMs) {
  UINT_PTR guard = SetTimer(nullptr, 0, limitMs, Overdue);
  UINT result = window.RunModal();
  KillTimer(nullptr, guard);
  return result;
}

void RecordBoxes() {
  g_boxes.clear();
  vt::SetMessageBoxHook(RecordBox);
}

const std::vector<RecordedBox>& Boxes() { return g_boxes; }

std::string ChildScenario() {
  const char* s = getenv("VT_DIALOG_CHILD");
  return s ? s : "";
}

ChildRun RunChild(const char* test, const char* scenario, DWORD timeoutMs) {
  ChildRun run;
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string command = std::string("\"") + exe + "\" --gtest_filter=" + test;
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) return run;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION pi = {};
  SetEnvironmentVariableA("VT_DIALOG_CHILD", scenario);
  BOOL ok = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  SetEnvironmentVariableA("VT_DIALOG_CHILD", nullptr);
  CloseHandle(writeEnd);
  if (!ok) {
    CloseHandle(readEnd);
    return run;
  }
  run.started = true;
  // Read until the child and every holder of the pipe are gone, bounded.
  DWORD until = GetTickCount() + timeoutMs;
  char buffer[4096];
  for (;;) {
    DWORD avail = 0;
    if (!PeekNamedPipe(readEnd, nullptr, 0, nullptr, &avail, nullptr)) break;  // closed
    if (avail) {
      DWORD n = 0;
      if (!ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) || n == 0) break;
      run.output.append(buffer, n);
      continue;
    }
    if (WaitForSingleObject(pi.hProcess, 20) == WAIT_OBJECT_0) {
      // drain what is left
      while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &avail, nullptr) && avail) {
        DWORD n = 0;
        if (!ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) || n == 0) break;
        run.output.append(buffer, n);
      }
      break;
    }
    if (static_cast<LONG>(until - GetTickCount()) <= 0) break;
  }
  if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) {
    run.ended = true;
    GetExitCodeProcess(pi.hProcess, &run.exitCode);
  } else {
    TerminateProcess(pi.hProcess, 99);
  }
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  CloseHandle(readEnd);
  return run;
}

}  // namespace dialogtest
