#include "ui/Core/AttributeString.h"

#include <cstring>

#include "base/CodePage.h"
#include "base/UIString.h"

namespace vt {

size_t ForEachAttribute(const char* text, AttributeSink apply, void* context) {
  if (!text || !apply) return 0;
  size_t len = strlen(text);
  size_t pos = 0;
  size_t applied = 0;
  while (pos < len) {
    size_t eq = FindAsciiCharFromBoundary(text, len, '=', pos);
    if (eq >= len || eq + 1 >= len || text[eq + 1] != '"') break;
    size_t valueStart = eq + 2;
    size_t close = FindAsciiCharFromBoundary(text, len, '"', valueStart);
    if (close >= len) break;
    CUIString name(text + pos, eq - pos);
    CUIString value(text + valueStart, close - valueStart);
    apply(context, name, value);
    ++applied;
    pos = close + 1;
    if (pos >= len) break;
    // Exactly one space separates pairs; a second one ends the string too.
    if (text[pos] != ' ' || (pos + 1 < len && text[pos + 1] == ' ')) break;
    ++pos;
  }
  return applied;
}

}  // namespace vt
