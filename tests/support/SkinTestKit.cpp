#include "tests/support/SkinTestKit.h"

#include <cstdio>

#include "ui/controls/ComboUI.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include "stb_image_write.h"
#pragma GCC diagnostic pop

namespace skintest {

void Pump(DWORD ms) {
  DWORD until = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (CUIManager::PreTranslate(&msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (static_cast<LONG>(until - GetTickCount()) <= 0) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (true);
}

namespace {

// The client area drawn by draw(dc, mem, width, height) into a top-down
// 32-bit DIB, as 0x00RRGGBB.
template <typename Draw>
Capture CaptureWith(HWND hwnd, Draw draw) {
  Capture c;
  RECT r;
  GetClientRect(hwnd, &r);
  if (r.right <= 0 || r.bottom <= 0) return c;
  HDC dc = GetDC(hwnd);
  HDC mem = CreateCompatibleDC(dc);
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
  bmi.bmiHeader.biWidth = r.right;
  bmi.bmiHeader.biHeight = -r.bottom;  // top row first
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bmp && bits) {
    HGDIOBJ old = SelectObject(mem, bmp);
    draw(dc, mem, r.right, r.bottom);
    GdiFlush();
    c.width = r.right;
    c.height = r.bottom;
    const uint32_t* p = static_cast<const uint32_t*>(bits);
    c.pixels.assign(p, p + static_cast<size_t>(c.width) * c.height);
    for (uint32_t& px : c.pixels) px &= 0xFFFFFF;
    SelectObject(mem, old);
  }
  if (bmp) DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(hwnd, dc);
  return c;
}

}  // namespace

Capture CaptureClient(HWND hwnd) {
  return CaptureWith(hwnd, [hwnd](HDC dc, HDC mem, int width, int height) {
    PrintWindow(hwnd, mem, 0) || BitBlt(mem, 0, 0, width, height, dc, 0, 0, SRCCOPY);
  });
}

Capture PrintClient(HWND hwnd) {
  return CaptureWith(hwnd, [hwnd](HDC, HDC mem, int, int) {
    SendMessageA(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
  });
}

bool SaveWindowBitmap(HWND hwnd, const std::string& path) {
  Capture c = CaptureClient(hwnd);
  if (c.pixels.empty()) return false;
  BITMAPINFOHEADER ih = {};
  ih.biSize = sizeof ih;
  ih.biWidth = c.width;
  ih.biHeight = c.height;  // bottom row first
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  int stride = (c.width * 3 + 3) & ~3;
  std::vector<unsigned char> rows(static_cast<size_t>(stride) * c.height);
  for (int y = 0; y < c.height; ++y) {
    unsigned char* row = &rows[static_cast<size_t>(c.height - 1 - y) * stride];
    for (int x = 0; x < c.width; ++x) {
      uint32_t px = c.At(x, y);
      row[x * 3] = px & 0xFF;
      row[x * 3 + 1] = (px >> 8) & 0xFF;
      row[x * 3 + 2] = (px >> 16) & 0xFF;
    }
  }
  BITMAPFILEHEADER fh = {};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof ih;
  fh.bfSize = fh.bfOffBits + static_cast<DWORD>(rows.size());
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  bool written = fwrite(&fh, sizeof fh, 1, f) == 1 && fwrite(&ih, sizeof ih, 1, f) == 1 &&
                 fwrite(rows.data(), rows.size(), 1, f) == 1;
  fclose(f);
  return written;
}

bool CTestButtonUI::Activate() {
  if (!CControlUI::Activate()) return false;
  if (manager_) manager_->SendNotification(this, "click");
  return true;
}

void CTestButtonUI::PaintText(HDC dc) {
  RECT rc = rcItem_;
  CRenderEngine::DrawPlainText(dc, manager_, rc, text_, 0xFFFFFFFF, -1,
                               DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

int CTestButtonUI::CountEvents(UIEventKind kind) const {
  int n = 0;
  for (const UIEvent& e : events) n += e.kind == kind;
  return n;
}

void CTestButtonUI::DoEvent(UIEvent& event) {
  events.push_back(event);
  switch (event.kind) {
    case UIEventKind::ButtonDown:
    case UIEventKind::DoubleClick:
      if (IsEnabled()) pressed_ = true;
      return;
    case UIEventKind::ButtonUp:
      if (pressed_ && PtInRect(&rcItem_, event.mousePoint)) Activate();
      pressed_ = false;
      return;
    case UIEventKind::KeyDown:
      if (event.key == VK_SPACE || event.key == VK_RETURN) Activate();
      return;
    default: CControlUI::DoEvent(event);
  }
}

TestWindow::TestWindow(const WindowConfig& config) : config_(config) {
  WindowImplBase::SetFatalBoxHook([](const char* text, const char* caption, UINT flags) {
    fprintf(stderr, "message box (%s, %u): %s\n", caption, flags, text);
    fflush(stderr);
  });
}

HWND TestWindow::Create(HWND parent, DWORD style) {
  return CreateWnd(parent, "skin test", style, 0, 0, 0, 200, 100);
}

CControlUI* TestWindow::CreateControl(const char* tag) {
  if (strcmp(tag, "TestButton") == 0) return new CTestButtonUI;
  return nullptr;
}

void TestWindow::OnNotification(UINotification& msg) {
  if (msg.type == "windowinit") {
    RECT rc;
    // Nothing may have been painted yet: the window's update region still
    // covers the whole client area.
    firstFrameBeforeInit = !GetUpdateRect(hwnd_, &rc, FALSE);
  }
  notes.push_back({msg.type.GetData(), msg.sender ? msg.sender->GetName().GetData() : "",
                   msg.virtualWindow.GetData(), msg.wParam, msg.lParam, msg.mousePoint});
  WindowImplBase::OnNotification(msg);
}

uint32_t TestWindow::Pixel(int x, int y) const {
  const uint32_t* bits = const_cast<CUIManager&>(manager_).GetOffscreenBits();
  SIZE size = const_cast<CUIManager&>(manager_).GetOffscreenSize();
  if (!bits || x < 0 || y < 0 || x >= size.cx || y >= size.cy) return 0xDEADBEEF;
  return bits[y * size.cx + x] & 0xFFFFFF;
}

bool TestWindow::SaveScreenshot(const char* path) const {
  const uint32_t* bits = const_cast<CUIManager&>(manager_).GetOffscreenBits();
  SIZE size = const_cast<CUIManager&>(manager_).GetOffscreenSize();
  if (!bits || size.cx <= 0 || size.cy <= 0) return false;
  std::vector<unsigned char> rgb;
  rgb.reserve(static_cast<size_t>(size.cx) * size.cy * 3);
  for (long i = 0; i < size.cx * size.cy; ++i) {
    rgb.push_back(static_cast<unsigned char>(bits[i] >> 16));
    rgb.push_back(static_cast<unsigned char>(bits[i] >> 8));
    rgb.push_back(static_cast<unsigned char>(bits[i]));
  }
  return WritePng(path, size.cx, size.cy, rgb);
}

bool WritePng(const char* path, int w, int h, const std::vector<unsigned char>& rgb) {
  if (w <= 0 || h <= 0 || rgb.size() < static_cast<size_t>(w) * h * 3) return false;
  std::string png;
  stbi_write_png_to_func([](void* ctx, void* data,
                            int n) { static_cast<std::string*>(ctx)->append(static_cast<char*>(data), n); },
                         &png, w, h, 3, rgb.data(), w * 3);
  FILE* f = fopen(path, "wb");
  if (!f) return false;
  bool ok = fwrite(png.data(), 1, png.size(), f) == png.size();
  fclose(f);
  return ok;
}

int TestWindow::Count(const char* type) const {
  int n = 0;
  for (const Recorded& r : notes) n += r.type == type;
  return n;
}

void Press(HWND hwnd, int x, int y) {
  SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

void Release(HWND hwnd, int x, int y) {
  SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void Click(HWND hwnd, int x, int y) {
  Press(hwnd, x, y);
  Release(hwnd, x, y);
}

HWND OpenDropBox(HWND hwnd, CComboUI* combo) {
  RECT r = combo->GetPos();
  Click(hwnd, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  Pump(50);
  return combo->GetDropWindow();
}

void PostKey(HWND hwnd, UINT vk) {
  PostMessageA(hwnd, WM_KEYDOWN, vk, 1);
  PostMessageA(hwnd, WM_KEYUP, vk, 0xC0000001);
}

std::string Png(int w, int h, const std::vector<uint32_t>& rgba) {
  std::vector<unsigned char> bytes;
  for (uint32_t p : rgba) {
    bytes.push_back(static_cast<unsigned char>(p >> 24));
    bytes.push_back(static_cast<unsigned char>(p >> 16));
    bytes.push_back(static_cast<unsigned char>(p >> 8));
    bytes.push_back(static_cast<unsigned char>(p));
  }
  std::string out;
  stbi_write_png_to_func(
      [](void* ctx, void* data, int size) {
        static_cast<std::string*>(ctx)->append(static_cast<char*>(data), static_cast<size_t>(size));
      },
      &out, w, h, 4, bytes.data(), w * 4);
  return out;
}

std::string SolidPng(int w, int h, uint32_t rgba) {
  return Png(w, h, std::vector<uint32_t>(static_cast<size_t>(w) * static_cast<size_t>(h), rgba));
}

std::string TwoFrameGif() {
  std::string g("GIF89a\x01\x00\x01\x00\x80\x00\x00", 13);
  g += std::string("\x00\x00\xFF\xFF\x00\x00", 6);
  auto frame = [&](char delay, const char* lzw) {
    g += std::string("\x21\xF9\x04\x00", 4) + delay + std::string("\x00\x00\x00", 3);
    g += std::string("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00", 10);
    g += std::string("\x02\x02", 2) + std::string(lzw, 2) + std::string("\x00", 1);
  };
  frame(10, "\x4C\x01");
  frame(25, "\x44\x01");
  g += ";";
  return g;
}

}  // namespace skintest
