#include "ui/Core/ImageString.h"

#include <cstring>

#include "base/CodePage.h"

namespace vt {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

void ApplyKey(const CUIString& key, const CUIString& value, ImageSpec& spec, ImageSink flush, void* context) {
  bool isName = key == "file" || key == "res";
  bool isType = key == "restype";
  if (isName || isType) {
    bool collected = isName ? spec.HasName() : !spec.restype.IsEmpty();
    if (collected) {
      if (flush) flush(context, spec);
      if (isName) {
        spec.file.Empty();
        spec.res.Empty();
      }
    }
    if (key == "file") spec.file = value;
    else if (key == "res") spec.res = value;
    else spec.restype = value;
  } else if (key == "dest") {
    spec.dest = ParseRect(value);
    spec.destSet = true;
  } else if (key == "source") {
    spec.source = ParseRect(value);
  } else if (key == "corner") {
    spec.corner = ParseRect(value);
  } else if (key == "mask") {
    spec.mask = ParseColor(value);
  } else if (key == "fade") {
    int f = ParseInt(value);
    spec.fade = f < 0 ? 0 : (f > 255 ? 255 : f);
  } else if (key == "hole") {
    spec.hole = ParseBool(value);
  } else if (key == "xtiled") {
    spec.xtiled = ParseBool(value);
  } else if (key == "ytiled") {
    spec.ytiled = ParseBool(value);
  }
}

// True when text starts with key=' after optional blanks: then it is a list
// of pairs, otherwise a bare file name.
bool LooksLikePairs(const char* text, size_t len) {
  size_t eq = FindAsciiCharFromBoundary(text, len, '=', 0);
  return eq + 1 < len && text[eq + 1] == '\'';
}

}  // namespace

void ParseImageString(const char* text, ImageSpec& spec, ImageSink flush, void* context) {
  if (!text || !*text) return;
  size_t len = strlen(text);
  if (!LooksLikePairs(text, len)) {
    ApplyKey("file", text, spec, flush, context);
    return;
  }
  size_t pos = 0;
  while (pos < len) {
    while (pos < len && IsBlank(text[pos])) ++pos;
    if (pos >= len) break;
    size_t eq = FindAsciiCharFromBoundary(text, len, '=', pos);
    if (eq + 1 >= len || text[eq + 1] != '\'') break;
    size_t valueStart = eq + 2;
    size_t close = FindAsciiCharFromBoundary(text, len, '\'', valueStart);
    if (close >= len) break;
    CUIString key(text + pos, eq - pos);
    CUIString value(text + valueStart, close - valueStart);
    if (!value.IsEmpty()) ApplyKey(key, value, spec, flush, context);
    pos = close + 1;
    if (pos < len && !IsBlank(text[pos])) break;
  }
}

}  // namespace vt
