#include "ui/Core/NotifyPump.h"

#include <cstring>

namespace {
std::string Lower(const char* text) {
  std::string s(text ? text : "");
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}
}  // namespace

bool CNotifyPump::AddVirtualWnd(const char* name, CNotifyPump* pump) {
  if (!name || !*name || !pump) return false;
  return virtualWnds_.emplace(Lower(name), pump).second;
}

bool CNotifyPump::RemoveVirtualWnd(const char* name) { return virtualWnds_.erase(Lower(name)) > 0; }

bool CNotifyPump::LoopDispatch(UINotification& msg) {
  for (const NotifyMap* map = GetNotifyMap(); map; map = map->base) {
    const NotifyMapEntry* exact = nullptr;
    const NotifyMapEntry* any = nullptr;
    for (const NotifyMapEntry* e = map->entries; e && e->kind != kEnd; ++e) {
      if (msg.type != e->type) continue;
      if (msg.virtualWindow == e->virtualWindow) {
        exact = e;
        break;
      }
      if (!any && e->virtualWindow[0] == '\0') any = e;
    }
    const NotifyMapEntry* found = exact ? exact : any;
    if (!found) continue;
    if (found->kind == kRecord) {
      (this->*(found->onRecord))(msg);
    } else {
      (this->*(found->onValues))(msg.wParam, msg.lParam);
    }
    return true;
  }
  return false;
}

void CNotifyPump::NotifyPump(UINotification& msg) {
  if (!msg.virtualWindow.IsEmpty()) {
    auto it = virtualWnds_.find(Lower(msg.virtualWindow));
    if (it != virtualWnds_.end() && it->second->LoopDispatch(msg)) return;
  }
  LoopDispatch(msg);
}
