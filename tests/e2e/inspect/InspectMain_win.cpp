// veltrane-inspect.exe: veltrane.exe (the same RunVeltrane, resources and
// skin) plus a read-only inspection channel for the end-to-end test, which
// drives the window with real input events and reads back what the window
// shows: window titles and message-box texts, and each skinned control's
// text, state and place on the screen, by name.
//
// The channel is a loopback TCP port (VT_INSPECT_PORT), one request per line,
// one JSON reply per line (texts in the system code page, as the console's
// JSON lines), read on the window thread. It exists only in this
// test build: veltrane.exe links none of this file's code.
//
// The one difference in behaviour: a report document or the local report
// page is recorded (the channel's "opened" request) instead of handed to the
// shell, since the test machines have no browser; the test fetches the
// address or reads the file itself.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <process.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "app/mainframe/UIFrame_win.h"
#include "cli/JsonLine.h"
#include "app/startup/VeltraneApp_win.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/ControlUI.h"
#include "ui/controls/DialUI.h"
#include "ui/controls/OptionUI.h"
#include "ui/controls/ProgressUI.h"
#include "ui/controls/TextUI.h"
#include "ui/layouts/TabLayoutUI.h"

std::vector<CUIManager*>& ProcessManagers();

namespace {

constexpr UINT kInspectMessage = WM_APP + 0x3A7;
constexpr size_t kMaxRequest = 1024;
HWND g_inspectWindow = nullptr;
std::mutex g_openedLock;
std::vector<std::string> g_opened;

const char* Bool(bool b) { return b ? "true" : "false"; }

std::string Rect(RECT r) {
  char text[80];
  snprintf(text, sizeof text, "[%ld,%ld,%ld,%ld]", r.left, r.top, r.right, r.bottom);
  return text;
}

std::string WindowText(HWND hwnd) {
  char text[512] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

std::string ClassName(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

CUIManager* ManagerOf(HWND hwnd) {
  for (CUIManager* m : ProcessManagers())
    if (m->GetPaintWindow() == hwnd) return m;
  return nullptr;
}

// A control as JSON: its place in screen coordinates, its text, and the
// state of the kinds that have one; with its children when deep.
std::string ControlJson(HWND hwnd, CControlUI* c, bool deep) {
  RECT r = c->GetPos();
  POINT tl = {r.left, r.top}, br = {r.right, r.bottom};
  ClientToScreen(hwnd, &tl);
  ClientToScreen(hwnd, &br);
  vt::JsonObject out;
  out.Add("name", c->GetName().GetData())
      .Add("class", c->GetClass())
      .Add("text", c->GetText().GetData())
      .AddRaw("visible", Bool(c->IsVisible()))
      .AddRaw("enabled", Bool(c->IsEnabled()))
      .AddRaw("rect", Rect(RECT{tl.x, tl.y, br.x, br.y}));
  if (auto* dial = static_cast<CDialUI*>(c->GetInterface("Dial"))) out.Add("angle", dial->GetAngle(), 4);
  if (auto* progress = static_cast<CProgressUI*>(c->GetInterface("Progress")))
    out.Add("value", static_cast<int64_t>(progress->GetValue()));
  if (auto* option = static_cast<COptionUI*>(c->GetInterface("Option"))) out.AddRaw("selected", Bool(option->IsSelected()));
  if (auto* tabs = static_cast<CTabLayoutUI*>(c->GetInterface("TabLayout")))
    out.Add("cursel", static_cast<int64_t>(tabs->GetCurSel()));
  if (auto* text = static_cast<CTextUI*>(c->GetInterface("Text"))) {
    // The links of the last paint, on the screen, with their targets.
    std::string links = "[";
    for (int i = 0; i < text->GetLinkCount(); ++i) {
      RECT l = text->GetLinkRect(i);
      POINT a = {l.left, l.top}, b = {l.right, l.bottom};
      ClientToScreen(hwnd, &a);
      ClientToScreen(hwnd, &b);
      vt::JsonObject link;
      link.Add("target", text->GetLinkTarget(i).GetData()).AddRaw("rect", Rect(RECT{a.x, a.y, b.x, b.y}));
      links += (i ? "," : "") + link.Str();
    }
    out.AddRaw("links", links + "]");
  }
  auto* box = deep ? static_cast<IContainerUI*>(c->GetInterface("IContainer")) : nullptr;
  if (box) {
    std::string children = "[";
    for (int i = 0; i < box->GetCount(); ++i) children += (i ? "," : "") + ControlJson(hwnd, box->ChildAt(i), true);
    out.AddRaw("children", children + "]");
  }
  return out.Str();
}

struct EnumState {
  DWORD pid;
  std::string out;
};

BOOL CALLBACK AddChild(HWND child, LPARAM param) {
  auto* out = reinterpret_cast<std::string*>(param);
  RECT r;
  GetWindowRect(child, &r);
  if (out->back() != '[') *out += ",";
  *out += vt::JsonObject()
              .Add("class", ClassName(child).c_str())
              .Add("id", static_cast<int64_t>(GetDlgCtrlID(child)))
              .Add("text", WindowText(child).c_str())
              .AddRaw("visible", Bool(IsWindowVisible(child)))
              .AddRaw("rect", Rect(r))
              .Str();
  return TRUE;
}

// Every top-level window of this process: title, class, place, whether the
// toolkit paints it, and for plain windows (message boxes) their child
// controls, so the message text and the buttons can be read.
BOOL CALLBACK AddWindow(HWND hwnd, LPARAM param) {
  auto* state = reinterpret_cast<EnumState*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != state->pid || hwnd == g_inspectWindow) return TRUE;
  RECT r;
  GetWindowRect(hwnd, &r);
  RECT client;
  GetClientRect(hwnd, &client);
  POINT origin = {0, 0};
  ClientToScreen(hwnd, &origin);
  std::string children = "[";
  EnumChildWindows(hwnd, AddChild, reinterpret_cast<LPARAM>(&children));
  if (state->out.back() != '[') state->out += ",";
  state->out += vt::JsonObject()
                    .Add("hwnd", static_cast<int64_t>(reinterpret_cast<uintptr_t>(hwnd)))
                    .Add("class", ClassName(hwnd).c_str())
                    .Add("title", WindowText(hwnd).c_str())
                    .AddRaw("visible", Bool(IsWindowVisible(hwnd)))
                    .AddRaw("enabled", Bool(IsWindowEnabled(hwnd)))
                    .AddRaw("rect", Rect(r))
                    .AddRaw("client", Rect(RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom}))
                    .AddRaw("skinned", Bool(ManagerOf(hwnd)))
                    .AddRaw("children", children + "]")
                    .Str();
  return TRUE;
}

// Runs on the window thread. Requests:
//   windows                      every top-level window of the process
//   control <hwnd> <name>        one skinned control by name
//   tree <hwnd> <name>           a control with all its descendants
//   opened                       report documents and local pages the window opened
std::string Answer(const std::string& request) {
  if (request == "windows") {
    EnumState state{GetCurrentProcessId(), "["};
    EnumWindows(AddWindow, reinterpret_cast<LPARAM>(&state));
    return state.out + "]";
  }
  if (request == "opened") {
    std::lock_guard<std::mutex> hold(g_openedLock);
    std::string out = "[";
    for (size_t i = 0; i < g_opened.size(); ++i) {
      if (i) out += ",";
      vt::AppendJsonString(out, g_opened[i].c_str());
    }
    return out + "]";
  }
  unsigned long long handle = 0;
  char verb[16] = {};
  int used = 0;
  if (sscanf(request.c_str(), "%15s %llu %n", verb, &handle, &used) >= 2 && used > 0) {
    std::string kind = verb;
    if (kind != "control" && kind != "tree") return "{\"error\":\"unknown request\"}";
    HWND hwnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(handle));
    CUIManager* manager = ManagerOf(hwnd);
    if (!manager) return "{\"error\":\"no skinned window with that handle\"}";
    std::string name = request.substr(static_cast<size_t>(used));
    CControlUI* c = manager->FindControlByName(name.c_str());
    if (!c) return "{\"error\":\"no control of that name\"}";
    return ControlJson(hwnd, c, kind == "tree");
  }
  return "{\"error\":\"unknown request\"}";
}

