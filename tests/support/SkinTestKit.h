// Helpers of the toolkit's Windows tests: a configurable skinned window that
// records what it is told, a minimal clickable control, message pumping
// through PreTranslate, and generated images.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/Core/WindowImplBase.h"
#include "ui/controls/ControlUI.h"

class CComboUI;

namespace skintest {

// Runs the message loop (with PreTranslate) for ms milliseconds.
void Pump(DWORD ms);
// Runs it until done() or ms milliseconds have passed; returns done().
template <typename Pred>
bool PumpUntil(Pred done, DWORD ms) {
  DWORD until = GetTickCount() + ms;
  while (!done() && static_cast<LONG>(until - GetTickCount()) > 0) Pump(10);
  return done();
}

// What a window's client area shows (PrintWindow, else its screen pixels):
// width x height pixels, 0x00RRGGBB, top row first. Empty when the window
// has no client area.
struct Capture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
Capture CaptureClient(HWND hwnd);
// What the window paints into its client area when asked to (WM_PRINTCLIENT:
// the same painting as WM_PAINT, without the screen), in the same form.
Capture PrintClient(HWND hwnd);

// Writes what a window shows as a 24-bit BMP at path, for people to look
// at; false when the window has no client area or the file cannot be
// written.
bool SaveWindowBitmap(HWND hwnd, const std::string& path);

// A clickable control for tests ("ButtonUI", a tab stop): "click" on a left
// release over it after a press on it, on Space/Return, and on Activate.
class CTestButtonUI : public CControlUI {
 public:
  const char* GetClass() const override { return "ButtonUI"; }
  unsigned GetControlFlags() const override { return kControlFlagTabStop; }
  bool Activate() override;
  void DoEvent(UIEvent& event) override;
  void PaintText(HDC dc) override;  // white, centred, the manager's default font
  bool IsPressed() const { return pressed_; }
  std::vector<UIEvent> events;  // every event it received, in order
  int CountEvents(UIEventKind kind) const;

 private:
  bool pressed_ = false;
};

struct Recorded {
  std::string type;
  std::string sender;
  std::string virtualWindow;
  WPARAM wParam;
  LPARAM lParam;
  POINT mousePoint;
};

struct WindowConfig {
  const char* className = "SkinTestWnd";
  const char* skinFile = "window.xml";
  int sourceKind = 1;
  const char* resourceId = "";
  const char* archiveFile = "";
};

// A WindowImplBase whose skin source is configurable; knows the tag
// "TestButton" and records notifications and its ready call.
class TestWindow : public WindowImplBase {
 public:
  // A layout that fails ends the process as in the product, but the box is
  // written to stderr instead of waiting for a person.
  explicit TestWindow(const WindowConfig& config);
  // Tests create plain popups: Wine treats windows with a caption or a system
  // menu as managed and waits about 2 s for each to be withdrawn when it is
  // destroyed on a display without a window manager.
  HWND Create(HWND parent = nullptr, DWORD style = WS_POPUP | WS_VISIBLE);

  CControlUI* CreateControl(const char* tag) override;
  void OnNotification(UINotification& msg) override;
  CControlUI* Find(const char* name) { return manager_.FindControlByName(name); }
  uint32_t Pixel(int x, int y) const;  // from the off-screen buffer, 0xRRGGBB
  int Count(const char* type) const;
  // Writes the off-screen buffer as a PNG (a picture for people, not a
  // golden image); false when there is nothing painted.
  bool SaveScreenshot(const char* path) const;

  std::vector<Recorded> notes;
  int readyCalls = 0;
  bool destroyed = false;
  bool firstFrameBeforeInit = false;  // a frame reached the screen before "windowinit"

 protected:
  const char* WindowClassName() const override { return config_.className; }
  const char* SkinFolder() const override { return ""; }
  const char* SkinFileName() const override { return config_.skinFile; }
  int SkinSourceKind() const override { return config_.sourceKind; }
  const char* SkinArchiveFile() const override { return config_.archiveFile; }
  const char* SkinResourceId() const override { return config_.resourceId; }
  void OnWindowReady() override { ++readyCalls; }
  void OnWindowDestroyed() override {
    WindowImplBase::OnWindowDestroyed();
    destroyed = true;
  }

 private:
  WindowConfig config_;
};

// Writes w x h pixels, 3 bytes (R, G, B) each, row by row from the top, as
// a PNG file; false when it cannot.
bool WritePng(const char* path, int w, int h, const std::vector<unsigned char>& rgb);

// Sends a press and a release at client points (mouse moves first).
void Press(HWND hwnd, int x, int y);
void Release(HWND hwnd, int x, int y);
void Click(HWND hwnd, int x, int y);
// Clicks the middle of combo in the window hwnd, lets the drop box open and
// returns its window (null when none opened).
HWND OpenDropBox(HWND hwnd, CComboUI* combo);
// Posts a key press (down, char for printable keys, up) to be pumped.
void PostKey(HWND hwnd, UINT vk);

// A PNG of w x h pixels, all of one RGBA colour, or from given pixels.
std::string SolidPng(int w, int h, uint32_t rgba);
std::string Png(int w, int h, const std::vector<uint32_t>& rgba);
// A two-frame 1x1 GIF: red for 100 ms, then blue for 250 ms.
std::string TwoFrameGif();

// A fixture owning one TestWindow: Open creates it, lets its first frames
// through and forgets the notifications they made; TearDown destroys it.
class WindowTest : public ::testing::Test {
 protected:
  void Open(const WindowConfig& config) {
    window_ = new TestWindow(config);
    ASSERT_NE(window_->Create(), nullptr);
    hwnd_ = window_->GetHandle();
    Pump(50);
    window_->notes.clear();
  }
  void TearDown() override {
    if (window_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    delete window_;
    window_ = nullptr;
  }
  // The named control's interface, or null.
  template <typename T>
  T* Find(const char* name, const char* iface) {
    CControlUI* c = window_->Find(name);
    return c ? static_cast<T*>(c->GetInterface(iface)) : nullptr;
  }

  TestWindow* window_ = nullptr;
  HWND hwnd_ = nullptr;
};

}  // namespace skintest
