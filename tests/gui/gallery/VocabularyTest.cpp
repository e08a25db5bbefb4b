// The gallery's second window: the list parts a skin author writes as tags
// (ListHeader with ListHeaderItem cells, ListTextElement rows in columns,
// a ListLabelElement row), built from a layout, painted, clicked and
// dragged; controls with "colorhsl" beside one without, under the
// window's colour adjustment; a scroll bar of its own; a combo's styled
// drop box. Pictures: vocabulary.png, vocabulary-hsl.png and
// vocabulary-dropbox.png.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/SkinTestKit.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/ListElementsUI.h"
#include "ui/controls/ComboUI.h"
#include "ui/controls/ListUI.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/Core/ColorHsl.h"
#include "ui/Core/DpiScale.h"

namespace {

const char kVocabularyLayout[] = R"VOCAB(<?xml version="1.0" encoding="UTF-8"?>
<Window size="460,260">
  <Font name="SimSun" size="12" default="true"/>
  <Font name="SimSun" size="14"/>
  <VerticalLayout name="root" bkcolor="FFFFFFFF" inset="10,10,10,10">
    <List name="table" height="200" bkcolor="FFFFFFFF" bordercolor="FFCCCCCC" bordersize="1" itemfont="1" itemalign="center" itemtextpadding="2,0,2,0" itemtextcolor="FF000000" itemselectedtextcolor="FF0000FF" itemselectedbkcolor="FFC1E3FF" itemhotbkcolor="FFE9F5FF" itemlinecolor="FFDDDDDD">
      <ListHeader height="26" bkcolor="FFE8EEF4">
        <ListHeaderItem name="colHop" text="跳" width="50" sepwidth="4" rightbordersize="1" bordercolor="FF9AA8B8"/>
        <ListHeaderItem name="colAddress" text="地址" width="150" sepwidth="4" rightbordersize="1" bordercolor="FF9AA8B8"/>
        <ListHeaderItem name="colDelay" text="时延" width="80" dragable="false"/>
      </ListHeader>
      <ListTextElement name="row0" height="28" text="1"/>
      <ListTextElement name="row1" height="28" text="2"/>
      <ListLabelElement name="label" height="28" text="标签行：一行一个文字"/>
    </List>
    <ScrollBar name="bar" float="true" pos="420,0,436,160" range="100" value="20" linesize="8" bkcolor="FFE8EEF4"/>
    <HorizontalLayout name="swatches" height="24" childpadding="6" padding="0,6,0,0">
      <Control name="hslOn" width="60" colorhsl="true" bkcolor="FFFF0000" bordercolor="FF0000FF" bordersize="3"/>
      <Control name="hslOff" width="60" bkcolor="FFFF0000"/>
      <Label name="hslText" width="140" colorhsl="true" textcolor="FFFF0000" font="1" text="色调跟随窗口 HSL"/>
      <Combo name="drop" width="110" bordersize="1" bordercolor="FF888888" textpadding="4,0,4,0" itemselectedbkcolor="FFC1E3FF" dropboxsize="0,70" dropbox="bkcolor=&quot;FFF0F8FF&quot; bordercolor=&quot;FF3366CC&quot; bordersize=&quot;2&quot; inset=&quot;3,3,3,3&quot; childpadding=&quot;1&quot; vscrollbar=&quot;true&quot;">
        <ListContainerElement text="互联网"/>
        <ListContainerElement text="城域网"/>
        <ListContainerElement text="专线一"/>
        <ListContainerElement text="专线二"/>
        <ListContainerElement text="专线三"/>
        <ListContainerElement text="专线四"/>
      </Combo>
    </HorizontalLayout>
  </VerticalLayout>
</Window>)VOCAB";

// Records which cells it was asked for; answers "r<row>c<column>".
class RecordingCells : public IListCallbackUI {
 public:
  const char* GetCellText(CControlUI* control, int row, int column) override {
    asked.push_back({control, row, column});
    text = "r" + std::to_string(row) + "c" + std::to_string(column);
    return text.c_str();
  }
  struct Ask {
    CControlUI* control;
    int row, column;
  };
  std::vector<Ask> asked;
  std::string text;
};

