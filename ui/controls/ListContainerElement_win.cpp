#include <cstring>

#include "ui/Core/Render.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/ListUI.h"

const char* CListContainerElementUI::GetClass() const { return "ListContainerElementUI"; }

void* CListContainerElementUI::GetInterface(const char* name) {
  if (name && strcmp(name, "ListItem") == 0) return static_cast<IListItemUI*>(this);
  if (name && strcmp(name, "ListContainerElement") == 0) return this;
  return CContainerUI::GetInterface(name);
}

unsigned CListContainerElementUI::GetControlFlags() const { return kControlFlagWantReturn; }

bool CListContainerElementUI::Select(bool select) {
  if (selected_ == select) return true;
  selected_ = select;
  Invalidate();
  return true;
}

void CListContainerElementUI::DoEvent(UIEvent& event) {
  switch (event.kind) {
    case UIEventKind::ButtonDown:
    case UIEventKind::RButtonDown:
      if (IsEnabled()) {
        if (manager_) manager_->SendNotification(this, "itemclick");
        if (owner_) owner_->SelectItem(index_, true);
      }
      return;
    case UIEventKind::DoubleClick:
      if (IsEnabled() && manager_) manager_->SendNotification(this, "itemactivate");
      return;
    case UIEventKind::KeyDown:
      if (IsEnabled() && event.key == VK_RETURN && manager_) {
        manager_->SendNotification(this, "itemactivate");
        return;
      }
      break;
    case UIEventKind::MouseEnter:
      if (IsEnabled() && !hot_) {
        hot_ = true;
        Invalidate();
      }
      return;
    case UIEventKind::MouseLeave:
      if (hot_) {
        // Leaving for a child of the row keeps it hot.
        POINT pt = event.mousePoint;
        if (!PtInRect(&rcItem_, pt)) {
          hot_ = false;
          Invalidate();
        }
      }
      return;
    default: break;
  }
  CContainerUI::DoEvent(event);
}

void CListContainerElementUI::PaintStatusImage(HDC dc) {
  if (!owner_) return;
  ListInfo* info = owner_->GetListInfo();
  uint32_t colour;
  CUIString* image;
  if (!IsEnabled()) {
    colour = info->disabledBkColor;
    image = &info->disabledImage;
  } else if (selected_) {
    colour = info->selectedBkColor;
    image = &info->selectedImage;
  } else if (hot_) {
    colour = info->hotBkColor;
    image = &info->hotImage;
  } else {
    colour = info->alternateBk && index_ % 2 == 0 ? 0 : info->bkColor;
    image = &info->bkImage;
  }
  if (colour) CRenderEngine::DrawColor(dc, rcPaint_, colour);
  if (!image->IsEmpty()) DrawImage(dc, *image);
  if (info->lineColor) {
    RECT line = {rcItem_.left, rcItem_.bottom - 1, rcItem_.right, rcItem_.bottom - 1};
    CRenderEngine::DrawLine(dc, line, 1, info->lineColor);
  }
}
