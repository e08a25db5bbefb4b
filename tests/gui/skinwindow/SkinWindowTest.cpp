// The skinned window base under Xvfb: layouts from the test's own "ZIPRES"
// archives, the frameless window, hit testing, corners, system buttons,
// default keys, the shared archive and the fatal layout failure.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/support/SkinTestKit.h"
#include "tests/support/ZipWriter.h"
#include "ui/Core/SkinFiles.h"

namespace {

using skintest::TestWindow;
using skintest::WindowConfig;

WindowConfig ArchiveWindow(const char* file = "window.xml", const char* resource = "102") {
  WindowConfig c;
  c.className = "SkinWindowTest";
  c.skinFile = file;
  c.sourceKind = 4;
  c.resourceId = resource;
  return c;
}

LRESULT HitTest(HWND hwnd, int x, int y) {
  POINT pt = {x, y};
  ClientToScreen(hwnd, &pt);
  return SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
}

class SkinWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = new TestWindow(ArchiveWindow());
    ASSERT_NE(window_->Create(), nullptr);
    skintest::Pump(100);
  }
  void TearDown() override {
    if (IsWindow(window_->GetHandle())) DestroyWindow(window_->GetHandle());
    delete window_;
  }
  TestWindow* window_ = nullptr;
};

TEST_F(SkinWindow, LoadsLayoutFromZipResourceWithoutFrame) {
  HWND hwnd = window_->GetHandle();
  EXPECT_EQ(window_->readyCalls, 1);
  EXPECT_FALSE(GetWindowLongA(hwnd, GWL_STYLE) & WS_CAPTION);
  RECT win, client;
  GetWindowRect(hwnd, &win);
  GetClientRect(hwnd, &client);
  EXPECT_EQ(win.right - win.left, 300);  // the layout's size, all of it client area
  EXPECT_EQ(win.bottom - win.top, 200);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 200);
  EXPECT_NE(window_->Find("closebtn"), nullptr);
  EXPECT_EQ(window_->Count("windowinit"), 1);
  EXPECT_FALSE(window_->firstFrameBeforeInit);
  // The painted frame: title bar and the body colour.
  EXPECT_EQ(window_->Pixel(150, 20), 0x336699u);
  EXPECT_EQ(window_->Pixel(150, 170), 0x204060u);
  EXPECT_TRUE(window_->SaveScreenshot("skinwindow.png"));
}

TEST_F(SkinWindow, LayoutTextReachesTheScreenAsGbkGlyphs) {
  CControlUI* ok = window_->Find("ok");
  ASSERT_NE(ok, nullptr);
  EXPECT_STREQ(ok->GetText(), "确定");  // UTF-8 in the layout, GBK here
  // The default font ("SimSun", 12) draws the two characters in white
  // (smoothed: counted are pixels clearly brighter than the 204060 body).
  const RECT& rc = ok->GetPos();
  int bright = 0;
  for (int y = rc.top; y < rc.bottom; ++y) {
    for (int x = rc.left; x < rc.right; ++x) bright += ((window_->Pixel(x, y) >> 8) & 0xFF) > 0xA0;
  }
  EXPECT_GT(bright, 30);
  EXPECT_LT(bright, (rc.right - rc.left) * (rc.bottom - rc.top) / 3);
  EXPECT_EQ(window_->GetManager().GetFontInfo(-1)->size, 12);
  EXPECT_STREQ(window_->GetManager().GetFontInfo(-1)->face, "SimSun");
}

TEST_F(SkinWindow, CaptionBandDragsExceptOverButtonsAndSizeBoxSizes) {
  HWND hwnd = window_->GetHandle();
  const struct {
    int x, y;
    LRESULT hit;
  } cases[] = {
      {150, 20, HTCAPTION},      // over the title bar (a plain control)
      {245, 15, HTCLIENT},       // over a button in the band
      {150, 100, HTCLIENT},      // below the band
      {1, 100, HTLEFT},          {298, 100, HTRIGHT}, {150, 1, HTTOP}, {150, 198, HTBOTTOM},
      {1, 1, HTTOPLEFT},         {298, 1, HTTOPRIGHT}, {1, 198, HTBOTTOMLEFT}, {298, 198, HTBOTTOMRIGHT},
  };
  for (const auto& c : cases) EXPECT_EQ(HitTest(hwnd, c.x, c.y), c.hit) << c.x << "," << c.y;
}

