#include <cstring>

#include "ui/Core/SkinValues.h"
#include "ui/layouts/LayoutFlow.h"
#include "ui/layouts/VerticalLayoutUI.h"

const char* CVerticalLayoutUI::GetClass() const { return "VerticalLayoutUI"; }

void* CVerticalLayoutUI::GetInterface(const char* name) {
  if (name && strcmp(name, "VerticalLayout") == 0) return this;
  return CContainerUI::GetInterface(name);
}

void CVerticalLayoutUI::ApplyAttribute(const char* name, const char* value) {
  if (!name || !value) return;
  if (strcmp(name, "sepheight") == 0) {
    SetSeparator(vt::ParseInt(value), false);
  } else if (strcmp(name, "sepimm") == 0) {
    SetSeparatorImmediate(vt::ParseBool(value));
  } else {
    CContainerUI::ApplyAttribute(name, value);
  }
}

vt::SkinSize CVerticalLayoutUI::PlaceContent(const RECT& view, vt::SkinSize pos, vt::SkinSize range) {
  CLayoutFlow flow(items_);
  vt::SkinSize needed =
      vt::FlowVertical(ToSkinRect(view), pos, range, childPadding_, flow.children, flow, flow.rects);
  for (size_t i = 0; i < flow.controls.size(); ++i)
    if (!flow.children[i].floating) flow.controls[i]->PlaceAt(ToRECT(flow.rects[i]));
  return needed;
}
