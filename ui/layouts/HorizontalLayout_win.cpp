#include <cstring>

#include "ui/layouts/HorizontalLayoutUI.h"
#include "ui/layouts/LayoutFlow.h"

const char* CHorizontalLayoutUI::GetClass() const { return "HorizontalLayoutUI"; }

void* CHorizontalLayoutUI::GetInterface(const char* name) {
  if (name && strcmp(name, "HorizontalLayout") == 0) return this;
  return CContainerUI::GetInterface(name);
}

void CHorizontalLayoutUI::ApplyAttribute(const char* name, const char* value) {
  if (!name || !value) return;
  if (strcmp(name, "sepwidth") == 0 || strcmp(name, "sepimm") == 0) return;  // no separator band
  CContainerUI::ApplyAttribute(name, value);
}

void CHorizontalLayoutUI::PlaceAt(const RECT& rc) {
  CControlUI::PlaceAt(rc);
  CLayoutFlow flow(items_);
  vt::SkinRect r = ToSkinRect(InsetArea());
  vt::LayoutHorizontal(r, {r.Width(), r.Height()}, 0, childPadding_, flow.children, flow, flow.rects);
  for (size_t i = 0; i < flow.controls.size(); ++i) {
    if (flow.children[i].floating) {
      PlaceFloating(flow.controls[i]);
    } else {
      flow.controls[i]->PlaceAt(ToRECT(flow.rects[i]));
    }
  }
}