struct Exchange {
  std::string request;
  std::string reply;
};

LRESULT CALLBACK InspectProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kInspectMessage) {
    auto* exchange = reinterpret_cast<Exchange*>(lParam);
    exchange->reply = Answer(exchange->request);
    return 1;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool SendAll(SOCKET s, const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    int n = send(s, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

void Serve(SOCKET client) {
  std::string pending;
  char buffer[512];
  for (;;) {
    size_t eol = pending.find('\n');
    if (eol == std::string::npos) {
      if (pending.size() > kMaxRequest) return;
      int n = recv(client, buffer, sizeof buffer, 0);
      if (n <= 0) return;
      pending.append(buffer, static_cast<size_t>(n));
      continue;
    }
    Exchange exchange;
    exchange.request = pending.substr(0, eol);
    pending.erase(0, eol + 1);
    if (!exchange.request.empty() && exchange.request.back() == '\r') exchange.request.pop_back();
    DWORD_PTR result = 0;
    // The window thread answers between messages; while it is busy (a
    // blocking exchange on the window thread) the caller hears so and asks
    // again.
    if (!SendMessageTimeoutW(g_inspectWindow, kInspectMessage, 0, reinterpret_cast<LPARAM>(&exchange), SMTO_NORMAL,
                             2000, &result))
      exchange.reply = "{\"busy\":true}";
    if (!SendAll(client, exchange.reply + "\n")) return;
  }
}

unsigned __stdcall Listen(void* param) {
  auto listener = static_cast<SOCKET>(reinterpret_cast<uintptr_t>(param));
  for (;;) {
    SOCKET client = accept(listener, nullptr, nullptr);
    if (client == INVALID_SOCKET) return 0;
    Serve(client);
    closesocket(client);
  }
}

void StartInspection() {
  const char* port = getenv("VT_INSPECT_PORT");
  if (!port || !*port) return;
  WNDCLASSW wc = {};
  wc.lpfnWndProc = InspectProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"VeltraneInspect";
  RegisterClassW(&wc);
  g_inspectWindow = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                    nullptr);
  WSADATA wsa;
  if (!g_inspectWindow || WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return;
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr = {};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<u_short>(atoi(port)));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (listener == INVALID_SOCKET || bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      listen(listener, 4) != 0) {
    fprintf(stderr, "inspection: cannot listen on 127.0.0.1:%s\n", port);
    return;
  }
  uintptr_t thread = _beginthreadex(nullptr, 0, Listen, reinterpret_cast<void*>(static_cast<uintptr_t>(listener)), 0,
                                    nullptr);
  if (thread) CloseHandle(reinterpret_cast<HANDLE>(thread));
}

void RecordOpened(const char* address) {
  std::lock_guard<std::mutex> hold(g_openedLock);
  g_opened.push_back(address ? address : "");
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  StartInspection();
  UIFrame::SetOpenDocumentHook(RecordOpened);
  return RunVeltrane(instance);
}
