#include "ui/controls/DropBoxStyle.h"

#include <cstdlib>
#include <cstring>

#include "ui/Core/AttributeString.h"
#include "ui/Core/SkinValues.h"

namespace vt {

namespace {
void Apply(void* context, const char* name, const char* value) {
  DropBoxStyle& s = *static_cast<DropBoxStyle*>(context);
  if (strcmp(name, "bkcolor") == 0 || strcmp(name, "bkcolor1") == 0) {
    s.bkColor = ParseColor(value);
  } else if (strcmp(name, "bkcolor2") == 0) {
    s.bkColor2 = ParseColor(value);
  } else if (strcmp(name, "bkimage") == 0) {
    s.bkImage = value;
  } else if (strcmp(name, "bordercolor") == 0) {
    s.borderColor = ParseColor(value);
  } else if (strcmp(name, "bordersize") == 0) {
    int v = atoi(value);
    s.borderSize = v < 0 ? 0 : v > 100 ? 100 : v;
  } else if (strcmp(name, "inset") == 0) {
    SkinRect r = ParseRect(value);
    auto bound = [](int v) { return v < 0 ? 0 : v > 1000 ? 1000 : v; };
    s.insetLeft = bound(r.left);
    s.insetTop = bound(r.top);
    s.insetRight = bound(r.right);
    s.insetBottom = bound(r.bottom);
  } else if (strcmp(name, "childpadding") == 0) {
    int v = atoi(value);
    s.childPadding = v < 0 ? 0 : v > 1000 ? 1000 : v;
  } else if (strcmp(name, "vscrollbar") == 0) {
    s.vscrollbar = ParseBool(value);
  } else if (strcmp(name, "hscrollbar") == 0) {
    s.hscrollbar = ParseBool(value);
  }
}
}  // namespace

DropBoxStyle ParseDropBoxStyle(const char* attributes) {
  DropBoxStyle s;
  if (attributes) ForEachAttribute(attributes, Apply, &s);
  return s;
}

int DropBoxRows::ContentHeight() const {
  if (count <= 0) return 0;
  return count * rowHeight + (count - 1) * childPadding;
}

int DropBoxRows::MaxScroll() const {
  int over = ContentHeight() - (bottom - top);
  return over > 0 ? over : 0;
}

int DropBoxRows::ClampScroll(int scroll) const {
  int most = MaxScroll();
  return scroll < 0 ? 0 : scroll > most ? most : scroll;
}

int DropBoxRows::RowTop(int index, int scroll) const {
  return top + index * (rowHeight + childPadding) - scroll;
}

int DropBoxRows::RowAt(int y, int scroll) const {
  if (y < top || y >= bottom || rowHeight <= 0) return -1;
  int offset = y - top + scroll;
  int pitch = rowHeight + childPadding;
  int row = offset / pitch;
  if (row >= count || offset % pitch >= rowHeight) return -1;
  return row;
}

int ClampSideways(int scroll, int contentWidth, int viewWidth) {
  int most = contentWidth - viewWidth;
  if (most < 0) most = 0;
  return scroll < 0 ? 0 : scroll > most ? most : scroll;
}

ThumbSpan ThumbOf(int view, int content, int scroll) {
  ThumbSpan t;
  t.length = view * view / content;
  if (t.length < 8) t.length = 8;
  t.offset = (view - t.length) * scroll / (content - view);
  return t;
}

int DropBoxHeight(const DropBoxStyle& s, int count, int rowHeight, int maxHeight) {
  DropBoxRows rows;
  rows.count = count;
  rows.rowHeight = rowHeight;
  rows.childPadding = s.childPadding;
  int frame = s.insetTop + s.insetBottom + (s.borderColor ? 2 * s.borderSize : 0);
  int height = frame + (count > 0 ? rows.ContentHeight() : rowHeight);
  if (maxHeight > 0 && height > maxHeight) height = maxHeight;
  return height;
}

}  // namespace vt
