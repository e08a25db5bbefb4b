// CUIManager: the control tree, the name map, notifications, filters and
// releasing controls.
#include <algorithm>
#include <cstring>

#include "ui/Core/UIManager.h"
#include "ui/Core/DpiAwareness.h"
#include "ui/controls/ControlUI.h"

namespace {

std::vector<CUIManager*>& Managers() {
  static std::vector<CUIManager*> managers;
  return managers;
}

template <typename T>
bool AddOnce(std::vector<T*>& list, T* item) {
  if (!item || std::find(list.begin(), list.end(), item) != list.end()) return false;
  list.push_back(item);
  return true;
}

template <typename T>
bool RemoveItem(std::vector<T*>& list, T* item) {
  auto it = std::find(list.begin(), list.end(), item);
  if (it == list.end()) return false;
  list.erase(it);
  return true;
}

}  // namespace

std::vector<CUIManager*>& ProcessManagers() { return Managers(); }
void InstallAnsiConverter();

CUIManager::CUIManager() {
  InstallAnsiConverter();
  // The default font: the system GUI font's description with the default
  // character set.
  LOGFONTA lf = {};
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
  lf.lfCharSet = DEFAULT_CHARSET;
  defaultFont_.font = CreateFontIndirectA(&lf);
  defaultFont_.face = lf.lfFaceName;
  defaultFont_.size = -lf.lfHeight;
  ownsDefaultFont_ = true;
}

CUIManager::~CUIManager() {
  for (TimerRecord& t : timers_) {
    if (!t.stopped && t.hwnd && IsWindow(t.hwnd)) KillTimer(t.hwnd, t.nativeId);
  }
  timers_.clear();
  // Deleting the tree releases every control; nothing may point at them after.
  CControlUI* root = root_;
  root_ = nullptr;
  delete root;
  for (CControlUI* c : delayedDelete_) delete c;
  delayedDelete_.clear();
  focus_ = hover_ = pressed_ = keyControl_ = nullptr;
  for (FontInfo& f : fonts_) {
    if (f.font) DeleteObject(f.font);
  }
  if (ownsDefaultFont_ && defaultFont_.font) DeleteObject(defaultFont_.font);
  for (auto& it : images_) CRenderEngine::FreeImage(it.second);
  if (tooltip_) DestroyWindow(tooltip_);
  DropOffscreen();
  DropBackdrop();
  if (paintDc_ && hwnd_) ReleaseDC(hwnd_, paintDc_);
  RemoveItem(Managers(), this);
}

void CUIManager::Init(HWND hwnd) {
  hwnd_ = hwnd;
  if (paintDc_) ReleaseDC(hwnd_, paintDc_);
  paintDc_ = GetDC(hwnd);
  dpi_ = vt::DpiScale(vt::WindowDpi(hwnd));
  AddOnce(Managers(), this);
}

int CUIManager::ManagerCount() { return static_cast<int>(Managers().size()); }

bool CUIManager::AttachRoot(CControlUI* root) {
  if (!root) return false;
  SetFocusControl(nullptr);
  focus_ = hover_ = pressed_ = keyControl_ = nullptr;
  if (root_) {
    // The old tree may be running the code that replaces it: delete it later.
    root_->SetManager(nullptr, nullptr, false);
    AddDelayedDelete(root_);
  }
  root_ = root;
  names_.clear();
  optionGroups_.clear();
  InitControls(root_, nullptr);
  layoutNeeded_ = true;
  firstLayout_ = true;
  focusNeeded_ = true;
  root_->SetUpdateNeeded(true);
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
  return true;
}

bool CUIManager::InitControls(CControlUI* control, CControlUI* parent) {
  if (!control) return false;
  control->SetManager(this, parent ? parent : control->GetParent(), true);
  FillNameMap(control);
  return true;
}

void CUIManager::FillNameMap(CControlUI* control) {
  control->FindControl(
      [](CControlUI* c, void* self) -> CControlUI* {
        CUIManager* m = static_cast<CUIManager*>(self);
        const CUIString& name = c->GetName();
        if (!name.IsEmpty()) m->names_.emplace(std::string(name.GetData()), c);  // the first one keeps it
        return nullptr;
      },
      this, kFindAll);
}

CControlUI* CUIManager::FindControlByName(const char* name) const {
  if (!name) return nullptr;
  auto it = names_.find(name);
  return it == names_.end() ? nullptr : it->second;
}

CControlUI* CUIManager::ControlAt(POINT pt) const {
  if (!root_) return nullptr;
  return root_->FindControl([](CControlUI* c, void*) -> CControlUI* { return c; }, &pt,
                            kFindVisible | kFindHitTest | kFindTopFirst);
}

void CUIManager::ReleaseControl(CControlUI* control) {
  if (!control) return;
  control->FindControl(
      [](CControlUI* c, void* self) -> CControlUI* {
        static_cast<CUIManager*>(self)->ForgetControl(c);
        return nullptr;
      },
      this, kFindAll);
}

