#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ui/Core/Render.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/ScrollBarUI.h"

namespace {
const char* const kPartNames[] = {"button1", "button2", "thumb"};
const char* const kStateNames[] = {"normal", "hot", "pushed"};
}  // namespace

CScrollBarUI::CScrollBarUI() { SetLayoutAttribute("width", "16"); }

const char* CScrollBarUI::GetClass() const { return "ScrollBarUI"; }

void* CScrollBarUI::GetInterface(const char* name) {
  if (name && strcmp(name, "ScrollBar") == 0) return this;
  return CControlUI::GetInterface(name);
}

void CScrollBarUI::ApplyAttribute(const char* name, const char* value) {
  if (!name || !value) return;
  for (int p = 0; p < 3; ++p) {
    for (int s = 0; s < 3; ++s) {
      char key[32];
      snprintf(key, sizeof key, "%s%simage", kPartNames[p], kStateNames[s]);
      if (strcmp(name, key) == 0) {
        images_[p][s] = value;
        Invalidate();
        return;
      }
    }
  }
  if (strcmp(name, "bknormalimage") == 0) {
    bkImage_ = value;
    Invalidate();
  } else if (strcmp(name, "linesize") == 0) {
    lineSize_ = atoi(value) > 0 ? atoi(value) : lineSize_;
  } else if (strcmp(name, "range") == 0) {
    SetRange(atoi(value), view_);
  } else if (strcmp(name, "value") == 0) {
    SetScrollPos(atoi(value));
  } else {
    CControlUI::ApplyAttribute(name, value);
  }
}

void CScrollBarUI::SetOwner(ScrollChanged changed, void* owner) {
  changed_ = changed;
  owner_ = owner;
}

void CScrollBarUI::SetRange(int range, int view) {
  range_ = range > 0 ? range : 0;
  view_ = view > 0 ? view : 0;
  if (pos_ > range_) pos_ = range_;
  Invalidate();
}

void CScrollBarUI::SetScrollPos(int pos) {
  if (pos > range_) pos = range_;
  if (pos < 0) pos = 0;
  if (pos == pos_) return;
  pos_ = pos;
  Invalidate();
  if (changed_) changed_(owner_, pos_);
  else if (manager_) manager_->SendNotification(this, "scroll", static_cast<WPARAM>(pos_));
}

RECT CScrollBarUI::PartRect(Part part) const {
  int w = rcItem_.right - rcItem_.left, h = rcItem_.bottom - rcItem_.top;
  int arrow = w < h / 2 ? w : h / 2;
  int track = h - 2 * arrow;
  switch (part) {
    case kUp: return {0, 0, w, arrow};
    case kDown: return {0, h - arrow, w, h};
    case kThumb: {
      long total = static_cast<long>(view_) + range_;
      int len = total > 0 ? static_cast<int>(static_cast<long>(track) * view_ / total) : track;
      if (len < w) len = w < track ? w : track;  // never thinner than the bar is wide
      int top = arrow + (range_ > 0 ? static_cast<int>(static_cast<long>(track - len) * pos_ / range_) : 0);
      return {0, top, w, top + len};
    }
    case kTrack: return {0, arrow, w, h - arrow};
    default: return {0, 0, 0, 0};
  }
}

CScrollBarUI::Part CScrollBarUI::PartAt(POINT pt) const {
  POINT local = {pt.x - rcItem_.left, pt.y - rcItem_.top};
  for (Part p : {kUp, kDown, kThumb, kTrack}) {
    RECT rc = PartRect(p);
    if (PtInRect(&rc, local)) return p;
  }
  return kNone;
}

void CScrollBarUI::DoEvent(UIEvent& event) {
  switch (event.kind) {
    case UIEventKind::ButtonDown:
    case UIEventKind::DoubleClick: {
      if (!IsEnabled()) return;
      pressed_ = PartAt(event.mousePoint);
      if (pressed_ == kUp) SetScrollPos(pos_ - lineSize_);
      if (pressed_ == kDown) SetScrollPos(pos_ + lineSize_);
      if (pressed_ == kTrack) {
        RECT thumb = PartRect(kThumb);
        int y = event.mousePoint.y - rcItem_.top;
        SetScrollPos(y < thumb.top ? pos_ - view_ : pos_ + view_);
      }
      dragStartY_ = event.mousePoint.y;
      dragStartPos_ = pos_;
      Invalidate();
      return;
    }
    case UIEventKind::MouseMove: {
      if (pressed_ == kThumb) {
        RECT track = PartRect(kTrack), thumb = PartRect(kThumb);
        int free = (track.bottom - track.top) - (thumb.bottom - thumb.top);
        if (free > 0) SetScrollPos(dragStartPos_ + (event.mousePoint.y - dragStartY_) * range_ / free);
        return;
      }
      Part p = PartAt(event.mousePoint);
      if (p != hot_) {
        hot_ = p;
        Invalidate();
      }
      return;
    }
    case UIEventKind::ButtonUp:
      pressed_ = kNone;
      Invalidate();
      return;
    case UIEventKind::MouseLeave:
      hot_ = kNone;
      Invalidate();
      return;
    case UIEventKind::ScrollWheel:
      SetScrollPos(pos_ + (event.wParam == SB_LINEUP ? -3 : 3) * lineSize_);
      return;
    default: CControlUI::DoEvent(event);
  }
}

void CScrollBarUI::DrawPart(HDC dc, Part part) {
  int state = pressed_ == part ? kPushed : hot_ == part ? kHot : kNormal;
  CUIString* image = &images_[part][state];
  if (image->IsEmpty()) image = &images_[part][kNormal];
  if (image->IsEmpty()) return;
  RECT rc = PartRect(part);
  char dest[64];
  snprintf(dest, sizeof dest, "dest='%ld,%ld,%ld,%ld'", static_cast<long>(rc.left), static_cast<long>(rc.top),
           static_cast<long>(rc.right), static_cast<long>(rc.bottom));
  DrawImage(dc, *image, dest);
}

void CScrollBarUI::PaintStatusImage(HDC dc) {
  if (!bkImage_.IsEmpty()) DrawImage(dc, bkImage_);
  DrawPart(dc, kUp);
  DrawPart(dc, kDown);
  if (range_ > 0) DrawPart(dc, kThumb);
}
