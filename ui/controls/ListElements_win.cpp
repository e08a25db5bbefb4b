#include <cstdio>
#include <cstring>

#include "ui/Core/MarkupText.h"
#include "ui/Core/Render.h"
#include "ui/Core/SkinValues.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/ListElementsUI.h"

// ---- label element ----

const char* CListLabelElementUI::GetClass() const { return "ListLabelElementUI"; }

void* CListLabelElementUI::GetInterface(const char* name) {
  if (void* row = RowInterface(name)) return row;
  if (name && strcmp(name, "ListLabelElement") == 0) return this;
  return CControlUI::GetInterface(name);
}

unsigned CListLabelElementUI::GetControlFlags() const { return kControlFlagWantReturn; }

void CListLabelElementUI::DoEvent(UIEvent& event) {
  if (!DoRowEvent(event)) CControlUI::DoEvent(event);
}

SIZE CListLabelElementUI::DesiredSize(SIZE available) {
  (void)available;
  if (fixedHeight_ > 0 || !manager_) return {fixedWidth_, fixedHeight_ > 0 ? fixedHeight_ : 20};
  int font = owner_ ? owner_->GetListInfo()->font : -1;
  return {fixedWidth_, static_cast<int>(manager_->GetFontInfo(font)->metrics.tmHeight) + 8};
}

void CListLabelElementUI::PaintStatusImage(HDC dc) { PaintRow(dc, rcPaint_); }

uint32_t CListLabelElementUI::StateTextColor() const {
  if (!owner_) return 0;
  const ListInfo* info = owner_->GetListInfo();
  if (!IsEnabled()) return info->disabledTextColor;
  if (selected_) return info->selectedTextColor;
  if (hot_) return info->hotTextColor;
  return info->textColor;
}

void CListLabelElementUI::DrawCell(HDC dc, RECT rc, const char* text) {
  if (!owner_ || !manager_ || !text || !*text) return;
  const ListInfo* info = owner_->GetListInfo();
  rc.left += info->textPadding.left;
  rc.top += info->textPadding.top;
  rc.right -= info->textPadding.right;
  rc.bottom -= info->textPadding.bottom;
  if (rc.right <= rc.left || rc.bottom <= rc.top) return;
  if (info->showHtml) {
    int links = 0;
    DrawMarkupText(dc, manager_, rc, text, StateTextColor(), nullptr, nullptr, links, 0, info->textStyle);
  } else {
    CRenderEngine::DrawPlainText(dc, manager_, rc, text, StateTextColor(), info->font, info->textStyle);
  }
}

void CListLabelElementUI::PaintText(HDC dc) { DrawCell(dc, rcItem_, text_.GetData()); }

// ---- text element ----

const char* CListTextElementUI::GetClass() const { return "ListTextElementUI"; }

void* CListTextElementUI::GetInterface(const char* name) {
  if (name && strcmp(name, "ListTextElement") == 0) return this;
  return CListLabelElementUI::GetInterface(name);
}

void CListTextElementUI::SetColumnText(int column, const char* text) {
  if (column < 0 || column >= kMaxColumns) return;
  if (column == 0) {
    SetText(text);
    return;
  }
  if (columns_.size() < static_cast<size_t>(column)) columns_.resize(static_cast<size_t>(column));
  columns_[static_cast<size_t>(column) - 1] = text ? text : "";
  Invalidate();
}

CUIString CListTextElementUI::GetColumnText(int column) const {
  if (column == 0) return text_;
  if (column < 0 || static_cast<size_t>(column) > columns_.size()) return CUIString();
  return columns_[static_cast<size_t>(column) - 1];
}

std::vector<RECT> CListTextElementUI::ColumnRects() const {
  std::vector<RECT> out;
  CListHeaderUI* header = owner_ ? owner_->GetListHeader() : nullptr;
  if (header && header->IsVisible()) {
    for (int i = 0; i < header->GetCount() && static_cast<int>(out.size()) < kMaxColumns; ++i) {
      CControlUI* item = header->ChildAt(i);
      if (!item->IsVisible()) continue;
      RECT r = {item->GetPos().left, rcItem_.top, item->GetPos().right, rcItem_.bottom};
      if (r.left < rcItem_.left) r.left = rcItem_.left;
      if (r.right > rcItem_.right) r.right = rcItem_.right;
      out.push_back(r);
    }
  }
  if (out.empty()) out.push_back(rcItem_);
  return out;
}

