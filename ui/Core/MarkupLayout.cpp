#include "ui/Core/MarkupLayout.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "ui/Core/CodePage.h"
#include "ui/Core/MarkupTokens.h"

namespace vt {

namespace {

constexpr int kStackDepth = 64;

// A fixed-depth stack; pushes beyond the depth are only counted, so each
// later pop still matches its push.
template <typename T>
struct TagStack {
  T items[kStackDepth];
  int count = 0;
  int overflow = 0;
  void Push(T v) {
    if (count < kStackDepth) {
      items[count++] = v;
    } else {
      ++overflow;
    }
  }
  void Pop() {
    if (overflow > 0) {
      --overflow;
    } else if (count > 0) {
      --count;
    }
  }
  bool Empty() const { return count == 0; }
  T Top(T fallback) const { return count > 0 ? items[count - 1] : fallback; }
};

// Everything a line walk changes; copied to walk a line twice.
struct WalkState {
  size_t pos = 0;
  int x = 0;
  TagStack<int> fonts;
  TagStack<uint32_t> colours;
  TagStack<int> paras;
  bool raw = false;
  bool selected = false;
  bool inLink = false;
  bool linkSlot = false;  // a rectangle may be recorded for this link
  int linkStart = 0;
  size_t targetPos = 0, targetLen = 0;
};

enum class LineEnd { Text, Break };

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

int Clamp(long v) { return static_cast<int>(std::max<long>(-kMarkupMaxNumber, std::min<long>(kMarkupMaxNumber, v))); }

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
    int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
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

class MarkupWalker {
 public:
  MarkupWalker(const MarkupRequest& req, const SkinRect& rc, IMarkupFonts& fonts, IMarkupCanvas* canvas,
               bool recordLinks)
      : req_(req), rc_(rc), fonts_(fonts), canvas_(canvas), recordLinks_(recordLinks) {}

  MarkupResult Layout(bool draw);

 private:
  int Font(const WalkState& s) const { return s.fonts.Top(kMarkupDefaultFont); }
  int BaseHeight(const WalkState& s) {
    MarkupFontMetrics m = fonts_.Metrics(Font(s));
    return m.height + m.externalLeading + s.paras.Top(0);
  }
  // While drawing a line its height is the one its first walk found.
  void Raise(const WalkState& s) {
    if (!drawing_) lineHeight_ = std::max(lineHeight_, BaseHeight(s));
  }
  LineEnd WalkLine(WalkState& s);
  bool TextRun(WalkState& s, size_t at, size_t len, size_t consumed, LineEnd& end);
  bool OpenTag(WalkState& s, const MarkupToken& t, LineEnd& end);
  bool CloseTag(WalkState& s, const MarkupToken& t, LineEnd& end);
  void PushStyled(WalkState& s, bool bold, bool underline, bool italic);
  void PushFaceFont(WalkState& s, const char* p, const char* end);
  void PopFont(WalkState& s);
  bool Image(WalkState& s, const MarkupToken& t);
  void EndLinkPiece(WalkState& s);
  size_t FitBytes(int font, const char* text, size_t len, int width);

