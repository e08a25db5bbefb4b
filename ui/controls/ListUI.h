// CListUI (tag "List"): a vertical layout of a header row (CListHeaderUI)
// and a scrolling body (CListBodyUI) that holds the items. Child
// management goes to the body; the list keeps the item settings (font,
// alignment, colours, images) its items paint with, and the selection.
// CListContainerElementUI is an item that is itself a container.
#pragma once

#include "ui/layouts/ContainerUI.h"
#include "ui/layouts/HorizontalLayoutUI.h"
#include "ui/layouts/VerticalLayoutUI.h"

class CListUI;
class CListHeaderUI;
class IListCallbackUI;

// Supplies the cells of multi-column text rows.
class IListCallbackUI {
 public:
  virtual const char* GetCellText(CControlUI* control, int row, int column) = 0;

 protected:
  ~IListCallbackUI() = default;
};

// What items are painted with ("item…" attributes of the list or combo).
struct ListInfo {
  int font = -1;
  UINT textStyle = DT_VCENTER | DT_SINGLELINE;
  RECT textPadding = {0, 0, 0, 0};
  uint32_t textColor = 0xFF000000, bkColor = 0;
  CUIString bkImage;
  bool alternateBk = false;
  uint32_t selectedTextColor = 0xFF000000, selectedBkColor = 0xFFC1E3FF;
  CUIString selectedImage;
  uint32_t hotTextColor = 0xFF000000, hotBkColor = 0xFFE9F5FF;
  CUIString hotImage;
  uint32_t disabledTextColor = 0xFFCCCCCC, disabledBkColor = 0xFFFFFFFF;
  CUIString disabledImage;
  uint32_t lineColor = 0;
  bool showHtml = false;
  // Applies an "item…" attribute; false when name is none of them.
  bool Apply(const char* name, const char* value);
};

// The owner of list items: the list or a combo box.
class IListOwnerUI {
 public:
  virtual ListInfo* GetListInfo() = 0;
  virtual int GetCurSel() const = 0;
  virtual bool SelectItem(int index, bool takeFocus = false) = 0;
  // The header whose items give text rows their columns (none for a combo),
  // and the supplier of cell texts (none: the rows' own texts).
  virtual CListHeaderUI* GetListHeader() { return nullptr; }
  virtual IListCallbackUI* GetListCallback() { return nullptr; }

 protected:
  ~IListOwnerUI() = default;
};

// An item of a list (interface name "ListItem").
class IListItemUI {
 public:
  virtual void SetOwner(IListOwnerUI* owner) = 0;
  virtual int GetIndex() const = 0;
  virtual void SetIndex(int index) = 0;
  virtual bool IsSelected() const = 0;
  virtual bool Select(bool select) = 0;

 protected:
  ~IListItemUI() = default;
};

class CListHeaderUI : public CHorizontalLayoutUI {
 public:
  const char* GetClass() const override;          // "ListHeaderUI"
  void* GetInterface(const char* name) override;  // "ListHeader"
  SIZE DesiredSize(SIZE available) override;      // empty: default font height + 6
  // The width its items ask for side by side (fixed widths, paddings, gaps).
  int ContentWidth() const;
};

class CListBodyUI : public CVerticalLayoutUI {
 public:
  explicit CListBodyUI(CListUI* owner) : owner_(owner) {}
  const char* GetClass() const override;  // "ListBodyUI"
  void PlaceAt(const RECT& rc) override;  // and the header over it, scrolled alike

 protected:
  // The rows scroll sideways as far as the header's columns reach.
  vt::SkinSize PlaceContent(const RECT& view, vt::SkinSize pos, vt::SkinSize range) override;

 private:
  CListUI* owner_;
};

class CListUI : public CVerticalLayoutUI, public IListOwnerUI {
 public:
  CListUI();
  const char* GetClass() const override;          // "ListUI"
  void* GetInterface(const char* name) override;  // "List", "IListOwner"
  void ApplyAttribute(const char* name, const char* value) override;
  void PlaceAt(const RECT& rc) override;
  // Places the header row over the body, moved sideways with the rows.
  void PlaceHeader();

  // IContainerUI, on the body's items
  CControlUI* ChildAt(int index) const override;
  int IndexOf(CControlUI* control) const override;
  int GetCount() const override;
  bool Add(CControlUI* control) override;
  bool InsertAt(CControlUI* control, int index) override;
  bool RemoveChild(CControlUI* control) override;
  bool RemoveChildAt(int index) override;
  void RemoveAll() override;

  // IListOwnerUI
  ListInfo* GetListInfo() override { return &info_; }
  int GetCurSel() const override { return selected_; }
  bool SelectItem(int index, bool takeFocus = false) override;
  CListHeaderUI* GetListHeader() override { return header_; }
  IListCallbackUI* GetListCallback() override { return callback_; }

  CListHeaderUI* GetHeader() const { return header_; }
  CListBodyUI* GetList() const { return body_; }
  void SetTextCallback(IListCallbackUI* callback) { callback_ = callback; }
  IListCallbackUI* GetTextCallback() const { return callback_; }

 private:
  void Reindex(int from);

  // Header and body paint inside the inset area (a header scrolled
  // sideways would otherwise cover the list's border).
  RECT ChildPaintArea() const override { return InsetArea(); }

  CListHeaderUI* header_ = nullptr;  // owned as child 0
  CListBodyUI* body_ = nullptr;      // owned as child 1
  RECT headerRect_ = {0, 0, 0, 0};   // the header's place before scrolling
  ListInfo info_;
  int selected_ = -1;
  IListCallbackUI* callback_ = nullptr;
};

// The row behaviour every list item shares, whatever control it is: its
// place in the owner (index, selection), hot tracking, the clicks, double
// clicks and Return that select and activate it, and the background of
// its state. An item class derives from its control class and from this,
// hands its events to DoRowEvent first and paints with PaintRow.
class CListRow : public IListItemUI {
 public:
  // keepHotInside: a row with children stays hot while the mouse leaves it
  // for one of them (that is, while the mouse is still inside the row).
  CListRow(CControlUI* control, bool keepHotInside) : control_(control), keepHotInside_(keepHotInside) {}

  // IListItemUI
  void SetOwner(IListOwnerUI* owner) override { owner_ = owner; }
  int GetIndex() const override { return index_; }
  void SetIndex(int index) override { index_ = index; }
  bool IsSelected() const override { return selected_; }
  bool Select(bool select) override;
  bool IsHot() const { return hot_; }

 protected:
  // The row's interface for "ListItem", else null.
  void* RowInterface(const char* name);
  // True when the event was the row's to handle (and it did).
  bool DoRowEvent(UIEvent& event);
  // The background colour and image of the row's state, then the line
  // along its bottom, where it meets paint.
  void PaintRow(HDC dc, const RECT& paint);

  IListOwnerUI* owner_ = nullptr;
  int index_ = -1;
  bool selected_ = false;
  bool hot_ = false;

 private:
  CControlUI* control_;
  bool keepHotInside_;
};

class CListContainerElementUI : public CContainerUI, public CListRow {
 public:
  CListContainerElementUI() : CListRow(this, true) {}
  const char* GetClass() const override;          // "ListContainerElementUI"
  void* GetInterface(const char* name) override;  // "ListContainerElement", "ListItem"
  unsigned GetControlFlags() const override;
  void DoEvent(UIEvent& event) override;
  void PaintStatusImage(HDC dc) override;
};
