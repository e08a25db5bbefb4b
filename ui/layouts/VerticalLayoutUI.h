// CVerticalLayoutUI (tag "VerticalLayout"): children one below the other
// (LayoutMath.h). Its scroll bars are the container's: the vertical one
// scrolls the flow, the horizontal one children wider than the view.
#pragma once

#include "ui/layouts/ContainerUI.h"

class CVerticalLayoutUI : public CContainerUI {
 public:
  const char* GetClass() const override;          // "VerticalLayoutUI"
  void* GetInterface(const char* name) override;  // "VerticalLayout"
  void ApplyAttribute(const char* name, const char* value) override;

 protected:
  vt::SkinSize PlaceContent(const RECT& view, vt::SkinSize pos, vt::SkinSize range) override;
};
