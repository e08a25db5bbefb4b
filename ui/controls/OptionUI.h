// COptionUI (tag "Option"): a button that is selected or not. Options of
// one group in one window are exclusive: selecting one clears the others
// (they send nothing) and sends "selectchanged"; without a group every
// change sends it. A click sends "click", then selects (grouped) or toggles.
// An option never shows its pressed state.
#pragma once

#include "ui/controls/ButtonUI.h"

class COptionUI : public CButtonUI {
 public:
  ~COptionUI() override;
  const char* GetClass() const override;          // "OptionUI"
  void* GetInterface(const char* name) override;  // "Option"
  void SetManager(CUIManager* manager, CControlUI* parent, bool init = true) override;
  bool Activate() override;
  void ApplyAttribute(const char* name, const char* value) override;
  void PaintStatusImage(HDC dc) override;

  bool IsSelected() const { return selected_; }
  void Selected(bool selected);
  const CUIString& GetGroup() const { return group_; }
  void SetGroup(const char* group);

 protected:
  uint32_t CurrentTextColor() const override;

 private:
  CUIString group_;
  bool selected_ = false;
  CUIString selectedImage_, selectedHotImage_;
  uint32_t selectedBkColor_ = 0, selectedTextColor_ = 0;
};
