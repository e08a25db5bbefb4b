// Process-wide toolkit state: module, skin path and archive, the list of
// managers, PreTranslate and the application message loop.
#include <algorithm>
#include <vector>

#include "ui/Core/SkinFiles.h"
#include "ui/Core/SkinXml.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/ControlUI.h"

std::vector<CUIManager*>& ProcessManagers();

namespace {

HINSTANCE g_instance = nullptr;

// Layout bytes to the ANSI code page (GBK on the customers' machines): UTF-8
// or UTF-16LE through UTF-16.
bool AnsiConvert(const char* bytes, size_t len, int encoding, std::vector<char>& out) {
  out.clear();
  if (len == 0) return true;
  if (len > CSkinXml::kMaxFileSize) return false;
  std::vector<wchar_t> wide;
  if (encoding == CSkinXml::kUtf16) {
    wide.assign(reinterpret_cast<const wchar_t*>(bytes), reinterpret_cast<const wchar_t*>(bytes) + len / 2);
  } else {
    int n = MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(len), nullptr, 0);
    if (n <= 0) return false;
    wide.resize(static_cast<size_t>(n));
    MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(len), wide.data(), n);
  }
  if (wide.empty()) return true;
  int m = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                              nullptr);
  if (m <= 0) return false;
  out.resize(static_cast<size_t>(m));
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), m, nullptr, nullptr);
  return true;
}

}  // namespace

void InstallAnsiConverter() { CSkinXml::SetConverter(AnsiConvert); }

void CUIManager::SetInstance(HINSTANCE instance) {
  g_instance = instance;
  InstallAnsiConverter();
}

HINSTANCE CUIManager::GetInstance() { return g_instance ? g_instance : GetModuleHandleA(nullptr); }

CUIString CUIManager::ModuleDirectory() {
  char path[MAX_PATH + 1] = {};
  DWORD n = GetModuleFileNameA(GetInstance(), path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return CUIString();
  // The directory ends at the last real '\' (a trail byte may be '\').
  size_t cut = 0;
  for (size_t pos = 0; pos < n;) {
    if (path[pos] == '\\' || path[pos] == '/') cut = pos + 1;
    pos += (IsDBCSLeadByte(static_cast<BYTE>(path[pos])) && pos + 1 < n) ? 2 : 1;
  }
  return CUIString(path, cut);
}

void CUIManager::SetSkinPath(const char* path) { vt::SetSkinPath(path); }
const char* CUIManager::GetSkinPath() { return vt::GetSkinPath(); }
bool CUIManager::SetSkinArchive(const void* bytes, size_t len) {
  return vt::SetSkinArchiveMemory(bytes, len);
}
bool CUIManager::SetSkinArchiveFile(const char* path) {
  CUIString full(path);
  // A bare name is taken relative to the skin path.
  if (path && path[0] && path[1] != ':' && path[0] != '\\' && path[0] != '/')
    full = CUIString(GetSkinPath()) + path;
  return vt::SetSkinArchiveFile(full);
}

bool CUIManager::PreTranslate(MSG* msg) {
  if (!msg) return false;
  // The manager of the target window, or of its nearest ancestor with one.
  for (HWND wnd = msg->hwnd; wnd; wnd = GetParent(wnd)) {
    for (CUIManager* m : ProcessManagers()) {
      if (m->GetPaintWindow() != wnd) continue;
      LRESULT result = 0;
      return m->PreMessageHandler(msg->message, msg->wParam, msg->lParam, result);
    }
    if (!(GetWindowLongA(wnd, GWL_STYLE) & WS_CHILD)) break;
  }
  return false;
}

void CUIManager::RunMessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (PreTranslate(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);  // our code throws nothing; there is nothing to swallow
  }
}
