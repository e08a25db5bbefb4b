#include "ui/layouts/LayoutFlow.h"

CLayoutFlow::CLayoutFlow(const std::vector<CControlUI*>& items) {
  for (CControlUI* c : items) {
    if (!c->IsVisible()) continue;
    vt::LayoutChild lc;
    lc.floating = c->IsFloat();
    lc.padding = ToSkinRect(c->GetPadding());
    lc.minWidth = c->GetMinWidth();
    lc.maxWidth = c->GetMaxWidth();
    lc.minHeight = c->GetMinHeight();
    lc.maxHeight = c->GetMaxHeight();
    lc.fixedWidth = c->GetFixedWidth();
    lc.fixedHeight = c->GetFixedHeight();
    controls.push_back(c);
    children.push_back(lc);
  }
}

vt::SkinSize CLayoutFlow::Desired(int index, vt::SkinSize available) {
  SIZE s = controls[static_cast<size_t>(index)]->DesiredSize({available.cx, available.cy});
  return {s.cx, s.cy};
}
