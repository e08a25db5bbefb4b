// The gallery's scrolling window: scroll bars on every kind of container.
// A horizontal layout wider than its room ("strip", a horizontal bar), a
// vertical layout of wide rows with both bars ("wide"), a container over a
// picture larger than itself ("box", both bars), a tab layout whose page is
// taller than the layout ("tabs") and a list whose columns are wider than
// the list ("table", header and rows scroll together). The bars' parts are
// solid colours, so the painted bar can be probed: arrows green, thumb
// blue (navy while dragged), track grey. Picture: vocabulary-scroll.png.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/SkinTestKit.h"
#include "tests/support/ZipWriter.h"
#include "ui/Core/DpiScale.h"
#include "ui/Core/SkinFiles.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/ComboUI.h"
#include "ui/controls/ListElementsUI.h"
#include "ui/controls/ListUI.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/layouts/TabLayoutUI.h"

namespace {

// UTF-8, as a layout file in a skin archive is.
const char8_t kScrollingLayout[] =
    u8R"SCROLL(<?xml version="1.0" encoding="UTF-8"?>
<Window size="460,330">
  <Font name="SimSun" size="12" default="true"/>
  <Default name="VScrollBar" value="width=&quot;12&quot; linesize=&quot;8&quot; button1normalimage=&quot;img\green.png&quot; button2normalimage=&quot;img\green.png&quot; thumbnormalimage=&quot;img\blue.png&quot; thumbpushedimage=&quot;img\navy.png&quot; bknormalimage=&quot;img\grey.png&quot;"/>
  <Default name="HScrollBar" value="height=&quot;12&quot; linesize=&quot;8&quot; button1normalimage=&quot;img\green.png&quot; button2normalimage=&quot;img\green.png&quot; thumbnormalimage=&quot;img\blue.png&quot; thumbpushedimage=&quot;img\navy.png&quot; bknormalimage=&quot;img\grey.png&quot;"/>
  <Container name="root" bkcolor="FFFFFFFF">
    <HorizontalLayout name="strip" float="true" pos="10,10,210,70" hscrollbar="true" childpadding="4" bkcolor="FFF4F4F4">
      <Control name="s0" width="60" bkcolor="FFFF0000"/>
      <Control name="s1" width="60" bkcolor="FFFFCC00"/>
      <Control name="s2" width="60" bkcolor="FFFF0000"/>
      <Control name="s3" width="60" bkcolor="FFFFCC00"/>
      <Control name="s4" width="60" bkcolor="FFFF0000"/>
      <Control name="s5" width="60" bkcolor="FFFFCC00"/>
    </HorizontalLayout>
    <VerticalLayout name="wide" float="true" pos="230,10,450,110" vscrollbar="true" hscrollbar="true" hscrollbarstyle="height=&quot;8&quot;" bkcolor="FFF4F4F4">
      <Label name="w0" width="400" height="30" text="第一行：比布局更宽的一行文字" bkcolor="FFE0F0FF"/>
      <Label name="w1" width="400" height="30" text="第二行" bkcolor="FFFFF0E0"/>
      <Label name="w2" width="400" height="30" text="第三行" bkcolor="FFE0F0FF"/>
      <Label name="w3" width="400" height="30" text="第四行" bkcolor="FFFFF0E0"/>
    </VerticalLayout>
    <Container name="box" float="true" pos="10,90,210,200" vscrollbar="true" hscrollbar="true" bkcolor="FFFFFFFF">
      <Control name="picture" width="300" height="250" bkimage="img\quadrants.png"/>
    </Container>
    <TabLayout name="tabs" float="true" pos="230,150,450,280" vscrollbar="true" bkcolor="FFF4F4F4">
      <VerticalLayout name="page" height="300">
        <Control name="pageTop" height="150" bkcolor="FF336699"/>
        <Control name="pageBottom" height="150" bkcolor="FF99CC33"/>
      </VerticalLayout>
    </TabLayout>
    <List name="table" float="true" pos="10,210,210,290" hscrollbar="true" bkcolor="FFFFFFFF" itemtextcolor="FF000000">
      <ListHeader height="20" bkcolor="FFE8EEF4">
        <ListHeaderItem name="colA" text="名称" width="130"/>
        <ListHeaderItem name="colB" text="地址" width="130"/>
      </ListHeader>
      <ListTextElement name="r0" height="22" text="甲"/>
      <ListTextElement name="r1" height="22" text="乙"/>
    </List>
    <ScrollBar name="tagBar" float="true" pos="10,298,210,312" hor="true" range="300" value="0" linesize="10" button1normalimage="img\green.png" button2normalimage="img\green.png" thumbnormalimage="img\blue.png" bknormalimage="img\grey.png"/>
    <Combo name="wideDrop" float="true" pos="230,292,450,314" bordersize="1" bordercolor="FF888888" textpadding="4,0,4,0" dropboxsize="0,80" dropbox="bkimage=&quot;img\grey.png&quot; hscrollbar=&quot;true&quot; padding=&quot;30,30,30,30&quot;">
      <ListContainerElement text="一条很长很长的专线名称，比下拉框宽得多的一行"/>
      <ListContainerElement text="城域网"/>
    </Combo>
  </Container>
</Window>)SCROLL";

