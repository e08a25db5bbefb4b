// The arithmetic of the layout containers over rectangles and sizes, free
// of controls and windows: the flow of a vertical or horizontal layout
// given each child's desired size, floating placement, the page of a tab
// layout, the container's scroll bar and the list's header and body.
//
// Quirks kept on purpose (the layouts are drawn with them in mind):
//  a) a child of a vertical layout gets a rectangle whose bottom includes
//     its bottom padding, one of a horizontal layout a right edge that
//     includes its right padding;
//  b) the last adjustable child takes what is left, so 101 free pixels are
//     shared 50 and 51.
#pragma once

#include <vector>

#include "ui/Core/SkinValues.h"

namespace vt {

// One visible child as a layout sees it.
struct LayoutChild {
  bool floating = false;
  SkinRect padding;
  // The child's fixed width (0: none). Across the layout's axis a child
  // takes its fixed width, else the available width; what it measures for
  // its content (a text's width) does not size it.
  int fixedWidth = 0, fixedHeight = 0;
  int minWidth = 0, maxWidth = 9999;
  int minHeight = 0, maxHeight = 9999;
};

// Answers a child's desired size for the space it is offered (a child
// answering 0 along the layout's axis shares the free space).
class ILayoutSizes {
 public:
  virtual SkinSize Desired(int index, SkinSize available) = 0;

 protected:
  ~ILayoutSizes() = default;
};

// Places the non-floating children of a vertical layout in r (the item
// rectangle minus inset and visible scroll bars), shifted up by scrollPos;
// available is r's size (plus the horizontal scroll range in width when a
// horizontal bar shows). out[i] is written for every non-floating child.
// Returns the height the children need.
int LayoutVertical(const SkinRect& r, SkinSize available, int scrollPos, int childPadding,
                   const std::vector<LayoutChild>& children, ILayoutSizes& sizes, std::vector<SkinRect>& out);
// The same with the axes exchanged; returns the width needed.
int LayoutHorizontal(const SkinRect& r, SkinSize available, int scrollPos, int childPadding,
                     const std::vector<LayoutChild>& children, ILayoutSizes& sizes,
                     std::vector<SkinRect>& out);

// Relative position of a floating child: percentages of the change of its
// parent's size since parentSize was recorded.
struct RelativeMove {
  bool set = false;
  int moveX = 0, moveY = 0, growX = 0, growY = 0;
  SkinSize parentSize;
};

// A floating child inside its parent's item rectangle: from the left/top
// edge when x/y >= 0, else from the right/bottom edge.
SkinRect FloatingRect(const SkinRect& parent, int x, int y, int width, int height, const RelativeMove& rel);

// The current page of a tab layout: at the area's top-left, its fixed size
// or the whole area, clamped.
SkinRect TabPageRect(const SkinRect& area, const LayoutChild& page, int fixedWidth, int fixedHeight);

// A container's scroll bar along one axis.
struct ScrollState {
  bool visible = false;
  int pos = 0;
  int range = 0;
};
// Updates the bar for needed pixels of children in a view of view pixels.
// True when the children must be placed again (the bar appeared or went,
// or the position had to shrink with the range).
bool UpdateScroll(ScrollState& bar, int needed, int view);

// The extent of one child across a flow (its width when acrossWidth, else
// its height): its fixed size (else its minimum), clamped, plus its
// paddings when withPadding. A child that fills the room asks for no more
// than its minimum: it would otherwise grow with the room it measures.
int ChildExtent(const LayoutChild& child, bool acrossWidth, bool withPadding);
// The largest ChildExtent of the non-floating children.
int CrossExtent(const std::vector<LayoutChild>& children, bool acrossWidth, bool withPadding);

// What a scrolled container places: the children in view (the area the
// visible bars leave), shifted by pos (x: horizontal, y: vertical) and
// with room for range more pixels on the axis of each visible bar.
// Returns the size the children need.
class IScrolledContent {
 public:
  virtual SkinSize Place(const SkinRect& view, SkinSize pos, SkinSize range) = 0;

 protected:
  ~IScrolledContent() = default;
};

// The scroll bars of a container: vertical (strip of vWidth at the right)
// and horizontal (strip of hHeight at the bottom); a null state is a bar
// the container does not have. Places the content, shows, updates or hides
// the bars, and places again when that changed the room. Returns the view.
SkinRect LayoutScrolled(const SkinRect& insetArea, int vWidth, ScrollState* v, int hHeight, ScrollState* h,
                        IScrolledContent& content);

// The room of content in a scrolled view: the view moved back by pos and
// grown by range (x: horizontal, y: vertical).
SkinRect ScrolledRoom(const SkinRect& view, SkinSize pos, SkinSize range);

// The flows of the vertical and horizontal layouts in a scrolled view (as
// IScrolledContent::Place gets it). A vertical flow runs down from the
// view's top less pos.cy and across has the view's width plus range.cx,
// moved left by pos.cx; a horizontal one the same transposed. Returns the
// size the children need: along the flow the whole run, across it the
// widest (tallest) child.
SkinSize FlowVertical(const SkinRect& view, SkinSize pos, SkinSize range, int childPadding,
                      const std::vector<LayoutChild>& children, ILayoutSizes& sizes,
                      std::vector<SkinRect>& out);
SkinSize FlowHorizontal(const SkinRect& view, SkinSize pos, SkinSize range, int childPadding,
                        const std::vector<LayoutChild>& children, ILayoutSizes& sizes,
                        std::vector<SkinRect>& out);

// A list: the header row (when shown) takes headerHeight at the top, the
// body the rest.
void ListSplit(const SkinRect& area, bool headerShown, int headerHeight, SkinRect& header, SkinRect& body);

}  // namespace vt
