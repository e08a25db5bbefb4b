// CVerticalLayoutUI (tag "VerticalLayout"): children one below the other
// (LayoutMath.h), with an optional vertical scroll bar ("vscrollbar") that
// first takes the default attributes registered for "VScrollBar", then
// "vscrollbarstyle". The mouse wheel scrolls by three lines.
#pragma once

#include "ui/layouts/ContainerUI.h"
#include "ui/layouts/LayoutMath.h"

class CScrollBarUI;

class CVerticalLayoutUI : public CContainerUI {
 public:
  ~CVerticalLayoutUI() override;
  const char* GetClass() const override;          // "VerticalLayoutUI"
  void* GetInterface(const char* name) override;  // "VerticalLayout"
  void ApplyAttribute(const char* name, const char* value) override;
  void SetManager(CUIManager* manager, CControlUI* parent, bool init = true) override;
  void ApplyDpi() override;  // its scroll bar's too
  void PlaceAt(const RECT& rc) override;
  void DoPaint(HDC dc, const RECT& paint) override;
  void DoEvent(UIEvent& event) override;
  CControlUI* FindControl(FindControlProc proc, void* data, unsigned flags) override;

  void EnableScrollBar(bool vertical);
  CScrollBarUI* GetVerticalScrollBar() const { return vbar_; }
  int GetScrollPos() const { return scroll_.pos; }
  void SetScrollPos(int pos);
  // Scrolls so that rc (a child's rectangle) is inside the view.
  void ScrollIntoView(const RECT& rc);

 protected:
  // The area children are placed in: the item rectangle minus the inset.
  virtual RECT FlowArea() const { return InsetArea(); }
  void ApplyBarDefaults();

  CScrollBarUI* vbar_ = nullptr;
  CUIString vbarStyle_;
  bool vbarDefaultsPending_ = false;  // made before the layout had a manager
  vt::ScrollState scroll_;
  int viewHeight_ = 0;
};