constexpr uint32_t kGreen = 0x00FF00, kBlue = 0x0000FF, kNavy = 0x000080, kGrey = 0xC0C0C0;
constexpr uint32_t kQuadrants[4] = {0xFF0000, 0x00C000, 0x0000C0, 0xC000C0};  // NW, NE, SW, SE

// A window's client area as it paints itself, 0xRRGGBB.
std::vector<uint32_t> Printed(HWND wnd, RECT* client) {
  GetClientRect(wnd, client);
  return skintest::PrintClient(wnd).pixels;
}

// A 300 x 250 picture of four quadrants, split at (150, 125).
std::string QuadrantPng() {
  std::vector<uint32_t> px;
  for (int y = 0; y < 250; ++y)
    for (int x = 0; x < 300; ++x)
      px.push_back(kQuadrants[(y >= 125 ? 2 : 0) + (x >= 150 ? 1 : 0)] << 8 | 0xFF);
  return skintest::Png(300, 250, px);
}

class Scrolling : public skintest::WindowTest {
 protected:
  void SetUp() override {
    static std::string archive;
    if (archive.empty()) {
      archive = testzip::Build({
          {"scrolling.xml", reinterpret_cast<const char*>(kScrollingLayout)},
          {"img/green.png", skintest::SolidPng(4, 4, 0x00FF00FF), false},
          {"img/blue.png", skintest::SolidPng(4, 4, 0x0000FFFF), false},
          {"img/navy.png", skintest::SolidPng(4, 4, 0x000080FF), false},
          {"img/grey.png", skintest::SolidPng(4, 4, 0xC0C0C0FF), false},
          {"img/quadrants.png", QuadrantPng(), false},
      });
    }
    vt::ResetSkinArchiveForTest();  // the gallery's window reads the product's
    ASSERT_TRUE(CUIManager::SetSkinArchive(archive.data(), archive.size()));
    skintest::WindowConfig config;
    config.className = "ScrollingWnd";
    config.skinFile = "scrolling.xml";
    Open(config);
  }
  void TearDown() override {
    skintest::WindowTest::TearDown();
    vt::ResetSkinArchiveForTest();
  }
  void Repaint() {
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
    skintest::Pump(30);
  }
  CContainerUI* Box(const char* name) { return Find<CContainerUI>(name, "Container"); }
  RECT Pos(const char* name) { return window_->Find(name)->GetPos(); }
  uint32_t At(LONG x, LONG y) { return window_->Pixel(x, y); }
  void Wheel(UINT msg, const char* over, int delta, WPARAM keys = 0) {
    RECT r = Pos(over);
    POINT pt = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(hwnd_, &pt);
    SendMessageA(hwnd_, msg, MAKEWPARAM(keys, static_cast<WORD>(delta)), MAKELPARAM(pt.x, pt.y));
    skintest::Pump(20);
  }
};