TEST_F(SkinWindow, CornersAreRounded) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetWindowRgn(window_->GetHandle(), rgn), COMPLEXREGION);
  EXPECT_FALSE(PtInRegion(rgn, 0, 0));
  EXPECT_FALSE(PtInRegion(rgn, 299, 199));
  EXPECT_TRUE(PtInRegion(rgn, 5, 5));
  EXPECT_TRUE(PtInRegion(rgn, 150, 100));
  EXPECT_TRUE(PtInRegion(rgn, 150, 0));
  DeleteObject(rgn);
}

TEST_F(SkinWindow, MinimizeAndCloseButtons) {
  HWND hwnd = window_->GetHandle();
  skintest::Click(hwnd, 245, 15);
  EXPECT_TRUE(skintest::PumpUntil([&] { return IsIconic(hwnd) != 0; }, 2000));
  EXPECT_EQ(window_->Count("click"), 1);
  ShowWindow(hwnd, SW_RESTORE);
  skintest::Pump(50);
  skintest::Click(hwnd, 280, 15);
  EXPECT_TRUE(skintest::PumpUntil([&] { return window_->destroyed; }, 2000));
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(SkinWindow, SystemCloseCommandGoesThroughClose) {
  HWND hwnd = window_->GetHandle();
  SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(window_->destroyed);
}

TEST_F(SkinWindow, EscapeEndsModalLoopWithOneReturnDoesNothing) {
  HWND hwnd = window_->GetHandle();
  skintest::PostKey(hwnd, VK_RETURN);
  skintest::Pump(100);
  ASSERT_TRUE(IsWindow(hwnd));
  skintest::PostKey(hwnd, VK_ESCAPE);
  // Safety net: a broken loop must not hang the run.
  SetTimer(hwnd, 999, 5000, [](HWND h, UINT, UINT_PTR, DWORD) { DestroyWindow(h); });
  UINT result = window_->RunModal();
  EXPECT_EQ(result, 1u);
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(SkinWindow, LaterWindowsShareTheFirstArchive) {
  // Kind 4 again, from another resource: the archive of resource 102 stays.
  TestWindow other(ArchiveWindow("window.xml", "103"));
  ASSERT_NE(other.Create(), nullptr);
  EXPECT_NE(other.Find("closebtn"), nullptr);
  EXPECT_EQ(other.Find("fromotherarchive"), nullptr);
  DestroyWindow(other.GetHandle());
  // Kind 1: a layout file name, read from the registered archive.
  WindowConfig plain;
  plain.className = "SkinWindowPlain";
  plain.skinFile = "SECOND.XML";
  TestWindow second(plain);
  ASSERT_NE(second.Create(), nullptr);
  EXPECT_NE(second.Find("secondroot"), nullptr);
  RECT rc;
  GetClientRect(second.GetHandle(), &rc);
  EXPECT_EQ(rc.right, 220);
  DestroyWindow(second.GetHandle());
}

// The failure path: the message box (recorded to stderr) and exit code 1.
std::string Hex(const char* text) {
  std::string out;
  char buf[4];
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    snprintf(buf, sizeof(buf), "%02X", *p);
    out += buf;
  }
  return out;
}

void RecordBox(const char* text, const char* caption, UINT flags) {
  fprintf(stderr, "box:%s:%u:%s\n", caption, flags, Hex(text).c_str());
  fflush(stderr);
}

void OpenBrokenWindow(const char* file) {
  TestWindow window(ArchiveWindow(file));
  WindowImplBase::SetFatalBoxHook(RecordBox);
  window.Create();
  fprintf(stderr, "still running\n");
  exit(0);
}

TEST(SkinWindowDeathTest, MissingOrBrokenLayoutShowsBoxAndExitsWithOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  std::string expected = "box:Veltrane:16:" + Hex("加载资源文件失败");
  for (const char* file : {"missing.xml", "broken.xml"}) {
    EXPECT_EXIT(OpenBrokenWindow(file), ::testing::ExitedWithCode(1), expected) << file;
  }
}

}  // namespace

