// WindowImplBase: message routing, layout loading, notifications, keys.
#include "ui/Core/WindowImplBase.h"

#include <cstdlib>
#include <cstring>

#include "ui/Core/SkinBuilder.h"
#include "ui/Core/SkinFiles.h"
#include "ui/controls/ControlUI.h"

namespace {

void ShowFatalBox(const char* text, const char* caption, UINT flags) {
  MessageBoxA(nullptr, text, caption, flags);
}

WindowImplBase::FatalBoxHook g_fatalBox = ShowFatalBox;

// The bytes of the archive resource: copied once, shared by every window,
// never freed (the archive reads from them for the life of the process).
std::vector<char>& ArchiveBytes() {
  static std::vector<char>* bytes = new std::vector<char>;
  return *bytes;
}

}  // namespace

void WindowImplBase::SetFatalBoxHook(FatalBoxHook hook) { g_fatalBox = hook ? hook : ShowFatalBox; }

const WindowImplBase::RouteEntry WindowImplBase::kRoutes[] = {
    {WM_CLOSE, &WindowImplBase::OnClose},
    {WM_DESTROY, &WindowImplBase::OnDestroy},
    {WM_NCACTIVATE, &WindowImplBase::OnNcActivate},
    {WM_NCCALCSIZE, &WindowImplBase::OnNcCalcSize},
    {WM_NCPAINT, &WindowImplBase::OnNcPaint},
    {WM_NCHITTEST, &WindowImplBase::OnNcHitTest},
    {WM_GETMINMAXINFO, &WindowImplBase::OnGetMinMaxInfo},
    {WM_MOUSEWHEEL, &WindowImplBase::OnMouseWheel},
    {WM_SIZE, &WindowImplBase::OnSize},
    {WM_CHAR, &WindowImplBase::OnChar},
    {WM_SYSCOMMAND, &WindowImplBase::OnSysCommand},
    {WM_CREATE, &WindowImplBase::OnCreate},
    {WM_KEYDOWN, &WindowImplBase::OnKeyDown},
    {WM_KILLFOCUS, &WindowImplBase::OnKillFocus},
    {WM_SETFOCUS, &WindowImplBase::OnSetFocus},
    {WM_LBUTTONDOWN, &WindowImplBase::OnLButtonDown},
    {WM_LBUTTONUP, &WindowImplBase::OnLButtonUp},
    {WM_MOUSEMOVE, &WindowImplBase::OnMouseMove},
    {WM_MOUSEHOVER, &WindowImplBase::OnMouseHover},
};

const CNotifyPump::NotifyMapEntry WindowImplBase::kEntries[] = {
    CNotifyPump::OnRecord("click", "", &WindowImplBase::OnClickNotify),
    CNotifyPump::End(),
};
const CNotifyPump::NotifyMap WindowImplBase::kMap = {nullptr, WindowImplBase::kEntries};

LRESULT WindowImplBase::RouteMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  bool handled = true;
  LRESULT result = 0;
  bool routed = false;
  for (const RouteEntry& e : kRoutes) {
    if (e.msg == msg) {
      result = (this->*e.handler)(msg, wParam, lParam, handled);
      routed = true;
      break;
    }
  }
  if (!routed) handled = false;
  if (handled) return result;
  handled = false;
  result = HandleAppMessage(msg, wParam, lParam, handled);
  if (handled) return result;
  if (manager_.MessageHandler(msg, wParam, lParam, result)) return result;
  return CallPreviousProc(msg, wParam, lParam);
}

void WindowImplBase::OnWindowDestroyed() {
  manager_.UnregisterPreFilter(this);
  manager_.UnregisterNotifier(this);
  manager_.ReleaseControl(manager_.GetRoot());
}

void WindowImplBase::OnNotification(UINotification& msg) { NotifyPump(msg); }

LRESULT WindowImplBase::FilterMessage(UINT msg, WPARAM wParam, LPARAM, bool& handled) {
  if (msg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) return OnDefaultKey(wParam, handled);
  return 0;
}

LRESULT WindowImplBase::OnDefaultKey(WPARAM key, bool& handled) {
  if (key == VK_ESCAPE) {
    CloseWnd(1);
    handled = true;
  }
  return 0;
}

CControlUI* WindowImplBase::CreateControl(const char*) { return nullptr; }

void WindowImplBase::OnClickNotify(UINotification& msg) {
  if (!msg.sender) return;
  const CUIString& name = msg.sender->GetName();
  if (name == "closebtn") CloseWnd(1);
  else if (name == "minbtn") SendMessageA(hwnd_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  else if (name == "maxbtn") SendMessageA(hwnd_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  else if (name == "restorebtn") SendMessageA(hwnd_, WM_SYSCOMMAND, SC_RESTORE, 0);
}

DWORD WindowImplBase::WindowStyle() const {
  return static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)) & ~static_cast<DWORD>(WS_CAPTION);
}

LRESULT WindowImplBase::HandleAppMessage(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

// ---- layout loading ----

bool WindowImplBase::LoadSkinArchive() {
  HINSTANCE instance = CUIManager::GetInstance();
  const char* id = SkinResourceId();
  int number = atoi(id ? id : "");
  HRSRC res = FindResourceA(instance, number > 0 ? MAKEINTRESOURCEA(number) : id, "ZIPRES");
  if (!res) return false;
  HGLOBAL global = LoadResource(instance, res);
  DWORD size = SizeofResource(instance, res);
  const char* bytes = global ? static_cast<const char*>(LockResource(global)) : nullptr;
  if (!bytes || size == 0) return false;
  // A second window keeps the archive the first one registered.
  if (vt::HasSkinArchiveInMemory()) return true;
  std::vector<char>& buffer = ArchiveBytes();
  buffer.assign(bytes, bytes + size);
  return CUIManager::SetSkinArchive(buffer.data(), buffer.size());
}

void WindowImplBase::FailLayout() {
  g_fatalBox("加载资源文件失败", "Veltrane", MB_ICONHAND);
  ExitProcess(1);
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, bool& handled) {
  handled = true;
  SetWindowLongA(hwnd_, GWL_STYLE, static_cast<LONG>(WindowStyle() | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
  RECT rc;
  GetClientRect(hwnd_, &rc);
  SetWindowPos(hwnd_, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  manager_.Init(hwnd_);
  manager_.RegisterPreFilter(this);
  CUIString path = CUIManager::ModuleDirectory();
  path += SkinFolder();
  CUIManager::SetSkinPath(path);

  switch (SkinSourceKind()) {
    case 2: CUIManager::SetSkinArchiveFile(SkinArchiveFile()); break;
    case 4:
      if (!LoadSkinArchive()) return 0;  // the window stays without layout
      break;
    default: break;
  }
  CSkinBuilder builder;
  CControlUI* root = SkinSourceKind() == 3
                         ? builder.Create(MAKEINTRESOURCEA(atoi(SkinFileName())), "xml", this, &manager_)
                         : builder.Create(SkinFileName(), nullptr, this, &manager_);
  if (!root) FailLayout();
  manager_.AttachRoot(root);
  manager_.RegisterNotifier(this);
  manager_.SetBackgroundTransparent(true);
  OnWindowReady();
  return 0;
}
