// CComboWnd: the pop-up list of a CComboUI, a frameless tool window under
// the combo that draws the items' texts in the list colours, highlights the
// row under the mouse and selects the one clicked. It closes when it loses
// activation, on Escape or after a choice, and deletes itself.
#pragma once

#include "ui/Core/WindowWnd.h"

class CComboUI;

class CComboWnd : public CWindowWnd {
 public:
  bool Open(CComboUI* owner);
  void Detach();
  int RowHeight() const;

 protected:
  const char* WindowClassName() const override { return "ComboWnd"; }
  UINT ClassStyle() const override { return CS_DBLCLKS; }
  LRESULT RouteMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnWindowDestroyed() override;

 private:
  void Paint();
  int RowAt(int y) const;
  void Choose(int row);

  CComboUI* owner_ = nullptr;
  int hot_ = -1;
};
