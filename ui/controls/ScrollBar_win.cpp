#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ui/Core/Render.h"
#include "ui/Core/SkinValues.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/ScrollBarUI.h"

namespace {
const char* const kPartNames[] = {"button1", "button2", "thumb"};
const char* const kStateNames[] = {"normal", "hot", "pushed"};
}  // namespace

CScrollBarUI::CScrollBarUI() {
  settingDefault_ = true;
  SetLayoutAttribute("width", "16");
  settingDefault_ = false;
}

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
  } else if (!settingDefault_ &&
             (strcmp(name, "width") == 0 || strcmp(name, "height") == 0 || strcmp(name, "pos") == 0)) {
    defaultThickness_ = false;
    CControlUI::ApplyAttribute(name, value);
  } else if (strcmp(name, "hor") == 0) {
    SetHorizontal(vt::ParseBool(value));
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

// The bar's thickness follows the orientation; the length is the room its
// owner gives it.
void CScrollBarUI::SetHorizontal(bool horizontal) {
  if (horizontal == horizontal_) return;
  horizontal_ = horizontal;
  if (defaultThickness_) {
    settingDefault_ = true;
    SetLayoutAttribute(horizontal ? "width" : "height", "0");
    SetLayoutAttribute(horizontal ? "height" : "width", "16");
    settingDefault_ = false;
  }
  hot_ = pressed_ = kNone;
  Invalidate();
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

// Parts are measured along the bar (length) and across it (thickness), so
// one arithmetic serves both orientations.
RECT CScrollBarUI::PartRect(Part part) const {
  int w = rcItem_.right - rcItem_.left, h = rcItem_.bottom - rcItem_.top;
  int length = horizontal_ ? w : h, thick = horizontal_ ? h : w;
  int arrow = thick < length / 2 ? thick : length / 2;
  int track = length - 2 * arrow;
  int from = 0, to = 0;
  switch (part) {
    case kUp: to = arrow; break;
    case kDown:
      from = length - arrow;
      to = length;
      break;
    case kThumb: {
      long total = static_cast<long>(view_) + range_;
      int len = total > 0 ? static_cast<int>(static_cast<long>(track) * view_ / total) : track;
      if (len < thick) len = thick < track ? thick : track;  // never thinner than the bar is thick
      from = arrow + (range_ > 0 ? static_cast<int>(static_cast<long>(track - len) * pos_ / range_) : 0);
      to = from + len;
      break;
    }
    case kTrack:
      from = arrow;
      to = length - arrow;
      break;
    default: return {0, 0, 0, 0};
  }
  return horizontal_ ? RECT{from, 0, to, h} : RECT{0, from, w, to};
}

int CScrollBarUI::Along(POINT pt) const { return horizontal_ ? pt.x - rcItem_.left : pt.y - rcItem_.top; }

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
        int before = horizontal_ ? thumb.left : thumb.top;
        SetScrollPos(Along(event.mousePoint) < before ? pos_ - view_ : pos_ + view_);
      }
      dragStart_ = Along(event.mousePoint);
      dragStartPos_ = pos_;
      Invalidate();
      return;
    }
    case UIEventKind::MouseMove: {
      if (pressed_ == kThumb) {
        RECT track = PartRect(kTrack), thumb = PartRect(kThumb);
        int free = horizontal_ ? (track.right - track.left) - (thumb.right - thumb.left)
                               : (track.bottom - track.top) - (thumb.bottom - thumb.top);
        if (free > 0) SetScrollPos(dragStartPos_ + (Along(event.mousePoint) - dragStart_) * range_ / free);
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
  DrawImageAt(dc, *image, dest);
}

void CScrollBarUI::PaintStatusImage(HDC dc) {
  if (!bkImage_.IsEmpty()) DrawImage(dc, bkImage_);
  DrawPart(dc, kUp);
  DrawPart(dc, kDown);
  if (range_ > 0) DrawPart(dc, kThumb);
}