class Vocabulary : public skintest::WindowTest {
 protected:
  void SetUp() override {
    skintest::WindowConfig config;
    config.className = "VocabularyWnd";
    config.skinFile = kVocabularyLayout;  // layout text, parsed as given
    Open(config);
    list_ = Find<CListUI>("table", "List");
    ASSERT_NE(list_, nullptr);
  }
  void Repaint() {
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
    skintest::Pump(30);
  }
  // Text pixels between x0 and x1 on the rows of r: darker than any of the
  // row's backgrounds (white, the hot and selected blues, the line grey).
  int InkIn(const RECT& r, LONG x0, LONG x1) {
    int n = 0;
    for (LONG y = r.top + 1; y < r.bottom - 1; ++y)
      for (LONG x = x0; x < x1; ++x) {
        uint32_t p = window_->Pixel(x, y);
        if (((p >> 16) & 0xFF) < 0xB0) ++n;
      }
    return n;
  }
  RECT Pos(const char* name) { return window_->Find(name)->GetPos(); }

  CListUI* list_ = nullptr;
};

TEST_F(Vocabulary, TagsBuildTheirClasses) {
  const struct {
    const char* name;
    const char* cls;
  } expected[] = {{"colHop", "ListHeaderItemUI"},
                  {"colDelay", "ListHeaderItemUI"},
                  {"row0", "ListTextElementUI"},
                  {"label", "ListLabelElementUI"},
                  {"bar", "ScrollBarUI"}};
  for (const auto& e : expected) {
    CControlUI* c = window_->Find(e.name);
    ASSERT_NE(c, nullptr) << e.name;
    EXPECT_STREQ(c->GetClass(), e.cls) << e.name;
  }
  // The header items went into the list's header row, the elements into its body.
  EXPECT_EQ(list_->GetHeader()->GetCount(), 3);
  EXPECT_EQ(list_->GetCount(), 3);
  EXPECT_EQ(list_->IndexOf(window_->Find("label")), 2);
}

// Each text of a row is drawn inside its header item's column.
TEST_F(Vocabulary, TextRowsDrawOneTextPerHeaderColumn) {
  auto* row = Find<CListTextElementUI>("row0", "ListTextElement");
  ASSERT_NE(row, nullptr);
  row->SetColumnText(1, "10.0.0.1");
  row->SetColumnText(2, "5ms");
  EXPECT_STREQ(row->GetColumnText(0).GetData(), "1");
  Repaint();
  std::vector<RECT> columns = row->ColumnRects();
  ASSERT_EQ(columns.size(), 3u);
  const char* headers[] = {"colHop", "colAddress", "colDelay"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(columns[i].left, Pos(headers[i]).left) << i;
    EXPECT_EQ(columns[i].right, Pos(headers[i]).right) << i;
    EXPECT_GT(InkIn(row->GetPos(), columns[i].left, columns[i].right), 5)
        << "no text in column " << i << " " << columns[i].left << ".." << columns[i].right;
  }
  EXPECT_TRUE(window_->SaveScreenshot("vocabulary.png"));
  // Nothing right of the last column (the texts are cut to their columns).
  EXPECT_EQ(InkIn(row->GetPos(), columns[2].right + 1, row->GetPos().right - 2), 0);
}

// With a text callback the list asks it for every cell of every text row.
TEST_F(Vocabulary, TextCallbackSuppliesTheCells) {
  RecordingCells cells;
  list_->SetTextCallback(&cells);
  Repaint();
  int rowOneAsks = 0;
  for (const auto& a : cells.asked) {
    EXPECT_TRUE(a.control == window_->Find("row0") || a.control == window_->Find("row1"));
    if (a.control == window_->Find("row1")) {
      EXPECT_EQ(a.row, 1);
      ++rowOneAsks;
    }
  }
  EXPECT_GE(rowOneAsks, 3);  // its three columns, once per paint
  RECT row1 = Pos("row1");
  EXPECT_GT(InkIn(row1, Pos("colDelay").left, Pos("colDelay").right), 5);
  list_->SetTextCallback(nullptr);
}

// A click selects a label row: "itemselect" from the list, the row painted
// in the selected colour.
TEST_F(Vocabulary, LabelRowIsSelectedByAClick) {
  RECT r = Pos("label");
  skintest::Click(hwnd_, r.right - 4, (r.top + r.bottom) / 2);
  skintest::Pump(30);
  EXPECT_EQ(list_->GetCurSel(), 2);
  EXPECT_GE(window_->Count("itemselect"), 1);
  EXPECT_GE(window_->Count("itemclick"), 1);
  Repaint();
  EXPECT_EQ(window_->Pixel(r.right - 4, r.top + 3), 0xC1E3FFu);
  EXPECT_GT(InkIn(r, r.left, r.right), 5);  // its text, in the selected text colour
}

