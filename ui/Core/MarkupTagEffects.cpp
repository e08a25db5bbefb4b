#include <cstring>

#include "ui/Core/MarkupWalker.h"

namespace vt {
namespace markup {

namespace {

// Decimal number at [p, end), like strtol; clamped.
int ReadNumber(const char* p, const char* end, const char** stop = nullptr) {
  while (p < end && (*p == ' ' || *p == '\t')) ++p;
  bool neg = false;
  if (p < end && (*p == '-' || *p == '+')) neg = *p++ == '-';
  long v = 0;
  while (p < end && *p >= '0' && *p <= '9') {
    if (v < kMarkupMaxNumber * 10L) v = v * 10 + (*p - '0');
    ++p;
  }
  if (stop) *stop = p;
  return Clamp(neg ? -v : v);
}

uint32_t ReadColour(const char* p, const char* end) {
  if (p < end && *p == '#') ++p;
  uint32_t v = 0;
  for (; p < end; ++p) {
    char c = *p;
    int d = c >= '0' && c <= '9'   ? c - '0'
            : c >= 'a' && c <= 'f' ? c - 'a' + 10
            : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                   : -1;
    if (d < 0) break;
    v = (v << 4) | static_cast<uint32_t>(d);
  }
  return v;
}

bool ContainsWord(const char* p, const char* end, const char* word) {
  size_t n = strlen(word);
  for (const char* q = p; q + n <= end; ++q) {
    size_t i = 0;
    while (i < n && (q[i] >= 'A' && q[i] <= 'Z' ? q[i] + 32 : q[i]) == word[i]) ++i;
    if (i == n) return true;
  }
  return false;
}

bool Contains(const char* p, size_t len, const char* needle) {
  size_t n = strlen(needle);
  for (size_t i = 0; i + n <= len; ++i) {
    if (memcmp(p + i, needle, n) == 0) return true;
  }
  return false;
}

}  // namespace

void MarkupWalker::PushStyled(WalkState& s, bool bold, bool underline, bool italic) {
  int cur = Font(s);
  int f = fonts_.FontWithStyle(cur, bold, underline, italic);
  s.fonts.Push(f == kMarkupNoFont ? cur : f);
  Raise(s);
}

void MarkupWalker::PushFaceFont(WalkState& s, const char* p, const char* end) {
  const char* face = p;
  while (p < end && *p != ' ') ++p;
  size_t faceLen = static_cast<size_t>(p - face);
  const char* after = p;
  int size = ReadNumber(p, end, &after);
  if (after == p || size <= 0) size = 10;
  bool bold = ContainsWord(after, end, "bold");
  bool underline = ContainsWord(after, end, "underline");
  bool italic = ContainsWord(after, end, "italic");
  int f = fonts_.FindFont(face, faceLen, size, bold, underline, italic);
  // A font that cannot be made is the default font, as an index out of
  // range is: still one push, so the closing tag restores the enclosing one.
  s.fonts.Push(f == kMarkupNoFont ? kMarkupDefaultFont : f);
  Raise(s);
}

void MarkupWalker::PopFont(WalkState& s) {
  MarkupFontMetrics old = fonts_.Metrics(Font(s));
  s.fonts.Pop();
  // Leaving italics makes room for half the slanted overhang (GDI gives it as
  // a C width, negative when the glyph reaches past its advance).
  if (old.italic && !fonts_.Metrics(Font(s)).italic) {
    int overhang = old.spaceOverhangC < 0 ? -old.spaceOverhangC : old.spaceOverhangC;
    s.x += overhang / 2;
  }
  Raise(s);
}

void MarkupWalker::EndLinkPiece(WalkState& s) {
  if (!s.inLink || !s.linkSlot || !recordLinks_ || drawing_) return;
  if (linkCount_ >= req_.linkCapacity || std::min(s.x, rc_.right) <= s.linkStart) return;
  MarkupLink& l = req_.links[linkCount_++];
  l.rect.left = s.linkStart;
  l.rect.top = lineTop_;
  l.rect.right = std::min(s.x, rc_.right);
  l.rect.bottom = lineTop_ + lineHeight_;  // set again once the line's height is known
  l.targetPos = s.targetPos;
  l.targetLen = s.targetLen;
}

bool MarkupWalker::Image(WalkState& s, const MarkupToken& t) {
  const char* arg = req_.text + t.argPos;
  const char* end = arg + t.argLen;
  MarkupImageRef ref;
  int count = 1, index = 0;
  if (Contains(arg, t.argLen, "file='") || Contains(arg, t.argLen, "res='")) {
    ref = {arg, t.argLen, true};
  } else {
    const char* p = arg;
    while (p < end && *p != ' ') ++p;
    ref = {arg, static_cast<size_t>(p - arg), false};
    const char* after = p;
    count = std::max(1, ReadNumber(p, end, &after));
    index = ReadNumber(after, end);
    if (index < 0 || index >= count) index = 0;
  }
  int w = 0, h = 0;
  if (!fonts_.ImageSize(ref, w, h)) return true;  // skipped
  int frame = w / count;
  if (s.x + frame > rc_.right && s.x > rc_.left && !single_) return false;  // read again on the next line
  if (!drawing_) lineHeight_ = std::max(lineHeight_, h);
  int top = lineTop_ + (lineHeight_ - h) / 2;
  imageBottom_ = std::max(imageBottom_, top + h);
  if (drawing_) canvas_->DrawImage(ref, s.x, top, index * frame, frame, h);
  s.x += frame;
  return true;
}

// False when the line ends at this tag (end says why).
bool MarkupWalker::OpenTag(WalkState& s, const MarkupToken& t, LineEnd& end) {
  const char* arg = req_.text + t.argPos;
  const char* argEnd = arg + t.argLen;
  switch (t.letter) {
    case 'f':
      if (t.argLen > 0 && arg[0] >= '0' && arg[0] <= '9') {
        s.fonts.Push(fonts_.FontAt(ReadNumber(arg, argEnd)));
        Raise(s);
      } else if (t.argLen > 0) {
        PushFaceFont(s, arg, argEnd);
      } else {
        // Every opening f pushes exactly one font, so that its </f> pops
        // this one and not the enclosing font.
        s.fonts.Push(kMarkupDefaultFont);
        Raise(s);
      }
      break;
    case 'c': s.colours.Push(ReadColour(arg, argEnd)); break;
    case 'b': PushStyled(s, true, false, false); break;
    case 'u': PushStyled(s, false, true, false); break;
    case 'i':
      if (t.argLen == 0) {
        PushStyled(s, false, false, true);
      } else if (!Image(s, t)) {
        end = LineEnd::Break;
        return false;
      }
      break;
    case 'a': {
      s.inLink = true;
      s.linkStart = s.x;
      s.targetPos = t.argPos;
      s.targetLen = t.argLen;
      s.linkSlot = linkCount_ < req_.linkCapacity;
      bool hover =
          req_.hoverTarget && req_.hoverLen == t.argLen && memcmp(req_.hoverTarget, arg, t.argLen) == 0;
      s.colours.Push(hover ? req_.linkHoverColour : req_.linkColour);
      PushStyled(s, false, true, false);
      break;
    }
    case 'n':
      if (!single_) {
        s.pos += t.len;
        end = LineEnd::Break;
        return false;
      }
      break;
    case 'p':
      s.paras.Push(std::max(0, ReadNumber(arg, argEnd)));
      if (s.x > rc_.left) {
        s.pos += t.len;
        end = LineEnd::Break;
        return false;
      }
      Raise(s);
      break;
    case 'x': s.x += ReadNumber(arg, argEnd); break;
    case 'y':
      if (!drawing_) lineHeight_ = std::max(0, ReadNumber(arg, argEnd));
      break;
    case 's': s.selected = !s.selected; break;
    case 'r': s.raw = true; break;
    default: break;  // letters without a meaning do nothing
  }
  s.pos += t.len;
  return true;
}

bool MarkupWalker::CloseTag(WalkState& s, const MarkupToken& t, LineEnd& end) {
  s.pos += t.len;
  switch (t.letter) {
    case 'f':
    case 'b':
    case 'u':
    case 'i': PopFont(s); break;
    case 'c': s.colours.Pop(); break;
    case 'a':
      EndLinkPiece(s);
      s.inLink = false;
      s.colours.Pop();
      PopFont(s);
      break;
    case 'p': {
      bool atLeft = s.x <= rc_.left;
      s.paras.Pop();
      if (!atLeft) {
        end = LineEnd::Break;
        return false;
      }
      break;
    }
    case 's': s.selected = !s.selected; break;
    case 'r': s.raw = false; break;
    default: break;
  }
  return true;
}

}  // namespace markup
}  // namespace vt
