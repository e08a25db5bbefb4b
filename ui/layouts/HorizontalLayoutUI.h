// CHorizontalLayoutUI (tag "HorizontalLayout"): children side by side
// (LayoutMath.h).
#pragma once

#include "ui/layouts/ContainerUI.h"

class CHorizontalLayoutUI : public CContainerUI {
 public:
  const char* GetClass() const override;          // "HorizontalLayoutUI"
  void* GetInterface(const char* name) override;  // "HorizontalLayout"
  void ApplyAttribute(const char* name, const char* value) override;
  void PlaceAt(const RECT& rc) override;
};
