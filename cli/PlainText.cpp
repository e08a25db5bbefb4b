#include "cli/PlainText.h"

#include <cstring>

#include "base/CodePage.h"

namespace vt {

namespace {
// A tag is "<x...>" or "{x...}" whose first character is a letter or '/'.
bool StartsTag(const char* text, size_t len, size_t pos) {
  if (pos + 2 >= len + 1 || (text[pos] != '<' && text[pos] != '{')) return false;
  char c = text[pos + 1];
  return c == '/' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
}  // namespace

std::string PlainText(const char* markup) {
  std::string out;
  if (!markup) return out;
  const size_t len = strlen(markup);
  size_t pos = 0;
  while (pos < len) {
    if (StartsTag(markup, len, pos)) {
      char close = markup[pos] == '<' ? '>' : '}';
      size_t end = FindAsciiChar(markup, len, close, pos + 1);
      if (end < len) {
        if (end == pos + 2 && (markup[pos + 1] == 'n' || markup[pos + 1] == 'p') && !out.empty() &&
            out.compare(out.size() > 3 ? out.size() - 3 : 0, 3, " / ") != 0)
          out += " / ";
        pos = end + 1;
        continue;
      }
    }
    size_t step = CharSize(markup, len, pos);
    out.append(markup + pos, step);
    pos += step;
  }
  while (out.size() >= 3 && out.compare(out.size() - 3, 3, " / ") == 0) out.resize(out.size() - 3);
  return out;
}

}  // namespace vt
