// CTabLayoutUI (tag "TabLayout"): a stack of pages of which only the
// current one is shown and placed. The first visible page added becomes
// current; SelectItem changes it and sends "tabselect" (new, old).
#pragma once

#include "ui/layouts/ContainerUI.h"

class CTabLayoutUI : public CContainerUI {
 public:
  const char* GetClass() const override;          // "TabLayoutUI"
  void* GetInterface(const char* name) override;  // "TabLayout"
  void ApplyAttribute(const char* name, const char* value) override;
  bool Add(CControlUI* control) override;
  bool InsertAt(CControlUI* control, int index) override;
  bool RemoveChildAt(int index) override;
  void RemoveAll() override;

  int GetCurSel() const { return current_; }
  // False for an index out of range; true without change for the current one.
  bool SelectItem(int index);

 protected:
  vt::SkinSize PlaceContent(const RECT& view, vt::SkinSize pos, vt::SkinSize range) override;

 private:
  void ShowOnly(int index);

  int current_ = -1;
};
