// CContainerUI: the separator band that resizes a layout. One code path for
// both orientations: the band sets the width of a horizontal layout and the
// height of a vertical one.
#include <cstdlib>

#include "ui/Core/Render.h"
#include "ui/Core/UIManager.h"
#include "ui/layouts/ContainerUI.h"

void CContainerUI::SetSeparator(int size, bool horizontal) {
  sepSize_ = size;
  sepHorizontal_ = horizontal;
  Invalidate();
}

// The band of the layout were it size pixels long, measured from the edge
// that stays: the left (top) one for a band on the right (bottom) edge, the
// right (bottom) one for a band on the left (top) edge.
RECT CContainerUI::BandAt(int size) const {
  RECT r = rcItem_;
  int band = std::abs(sepSize_);
  LONG& from = sepHorizontal_ ? r.left : r.top;
  LONG& to = sepHorizontal_ ? r.right : r.bottom;
  if (sepSize_ > 0) {
    to = from + size;
    from = to - band;
  } else {
    from = to - size;
    to = from + band;
  }
  return r;
}

RECT CContainerUI::SeparatorRect() const {
  if (sepSize_ == 0) return {0, 0, 0, 0};
  return BandAt(sepHorizontal_ ? rcItem_.right - rcItem_.left : rcItem_.bottom - rcItem_.top);
}

bool CContainerUI::InSeparator(POINT pt) const {
  RECT band = SeparatorRect();
  return sepSize_ != 0 && PtInRect(&band, pt);
}

int CContainerUI::SeparatorDragSize(POINT pt) const {
  int moved = sepHorizontal_ ? pt.x - sepStart_.x : pt.y - sepStart_.y;
  if (sepSize_ < 0) moved = -moved;  // a band on the leading edge grows the other way
  int size = sepStartSize_ + moved;
  int band = std::abs(sepSize_);
  int least = sepHorizontal_ ? minWidth_ : minHeight_, most = sepHorizontal_ ? maxWidth_ : maxHeight_;
  if (least < band) least = band;
  if (size > most) size = most;
  if (size < least) size = least;
  return size;
}

bool CContainerUI::DoSeparatorEvent(UIEvent& event) {
  if (sepSize_ == 0) return false;
  switch (event.kind) {
    case UIEventKind::ButtonDown:
      if (!IsEnabled() || !InSeparator(event.mousePoint)) return false;
      sepDragging_ = true;
      sepStart_ = event.mousePoint;
      sepStartSize_ = sepHorizontal_ ? rcItem_.right - rcItem_.left : rcItem_.bottom - rcItem_.top;
      sepPending_ = sepStartSize_;
      return true;
    case UIEventKind::MouseMove:
      if (!sepDragging_) return false;
      sepPending_ = SeparatorDragSize(event.mousePoint);
      if (sepImmediate_) {
        if (sepHorizontal_) SetFixedWidth(sepPending_);
        else SetFixedHeight(sepPending_);
      } else if (manager_) {
        manager_->Invalidate(manager_->GetRoot()->GetPos());  // the tracking band may leave the layout
      }
      return true;
    case UIEventKind::ButtonUp:
      if (!sepDragging_) return false;
      sepDragging_ = false;
      sepPending_ = SeparatorDragSize(event.mousePoint);
      if (sepHorizontal_) SetFixedWidth(sepPending_);
      else SetFixedHeight(sepPending_);
      // The user's size outlives a change of scale.
      KeepLayoutPixels(sepHorizontal_ ? "width" : "height", sepPending_);
      Invalidate();
      return true;
    case UIEventKind::SetCursor:
      if (!sepDragging_ && !InSeparator(event.mousePoint)) return false;
      ::SetCursor(LoadCursor(nullptr, sepHorizontal_ ? IDC_SIZEWE : IDC_SIZENS));
      return true;
    default: return false;
  }
}

// While a drag waits for the release, a band shows where the edge will go.
void CContainerUI::PaintSeparatorTrack(HDC dc) {
  if (!sepDragging_ || sepImmediate_) return;
  CRenderEngine::DrawColor(dc, BandAt(sepPending_), 0x80808080);
}