// "hscrollbar" makes a horizontal bar with the "HScrollBar" defaults, at the
// bottom of the layout, painted with its parts; a vertical layout's own
// "hscrollbarstyle" comes after the defaults.
TEST_F(Scrolling, HorizontalBarTakesItsDefaultsAndPaints) {
  CContainerUI* strip = Box("strip");
  ASSERT_NE(strip, nullptr);
  CScrollBarUI* bar = strip->GetHorizontalScrollBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(strip->GetVerticalScrollBar(), nullptr);
  EXPECT_TRUE(bar->IsHorizontal());
  EXPECT_TRUE(bar->IsVisible());
  // Six children of 60 and five gaps of 4 in 200: 180 to scroll.
  EXPECT_EQ(bar->GetScrollRange(), 180);
  RECT b = bar->GetPos();
  EXPECT_EQ(b.left, 10);
  EXPECT_EQ(b.right, 210);
  EXPECT_EQ(b.top, 58);
  EXPECT_EQ(b.bottom, 70);
  EXPECT_EQ(Pos("s0").bottom, 58);  // the children stand above the bar
  EXPECT_EQ(Box("wide")->GetHorizontalScrollBar()->GetFixedHeight(), 8);

  Repaint();
  EXPECT_TRUE(window_->SaveScreenshot("vocabulary-scroll.png"));
  int y = (b.top + b.bottom) / 2;
  EXPECT_EQ(At(b.left + 3, y), kGreen);   // the left arrow
  EXPECT_EQ(At(b.right - 3, y), kGreen);  // the right arrow
  EXPECT_EQ(At(b.left + 14, y), kBlue);   // the thumb, at the start
  EXPECT_EQ(At(b.right - 16, y), kGrey);  // the track after it
  EXPECT_EQ(At(Pos("s0").left + 5, 30), 0xFF0000u);
}

// Dragging the thumb scrolls the flow: the position follows the pointer in
// proportion (track less thumb against the range), the children move left
// by it and paint only inside the layout.
TEST_F(Scrolling, DraggingTheHorizontalThumbScrollsTheChildren) {
  CContainerUI* strip = Box("strip");
  CScrollBarUI* bar = strip->GetHorizontalScrollBar();
  RECT b = bar->GetPos();
  int y = (b.top + b.bottom) / 2;
  // Arrows of 12, a track of 176, a thumb of 176 * 200 / 380 = 92: 84 free.
  skintest::Press(hwnd_, b.left + 20, y);
  Repaint();
  EXPECT_EQ(At(b.left + 20, y), kNavy);  // pushed
  SendMessageA(hwnd_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(b.left + 41, y));
  skintest::Release(hwnd_, b.left + 62, y);
  skintest::Pump(20);
  EXPECT_EQ(strip->GetScrollPos(true), 42 * 180 / 84);
  EXPECT_EQ(bar->GetScrollPos(), 90);
  EXPECT_EQ(Pos("s0").left, 10 - 90);
  EXPECT_EQ(Pos("s2").left, 10 - 90 + 128);
  Repaint();
  // s1 now spans 10-90+64 .. +60 = -16..44: its yellow at the layout's left edge.
  EXPECT_EQ(At(11, 30), 0xFFCC00u);
  EXPECT_EQ(At(5, 30), 0xFFFFFFu);  // nothing left of the layout
  // Dragged past the end: held at the range.
  skintest::Press(hwnd_, b.left + 60, y);
  SendMessageA(hwnd_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(b.right + 100, y));
  skintest::Release(hwnd_, b.right + 100, y);
  EXPECT_EQ(strip->GetScrollPos(true), 180);
  EXPECT_EQ(Pos("s5").right, 210);
  // The right arrow at the end does nothing more; the left one steps back.
  skintest::Click(hwnd_, b.left + 3, y);
  EXPECT_EQ(strip->GetScrollPos(true), 172);
}

