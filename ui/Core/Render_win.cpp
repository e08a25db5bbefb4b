// Colours, gradients, lines, rectangles, text and clipping.
#include <cstring>

#include "ui/Core/Render.h"
#include "ui/Core/UIManager.h"

namespace {

COLORREF Rgb(uint32_t argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

// Blends a premultiplied colour over rc through a 1 x 1 bitmap.
void BlendColor(HDC dc, const RECT& rc, uint32_t argb) {
  uint32_t* bits = nullptr;
  HBITMAP bmp = CRenderEngine::CreateDib(1, 1, &bits);
  if (!bmp) return;
  unsigned a = argb >> 24;
  bits[0] = (a << 24) | ((((argb >> 16) & 0xFF) * a / 255) << 16) | ((((argb >> 8) & 0xFF) * a / 255) << 8) |
            ((argb & 0xFF) * a / 255);
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, bmp);
  BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, mem, 0, 0, 1, 1, bf);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bmp);
}

}  // namespace

HBITMAP CRenderEngine::CreateDib(int width, int height, uint32_t** bits) {
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
  bmi.bmiHeader.biWidth = width;
  bmi.bmiHeader.biHeight = -height;  // rows top-down
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  void* raw = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &raw, nullptr, 0);
  if (bits) *bits = static_cast<uint32_t*>(raw);
  return bmp;
}

void CRenderEngine::DrawColor(HDC dc, const RECT& rc, uint32_t argb) {
  if (rc.right <= rc.left || rc.bottom <= rc.top) return;
  unsigned a = argb >> 24;
  if (a == 0) return;
  if (a < 255) {
    BlendColor(dc, rc, argb);
    return;
  }
  COLORREF old = SetBkColor(dc, Rgb(argb));
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}

void CRenderEngine::DrawGradient(HDC dc, const RECT& rc, uint32_t first, uint32_t second, bool vertical) {
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  if (w <= 0 || h <= 0) return;
  unsigned alpha = ((first >> 24) + (second >> 24)) / 2;
  if (alpha == 0) return;
  TRIVERTEX v[2] = {};
  v[0].x = 0;
  v[0].y = 0;
  v[0].Red = static_cast<COLOR16>(((first >> 16) & 0xFF) << 8);
  v[0].Green = static_cast<COLOR16>(((first >> 8) & 0xFF) << 8);
  v[0].Blue = static_cast<COLOR16>((first & 0xFF) << 8);
  v[1].x = w;
  v[1].y = h;
  v[1].Red = static_cast<COLOR16>(((second >> 16) & 0xFF) << 8);
  v[1].Green = static_cast<COLOR16>(((second >> 8) & 0xFF) << 8);
  v[1].Blue = static_cast<COLOR16>((second & 0xFF) << 8);
  GRADIENT_RECT g = {0, 1};
  ULONG mode = vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H;
  if (alpha == 255) {
    v[0].x += rc.left;
    v[0].y += rc.top;
    v[1].x += rc.left;
    v[1].y += rc.top;
    GradientFill(dc, v, 2, &g, 1, mode);
    return;
  }
  // Draw the gradient opaque off-screen, then blend it with the average alpha.
  HBITMAP bmp = CreateDib(w, h, nullptr);
  if (!bmp) return;
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, bmp);
  GradientFill(mem, v, 2, &g, 1, mode);
  BLENDFUNCTION bf = {AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0};
  AlphaBlend(dc, rc.left, rc.top, w, h, mem, 0, 0, w, h, bf);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bmp);
}

void CRenderEngine::DrawLine(HDC dc, const RECT& rc, int size, uint32_t argb, int penStyle) {
  LOGBRUSH lb = {BS_SOLID, Rgb(argb), 0};
  HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_FLAT | static_cast<DWORD>(penStyle & PS_STYLE_MASK),
                          static_cast<DWORD>(size > 0 ? size : 1), &lb, 0, nullptr);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, rc.left, rc.top, nullptr);
  LineTo(dc, rc.right, rc.bottom);
  SelectObject(dc, old);
  DeleteObject(pen);
}

void CRenderEngine::DrawRect(HDC dc, const RECT& rc, int size, uint32_t argb) {
  HPEN pen = CreatePen(PS_SOLID | PS_INSIDEFRAME, size, Rgb(argb));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
  Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

void CRenderEngine::DrawRoundRect(HDC dc, const RECT& rc, int width, int height, int size, uint32_t argb) {
  HPEN pen = CreatePen(PS_SOLID | PS_INSIDEFRAME, size, Rgb(argb));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
  RoundRect(dc, rc.left, rc.top, rc.right, rc.bottom, width, height);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

void CRenderEngine::DrawPlainText(HDC dc, CUIManager* manager, RECT& rc, const char* text, uint32_t argb,
                                  int font, UINT style) {
  if (!text || !*text || !manager) return;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Rgb(argb));
  HGDIOBJ old = SelectObject(dc, manager->GetFont(font));
  DrawTextA(dc, text, -1, &rc, style | DT_NOPREFIX);
  SelectObject(dc, old);
}

CRenderClip::CRenderClip(HDC dc, const RECT& clip, const RECT& item, int roundWidth, int roundHeight)
    : dc_(dc), saved_(SaveDC(dc)) {
  if (roundWidth > 0 || roundHeight > 0) {
    HRGN rect = CreateRectRgnIndirect(&clip);
    HRGN round =
        CreateRoundRectRgn(item.left, item.top, item.right + 1, item.bottom + 1, roundWidth, roundHeight);
    CombineRgn(rect, rect, round, RGN_AND);
    ExtSelectClipRgn(dc, rect, RGN_AND);
    DeleteObject(round);
    DeleteObject(rect);
  } else {
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
  }
}

CRenderClip::~CRenderClip() { RestoreDC(dc_, saved_); }
