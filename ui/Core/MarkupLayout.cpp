#include "ui/Core/MarkupLayout.h"

#include <algorithm>
#include <vector>

#include "base/CodePage.h"
#include "ui/Core/MarkupWalker.h"

namespace vt {
namespace markup {

namespace {
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
}  // namespace

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
      case MarkupTokenKind::End: s.pos = req_.len; break;
      case MarkupTokenKind::LineFeed:
        s.pos += 1;
        end = LineEnd::Break;
        more = false;
        break;
      case MarkupTokenKind::Text:
      case MarkupTokenKind::Space: more = TextRun(s, t.pos, t.len, t.len, end); break;
      case MarkupTokenKind::Escape: more = TextRun(s, t.argPos, 1, t.len, end); break;
      case MarkupTokenKind::Open: more = OpenTag(s, t, end); break;
      case MarkupTokenKind::Close: more = CloseTag(s, t, end); break;
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

}  // namespace markup

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
    SkinRect ext = markup::MarkupWalker(probe, probe.rect, fonts, nullptr, false).Layout(false).rect;
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
  return markup::MarkupWalker(req, rc, fonts, canvas, true).Layout(!measuring);
}

}  // namespace vt
