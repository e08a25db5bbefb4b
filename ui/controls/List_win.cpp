#include <algorithm>
#include <cstring>

#include "ui/Core/SkinValues.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/ListUI.h"
#include "ui/layouts/LayoutFlow.h"
#include "ui/layouts/LayoutMath.h"

#include "ui/controls/TextAlign.h"

bool ListInfo::Apply(const char* name, const char* value) {
  struct Colour {
    const char* name;
    uint32_t ListInfo::*field;
  };
  static const Colour kColours[] = {{"itemtextcolor", &ListInfo::textColor},
                                    {"itembkcolor", &ListInfo::bkColor},
                                    {"itemselectedtextcolor", &ListInfo::selectedTextColor},
                                    {"itemselectedbkcolor", &ListInfo::selectedBkColor},
                                    {"itemhottextcolor", &ListInfo::hotTextColor},
                                    {"itemhotbkcolor", &ListInfo::hotBkColor},
                                    {"itemdisabledtextcolor", &ListInfo::disabledTextColor},
                                    {"itemdisabledbkcolor", &ListInfo::disabledBkColor},
                                    {"itemlinecolor", &ListInfo::lineColor}};
  for (const Colour& c : kColours) {
    if (strcmp(name, c.name) == 0) {
      this->*c.field = vt::ParseColor(value);
      return true;
    }
  }
  struct Image {
    const char* name;
    CUIString ListInfo::*field;
  };
  static const Image kImages[] = {{"itembkimage", &ListInfo::bkImage},
                                  {"itemselectedimage", &ListInfo::selectedImage},
                                  {"itemhotimage", &ListInfo::hotImage},
                                  {"itemdisabledimage", &ListInfo::disabledImage}};
  for (const Image& i : kImages) {
    if (strcmp(name, i.name) == 0) {
      this->*i.field = value;
      return true;
    }
  }
  if (strcmp(name, "itemfont") == 0) {
    font = atoi(value);
  } else if (strcmp(name, "itemalign") == 0) {
    textStyle = vt::ApplyAlignWords(value, textStyle);
  } else if (strcmp(name, "itemendellipsis") == 0) {
    textStyle = vt::ParseBool(value) ? (textStyle | DT_END_ELLIPSIS) : (textStyle & ~DT_END_ELLIPSIS);
  } else if (strcmp(name, "itemtextpadding") == 0) {
    vt::SkinRect r = vt::ParseRect(value);
    textPadding = {r.left, r.top, r.right, r.bottom};
  } else if (strcmp(name, "itemaltbk") == 0) {
    alternateBk = vt::ParseBool(value);
  } else if (strcmp(name, "itemshowhtml") == 0) {
    showHtml = vt::ParseBool(value);
  } else {
    return false;
  }
  return true;
}

// ---- header and body ----

const char* CListHeaderUI::GetClass() const { return "ListHeaderUI"; }

void* CListHeaderUI::GetInterface(const char* name) {
  if (name && strcmp(name, "ListHeader") == 0) return this;
  return CHorizontalLayoutUI::GetInterface(name);
}

SIZE CListHeaderUI::DesiredSize(SIZE available) {
  if (GetCount() > 0 || fixedHeight_ > 0) return CHorizontalLayoutUI::DesiredSize(available);
  int font = manager_ ? manager_->GetFontInfo(-1)->metrics.tmHeight : 12;
  return {fixedWidth_, font + 6};
}

int CListHeaderUI::ContentWidth() const {
  CLayoutFlow flow(items_);
  int width = 0, laidOut = 0;
  for (const vt::LayoutChild& c : flow.children) {
    if (c.floating) continue;
    width += vt::ChildExtent(c, true, true) + (laidOut++ > 0 ? childPadding_ : 0);
  }
  return width;
}

const char* CListBodyUI::GetClass() const { return "ListBodyUI"; }

void CListBodyUI::PlaceAt(const RECT& rc) {
  CVerticalLayoutUI::PlaceAt(rc);
  owner_->PlaceHeader();
}

vt::SkinSize CListBodyUI::PlaceContent(const RECT& view, vt::SkinSize pos, vt::SkinSize range) {
  vt::SkinSize need = CVerticalLayoutUI::PlaceContent(view, pos, range);
  CListHeaderUI* header = owner_->GetHeader();
  if (header && header->IsVisible()) need.cx = std::max(need.cx, header->ContentWidth());
  return need;
}

// ---- the list ----

CListUI::CListUI() {
  header_ = new CListHeaderUI;
  body_ = new CListBodyUI(this);
  // CContainerUI::InsertAt checks the index against GetCount, which counts
  // the body's items here: both rows go in at index 0.
  CContainerUI::InsertAt(body_, 0);
  CContainerUI::InsertAt(header_, 0);
}

const char* CListUI::GetClass() const { return "ListUI"; }

void* CListUI::GetInterface(const char* name) {
  if (name && strcmp(name, "List") == 0) return this;
  if (name && strcmp(name, "IListOwner") == 0) return static_cast<IListOwnerUI*>(this);
  return CVerticalLayoutUI::GetInterface(name);
}

