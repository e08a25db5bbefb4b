// Internals of the markup layout shared by its two source files: the state
// one line walk changes (copied to walk a line twice), the fixed-depth tag
// stacks, and the walker. MarkupLayout.cpp walks lines and runs;
// MarkupTagEffects.cpp applies the tags.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "ui/Core/MarkupLayout.h"
#include "ui/Core/MarkupTokens.h"

namespace vt {
namespace markup {

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

inline int Clamp(long v) {
  return static_cast<int>(std::max<long>(-kMarkupMaxNumber, std::min<long>(kMarkupMaxNumber, v)));
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

}  // namespace markup
}  // namespace vt