// At 144 DPI the bar is 18 thick, its parts where its own arithmetic puts
// them (not scaled a second time), and the flow scrolls as far as before
// times 1.5.
TEST_F(Scrolling, BarsFollowTheDpi) {
  RECT w;
  GetWindowRect(hwnd_, &w);
  vt::DpiScale scale(144);
  RECT suggested = {w.left, w.top, w.left + scale.Scale(460), w.top + scale.Scale(330)};
  SendMessageA(hwnd_, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  skintest::Pump(50);
  CContainerUI* strip = Box("strip");
  CScrollBarUI* bar = strip->GetHorizontalScrollBar();
  RECT b = bar->GetPos();
  EXPECT_EQ(b.bottom - b.top, 18);
  EXPECT_EQ(b.left, 15);
  EXPECT_EQ(b.right, 315);
  EXPECT_EQ(bar->GetScrollRange(), 270);  // 570 of children in 300
  strip->SetScrollPos(270, true);
  Repaint();
  int y = (b.top + b.bottom) / 2;
  EXPECT_EQ(At(b.left + 3, y), kGreen);
  EXPECT_EQ(At(b.right - 3, y), kGreen);
  EXPECT_EQ(At(b.right - 18 - 3, y), kBlue);  // the thumb, at the end
  EXPECT_EQ(At(b.left + 18 + 3, y), kGrey);
  EXPECT_EQ(Pos("s5").right, 315);
}

// The wheel: vertically over a layout with both bars, sideways with Shift
// held or the wheel tilted; sideways without Shift over a layout that has
// only a horizontal bar.
TEST_F(Scrolling, WheelScrollsByThreeLinesOnTheRightAxis) {
  CContainerUI* wide = Box("wide");
  ASSERT_TRUE(wide->GetVerticalScrollBar()->IsVisible());
  ASSERT_TRUE(wide->GetHorizontalScrollBar()->IsVisible());
  const struct {
    const char* name;
    UINT msg;
    int delta;
    WPARAM keys;
    int vertical, horizontal;  // positions after it, from 0, 0
  } cases[] = {
      {"wheel down", WM_MOUSEWHEEL, -WHEEL_DELTA, 0, 24, 0},
      {"wheel down with Shift", WM_MOUSEWHEEL, -WHEEL_DELTA, MK_SHIFT, 0, 24},
      {"wheel tilted right", kMsgMouseHWheel, WHEEL_DELTA, 0, 0, 24},
  };
  for (const auto& c : cases) {
    wide->SetScrollPos(0, false);
    wide->SetScrollPos(0, true);
    Wheel(c.msg, "wide", c.delta, c.keys);
    EXPECT_EQ(wide->GetScrollPos(false), c.vertical) << c.name;
    EXPECT_EQ(wide->GetScrollPos(true), c.horizontal) << c.name;
  }
  // The rows moved with the positions: up by 24, then left by 24.
  wide->SetScrollPos(24, false);
  EXPECT_EQ(Pos("w0").top, 10 - 24);
  EXPECT_EQ(Pos("w1").left, 230 - 24);

  CContainerUI* strip = Box("strip");
  Wheel(WM_MOUSEWHEEL, "s1", -WHEEL_DELTA);  // over a child: the layout scrolls
  EXPECT_EQ(strip->GetScrollPos(true), 24);
  Wheel(WM_MOUSEWHEEL, "s1", WHEEL_DELTA);
  EXPECT_EQ(strip->GetScrollPos(true), 0);
}

// A plain container with a picture larger than itself: both bars, the
// picture shifted by both positions and clipped to the view (the corner
// between the bars and the bars themselves stay clear of it).
TEST_F(Scrolling, ContainerScrollsBothWaysAndClips) {
  CContainerUI* box = Box("box");
  ASSERT_TRUE(box->GetVerticalScrollBar()->IsVisible());
  ASSERT_TRUE(box->GetHorizontalScrollBar()->IsVisible());
  RECT view = box->GetView();
  EXPECT_EQ(view.right - view.left, 200 - 12);
  EXPECT_EQ(view.bottom - view.top, 110 - 12);
  EXPECT_EQ(box->GetScrollRange(true), 300 - 188);
  EXPECT_EQ(box->GetScrollRange(false), 250 - 98);

  const struct {
    int x, y;  // scroll positions
  } cases[] = {{0, 0}, {100, 0}, {112, 152}, {30, 90}};
  for (const auto& c : cases) {
    box->SetScrollPos(c.x, true);
    box->SetScrollPos(c.y, false);
    Repaint();
    RECT pic = Pos("picture");
    EXPECT_EQ(pic.left, view.left - c.x);
    EXPECT_EQ(pic.top, view.top - c.y);
    // The quadrants' seams, where they are in view, sit 150 and 125 into the picture.
    LONG seamX = pic.left + 150, seamY = pic.top + 125;
    LONG probeY = view.top + 2, probeX = view.left + 2;
    if (seamX - 2 > view.left && seamX + 2 < view.right) {
      EXPECT_EQ(At(seamX - 2, probeY), kQuadrants[seamY <= probeY ? 2 : 0]) << c.x << "," << c.y;
      EXPECT_EQ(At(seamX + 1, probeY), kQuadrants[seamY <= probeY ? 3 : 1]) << c.x << "," << c.y;
    }
    if (seamY - 2 > view.top && seamY + 2 < view.bottom) {
      EXPECT_EQ(At(probeX, seamY - 2), kQuadrants[seamX <= probeX ? 1 : 0]) << c.x << "," << c.y;
      EXPECT_EQ(At(probeX, seamY + 1), kQuadrants[seamX <= probeX ? 3 : 2]) << c.x << "," << c.y;
    }
    EXPECT_EQ(At(view.right + 2, view.bottom + 2), 0xFFFFFFu) << "the corner between the bars";
    EXPECT_EQ(At(view.right + 6, view.bottom - 3), kGreen) << "the vertical bar's lower arrow";
  }
}

// A tab layout whose page is taller than it: the page moves up with the
// vertical position.
TEST_F(Scrolling, TabLayoutScrollsItsPage) {
  CContainerUI* tabs = Box("tabs");
  ASSERT_TRUE(tabs->GetVerticalScrollBar()->IsVisible());
  EXPECT_EQ(tabs->GetScrollRange(), 300 - 130);
  Wheel(WM_MOUSEWHEEL, "tabs", -WHEEL_DELTA);
  EXPECT_EQ(Pos("page").top, 150 - 24);
  tabs->SetScrollPos(170);
  Repaint();
  EXPECT_EQ(Pos("pageBottom").bottom, 280);
  EXPECT_EQ(At(300, 200), 0x99CC33u);
  EXPECT_EQ(Pos("page").right, 450 - 12);  // beside the bar
}

// A list whose columns are wider than it scrolls sideways: header and rows
// together, so each text stays under its column.
TEST_F(Scrolling, ListHeaderAndRowsScrollTogether) {
  auto* list = Find<CListUI>("table", "List");
  ASSERT_NE(list, nullptr);
  CScrollBarUI* bar = list->GetList()->GetHorizontalScrollBar();
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(bar->IsVisible());
  EXPECT_EQ(bar->GetScrollRange(), 260 - 200);
  list->GetList()->SetScrollPos(40, true);
  Repaint();
  EXPECT_EQ(Pos("colA").left, 10 - 40);
  EXPECT_EQ(Pos("colB").left, 10 - 40 + 130);
  auto* row = Find<CListTextElementUI>("r0", "ListTextElement");
  EXPECT_EQ(row->GetPos().left, 10 - 40);
  EXPECT_EQ(row->ColumnRects()[1].left, Pos("colB").left);
  EXPECT_EQ(At(5, 220), 0xFFFFFFu);  // the header stays inside the list
}

// The combo's drop box with a background image and "hscrollbar": the
// image fills the box ("padding" of the string is ignored: no inset), the
// long row scrolls sideways with the tilted wheel and back with Shift and
// the wheel, and a thumb at the bottom edge shows where.
TEST_F(Scrolling, ComboDropBoxImageAndSidewaysScroll) {
  auto* combo = Find<CComboUI>("wideDrop", "Combo");
  ASSERT_NE(combo, nullptr);
  HWND drop = skintest::OpenDropBox(hwnd_, combo);
  ASSERT_NE(drop, nullptr);
  RECT client;
  std::vector<uint32_t> before = Printed(drop, &client);
  ASSERT_EQ(client.right, 220 - 2);  // inside the window's own frame
  auto at = [&](const std::vector<uint32_t>& px, int x, int y) { return px[y * client.right + x]; };
  EXPECT_EQ(at(before, 1, 1), kGrey);  // the image, right to the corner
  EXPECT_EQ(at(before, client.right - 2, client.bottom - 6), kGrey);
  int ink = 0;
  for (uint32_t v : before) ink += ((v >> 16) & 0xFF) < 0x60;
  EXPECT_GT(ink, 20);  // the rows' texts
  // The thumb: from the left edge, shorter than the box, lighter than nothing.
  EXPECT_NE(at(before, 3, client.bottom - 2), kGrey);
  EXPECT_EQ(at(before, client.right - 3, client.bottom - 2), kGrey);
  std::vector<unsigned char> rgb;
  for (uint32_t v : before)
    rgb.insert(rgb.end(), {static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 8),
                           static_cast<unsigned char>(v)});
  EXPECT_TRUE(skintest::WritePng("vocabulary-scroll-dropbox.png", client.right, client.bottom, rgb));

  SendMessageA(drop, kMsgMouseHWheel, MAKEWPARAM(0, WHEEL_DELTA), 0);
  std::vector<uint32_t> sideways = Printed(drop, &client);
  EXPECT_NE(sideways, before);                           // the texts moved left
  EXPECT_EQ(at(sideways, 3, client.bottom - 2), kGrey);  // so did the thumb
  SendMessageA(drop, WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(WHEEL_DELTA)), 0);
  EXPECT_EQ(Printed(drop, &client), before);
  // The plain wheel has no rows to scroll here (two rows fit): nothing moves.
  SendMessageA(drop, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(Printed(drop, &client), before);
  combo->CloseDropDown();
}

// A scroll bar written as a tag with "hor" after its "pos": it keeps the
// written size and lies along its width, the arrows at its ends move it a
// line, and each move is sent as "scroll".
TEST_F(Scrolling, HorizontalBarOfItsOwn) {
  auto* bar = Find<CScrollBarUI>("tagBar", "ScrollBar");
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->IsHorizontal());
  RECT b = bar->GetPos();
  ASSERT_EQ(b.bottom - b.top, 14);
  int y = (b.top + b.bottom) / 2;
  Repaint();
  EXPECT_EQ(At(b.left + 3, y), kGreen);
  EXPECT_EQ(At(b.left + 14 + 2, y), kBlue);  // the thumb at the start
  EXPECT_EQ(At(b.right - 14 - 2, y), kGrey);
  skintest::Click(hwnd_, b.right - 3, y);  // the right arrow
  EXPECT_EQ(bar->GetScrollPos(), 10);
  ASSERT_EQ(window_->Count("scroll"), 1);
  skintest::Click(hwnd_, b.left + 3, y);
  EXPECT_EQ(bar->GetScrollPos(), 0);
  EXPECT_EQ(window_->Count("scroll"), 2);
}

}  // namespace
