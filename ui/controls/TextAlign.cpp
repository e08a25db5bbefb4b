#include "ui/controls/TextAlign.h"

#include <cstring>

#include "ui/Core/MarkupLayout.h"

namespace vt {

unsigned ApplyAlignWords(const char* value, unsigned style) {
  if (!value) return style;
  const unsigned horizontal = kMarkupCenter | kMarkupRight;
  const unsigned vertical = kMarkupVCenter | kMarkupBottom;
  if (strstr(value, "left")) style &= ~(horizontal | kMarkupVCenter | kMarkupSingleLine);
  if (strstr(value, "center")) style |= kMarkupCenter;
  if (strstr(value, "right")) {
    style &= ~(kMarkupCenter | kMarkupVCenter | kMarkupSingleLine);
    style |= kMarkupRight;
  }
  if (strstr(value, "top")) style = (style & ~vertical) | kMarkupSingleLine;
  if (strstr(value, "vcenter"))
    style = (style & ~kMarkupBottom) | kMarkupVCenter | kMarkupCenter | kMarkupSingleLine;
  if (strstr(value, "bottom")) style = (style & ~kMarkupVCenter) | kMarkupBottom | kMarkupSingleLine;
  return style;
}

}  // namespace vt