// Dragging a header item's separator widens its column and moves the ones
// after it, in the header and in the rows; a column marked not dragable
// keeps its width.
TEST_F(Vocabulary, DraggingTheSeparatorResizesTheColumn) {
  RECT hop = Pos("colHop");
  int y = (hop.top + hop.bottom) / 2;
  skintest::Press(hwnd_, hop.right - 2, y);
  SendMessageA(hwnd_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(hop.right + 20, y));
  skintest::Release(hwnd_, hop.right + 38, y);
  skintest::Pump(30);
  Repaint();
  // The column's right edge follows the pointer.
  EXPECT_EQ(Pos("colHop").right, hop.right + 38);
  EXPECT_EQ(Pos("colAddress").left, hop.right + 38);
  EXPECT_EQ(Pos("colAddress").right - Pos("colAddress").left, 150);
  EXPECT_EQ(window_->Count("headerresize"), 1);
  auto* row = Find<CListTextElementUI>("row0", "ListTextElement");
  EXPECT_EQ(row->ColumnRects()[1].left, hop.right + 38);

  RECT delay = Pos("colDelay");
  skintest::Press(hwnd_, delay.right - 2, y);
  SendMessageA(hwnd_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(delay.right + 30, y));
  skintest::Release(hwnd_, delay.right - 3, y);
  skintest::Pump(30);
  EXPECT_EQ(Pos("colDelay").right - Pos("colDelay").left, delay.right - delay.left);
  EXPECT_EQ(window_->Count("headerclick"), 1);  // a plain click on it instead
}

// A dragged column width is the user's: a change of DPI scales it like the
// layout's widths instead of putting the layout's back; the separator's
// width (default 4, or "sepwidth") scales too.
TEST_F(Vocabulary, DraggedWidthAndSeparatorFollowTheDpi) {
  auto* hop = Find<CListHeaderItemUI>("colHop", "ListHeaderItem");
  ASSERT_NE(hop, nullptr);
  RECT r = Pos("colHop");
  int y = (r.top + r.bottom) / 2;
  skintest::Press(hwnd_, r.right - 2, y);
  skintest::Release(hwnd_, r.right + 38, y);  // the edge follows the pointer: 88 wide
  skintest::Pump(30);
  ASSERT_EQ(Pos("colHop").right - Pos("colHop").left, 88);
  const struct {
    int dpi, hop, address, sep;
  } cases[] = {{144, 132, 225, 6}, {120, 110, 188, 5}, {96, 88, 150, 4}};
  for (const auto& c : cases) {
    RECT w;
    GetWindowRect(hwnd_, &w);
    vt::DpiScale scale(c.dpi);
    RECT suggested = {w.left, w.top, w.left + scale.Scale(460), w.top + scale.Scale(260)};
    SendMessageA(hwnd_, WM_DPICHANGED, MAKEWPARAM(c.dpi, c.dpi), reinterpret_cast<LPARAM>(&suggested));
    skintest::Pump(50);
    EXPECT_EQ(Pos("colHop").right - Pos("colHop").left, c.hop) << c.dpi;
    EXPECT_EQ(Pos("colAddress").right - Pos("colAddress").left, c.address) << c.dpi;
    EXPECT_EQ(hop->GetSepWidth(), c.sep) << c.dpi;
  }
}

