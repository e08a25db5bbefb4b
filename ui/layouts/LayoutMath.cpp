#include "ui/layouts/LayoutMath.h"

#include <algorithm>

namespace vt {

namespace {

int Clamp(int v, int lo, int hi) {
  if (v < lo) v = lo;
  if (v > hi) v = hi;
  return v;
}

SkinRect Transpose(const SkinRect& r) { return {r.top, r.left, r.bottom, r.right}; }
SkinSize Transpose(SkinSize s) { return {s.cy, s.cx}; }

LayoutChild Transpose(const LayoutChild& c) {
  LayoutChild t = c;
  t.padding = Transpose(c.padding);
  t.minWidth = c.minHeight;
  t.maxWidth = c.maxHeight;
  t.minHeight = c.minWidth;
  t.maxHeight = c.maxWidth;
  t.fixedWidth = c.fixedHeight;
  t.fixedHeight = c.fixedWidth;
  return t;
}

class TransposedSizes : public ILayoutSizes {
 public:
  explicit TransposedSizes(ILayoutSizes& inner) : inner_(inner) {}
  SkinSize Desired(int index, SkinSize available) override {
    return Transpose(inner_.Desired(index, Transpose(available)));
  }

 private:
  ILayoutSizes& inner_;
};

}  // namespace

int LayoutVertical(const SkinRect& r, SkinSize available, int scrollPos, int childPadding,
                   const std::vector<LayoutChild>& children, ILayoutSizes& sizes,
                   std::vector<SkinRect>& out) {
  const int n = static_cast<int>(children.size());
  out.assign(children.size(), SkinRect());
  // First pass: who shares the free space, and how much is fixed.
  std::vector<bool> adjustable(children.size(), false);
  int adjustCount = 0, laidOut = 0, fixed = 0;
  for (int i = 0; i < n; ++i) {
    const LayoutChild& c = children[static_cast<size_t>(i)];
    if (c.floating) continue;
    ++laidOut;
    SkinSize s = sizes.Desired(i, available);
    if (s.cy == 0) {
      adjustable[static_cast<size_t>(i)] = true;
      ++adjustCount;
    } else {
      fixed += Clamp(s.cy, c.minHeight, c.maxHeight) + c.padding.top + c.padding.bottom;
    }
  }
  if (laidOut == 0) return 0;
  int gaps = (laidOut - 1) * childPadding;
  int share = adjustCount > 0 ? std::max(0, (available.cy - fixed - gaps) / adjustCount) : 0;

  // Second pass: place them from the top.
  int y = r.top - scrollPos;
  int remaining = available.cy;
  int fixedToCome = fixed;
  int adjustSeen = 0, needed = 0, placed = 0;
  for (int i = 0; i < n; ++i) {
    const LayoutChild& c = children[static_cast<size_t>(i)];
    if (c.floating) continue;
    remaining -= c.padding.top;
    SkinSize s = sizes.Desired(i, {available.cx, remaining});
    int h;
    if (adjustable[static_cast<size_t>(i)]) {
      ++adjustSeen;
      h = adjustSeen == adjustCount ? std::max(0, remaining - c.padding.bottom - fixedToCome) : share;
      h = Clamp(h, c.minHeight, c.maxHeight);
    } else {
      h = Clamp(s.cy, c.minHeight, c.maxHeight);
      fixedToCome -= h + c.padding.top + c.padding.bottom;
    }
    int w = c.fixedWidth != 0 ? c.fixedWidth : available.cx - c.padding.left - c.padding.right;
    w = Clamp(std::max(0, w), c.minWidth, c.maxWidth);
    SkinRect& rc = out[static_cast<size_t>(i)];
    rc.left = r.left + c.padding.left;
    rc.top = y + c.padding.top;
    rc.right = rc.left + w;
    rc.bottom = y + c.padding.top + h + c.padding.bottom;
    y += h + c.padding.top + c.padding.bottom + childPadding;
    remaining -= h + childPadding + c.padding.bottom;
    needed += h + c.padding.top + c.padding.bottom + (placed++ > 0 ? childPadding : 0);
  }
  return needed;
}

int LayoutHorizontal(const SkinRect& r, SkinSize available, int scrollPos, int childPadding,
                     const std::vector<LayoutChild>& children, ILayoutSizes& sizes,
                     std::vector<SkinRect>& out) {
  std::vector<LayoutChild> t;
  t.reserve(children.size());
  for (const LayoutChild& c : children) t.push_back(Transpose(c));
  TransposedSizes ts(sizes);
  int needed = LayoutVertical(Transpose(r), Transpose(available), scrollPos, childPadding, t, ts, out);
  for (SkinRect& rc : out) rc = Transpose(rc);
  return needed;
}

SkinRect FloatingRect(const SkinRect& parent, int x, int y, int width, int height, const RelativeMove& rel) {
  SkinRect rc;
  if (x >= 0) {
    rc.left = parent.left + x;
    rc.right = rc.left + width;
  } else {
    rc.right = parent.right + x;
    rc.left = rc.right - width;
  }
  if (y >= 0) {
    rc.top = parent.top + y;
    rc.bottom = rc.top + height;
  } else {
    rc.bottom = parent.bottom + y;
    rc.top = rc.bottom - height;
  }
  if (rel.set) {
    int dw = parent.Width() - rel.parentSize.cx;
    int dh = parent.Height() - rel.parentSize.cy;
    int mx = dw * rel.moveX / 100, my = dh * rel.moveY / 100;
    rc.left += mx;
    rc.right += mx + dw * rel.growX / 100;
    rc.top += my;
    rc.bottom += my + dh * rel.growY / 100;
  }
  return rc;
}

SkinRect TabPageRect(const SkinRect& area, const LayoutChild& page, int fixedWidth, int fixedHeight) {
  SkinRect a{area.left + page.padding.left, area.top + page.padding.top, area.right - page.padding.right,
             area.bottom - page.padding.bottom};
  int w = Clamp(fixedWidth > 0 ? fixedWidth : std::max(0, a.Width()), page.minWidth, page.maxWidth);
  int h = Clamp(fixedHeight > 0 ? fixedHeight : std::max(0, a.Height()), page.minHeight, page.maxHeight);
  return {a.left, a.top, a.left + w, a.top + h};
}

bool UpdateScroll(ScrollState& bar, int needed, int view) {
  int overflow = needed - view;
  if (!bar.visible) {
    if (overflow <= 0) return false;
    bar = {true, 0, overflow};
    return true;
  }
  if (overflow <= 0) {
    bar = {false, 0, 0};
    return true;
  }
  bar.range = overflow;
  if (bar.pos > bar.range) {
    bar.pos = bar.range;
    return true;
  }
  return false;
}

int ChildExtent(const LayoutChild& c, bool acrossWidth, bool withPadding) {
  int lo = acrossWidth ? c.minWidth : c.minHeight, hi = acrossWidth ? c.maxWidth : c.maxHeight;
  int fixed = acrossWidth ? c.fixedWidth : c.fixedHeight;
  int size = fixed > 0 ? Clamp(fixed, lo, hi) : std::max(0, lo);
  if (withPadding) size += acrossWidth ? c.padding.left + c.padding.right : c.padding.top + c.padding.bottom;
  return size;
}

int CrossExtent(const std::vector<LayoutChild>& children, bool acrossWidth, bool withPadding) {
  int most = 0;
  for (const LayoutChild& c : children)
    if (!c.floating) most = std::max(most, ChildExtent(c, acrossWidth, withPadding));
  return most;
}

SkinRect LayoutScrolled(const SkinRect& insetArea, int vWidth, ScrollState* v, int hHeight, ScrollState* h,
                        IScrolledContent& content) {
  auto viewOf = [&]() {
    SkinRect r = insetArea;
    if (v && v->visible) r.right = std::max(r.left, r.right - vWidth);
    if (h && h->visible) r.bottom = std::max(r.top, r.bottom - hHeight);
    return r;
  };
  auto place = [&](const SkinRect& view) {
    SkinSize pos{h && h->visible ? h->pos : 0, v && v->visible ? v->pos : 0};
    SkinSize range{h && h->visible ? h->range : 0, v && v->visible ? v->range : 0};
    return content.Place(view, pos, range);
  };
  // Each bar that appears takes room from the other axis, so a few rounds:
  // place, show a bar, place narrower, show the other, find a position too
  // large... The last round leaves children and bars in agreement.
  SkinRect view = viewOf();
  for (int round = 0; round < 4; ++round) {
    SkinSize needed = place(view);
    bool again = false;
    if (v) again = UpdateScroll(*v, needed.cy, view.Height()) || again;
    if (h) again = UpdateScroll(*h, needed.cx, view.Width()) || again;
    view = viewOf();
    if (!again) return view;
  }
  place(view);
  return view;
}

SkinRect ScrolledRoom(const SkinRect& view, SkinSize pos, SkinSize range) {
  return {view.left - pos.cx, view.top - pos.cy, view.right - pos.cx + range.cx,
          view.bottom - pos.cy + range.cy};
}

SkinSize FlowVertical(const SkinRect& view, SkinSize pos, SkinSize range, int childPadding,
                      const std::vector<LayoutChild>& children, ILayoutSizes& sizes,
                      std::vector<SkinRect>& out) {
  SkinRect r = ScrolledRoom(view, {pos.cx, 0}, {range.cx, 0});  // the flow takes pos.cy itself
  int needed = LayoutVertical(r, {r.Width(), r.Height()}, pos.cy, childPadding, children, sizes, out);
  return {CrossExtent(children, true, true), needed};
}

SkinSize FlowHorizontal(const SkinRect& view, SkinSize pos, SkinSize range, int childPadding,
                        const std::vector<LayoutChild>& children, ILayoutSizes& sizes,
                        std::vector<SkinRect>& out) {
  SkinRect r = ScrolledRoom(view, {0, pos.cy}, {0, range.cy});  // the flow takes pos.cx itself
  int needed = LayoutHorizontal(r, {r.Width(), r.Height()}, pos.cx, childPadding, children, sizes, out);
  return {needed, CrossExtent(children, false, true)};
}

void ListSplit(const SkinRect& area, bool headerShown, int headerHeight, SkinRect& header, SkinRect& body) {
  int h = headerShown ? std::min(std::max(0, headerHeight), std::max(0, area.Height())) : 0;
  header = {area.left, area.top, area.right, area.top + h};
  body = {area.left, area.top + h, area.right, area.bottom};
}

}  // namespace vt
