// CControlUI: painting (background colour, background image, status image,
// text, border, clipped to the control) and animated GIF backgrounds.
#include <cstring>
#include <vector>

#include "ui/Core/DpiScale.h"
#include "ui/Core/Render.h"
#include "ui/Core/SkinFiles.h"
#include "ui/Core/SkinXml.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/ControlUI.h"

namespace {
bool NamesGif(const char* image) { return strstr(image, ".gif") || strstr(image, ".GIF"); }
constexpr int kDefaultGifDelayMs = 100;
}  // namespace

void CControlUI::DoPaint(HDC dc, const RECT& paint) {
  RECT clip;
  if (!IntersectRect(&clip, &paint, &rcItem_)) return;
  rcPaint_ = clip;
  CRenderClip scope(dc, clip, rcItem_, borderRound_.cx, borderRound_.cy);
  PaintBkColor(dc);
  PaintBkImage(dc);
  PaintStatusImage(dc);
  PaintText(dc);
  PaintBorder(dc);
}

uint32_t CControlUI::ShownColor(uint32_t argb) const {
  if (!colorHsl_ || !manager_ || argb == 0) return argb;
  return vt::AdjustColorHsl(argb, manager_->GetHslAdjust());
}

void CControlUI::PaintBkColor(HDC dc) {
  if (bkColor_ == 0) return;
  const uint32_t c1 = ShownColor(bkColor_), c2 = ShownColor(bkColor2_), c3 = ShownColor(bkColor3_);
  if (bkColor2_ == 0) {
    // A colour that is not opaque is filled over the whole control so that
    // partial repaints blend the same way as full ones.
    CRenderEngine::DrawColor(dc, (c1 >> 24) == 0xFF ? rcPaint_ : rcItem_, c1);
    return;
  }
  if (bkColor3_ == 0) {
    CRenderEngine::DrawGradient(dc, rcItem_, c1, c2, true);
    return;
  }
  RECT upper = rcItem_;
  upper.bottom = rcItem_.top + (rcItem_.bottom - rcItem_.top) / 2;
  RECT lower = rcItem_;
  lower.top = upper.bottom;
  CRenderEngine::DrawGradient(dc, upper, c1, c2, true);
  CRenderEngine::DrawGradient(dc, lower, c2, c3, true);
}

void CControlUI::PaintBkImage(HDC dc) {
  if (gif_) {
    PaintGifFrame(dc);
    return;
  }
  if (!bkImage_.IsEmpty()) DrawImage(dc, bkImage_);
}

void CControlUI::PaintBorder(HDC dc) {
  if (borderColor_ == 0 && focusBorderColor_ == 0) return;
  uint32_t color = ShownColor((focused_ && focusBorderColor_ != 0) ? focusBorderColor_ : borderColor_);
  const uint32_t side = ShownColor(borderColor_);
  if (borderSize_ > 0 && (borderRound_.cx > 0 || borderRound_.cy > 0)) {
    CRenderEngine::DrawRoundRect(dc, rcItem_, borderRound_.cx, borderRound_.cy, borderSize_, color);
    return;
  }
  const RECT& s = borderSizes_;
  if (s.left > 0 || s.top > 0 || s.right > 0 || s.bottom > 0) {
    const RECT& r = rcItem_;
    if (s.left > 0)
      CRenderEngine::DrawLine(dc, {r.left + s.left / 2, r.top, r.left + s.left / 2, r.bottom}, s.left, side,
                              borderStyle_);
    if (s.top > 0)
      CRenderEngine::DrawLine(dc, {r.left, r.top + s.top / 2, r.right, r.top + s.top / 2}, s.top, side,
                              borderStyle_);
    if (s.right > 0) {
      int x = r.right - (s.right + 1) / 2;
      CRenderEngine::DrawLine(dc, {x, r.top, x, r.bottom}, s.right, side, borderStyle_);
    }
    if (s.bottom > 0) {
      int y = r.bottom - (s.bottom + 1) / 2;
      CRenderEngine::DrawLine(dc, {r.left, y, r.right, y}, s.bottom, side, borderStyle_);
    }
    return;
  }
  if (borderSize_ > 0) CRenderEngine::DrawRect(dc, rcItem_, borderSize_, color);
}

bool CControlUI::DrawImage(HDC dc, CUIString& image, const char* modifier) {
  if (image.IsEmpty()) return false;
  if (CRenderEngine::DrawImageSpec(dc, manager_, rcItem_, rcPaint_, image, modifier)) return true;
  image.Empty();  // a missing image is tried once only
  return false;
}

bool CControlUI::DrawImageAt(HDC dc, CUIString& image, const char* modifier) {
  if (image.IsEmpty()) return false;
  if (CRenderEngine::DrawImageSpec(dc, manager_, rcItem_, rcPaint_, image, modifier, true)) return true;
  image.Empty();
  return false;
}

// ---- animated backgrounds ----

void CControlUI::SetBkImage(const char* image) {
  if (bkImage_ == (image ? image : "")) return;
  StopGif();
  bkImage_ = image;
  if (!bkImage_.IsEmpty() && NamesGif(bkImage_)) {
    vt::ImageSpec spec;
    vt::ParseImageString(bkImage_, spec);
    std::vector<char> bytes;
    const char* error = nullptr;
    // The frames drawn at a window's scale come from the nearest rendering
    // at or above it; the plain name is the 100 % one.
    bool read = false;
    if (spec.HasName() && manager_ && !manager_->GetDpiScale().IsIdentity()) {
      int percent = vt::ArtworkPercent(manager_->GetDpiScale());
      read = vt::ReadSkinFile(vt::ArtworkName(spec.Name(), percent), CSkinXml::kMaxFileSize, bytes, &error);
    }
    if (!read && spec.HasName()) read = vt::ReadSkinFile(spec.Name(), CSkinXml::kMaxFileSize, bytes, &error);
    if (read) {
      CGifHandler* gif = new CGifHandler;
      if (gif->Load(bytes.data(), bytes.size()) && gif->FrameCount() > 0) {
        gif_ = gif;
        gifFrame_ = 0;
      } else {
        delete gif;
      }
    }
  }
  Invalidate();
}

void CControlUI::PaintGifFrame(HDC dc) {
  const ImageInfo* frame = gif_->Frame(gifFrame_);
  if (frame) {
    vt::ImageSpec spec;
    CRenderEngine::DrawImage(dc, *frame, rcItem_, rcPaint_, spec);
  }
  if (!manager_) return;
  // The timer runs at the delay of the frame just drawn.
  int delay = gif_->DelayMs(gifFrame_);
  if (delay <= 0) delay = kDefaultGifDelayMs;
  if (gifTimerRunning_ && delay == gifDelay_) return;
  if (gifTimerRunning_) manager_->StopTimer(this, kGifTimerId);
  gifTimerRunning_ = manager_->StartTimer(this, kGifTimerId, static_cast<UINT>(delay));
  gifDelay_ = delay;
}

void CControlUI::AdvanceGif() {
  if (!gif_ || gif_->FrameCount() == 0) return;
  gifFrame_ = (gifFrame_ + 1) % gif_->FrameCount();
  Invalidate();
}

void CControlUI::StopGif() {
  if (gifTimerRunning_ && manager_) manager_->StopTimer(this, kGifTimerId);
  gifTimerRunning_ = false;
  delete gif_;
  gif_ = nullptr;
  gifFrame_ = 0;
}
