// CContainerUI: the separator band that resizes a layout. One code path for
// both orientations: the band sets the width of a horizontal layout and the
// height of a vertical one.
#include "ui/Core/Render.h"
#include "ui/Core/UIManager.h"
#include "ui/layouts/ContainerUI.h"

void CContainerUI::SetSeparator(int size, bool horizontal) {
  sepSize_ = size;
  sepHorizontal_ = horizontal;
  Invalidate();
}

RECT CContainerUI::SeparatorRect() const {
  RECT r = rcItem_;
  int size = sepSize_ < 0 ? -sepSize_ : sepSize_;
  if (size == 0) return {0, 0, 0, 0};
  if (sepHorizontal_) {
    if (sepSize_ > 0) r.left = r.right - size;
    else r.right = r.left + size;
  } else {
    if (sepSize_ > 0) r.top = r.bottom - size;
    else r.bottom = r.top + size;
  }
  return r;
}

bool CContainerUI::InSeparator(POINT pt) const {
  RECT band = SeparatorRect();
  return sepSize_ != 0 && PtInRect(&band, pt);
}

int CContainerUI::SeparatorDragSize(POINT pt) const {
  int moved = sepHorizontal_ ? pt.x - sepStart_.x : pt.y - sepStart_.y;
  if (sepSize_ < 0) moved = -moved;  // a band on the leading edge grows the other way
  int size = sepStartSize_ + moved;
  int band = sepSize_ < 0 ? -sepSize_ : sepSize_;
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
  RECT band = rcItem_;
  int size = sepSize_ < 0 ? -sepSize_ : sepSize_;
  if (sepHorizontal_) {
    if (sepSize_ > 0) band.left = rcItem_.left + sepPending_ - size;
    else band.left = rcItem_.right - sepPending_;
    band.right = band.left + size;
  } else {
    if (sepSize_ > 0) band.top = rcItem_.top + sepPending_ - size;
    else band.top = rcItem_.bottom - sepPending_;
    band.bottom = band.top + size;
  }
  CRenderEngine::DrawColor(dc, band, 0x80808080);
}