  const MarkupRequest& req_;
  SkinRect rc_;
  IMarkupFonts& fonts_;
  IMarkupCanvas* canvas_;
  bool recordLinks_;
  bool drawing_ = false;  // the second walk of a line
  bool single_ = false;
  int lineTop_ = 0;
  int lineHeight_ = 0;
  int imageBottom_ = 0;
  int linkCount_ = 0;
  int lineFirstLink_ = 0;
};

// Bytes of the longest prefix made of whole characters that is at most
// width wide (text widths grow with the prefix).
size_t MarkupWalker::FitBytes(int font, const char* text, size_t len, int width) {
  std::vector<size_t> ends;
  for (size_t i = 0; i < len;) {
    i += CharSize(text, len, i);
    ends.push_back(i);
  }
  size_t lo = 0, hi = ends.size();  // answer: count of characters in [lo, hi]
  while (lo < hi) {
    size_t mid = (lo + hi + 1) / 2;
    if (fonts_.TextWidth(font, text, ends[mid - 1]) <= width) {
      lo = mid;
    } else {
      hi = mid - 1;
    }
  }
  return lo == 0 ? 0 : ends[lo - 1];
}

// One text run [at, at + len) that takes up consumed bytes of the text (an
// escape takes three bytes to print one). False when the line ends after it.
bool MarkupWalker::TextRun(WalkState& s, size_t at, size_t len, size_t consumed, LineEnd& end) {
  const char* text = req_.text + at;
  int font = Font(s);
  int width = fonts_.TextWidth(font, text, len);
  size_t shown = len;
  bool ellipsis = false;
  bool fits = s.x + width <= rc_.right;
  if (!fits) {
    bool atLeft = s.x <= rc_.left;
    shown = FitBytes(font, text, len, rc_.right - s.x);
    if (!atLeft && shown > 0) shown = CharBoundaryAtOrBelow(text, len, shown - 1);
    if (req_.style & kMarkupWordBreak) {
      size_t lastBreak = 0;
      for (size_t i = 0; i < shown; i += CharSize(text, len, i)) {
        if (!IsAsciiLetter(text[i])) lastBreak = i + CharSize(text, len, i);
      }
      if (lastBreak > 0) shown = lastBreak;
    }
    if (req_.style & kMarkupEndEllipsis) {
      for (int k = 0; k < 2 && shown > 0; ++k) shown = CharBoundaryAtOrBelow(text, len, shown - 1);
      ellipsis = true;
    }
    // A line that starts with a run too wide for it still takes a character.
    if (shown == 0 && atLeft) shown = CharSize(text, len, 0);
    width = shown == len ? width : fonts_.TextWidth(font, text, shown);
  }
  if (drawing_ && shown > 0) {
    MarkupFontMetrics m = fonts_.Metrics(font);
    int y = lineTop_ + lineHeight_ - m.height - m.externalLeading;
    int x = s.x;
    if (!single_ && (req_.style & kMarkupCenter)) {
      x += (rc_.Width() - width) / 2;
    } else if (!single_ && (req_.style & kMarkupRight)) {
      x += rc_.Width() - width;
    }
    uint32_t colour = s.colours.Top(req_.colour);
    canvas_->DrawRun(font, colour, s.selected, x, y, text, shown);
    if (ellipsis) canvas_->DrawRun(font, colour, s.selected, x + width, y, "...", 3);
  }
  if (fits) {
    s.x += width;
    s.pos += consumed;
    return true;
  }
  s.pos += shown == len ? consumed : shown;
  s.x = ellipsis ? rc_.right : s.x + width;
  end = LineEnd::Break;
  return false;
}

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
  // A font that cannot be made keeps the current one (pushed again, so the
  // closing tag still pops exactly one).
  s.fonts.Push(f == kMarkupNoFont ? Font(s) : f);
  Raise(s);
}

void MarkupWalker::PopFont(WalkState& s) {
  MarkupFontMetrics old = fonts_.Metrics(Font(s));
  s.fonts.Pop();
  if (old.italic && !fonts_.Metrics(Font(s)).italic) s.x += old.spaceOverhangC / 2;
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
      }
      break;
    case 'c':
      s.colours.Push(ReadColour(arg, argEnd));
      break;
    case 'b':
      PushStyled(s, true, false, false);
      break;
    case 'u':
      PushStyled(s, false, true, false);
      break;
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
      bool hover = req_.hoverTarget && req_.hoverLen == t.argLen && memcmp(req_.hoverTarget, arg, t.argLen) == 0;
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
    case 'x':
      s.x += ReadNumber(arg, argEnd);
      break;
    case 'y':
      if (!drawing_) lineHeight_ = std::max(0, ReadNumber(arg, argEnd));
      break;
    case 's':
      s.selected = !s.selected;
      break;
    case 'r':
      s.raw = true;
      break;
    default:
      break;  // letters without a meaning do nothing
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
    case 'i':
      PopFont(s);
      break;
    case 'c':
      s.colours.Pop();
      break;
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
    case 's':
      s.selected = !s.selected;
      break;
    case 'r':
      s.raw = false;
      break;
    default:
      break;
  }
  return true;
}

