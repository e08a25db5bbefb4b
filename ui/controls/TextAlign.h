// The "align" attribute of labels: the value is searched for the words
// "left", "center", "right", "top", "vcenter", "bottom" (substrings, so
// "centerbottom" holds two and "vcenter" also counts as "center"), each
// found word changing the text style in that order. Other words change
// nothing. Style bits are the Win32 DT_ values (see MarkupLayout.h).
#pragma once

namespace vt {

unsigned ApplyAlignWords(const char* value, unsigned style);

}  // namespace vt
