#include <cstring>

#include "ui/Core/SkinValues.h"
#include "ui/layouts/HorizontalLayoutUI.h"
#include "ui/layouts/LayoutFlow.h"

const char* CHorizontalLayoutUI::GetClass() const { return "HorizontalLayoutUI"; }

void* CHorizontalLayoutUI::GetInterface(const char* name) {
  if (name && strcmp(name, "HorizontalLayout") == 0) return this;
  return CContainerUI::GetInterface(name);
}

void CHorizontalLayoutUI::ApplyAttribute(const char* name, const char* value) {
  if (!name || !value) return;
  if (strcmp(name, "sepwidth") == 0) {
    SetSeparator(vt::ParseInt(value), true);
  } else if (strcmp(name, "sepimm") == 0) {
    SetSeparatorImmediate(vt::ParseBool(value));
  } else {
    CContainerUI::ApplyAttribute(name, value);
  }
}

vt::SkinSize CHorizontalLayoutUI::PlaceContent(const RECT& view, vt::SkinSize pos, vt::SkinSize range) {
  CLayoutFlow flow(items_);
  vt::SkinSize needed =
      vt::FlowHorizontal(ToSkinRect(view), pos, range, childPadding_, flow.children, flow, flow.rects);
  for (size_t i = 0; i < flow.controls.size(); ++i)
    if (!flow.children[i].floating) flow.controls[i]->PlaceAt(ToRECT(flow.rects[i]));
  return needed;
}