LineEnd MarkupWalker::WalkLine(WalkState& s) {
  LineEnd end = LineEnd::Text;
  for (;;) {
    if (s.pos >= req_.len) {
      end = LineEnd::Text;
      break;
    }
    if (s.x >= rc_.right) {
      end = LineEnd::Break;
      break;
    }
    MarkupToken t = ReadMarkupToken(req_.text, req_.len, s.pos, s.raw);
    bool more = true;
    switch (t.kind) {
      case MarkupTokenKind::End:
        s.pos = req_.len;
        break;
      case MarkupTokenKind::LineFeed:
        s.pos += 1;
        end = LineEnd::Break;
        more = false;
        break;
      case MarkupTokenKind::Text:
      case MarkupTokenKind::Space:
        more = TextRun(s, t.pos, t.len, t.len, end);
        break;
      case MarkupTokenKind::Escape:
        more = TextRun(s, t.argPos, 1, t.len, end);
        break;
      case MarkupTokenKind::Open:
        more = OpenTag(s, t, end);
        break;
      case MarkupTokenKind::Close:
        more = CloseTag(s, t, end);
        break;
    }
    if (!more) break;
  }
  // A link still open at the end of a line gets a rectangle on this line and
  // continues at the left edge of the next.
  if (end == LineEnd::Break && s.inLink) {
    EndLinkPiece(s);
    s.linkStart = rc_.left;
    s.linkSlot = linkCount_ < req_.linkCapacity;
  }
  return end;
}

MarkupResult MarkupWalker::Layout(bool draw) {
  MarkupResult result;
  result.rect = rc_;
  single_ = (req_.style & kMarkupSingleLine) != 0;
  WalkState s;
  s.x = rc_.left;
  int y = rc_.top;
  int widest = rc_.left;
  int lastBottom = rc_.top;
  imageBottom_ = rc_.top;
  lineHeight_ = BaseHeight(s);
  for (;;) {
    lineTop_ = y;
    lineFirstLink_ = linkCount_;
    WalkState start = s;
    drawing_ = false;
    LineEnd end = WalkLine(s);
    for (int i = lineFirstLink_; i < linkCount_; ++i) req_.links[i].rect.bottom = lineTop_ + lineHeight_;
    widest = std::max(widest, s.x);
    if (draw) {
      WalkState second = start;
      drawing_ = true;
      WalkLine(second);
      drawing_ = false;
      s = second;
    }
    lastBottom = y + lineHeight_;
    if (end == LineEnd::Text || single_) break;
    y += lineHeight_;
    if (y > rc_.bottom) break;
    s.x = rc_.left;
    lineHeight_ = BaseHeight(s);
  }
  result.linkCount = linkCount_;
  if (!draw) {
    result.rect.right = std::min(widest, rc_.right);
    result.rect.bottom = std::max(lastBottom, imageBottom_);
  }
  return result;
}

}  // namespace

MarkupResult LayoutMarkup(const MarkupRequest& request, IMarkupFonts& fonts, IMarkupCanvas* canvas) {
  MarkupResult empty;
  empty.rect = request.rect;
  bool measuring = (request.style & kMarkupCalcRect) != 0;
  if (measuring) {
    empty.rect.right = request.rect.left;
    empty.rect.bottom = request.rect.top;
  }
  if (!request.text || request.len == 0 || request.rect.IsEmpty() || (!measuring && !canvas)) return empty;
  MarkupRequest req = request;
  if (req.linkCapacity < 0 || !req.links) req.linkCapacity = 0;
  SkinRect rc = request.rect;
  unsigned align = kMarkupCenter | kMarkupRight | kMarkupVCenter | kMarkupBottom;
  if (!measuring && (req.style & align)) {
    // The whole text is placed by its extent in a box 9999 wide, 100 high.
    MarkupRequest probe = req;
    probe.rect = {rc.left, rc.top, rc.left + 9999, rc.top + 100};
    probe.style = (req.style & ~align) | kMarkupCalcRect;
    probe.links = nullptr;
    probe.linkCapacity = 0;
    SkinRect ext = MarkupWalker(probe, probe.rect, fonts, nullptr, false).Layout(false).rect;
    int tw = ext.Width(), th = ext.Height();
    // A text larger than the rectangle keeps the rectangle: it then starts at
    // the left and top and is cut (or ends in "...") at the right and bottom
    // rather than losing both of its ends.
    if ((req.style & kMarkupSingleLine) && tw < request.rect.Width()) {
      if (req.style & kMarkupCenter) {
        rc.left = request.rect.left + (request.rect.Width() - tw) / 2;
        rc.right = rc.left + tw;
      } else if (req.style & kMarkupRight) {
        rc.left = request.rect.right - tw;
      }
    }
    if (th < request.rect.Height() && (req.style & kMarkupVCenter)) {
      rc.top = request.rect.top + (request.rect.Height() - th) / 2;
      rc.bottom = rc.top + th;
    } else if (th < request.rect.Height() && (req.style & kMarkupBottom)) {
      rc.top = request.rect.bottom - th;
    }
  }
  return MarkupWalker(req, rc, fonts, canvas, true).Layout(!measuring);
}

}  // namespace vt
