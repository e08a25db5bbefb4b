// A real window on the display: its paint goes through an off-screen bitmap
// (as the toolkit's manager paints) and the test reads the pixels back.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 60;
constexpr COLORREF kBack = RGB(0x1E, 0x4D, 0xA4);

struct OffscreenBitmap {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  uint32_t* bits = nullptr;

  OffscreenBitmap(HDC reference, int width, int height) {
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;  // top-down rows
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* raw = nullptr;
    dc = CreateCompatibleDC(reference);
    bitmap = CreateDIBSection(reference, &bmi, DIB_RGB_COLORS, &raw, nullptr, 0);
    bits = static_cast<uint32_t*>(raw);
    old = SelectObject(dc, bitmap);
  }
  ~OffscreenBitmap() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
};

// Paints text on a filled background into dc.
void PaintText(HDC dc, const char* text) {
  RECT r = {0, 0, kWidth, kHeight};
  HBRUSH brush = CreateSolidBrush(kBack);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  HFONT font = CreateFontA(-24, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0,
                           "SimSun");
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  TextOutA(dc, 8, 16, text, lstrlenA(text));
  SelectObject(dc, old);
  DeleteObject(font);
}

std::vector<uint32_t> Render(const char* text) {
  HDC screen = GetDC(nullptr);
  OffscreenBitmap off(screen, kWidth, kHeight);
  PaintText(off.dc, text);
  GdiFlush();
  std::vector<uint32_t> pixels(off.bits, off.bits + kWidth * kHeight);
  ReleaseDC(nullptr, screen);
  return pixels;
}

int CountWhite(const std::vector<uint32_t>& pixels) {
  int n = 0;
  for (uint32_t p : pixels) n += (p & 0xFFFFFF) == 0xFFFFFF;
  return n;
}

const char* g_windowText = "线路认证";

LRESULT CALLBACK TestWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    OffscreenBitmap off(dc, kWidth, kHeight);
    PaintText(off.dc, g_windowText);
    BitBlt(dc, 0, 0, kWidth, kHeight, off.dc, 0, 0, SRCCOPY);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

TEST(GdiText, ChineseGlyphsRenderDistinctly) {
  std::vector<uint32_t> a = Render("线路");
  std::vector<uint32_t> b = Render("认证");
  int whiteA = CountWhite(a);
  // The glyphs cover a fair share of their boxes, but not the whole strip.
  EXPECT_GT(whiteA, 60);
  EXPECT_LT(whiteA, kWidth * kHeight / 4);
  // A missing font would draw the same empty boxes for every character.
  EXPECT_NE(a, b);
  // The background stays where no glyph is.
  EXPECT_EQ(a[0] & 0xFFFFFF, 0x1E4DA4u);
  EXPECT_EQ(a[kWidth * kHeight - 1] & 0xFFFFFF, 0x1E4DA4u);
}

TEST(GdiText, WindowShowsWhatWasPaintedOffscreen) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = TestWndProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "GdiTextTestWnd";
  ASSERT_TRUE(RegisterClassA(&wc));
  HWND hwnd = CreateWindowExA(WS_EX_TOPMOST, "GdiTextTestWnd", "gdi test", WS_POPUP | WS_VISIBLE, 50, 50, kWidth,
                              kHeight, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(hwnd, nullptr);
  UpdateWindow(hwnd);
  MSG msg;
  DWORD until = GetTickCount() + 500;
  while (GetTickCount() < until) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(10);
  }

  // Read back the window's pixels from the screen and compare with a render
  // of the same text.
  std::vector<uint32_t> expected = Render(g_windowText);
  HDC screen = GetDC(nullptr);
  OffscreenBitmap copy(screen, kWidth, kHeight);
  HDC windowDc = GetDC(hwnd);
  ASSERT_TRUE(BitBlt(copy.dc, 0, 0, kWidth, kHeight, windowDc, 0, 0, SRCCOPY));
  GdiFlush();
  ReleaseDC(hwnd, windowDc);
  ReleaseDC(nullptr, screen);
  int same = 0;
  for (int i = 0; i < kWidth * kHeight; ++i) same += (copy.bits[i] & 0xFFFFFF) == (expected[i] & 0xFFFFFF);
  EXPECT_GT(same, kWidth * kHeight * 99 / 100);
  EXPECT_GT(CountWhite(expected), 60);
  DestroyWindow(hwnd);
}
