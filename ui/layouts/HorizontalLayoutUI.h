// CHorizontalLayoutUI (tag "HorizontalLayout"): children side by side
// (LayoutMath.h). Its scroll bars are the container's: the horizontal one
// scrolls the flow, the vertical one children taller than the view.
#pragma once

#include "ui/layouts/ContainerUI.h"

class CHorizontalLayoutUI : public CContainerUI {
 public:
  const char* GetClass() const override;          // "HorizontalLayoutUI"
  void* GetInterface(const char* name) override;  // "HorizontalLayout"
  void ApplyAttribute(const char* name, const char* value) override;

 protected:
  vt::SkinSize PlaceContent(const RECT& view, vt::SkinSize pos, vt::SkinSize range) override;
};
