#include <cstring>

#include "ui/Core/Render.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/ListUI.h"

void* CListRow::RowInterface(const char* name) {
  return name && strcmp(name, "ListItem") == 0 ? static_cast<IListItemUI*>(this) : nullptr;
}

bool CListRow::Select(bool select) {
  if (selected_ == select) return true;
  selected_ = select;
  control_->Invalidate();
  return true;
}

bool CListRow::DoRowEvent(UIEvent& event) {
  CUIManager* manager = control_->GetManager();
  switch (event.kind) {
    case UIEventKind::ButtonDown:
    case UIEventKind::RButtonDown:
      if (control_->IsEnabled()) {
        if (manager) manager->SendNotification(control_, "itemclick");
        if (owner_) owner_->SelectItem(index_, true);
      }
      return true;
    case UIEventKind::DoubleClick:
      if (control_->IsEnabled() && manager) manager->SendNotification(control_, "itemactivate");
      return true;
    case UIEventKind::KeyDown:
      if (control_->IsEnabled() && event.key == VK_RETURN && manager) {
        manager->SendNotification(control_, "itemactivate");
        return true;
      }
      return false;
    case UIEventKind::MouseEnter:
      if (control_->IsEnabled() && !hot_) {
        hot_ = true;
        control_->Invalidate();
      }
      return true;
    case UIEventKind::MouseLeave:
      if (hot_ && !(keepHotInside_ && PtInRect(&control_->GetPos(), event.mousePoint))) {
        hot_ = false;
        control_->Invalidate();
      }
      return true;
    default: return false;
  }
}

void CListRow::PaintRow(HDC dc, const RECT& paint) {
  if (!owner_) return;
  ListInfo* info = owner_->GetListInfo();
  uint32_t colour;
  CUIString* image;
  if (!control_->IsEnabled()) {
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
  if (colour) CRenderEngine::DrawColor(dc, paint, colour);
  if (!image->IsEmpty()) control_->DrawImage(dc, *image);
  if (info->lineColor) {
    const RECT& item = control_->GetPos();
    RECT line = {item.left, item.bottom - 1, item.right, item.bottom - 1};
    CRenderEngine::DrawLine(dc, line, 1, info->lineColor);
  }
}
