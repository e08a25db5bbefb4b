// The combo's drop box: its "dropbox" attribute string (the attributes of
// the drop-down's layout) and where the rows go in it. Portable: the
// pop-up (CComboWnd) paints and hit-tests with these numbers.
#pragma once

#include <cstdint>

#include "base/UIString.h"

namespace vt {

// Attributes a drop box honours; others are ignored, on purpose: its place
// and size are the combo's ("dropboxsize"), so "pos", "float", "width",
// "height", the min/max sizes and "padding" have nothing to act on; its
// thumbs are drawn plainly, not by scroll bar controls, so
// "vscrollbarstyle"/"hscrollbarstyle" have nothing to style; rows are not
// controls of a layout, so "mousechild", "sepheight" and "sepimm" neither.
// Pixel values are in 96-DPI pixels as written.
struct DropBoxStyle {
  uint32_t bkColor = 0;   // 0: the list's item background, else white
  uint32_t bkColor2 = 0;  // with bkColor: a gradient from top to bottom
  CUIString bkImage;      // image string drawn over the background
  uint32_t borderColor = 0;
  int borderSize = 0;  // drawn when borderColor is set
  int insetLeft = 0, insetTop = 0, insetRight = 0, insetBottom = 0;
  int childPadding = 0;     // gap between rows
  bool vscrollbar = false;  // a thumb at the right edge while rows overflow
  bool hscrollbar = false;  // rows wider than the box scroll sideways, a thumb at the bottom edge
};

DropBoxStyle ParseDropBoxStyle(const char* attributes);

// Rows of rowHeight with the style's padding inside a box; pixel values
// already at the window's scale.
struct DropBoxRows {
  int count = 0, rowHeight = 0, childPadding = 0;
  int top = 0, bottom = 0;  // the inner area, inside border and inset
  int ContentHeight() const;
  int MaxScroll() const;                    // content below the view, 0 when it fits
  int RowTop(int index, int scroll) const;  // y of a row's top
  int RowAt(int y, int scroll) const;       // the row under y, -1 in a gap or outside
  int ClampScroll(int scroll) const;
};
// The sideways scroll of rows contentWidth wide in a view viewWidth wide,
// held within [0, contentWidth - viewWidth].
int ClampSideways(int scroll, int contentWidth, int viewWidth);

// The thumb of a view view pixels long over content pixels (more than the
// view) scrolled by scroll: its offset along a track as long as the view,
// and its length, the view's share of the track and at least 8 pixels.
struct ThumbSpan {
  int offset = 0, length = 0;
};
ThumbSpan ThumbOf(int view, int content, int scroll);

// The box's height for count rows: inset, border and rows, capped at
// maxHeight when that is above 0.
int DropBoxHeight(const DropBoxStyle& scaled, int count, int rowHeight, int maxHeight);

}  // namespace vt