void CUIManager::ForgetControl(CControlUI* control) {
  if (!control) return;
  if (focus_ == control) focus_ = nullptr;
  if (hover_ == control) hover_ = nullptr;
  if (pressed_ == control) pressed_ = nullptr;
  if (keyControl_ == control) keyControl_ = nullptr;
  KillTimers(control);
  for (auto it = names_.begin(); it != names_.end();) {
    it = it->second == control ? names_.erase(it) : std::next(it);
  }
  for (auto& group : optionGroups_) RemoveItem(group.second, control);
  RemoveItem(postPaint_, control);
  for (UINotification& n : queued_) {
    if (n.sender == control) n.sender = nullptr;
  }
  if (root_ == control) root_ = nullptr;
}

void CUIManager::Invalidate(const RECT& rc) {
  if (!hwnd_) return;
  if (painting_) layoutDuringPaint_ = layoutDuringPaint_ || layoutNeeded_;
  InvalidateRect(hwnd_, &rc, FALSE);
}

bool CUIManager::AddPostPaint(CControlUI* control) { return AddOnce(postPaint_, control); }
bool CUIManager::RemovePostPaint(CControlUI* control) { return RemoveItem(postPaint_, control); }

bool CUIManager::AddDelayedDelete(CControlUI* root) {
  if (!AddOnce(delayedDelete_, root)) return false;
  if (hwnd_) PostMessageA(hwnd_, kMsgDelayedDelete, 0, 0);
  return true;
}

void CUIManager::AddOptionGroup(const char* group, CControlUI* control) {
  if (!group || !*group || !control) return;
  std::vector<CControlUI*>& members = optionGroups_[group];
  AddOnce(members, control);
}

const std::vector<CControlUI*>* CUIManager::GetOptionGroup(const char* group) const {
  auto it = optionGroups_.find(group ? group : "");
  return it == optionGroups_.end() ? nullptr : &it->second;
}

SIZE CUIManager::GetClientSize() const {
  RECT rc = {0, 0, 0, 0};
  if (hwnd_) GetClientRect(hwnd_, &rc);
  return {rc.right - rc.left, rc.bottom - rc.top};
}

// ---- notifications ----

void CUIManager::SendNotification(CControlUI* sender, const char* type, WPARAM wParam, LPARAM lParam,
                                  bool queued) {
  if (!sender || !sender->GetManager()) return;  // controls without a manager send nothing
  UINotification msg;
  msg.type = type;
  msg.sender = sender;
  msg.timestamp = GetTickCount();
  msg.mousePoint = lastMouse_;
  msg.wParam = wParam;
  msg.lParam = lParam;
  if (usesVirtualWnd_) msg.virtualWindow = sender->FindVirtualWnd();
  if (queued) {
    queued_.push_back(msg);
    return;
  }
  sender->NotifyListeners(msg);
  // A notifier may register or unregister notifiers: walk a snapshot.
  std::vector<INotifyUI*> notifiers = notifiers_;
  for (INotifyUI* n : notifiers) {
    if (std::find(notifiers_.begin(), notifiers_.end(), n) != notifiers_.end()) n->OnNotification(msg);
  }
}

void CUIManager::DeliverQueuedNotifications() {
  while (!queued_.empty()) {
    UINotification msg = queued_.front();
    queued_.erase(queued_.begin());
    std::vector<INotifyUI*> notifiers = notifiers_;
    for (INotifyUI* n : notifiers) n->OnNotification(msg);
  }
}

bool CUIManager::RegisterNotifier(INotifyUI* n) { return AddOnce(notifiers_, n); }
bool CUIManager::UnregisterNotifier(INotifyUI* n) { return RemoveItem(notifiers_, n); }
bool CUIManager::RegisterPreFilter(IMessageFilterUI* f) { return AddOnce(preFilters_, f); }
bool CUIManager::UnregisterPreFilter(IMessageFilterUI* f) { return RemoveItem(preFilters_, f); }
bool CUIManager::RegisterFilter(IMessageFilterUI* f) { return AddOnce(filters_, f); }
bool CUIManager::UnregisterFilter(IMessageFilterUI* f) { return RemoveItem(filters_, f); }

UIEvent CUIManager::MakeEvent(UIEventKind kind, CControlUI* sender, WPARAM wParam, LPARAM lParam) const {
  UIEvent e;
  e.kind = kind;
  e.sender = sender;
  e.timestamp = GetTickCount();
  e.mousePoint = lastMouse_;
  e.keyState = KeyState();
  e.wParam = wParam;
  e.lParam = lParam;
  return e;
}

uint16_t CUIManager::KeyState() {
  uint16_t s = 0;
  if (GetKeyState(VK_CONTROL) < 0) s |= kKeyStateControl;
  if (GetKeyState(VK_SHIFT) < 0) s |= kKeyStateShift;
  if (GetKeyState(VK_LBUTTON) < 0) s |= kKeyStateLButton;
  if (GetKeyState(VK_RBUTTON) < 0) s |= kKeyStateRButton;
  if (GetKeyState(VK_MENU) < 0) s |= kKeyStateAlt;
  return s;
}