namespace {

void SendMouse(DWORD flags, int x = 0, int y = 0) {
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  if (flags & MOUSEEVENTF_ABSOLUTE) {
    in.mi.dx = (x * 65536 + GetSystemMetrics(SM_CXSCREEN) / 2) / GetSystemMetrics(SM_CXSCREEN);
    in.mi.dy = (y * 65536 + GetSystemMetrics(SM_CYSCREEN) / 2) / GetSystemMetrics(SM_CYSCREEN);
  }
  SendInput(1, &in, sizeof(in));
}

// Queues a press at (x, y), a move by (dx, dy) in five steps and a release,
// then lets the window handle them. Escape ends a move loop that would
// otherwise wait for more input.
void Drag(int x, int y, int dx, int dy) {
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y);
  skintest::Pump(50);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  for (int i = 1; i <= 5; ++i) SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x + dx * i / 5, y + dy * i / 5);
  SendMouse(MOUSEEVENTF_LEFTUP);
  UINT_PTR guard = SetTimer(nullptr, 0, 3000, [](HWND, UINT, UINT_PTR, DWORD) {
    INPUT key[2] = {};
    key[0].type = key[1].type = INPUT_KEYBOARD;
    key[0].ki.wVk = key[1].ki.wVk = VK_ESCAPE;
    key[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, key, sizeof(INPUT));
  });
  skintest::Pump(300);
  KillTimer(nullptr, guard);
}

TEST_F(SkinWindow, CaptionBandDragsTheWindow) {
  HWND hwnd = window_->GetHandle();
  RECT before;
  GetWindowRect(hwnd, &before);
  Drag(before.left + 100, before.top + 20, 50, 30);
  RECT after;
  GetWindowRect(hwnd, &after);
  EXPECT_NEAR(after.left - before.left, 50, 1);  // absolute input coordinates round
  EXPECT_NEAR(after.top - before.top, 30, 1);
  EXPECT_EQ(window_->Count("click"), 0);
  // A press on a button in the band does not move the window.
  Drag(after.left + 245, after.top + 15, 10, 10);
  RECT still;
  GetWindowRect(hwnd, &still);
  EXPECT_EQ(still.left, after.left);
  EXPECT_EQ(still.top, after.top);
}

}  // namespace

namespace {

TEST(SkinSources, LayoutResourceOfItsOwn) {
  WindowConfig c;
  c.className = "SkinKind3";
  c.skinFile = "201";
  c.sourceKind = 3;
  TestWindow w(c);
  ASSERT_NE(w.Create(), nullptr);
  EXPECT_NE(w.Find("secondroot"), nullptr);
  DestroyWindow(w.GetHandle());
}

// Kind 2 needs a process whose archive is not yet set: a child process.
void OpenZipFileWindow(const char* zipPath) {
  WindowConfig c;
  c.className = "SkinKind2";
  c.skinFile = "inzip.xml";
  c.sourceKind = 2;
  c.archiveFile = zipPath;
  TestWindow w(c);
  w.Create();
  bool found = w.Find("fromzipfile") != nullptr;
  fprintf(stderr, found ? "found\n" : "missing\n");
  exit(found ? 3 : 4);
}

TEST(SkinSourcesDeathTest, ZipFileOnDisk) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  std::string path = std::string(dir) + "vt-skin-kind2.zip";
  std::string zip = testzip::Build({{"inzip.xml", "<Window><Container name=\"fromzipfile\"/></Window>"}});
  FILE* f = fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  fwrite(zip.data(), 1, zip.size(), f);
  fclose(f);
  EXPECT_EXIT(OpenZipFileWindow(path.c_str()), ::testing::ExitedWithCode(3), "found");
  DeleteFileA(path.c_str());
}

TEST(SkinWindowPlacement, CenterOnOwnerWithoutOwnerCentresInTheWorkArea) {
  TestWindow w(ArchiveWindow("second.xml"));  // 220 x 120
  ASSERT_NE(w.Create(), nullptr);
  SetWindowPos(w.GetHandle(), nullptr, -500, -300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  w.CenterOnOwner();
  RECT rc, work;
  GetWindowRect(w.GetHandle(), &rc);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(rc.right - rc.left, 220);  // not resized
  EXPECT_EQ(rc.left, (work.left + work.right) / 2 - 110);
  EXPECT_EQ(rc.top, (work.top + work.bottom) / 2 - 60);
  DestroyWindow(w.GetHandle());
}

}  // namespace
