// CComboWnd: the pop-up list of a CComboUI, a frameless tool window under
// the combo that draws the items' texts in the list colours, highlights the
// row under the mouse and selects the one clicked. The combo's "dropbox"
// attributes (DropBoxStyle.h) give it a background, a border, an inset and
// gaps between rows; rows that overflow "dropboxsize" scroll with the mouse
// wheel (and show a thumb with "vscrollbar"). It closes when it loses
// activation, on Escape or after a choice, and deletes itself.
#pragma once

#include "ui/Core/WindowWnd.h"
#include "ui/controls/DropBoxStyle.h"

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
  void PaintTo(HDC dc);
  vt::DropBoxRows Rows() const;
  int RowAt(int y) const;
  void Choose(int row);
  void ScrollBy(int pixels);

  CComboUI* owner_ = nullptr;
  vt::DropBoxStyle style_;  // at the window's scale
  int hot_ = -1;
  int scroll_ = 0;
};
