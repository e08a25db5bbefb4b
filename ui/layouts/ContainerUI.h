// CContainerUI (tag "Container"): owns its children (deleting them when
// removed or when it is deleted), paints them in order over its own
// painting, hit-tests them from the last to the first, and places every
// visible non-floating child over its inset area (the children overlap).
// Floating children are placed at their fixed position inside the item
// rectangle. Layouts derive from it and override PlaceContent.
//
// Any container may scroll: "vscrollbar" and "hscrollbar" give it a
// vertical bar (a strip at the right) and a horizontal one (a strip at the
// bottom), each first taking the window's default attributes for
// "VScrollBar" / "HScrollBar", then "vscrollbarstyle" / "hscrollbarstyle".
// A bar shows while the children need more room than the view (the inset
// area minus the bars) along its axis; the children are then shifted by
// its position and painted inside the view. The mouse wheel scrolls by
// three lines: vertically, or horizontally with Shift held, with the
// wheel tilted, or when only the horizontal bar shows.
//
// A layout may have a separator band ("sepwidth" on a horizontal layout,
// "sepheight" on a vertical one): a strip of that many pixels along its
// right (bottom) edge, or its left (top) edge when negative, that the mouse
// drags to resize the layout. With "sepimm" the size follows the pointer;
// without, a grey band shows where the edge will go and the size changes on
// release. The size is kept as the user's, through changes of DPI.
#pragma once

#include <vector>

#include "ui/controls/ControlUI.h"
#include "ui/layouts/LayoutMath.h"

class CScrollBarUI;

class CContainerUI : public CControlUI, public IContainerUI {
 public:
  CContainerUI();
  ~CContainerUI() override;

  const char* GetClass() const override;          // "ContainerUI"
  void* GetInterface(const char* name) override;  // "Container", "IContainer"

  // IContainerUI
  CControlUI* ChildAt(int index) const override;
  int IndexOf(CControlUI* control) const override;
  int GetCount() const override;
  bool Add(CControlUI* control) override;
  bool InsertAt(CControlUI* control, int index) override;
  bool RemoveChild(CControlUI* control) override;
  bool RemoveChildAt(int index) override;
  void RemoveAll() override;

  const RECT& GetInset() const { return inset_; }
  void SetInset(const RECT& rc);
  int GetChildPadding() const { return childPadding_; }
  void SetChildPadding(int padding);
  bool IsMouseChildEnabled() const { return mouseChild_; }
  void SetMouseChildEnabled(bool on) { mouseChild_ = on; }

  void SetManager(CUIManager* manager, CControlUI* parent, bool init = true) override;
  CControlUI* FindControl(FindControlProc proc, void* data, unsigned flags) override;
  void SetVisible(bool visible) override;
  void SetInternVisible(bool visible) override;
  void PlaceAt(const RECT& rc) override;
  void DoPaint(HDC dc, const RECT& paint) override;
  void DoEvent(UIEvent& event) override;
  void ApplyAttribute(const char* name, const char* value) override;
  void ApplyDpi() override;  // its scroll bars' too

  // ---- scrolling ----
  void EnableScrollBar(bool vertical, bool horizontal);
  CScrollBarUI* GetVerticalScrollBar() const { return axes_[kVertical].bar; }
  CScrollBarUI* GetHorizontalScrollBar() const { return axes_[kHorizontal].bar; }
  int GetScrollPos(bool horizontal = false) const { return axes_[horizontal ? 1 : 0].state.pos; }
  int GetScrollRange(bool horizontal = false) const { return axes_[horizontal ? 1 : 0].state.range; }
  void SetScrollPos(int pos, bool horizontal = false);
  // Scrolls so that rc (a child's rectangle) is inside the view, vertically.
  void ScrollIntoView(const RECT& rc);
  // Where the children are shown: the inset area minus the visible bars.
  const RECT& GetView() const { return view_; }

  // ---- separator band ----
  // size > 0: along the right (horizontal) or bottom edge; < 0: left or
  // top; 0: none.
  void SetSeparator(int size, bool horizontal);
  void SetSeparatorImmediate(bool on) { sepImmediate_ = on; }
  int GetSeparator() const { return sepSize_; }
  RECT SeparatorRect() const;  // empty without a band

 protected:
  // Places the non-floating children in view shifted by pos (x horizontal,
  // y vertical), with range more pixels of room on the axis of each visible
  // bar; returns the size they need. The container gives each the whole
  // room (they overlap).
  virtual vt::SkinSize PlaceContent(const RECT& view, vt::SkinSize pos, vt::SkinSize range);
  // The inset area: item rectangle minus inset.
  RECT InsetArea() const;
  // Places a floating child inside this container's item rectangle.
  void PlaceFloating(CControlUI* child);
  // Paints the visible children that meet paint, clipped to clip.
  void PaintChildren(HDC dc, const RECT& paint, const RECT& clip);
  // Where DoPaint lets the children paint: the item rectangle.
  virtual RECT ChildPaintArea() const { return rcItem_; }

  enum { kVertical = 0, kHorizontal = 1 };
  struct ScrollAxis {
    CScrollBarUI* bar = nullptr;
    CUIString style;               // "vscrollbarstyle" / "hscrollbarstyle"
    bool defaultsPending = false;  // made before the container had a manager
    vt::ScrollState state;
  };
  class Content;  // what the scrolled placing places: PlaceContent
  void EnableAxis(int axis, bool on);
  void ApplyBarDefaults(int axis);
  // Gives the axis' bar its range, position and visibility, and strip as
  // its place when it shows.
  void ShowBar(ScrollAxis& a, int viewLength, const RECT& strip);
  bool HasScrollBars() const { return axes_[0].bar || axes_[1].bar; }
  RECT BandAt(int size) const;  // the band were the layout size pixels long
  bool InSeparator(POINT pt) const;
  bool DoSeparatorEvent(UIEvent& event);  // true when the band took it
  int SeparatorDragSize(POINT pt) const;  // the size a drag to pt asks for
  void PaintSeparatorTrack(HDC dc);

  std::vector<CControlUI*> items_;
  ScrollAxis axes_[2];
  RECT view_ = {0, 0, 0, 0};
  int sepSize_ = 0;
  bool sepHorizontal_ = true;  // a band of a horizontal layout: it sets the width
  bool sepImmediate_ = false;
  bool sepDragging_ = false;
  POINT sepStart_ = {0, 0};
  int sepStartSize_ = 0, sepPending_ = 0;
  RECT inset_ = {0, 0, 0, 0};
  int childPadding_ = 0;
  bool mouseChild_ = true;
  bool deleting_ = false;
};
