#include <cstring>

#include "ui/Core/MarkupText.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/TextUI.h"

CTextUI::CTextUI() {
  textStyle_ = DT_WORDBREAK;
  SetLayoutAttribute("textpadding", "2,0,2,0");
}

const char* CTextUI::GetClass() const { return "TextUI"; }

void* CTextUI::GetInterface(const char* name) {
  if (name && strcmp(name, "Text") == 0) return this;
  return CLabelUI::GetInterface(name);
}

unsigned CTextUI::GetControlFlags() const {
  return linkCount_ > 0 && IsEnabled() ? unsigned(kControlFlagSetCursor) : 0u;
}

int CTextUI::LinkAt(POINT pt) const {
  for (int i = 0; i < linkCount_; ++i) {
    if (PtInRect(&links_[i], pt)) return i;
  }
  return -1;
}

void CTextUI::DoEvent(UIEvent& event) {
  switch (event.kind) {
    case UIEventKind::SetCursor:
      ::SetCursor(LoadCursor(nullptr, LinkAt(event.mousePoint) >= 0 ? IDC_HAND : IDC_ARROW));
      return;
    case UIEventKind::MouseMove:
    case UIEventKind::MouseLeave: {
      int link = event.kind == UIEventKind::MouseMove ? LinkAt(event.mousePoint) : -1;
      if (link != hoverLink_) {
        hoverLink_ = link;
        Invalidate();  // the hovered link changes colour
      }
      break;
    }
    case UIEventKind::ButtonUp:
      if (IsEnabled() && manager_) {
        int link = LinkAt(event.mousePoint);
        if (link >= 0) {
          manager_->SendNotification(this, "link", static_cast<WPARAM>(link));
          return;
        }
      }
      break;
    default: break;
  }
  CLabelUI::DoEvent(event);
}

SIZE CTextUI::DesiredSize(SIZE available) {
  RECT pad = textPadding_;
  int width = fixedWidth_ > available.cx ? fixedWidth_ : available.cx;
  RECT rc = {0, 0, width - pad.left - pad.right, 9999};
  if (manager_ && !text_.IsEmpty() && rc.right > 0) {
    HDC dc = manager_->GetPaintDC();
    if (showHtml_) {
      int links = 0;
      DrawMarkupText(dc, manager_, rc, text_, 0, nullptr, nullptr, links, 0, textStyle_ | DT_CALCRECT);
    } else {
      HGDIOBJ old = SelectObject(dc, manager_->GetFont(font_));
      ::DrawTextA(dc, text_, -1, &rc, textStyle_ | DT_CALCRECT | DT_NOPREFIX);
      SelectObject(dc, old);
    }
  } else {
    rc.right = rc.bottom = 0;
  }
  SIZE sz = {rc.right - rc.left + pad.left + pad.right, rc.bottom - rc.top + pad.top + pad.bottom};
  if (fixedHeight_ > 0) sz.cy = fixedHeight_;
  return sz;
}

void CTextUI::PaintText(HDC dc) {
  if (text_.IsEmpty() || !manager_) {
    linkCount_ = 0;
    return;
  }
  RECT rc = TextArea();
  uint32_t colour = CurrentTextColor();
  if (showHtml_) {
    DrawMarkupText(dc, manager_, rc, text_, colour, links_, targets_, linkCount_, kMaxLinks, textStyle_);
  } else {
    linkCount_ = 0;
    DrawLabelText(dc, rc, text_, colour, textStyle_);
  }
}