void CListTextElementUI::PaintText(HDC dc) {
  IListCallbackUI* callback = owner_ ? owner_->GetListCallback() : nullptr;
  std::vector<RECT> columns = ColumnRects();
  for (size_t i = 0; i < columns.size(); ++i) {
    int column = static_cast<int>(i);
    if (callback) {
      DrawCell(dc, columns[i], callback->GetCellText(this, index_, column));
    } else {
      CUIString text = GetColumnText(column);
      DrawCell(dc, columns[i], text.GetData());
    }
  }
}

// ---- header item ----

CListHeaderItemUI::CListHeaderItemUI() {
  textStyle_ = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  SetLayoutAttribute("sepwidth", "4");  // follows the scale as a layout's value does
}

const char* CListHeaderItemUI::GetClass() const { return "ListHeaderItemUI"; }

void* CListHeaderItemUI::GetInterface(const char* name) {
  if (name && strcmp(name, "ListHeaderItem") == 0) return this;
  return CLabelUI::GetInterface(name);
}

void CListHeaderItemUI::ApplyAttribute(const char* name, const char* value) {
  if (!name || !value) return;
  if (strcmp(name, "normalimage") == 0) {
    normalImage_ = value;
  } else if (strcmp(name, "hotimage") == 0) {
    hotImage_ = value;
  } else if (strcmp(name, "pushedimage") == 0) {
    pushedImage_ = value;
  } else if (strcmp(name, "sepimage") == 0) {
    sepImage_ = value;
  } else if (strcmp(name, "sepwidth") == 0) {
    int w = atoi(value);
    sepWidth_ = w < 0 ? 0 : w;
  } else if (strcmp(name, "dragable") == 0) {
    dragable_ = vt::ParseBool(value);
  } else {
    CLabelUI::ApplyAttribute(name, value);
    return;
  }
  Invalidate();
}

bool CListHeaderItemUI::InSeparator(POINT pt) const {
  return dragable_ && sepWidth_ > 0 && pt.x >= rcItem_.right - sepWidth_ && pt.x < rcItem_.right &&
         pt.y >= rcItem_.top && pt.y < rcItem_.bottom;
}

void CListHeaderItemUI::DoEvent(UIEvent& event) {
  switch (event.kind) {
    case UIEventKind::ButtonDown:
      if (!IsEnabled()) return;
      if (InSeparator(event.mousePoint)) {
        dragging_ = true;
      } else {
        pushed_ = true;
        Invalidate();
      }
      return;
    case UIEventKind::MouseMove:
      if (dragging_) {
        // The column follows the pointer; the layout moves the columns after it.
        int width = event.mousePoint.x - rcItem_.left;
        int least = sepWidth_ > minWidth_ ? sepWidth_ : minWidth_;
        if (width < least) width = least;
        if (width > maxWidth_) width = maxWidth_;
        if (width != rcItem_.right - rcItem_.left) SetFixedWidth(width);
      }
      return;
    case UIEventKind::ButtonUp:
      if (dragging_) {
        dragging_ = false;
        // The dragged width outlives a change of scale.
        KeepLayoutPixels("width", GetFixedWidth());
        if (manager_) manager_->SendNotification(this, "headerresize", static_cast<WPARAM>(GetFixedWidth()));
      } else if (pushed_) {
        pushed_ = false;
        Invalidate();
        if (PtInRect(&rcItem_, event.mousePoint) && manager_) manager_->SendNotification(this, "headerclick");
      }
      return;
    case UIEventKind::SetCursor:
      if (InSeparator(event.mousePoint)) {
        SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
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
        hot_ = false;
        Invalidate();
      }
      return;
    default: break;
  }
  CLabelUI::DoEvent(event);
}

void CListHeaderItemUI::PaintStatusImage(HDC dc) {
  CUIString* image = &normalImage_;
  if (pushed_ && !pushedImage_.IsEmpty()) image = &pushedImage_;
  else if (hot_ && !hotImage_.IsEmpty()) image = &hotImage_;
  if (!image->IsEmpty()) DrawImage(dc, *image);
  if (sepImage_.IsEmpty() || sepWidth_ <= 0) return;
  char dest[64];
  int w = rcItem_.right - rcItem_.left, h = rcItem_.bottom - rcItem_.top;
  snprintf(dest, sizeof dest, "dest='%d,0,%d,%d'", w - sepWidth_, w, h);
  DrawImageAt(dc, sepImage_, dest);
}