void CListUI::ApplyAttribute(const char* name, const char* value) {
  if (!name || !value) return;
  if (info_.Apply(name, value)) {
    Invalidate();
  } else if (strcmp(name, "header") == 0) {
    header_->SetVisible(strcmp(value, "hidden") != 0);
  } else if (strcmp(name, "headerbkimage") == 0) {
    header_->SetBkImage(value);
  } else if (strcmp(name, "vscrollbar") == 0 || strcmp(name, "vscrollbarstyle") == 0 ||
             strcmp(name, "hscrollbar") == 0 || strcmp(name, "hscrollbarstyle") == 0) {
    body_->ApplyAttribute(name, value);  // the body is what scrolls
  } else if (strcmp(name, "scrollselect") == 0 || strcmp(name, "multiexpanding") == 0) {
    // Keyboard scrolling selection and expanding rows: not used by any window.
  } else {
    CVerticalLayoutUI::ApplyAttribute(name, value);
  }
}

void CListUI::PlaceAt(const RECT& rc) {
  CControlUI::PlaceAt(rc);
  vt::SkinRect area = ToSkinRect(InsetArea()), head, body;
  int headerHeight = header_->IsVisible() ? header_->DesiredSize({area.Width(), area.Height()}).cy : 0;
  vt::ListSplit(area, header_->IsVisible(), headerHeight, head, body);
  headerRect_ = ToRECT(head);
  body_->PlaceAt(ToRECT(body));  // places the header too
}

void CListUI::PlaceHeader() {
  if (!header_->IsVisible()) return;
  RECT head = headerRect_;
  // The header moves sideways with the rows, so columns stay over their cells.
  if (body_->GetHorizontalScrollBar()) {
    int pos = body_->GetScrollPos(true), range = body_->GetScrollRange(true);
    int width = std::max(static_cast<int>(head.right - head.left),
                         static_cast<int>(body_->GetView().right - body_->GetView().left) + range);
    head.left -= pos;
    head.right = head.left + width;
  }
  header_->PlaceAt(head);
}

CControlUI* CListUI::ChildAt(int index) const { return body_->ChildAt(index); }
int CListUI::IndexOf(CControlUI* control) const { return body_->IndexOf(control); }
int CListUI::GetCount() const { return body_->GetCount(); }

bool CListUI::Add(CControlUI* control) { return InsertAt(control, GetCount()); }

bool CListUI::InsertAt(CControlUI* control, int index) {
  if (!control) return false;
  if (control->GetInterface("ListHeader")) {
    // A header replaces the header row.
    for (size_t i = 0; i < items_.size(); ++i) {
      if (items_[i] == header_) {
        items_.erase(items_.begin() + static_cast<long>(i));
        delete header_;
        break;
      }
    }
    header_ = static_cast<CListHeaderUI*>(control->GetInterface("ListHeader"));
    return CContainerUI::InsertAt(header_, 0);
  }
  if (!body_->InsertAt(control, index)) return false;
  if (IListItemUI* item = static_cast<IListItemUI*>(control->GetInterface("ListItem"))) item->SetOwner(this);
  if (selected_ >= index) ++selected_;
  Reindex(index);
  return true;
}

bool CListUI::RemoveChild(CControlUI* control) { return RemoveChildAt(IndexOf(control)); }

bool CListUI::RemoveChildAt(int index) {
  if (!body_->RemoveChildAt(index)) return false;
  if (selected_ == index) {
    selected_ = -1;
  } else if (selected_ > index) {
    --selected_;
  }
  Reindex(index);
  return true;
}

void CListUI::RemoveAll() {
  selected_ = -1;
  body_->RemoveAll();
}

void CListUI::Reindex(int from) {
  for (int i = from < 0 ? 0 : from; i < GetCount(); ++i) {
    if (IListItemUI* item = static_cast<IListItemUI*>(ChildAt(i)->GetInterface("ListItem")))
      item->SetIndex(i);
  }
}

bool CListUI::SelectItem(int index, bool takeFocus) {
  if (index >= GetCount()) return false;
  if (index == selected_ && index >= 0) return true;
  int old = selected_;
  if (old >= 0) {
    if (IListItemUI* item = static_cast<IListItemUI*>(ChildAt(old)->GetInterface("ListItem")))
      item->Select(false);
    selected_ = -1;
  }
  if (index < 0) return false;  // the selection is only cleared
  CControlUI* c = ChildAt(index);
  IListItemUI* item = static_cast<IListItemUI*>(c->GetInterface("ListItem"));
  if (!item || !c->IsVisible() || !c->IsEnabled()) return false;
  item->Select(true);
  selected_ = index;
  body_->ScrollIntoView(c->GetPos());
  if (takeFocus) c->SetFocus();
  if (manager_)
    manager_->SendNotification(this, "itemselect", static_cast<WPARAM>(index), static_cast<LPARAM>(old));
  return true;
}
