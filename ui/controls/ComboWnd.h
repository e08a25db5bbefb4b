// CComboWnd: the pop-up list of a CComboUI, a frameless tool window under
// the combo that draws the items' texts in the list colours, highlights the
// row under the mouse and selects the one clicked. The combo's "dropbox"
// attributes (DropBoxStyle.h) give it a background (colour, gradient,
// image), a border, an inset and gaps between rows; rows that overflow
// "dropboxsize" scroll with the mouse wheel (and show a thumb with
// "vscrollbar"); with "hscrollbar", texts wider than the box scroll
// sideways with Shift and the wheel or the tilted wheel, a thumb at the
// bottom edge showing where. It closes when it loses
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
  void ScrollSideways(int pixels);
  RECT Inner() const;  // inside border and inset
  int ContentWidth();  // the widest row's text and its margins

  CComboUI* owner_ = nullptr;
  vt::DropBoxStyle style_;  // at the window's scale
  int hot_ = -1;
  int scroll_ = 0;
  int scrollX_ = 0;
  int contentWidth_ = -1;  // measured once the window has a font to measure with
};
