// The list parts a skin author writes as tags, beside CListContainerElementUI:
//   CListLabelElementUI ("ListLabelElement") - an item of one line of text;
//   CListTextElementUI ("ListTextElement") - an item of one text per column,
//     the columns being the x-ranges of the list header's items, each text
//     the list's text callback's (IListCallbackUI) or else the row's own;
//   CListHeaderItemUI ("ListHeaderItem") - a header cell: its text, state
//     images and a separator at its right edge, which resizes the column
//     when dragged ("dragable").
// Items draw with their owner's "item..." settings (ListInfo): font,
// alignment, padding, markup, and the text colour and background of their
// state (disabled, selected, hot, normal).
#pragma once

#include <vector>

#include "ui/controls/LabelUI.h"
#include "ui/controls/ListUI.h"

class CListLabelElementUI : public CControlUI, public CListRow {
 public:
  CListLabelElementUI() : CListRow(this, false) {}
  const char* GetClass() const override;          // "ListLabelElementUI"
  void* GetInterface(const char* name) override;  // "ListLabelElement", "ListItem"
  unsigned GetControlFlags() const override;
  void DoEvent(UIEvent& event) override;
  SIZE DesiredSize(SIZE available) override;  // fixed height, else the item font's height + 8
  void PaintStatusImage(HDC dc) override;
  void PaintText(HDC dc) override;

 protected:
  // The item text colour of the present state; 0 without an owner.
  uint32_t StateTextColor() const;
  // Draws text in rc with the owner's font, style and padding.
  void DrawCell(HDC dc, RECT rc, const char* text);
};

class CListTextElementUI : public CListLabelElementUI {
 public:
  const char* GetClass() const override;          // "ListTextElementUI"
  void* GetInterface(const char* name) override;  // "ListTextElement", then as a label element
  void PaintText(HDC dc) override;

  // Column 0 is the row's text ("text"); columns up to kMaxColumns - 1.
  static constexpr int kMaxColumns = 32;
  void SetColumnText(int column, const char* text);
  CUIString GetColumnText(int column) const;
  // The columns as drawn: the header's visible items cut to the row, or the
  // whole row when the list has no header items.
  std::vector<RECT> ColumnRects() const;

 private:
  std::vector<CUIString> columns_;  // 1.. (0 is text_)
};

class CListHeaderItemUI : public CLabelUI {
 public:
  CListHeaderItemUI();
  const char* GetClass() const override;          // "ListHeaderItemUI"
  void* GetInterface(const char* name) override;  // "ListHeaderItem"
  void ApplyAttribute(const char* name, const char* value) override;
  void DoEvent(UIEvent& event) override;
  void PaintStatusImage(HDC dc) override;

  int GetSepWidth() const { return sepWidth_; }
  bool IsDragging() const { return dragging_; }

 private:
  bool InSeparator(POINT pt) const;

  CUIString normalImage_, hotImage_, pushedImage_, sepImage_;
  int sepWidth_ = 4;
  bool dragable_ = true;
  bool hot_ = false, pushed_ = false, dragging_ = false;
};