// "colorhsl" controls follow the window's colour adjustment in background,
// border and text; a control without it keeps its colours; the identity
// adjustment changes nothing.
TEST_F(Vocabulary, ColorHslFollowsTheWindowsAdjustment) {
  auto centre = [this](const char* name) {
    RECT r = Pos(name);
    return window_->Pixel((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  };
  // Pixels of the label's text that are mostly red or mostly green.
  auto textHues = [this](int* red, int* green) {
    RECT r = Pos("hslText");
    *red = *green = 0;
    for (LONG y = r.top; y < r.bottom; ++y)
      for (LONG x = r.left; x < r.right; ++x) {
        uint32_t p = window_->Pixel(x, y);
        int R = (p >> 16) & 0xFF, G = (p >> 8) & 0xFF, B = p & 0xFF;
        if (R > G + 80 && R > B + 80) ++*red;
        if (G > R + 80 && G > B + 80) ++*green;
      }
  };
  Repaint();
  EXPECT_EQ(centre("hslOn"), 0xFF0000u);
  int red = 0, green = 0;
  textHues(&red, &green);
  EXPECT_GT(red, 10);
  EXPECT_EQ(green, 0);

  window_->GetManager().SetHslAdjust({120, 100, 100});  // red turns green, blue red
  skintest::Pump(30);
  Repaint();
  EXPECT_EQ(centre("hslOn"), 0x00FF00u);
  RECT on = Pos("hslOn");
  EXPECT_EQ(window_->Pixel(on.left + 1, (on.top + on.bottom) / 2), 0xFF0000u);  // the blue border
  EXPECT_EQ(centre("hslOff"), 0xFF0000u);
  textHues(&red, &green);
  EXPECT_EQ(red, 0);
  EXPECT_GT(green, 10);
  EXPECT_TRUE(window_->SaveScreenshot("vocabulary-hsl.png"));

  window_->GetManager().SetHslAdjust({});
  Repaint();
  EXPECT_EQ(centre("hslOn"), 0xFF0000u);
}

// A scroll bar of its own: range and position from the layout; the arrows
// move it a line and the track a page, each move sent as "scroll".
TEST_F(Vocabulary, ScrollBarOfItsOwnMovesAndTells) {
  auto* bar = Find<CScrollBarUI>("bar", "ScrollBar");
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->GetScrollRange(), 100);
  EXPECT_EQ(bar->GetScrollPos(), 20);
  RECT r = bar->GetPos();
  ASSERT_EQ(r.bottom - r.top, 160);
  int x = (r.left + r.right) / 2;
  skintest::Click(hwnd_, x, r.bottom - 3);  // the down arrow
  skintest::Pump(20);
  EXPECT_EQ(bar->GetScrollPos(), 28);
  skintest::Click(hwnd_, x, r.top + 3);  // the up arrow, twice
  skintest::Click(hwnd_, x, r.top + 3);
  skintest::Pump(20);
  EXPECT_EQ(bar->GetScrollPos(), 12);
  ASSERT_EQ(window_->Count("scroll"), 3);
  const skintest::Recorded* last = nullptr;
  for (const auto& n : window_->notes)
    if (n.type == "scroll") last = &n;
  EXPECT_EQ(last->sender, "bar");
  EXPECT_EQ(last->wParam, 12u);
  for (int i = 0; i < 20; ++i) skintest::Click(hwnd_, x, r.top + 3);
  EXPECT_EQ(bar->GetScrollPos(), 0);  // held at the start
}

// The combo's drop box takes its "dropbox" attributes: border, background
// inside it, inset; six rows overflow "dropboxsize" and scroll with the
// wheel, and a click picks the row under it after the scroll.
TEST_F(Vocabulary, ComboDropBoxHasItsStyleAndScrolls) {
  auto* combo = Find<CComboUI>("drop", "Combo");
  ASSERT_NE(combo, nullptr);
  HWND drop = skintest::OpenDropBox(hwnd_, combo);
  ASSERT_NE(drop, nullptr);
  RECT client;
  GetClientRect(drop, &client);
  EXPECT_EQ(client.bottom, 70);  // capped by dropboxsize: six rows do not fit

  // The pop-up as it paints itself.
  auto pixels = [&]() { return skintest::PrintClient(drop).pixels; };
  std::vector<uint32_t> before = pixels();
  int mid = client.bottom / 2;
  EXPECT_EQ(before[mid * client.right + 0], 0x3366CCu);  // the border
  EXPECT_EQ(before[mid * client.right + 3], 0xF0F8FFu);  // the inset, in the box's background
  int ink = 0;
  for (uint32_t v : before) ink += ((v >> 16) & 0xFF) < 0x80;
  EXPECT_GT(ink, 20);  // the rows' texts
  std::vector<unsigned char> rgb;
  for (uint32_t v : before)
    rgb.insert(rgb.end(), {static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 8),
                           static_cast<unsigned char>(v)});
  EXPECT_TRUE(skintest::WritePng("vocabulary-dropbox.png", client.right, client.bottom, rgb));

  SendMessageA(drop, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  std::vector<uint32_t> after = pixels();
  EXPECT_NE(before, after);  // the rows moved up
  // The first row's place now shows the second item: a click there picks it.
  SendMessageA(drop, WM_LBUTTONUP, 0, MAKELPARAM(20, 2 + 3 + 2));
  skintest::Pump(50);
  EXPECT_EQ(combo->GetCurSel(), 1);
  EXPECT_STREQ(combo->GetText().GetData(), "城域网");
  EXPECT_EQ(combo->GetDropWindow(), nullptr);
}

}  // namespace
