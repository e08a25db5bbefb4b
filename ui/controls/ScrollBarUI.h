// CScrollBarUI: a scroll bar of a container, vertical or horizontal
// ("hor"). An arrow at the start (top or left), one at the end (bottom or
// right) and a thumb between them whose length shows the visible share;
// each part has normal, hot and pushed images ("button1…" for the start,
// "button2…" for the end, "thumb…", e.g. "button1normalimage") and the bar
// a background ("bknormalimage"). A vertical bar is 16 pixels wide, a
// horizontal one 16 high, until its attributes say otherwise ("hor" keeps
// a size written before it). Arrows move by a line, a press on
// the track by a page, the thumb drags. Moving tells the owner, which
// places its children again. A bar of its own (tag "ScrollBar", no owner)
// takes "range" and "value" (its position) and sends "scroll" (wParam: the
// position) when it moves.
#pragma once

#include "ui/controls/ControlUI.h"

class CScrollBarUI : public CControlUI {
 public:
  using ScrollChanged = void (*)(void* owner, int pos);
  CScrollBarUI();
  const char* GetClass() const override;          // "ScrollBarUI"
  void* GetInterface(const char* name) override;  // "ScrollBar"
  void ApplyAttribute(const char* name, const char* value) override;
  void DoEvent(UIEvent& event) override;
  void PaintStatusImage(HDC dc) override;

  void SetOwner(ScrollChanged changed, void* owner);
  // range: pixels the content overflows; view: pixels shown.
  void SetRange(int range, int view);
  int GetScrollRange() const { return range_; }
  int GetScrollPos() const { return pos_; }
  void SetScrollPos(int pos);  // clamped; tells the owner when it changes
  int GetLineSize() const { return lineSize_; }
  bool IsHorizontal() const { return horizontal_; }
  void SetHorizontal(bool horizontal);

 private:
  enum Part { kNone = -1, kUp = 0, kDown = 1, kThumb = 2, kTrack = 3 };
  enum State { kNormal = 0, kHot = 1, kPushed = 2 };
  RECT PartRect(Part part) const;  // offsets from the bar's top-left corner
  Part PartAt(POINT pt) const;
  int Along(POINT pt) const;  // pt's offset along the bar from its start
  void DrawPart(HDC dc, Part part);

  CUIString images_[3][3];  // [part][state]
  CUIString bkImage_;
  int range_ = 0, view_ = 0, pos_ = 0;
  int lineSize_ = 8;
  Part hot_ = kNone, pressed_ = kNone;
  bool horizontal_ = false;
  bool defaultThickness_ = true;  // no size written yet: "hor" may turn the default 16
  bool settingDefault_ = false;
  int dragStart_ = 0, dragStartPos_ = 0;
  ScrollChanged changed_ = nullptr;
  void* owner_ = nullptr;
};
