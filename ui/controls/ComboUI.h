// CComboUI (tag "Combo"): shows the selected item's text; a click opens a
// pop-up (CComboWnd) listing the items' texts and sends "dropdown";
// choosing an item selects it and sends "itemselect" (new, old). The items
// are its children but are drawn only in the pop-up.
#pragma once

#include "ui/controls/ListUI.h"
#include "ui/layouts/ContainerUI.h"

class CComboWnd;

class CComboUI : public CContainerUI, public IListOwnerUI {
 public:
  ~CComboUI() override;
  const char* GetClass() const override;          // "ComboUI"
  void* GetInterface(const char* name) override;  // "Combo", "IListOwner"
  unsigned GetControlFlags() const override;
  bool Activate() override;
  void ApplyAttribute(const char* name, const char* value) override;
  void DoEvent(UIEvent& event) override;
  void PlaceAt(const RECT& rc) override;
  void DoPaint(HDC dc, const RECT& paint) override;
  void PaintStatusImage(HDC dc) override;
  void PaintText(HDC dc) override;
  CControlUI* FindControl(FindControlProc proc, void* data, unsigned flags) override;
  bool InsertAt(CControlUI* control, int index) override;
  CUIString GetText() const override;  // the selected item's text

  // IListOwnerUI
  ListInfo* GetListInfo() override { return &info_; }
  int GetCurSel() const override { return selected_; }
  bool SelectItem(int index, bool takeFocus = false) override;

  SIZE GetDropBoxSize() const { return dropBoxSize_; }
  const CUIString& GetDropBox() const { return dropBox_; }  // the "dropbox" attribute string
  HWND GetDropWindow() const;
  void CloseDropDown();

 private:
  friend class CComboWnd;
  CComboWnd* drop_ = nullptr;
  ListInfo info_;
  int selected_ = -1;
  RECT textPadding_ = {0, 0, 0, 0};
  SIZE dropBoxSize_ = {0, 150};
  CUIString dropBox_;
  CUIString normalImage_, hotImage_, pushedImage_, focusedImage_, disabledImage_;
  bool hot_ = false, captured_ = false;
};
